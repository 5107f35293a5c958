#include "..\Circle.h"
void CView::OnDraw(CDC* pDC)
{
    m_circle.Draw();
}
