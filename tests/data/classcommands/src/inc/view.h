class CView : public CWnd
{
    void OnDraw(CDC* pDC);
};
