// Shapes: three classes, functions and variables
class CShape
{
public:
    virtual double Area() const;
    virtual double Perimeter() const;
    void Move(int dx, int dy);
    int m_nColor;
};

class CCircle : public CShape
{
public:
    double Area() const;
    double m_dRadius;
};

class CSquare : public CShape
{
public:
    double m_dSide;
};
