// Shapes of the first tree.
class CShape
{
public:
    virtual void Draw(CDC* pDC);
    int m_nColor;
};
