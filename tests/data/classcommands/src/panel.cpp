#include "inc/panel.h"

void CPanel::Paint()
{
    CView view;
    view.OnDraw(0);
}

void CPanel::Resize()
{
    m_nWidth = 0;
}
