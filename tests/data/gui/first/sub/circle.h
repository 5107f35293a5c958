class CCircle : public CShape
{
public:
    void Draw(CDC* pDC);
    double m_dRadius;
};
