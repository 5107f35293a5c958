#include "Shape.h"
class Circle : public Shape
{
public:
    void Draw();
    Shape* m_pOwner;
};
