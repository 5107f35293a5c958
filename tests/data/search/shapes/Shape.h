#ifndef SHAPE_H
#define SHAPE_H
// Base of all shapes
class Shape
{
public:
    virtual void Draw();
    int m_nColor;
};
#endif
