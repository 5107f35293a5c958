// Shapes, first version
class CShape
{
public:
    virtual double Area() const;
    void Move(int dx, int dy);
    int m_nColor;
};

class CCircle : public CShape
{
public:
    double Area() const;
    double m_dRadius;
};
