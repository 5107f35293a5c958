#include "../shapes.h"

class CSquare : public CShape {
public:
    void Draw(CDC* pDC, const CRect& rect) const;
private:
    double m_side;
};
