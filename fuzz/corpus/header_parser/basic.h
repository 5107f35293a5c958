class CBase {
public:
    virtual ~CBase();
    int Count() const;
protected:
    char* m_name; // name
};
class CDerived : public CBase, private CMixin {
    /* block
       comment */ void Draw(int x, const char* s = "a;b{");
    static const int kMax = 3;
    struct Inner { int a; } m_inner;
};