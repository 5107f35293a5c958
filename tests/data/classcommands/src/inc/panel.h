// A panel that shows a view.
class CPanel : public CObject
{
    CView* m_pView;
};

class CLabel
{
    int m_nWidth;
};
