// Views of the second tree; their base is declared nowhere.
class CView : public CWnd
{
public:
    void OnDraw(CDC* pDC);
};
