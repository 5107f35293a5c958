#pragma once

#include <QFont>
#include <QMdiSubWindow>
#include <memory>

class CVorlixDoc;
class CVorlixListView;
class CVorlixView;
class QPlainTextEdit;
class QSplitter;

// A document window: five fixed panes in two rows and two columns that both
// rows share. Upper row: the class tree and, to its right, the function list
// above the variable list; lower row: the info pane and the description pane.
// The window owns its document.
class CChildFrame : public QMdiSubWindow {
    Q_OBJECT
public:
    // Initial sizes for a window of the given client size.
    struct PaneSizes {
        int leftColumn = 0;
        int rightColumn = 0;
        int upperRow = 0;
        int lowerRow = 0;
        int memberList = 0;
    };
    static PaneSizes InitialPaneSizes(int width, int height);

    CChildFrame(std::unique_ptr<CVorlixDoc> document, QSize clientSize, QWidget* parent = nullptr);
    ~CChildFrame() override;

    CVorlixDoc* GetDocument() const { return m_pDocument.get(); }

    CVorlixView* TreeView() const { return m_pTree; }
    CVorlixListView* FunctionList() const { return m_pFunctions; }
    CVorlixListView* VariableList() const { return m_pVariables; }
    QPlainTextEdit* InfoPane() const { return m_pInfo; }
    QPlainTextEdit* DescriptionPane() const { return m_pDescription; }

    // Sizes of the columns, the rows and the member-list rows as laid out now.
    QList<int> ColumnWidths() const;
    QList<int> RowHeights() const;
    QList<int> MemberListHeights() const;

    // Closes without asking: the document agreed already.
    void CloseAgreed();

signals:
    // The document agreed to close; the window goes away after this.
    void documentClosed(CChildFrame* frame);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void OnCreateClient(QSize clientSize);
    // Pane splits are remembered from one document window to the next.
    void RestorePanes();
    void SavePanes() const;

    std::unique_ptr<CVorlixDoc> m_pDocument;
    QSplitter* m_pRows = nullptr;
    QSplitter* m_pUpperRow = nullptr;
    QSplitter* m_pLowerRow = nullptr;
    QSplitter* m_pInner = nullptr;
    CVorlixView* m_pTree = nullptr;
    CVorlixListView* m_pFunctions = nullptr;
    CVorlixListView* m_pVariables = nullptr;
    QPlainTextEdit* m_pInfo = nullptr;
    QPlainTextEdit* m_pDescription = nullptr;
    QFont m_paneFont;
    bool m_closeAgreed = false;
};
