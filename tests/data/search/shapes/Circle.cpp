#include "Circle.h"
void Circle::Draw()
{
    Shape::Draw(); /* the base first */
}
int Helper()
{
    Circle c;
    c.Draw();
    return 0;
}
