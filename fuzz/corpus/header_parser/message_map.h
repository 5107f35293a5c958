class CView : public CScrollView
{
protected: // create from serialization only
	CView();
	DECLARE_DYNCREATE(CView)
public:
	CDoc* GetDocument();
	virtual void OnDraw(CDC* pDC);
	//{{AFX_MSG(CView)
	afx_msg void OnSize(UINT nType, int cx, int cy);
	//}}AFX_MSG
	DECLARE_MESSAGE_MAP()
};
#ifndef _DEBUG
inline CDoc* CView::GetDocument() { return (CDoc*)m_pDocument; }
#endif
