template <class T, int N = 4>
class CArray : public CBase<T> {
public:
    T& operator[](int i);
    CArray() : m_p(0) {}
    enum { Size = N };
    friend class CIter;
#define X(a) a
    typedef T value_type;
};
namespace ns { class CInNs : virtual public ::ns::CRoot { }; }
