// Shapes for the scan fixture.
#pragma once

/* A shape knows where it is
   and how to draw itself. */
class CShape
{
public:
    CShape();
    virtual ~CShape();
    virtual void Draw(CDC* pDC,
                      const CRect& rect) const = 0;
    int GetX() const { return m_x; }

protected:
    int m_x, m_y; // position
};
