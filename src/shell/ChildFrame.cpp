#include "shell/ChildFrame.h"

#include "app/VorlixDoc.h"
#include "views/VorlixListView.h"
#include "views/VorlixView.h"

#include <QCloseEvent>
#include <QPlainTextEdit>
#include <QSettings>
#include <QSplitter>

namespace {

// The factors are single-precision constants, except the member lists'; each
// product is formed in double precision and truncated.
int Scaled(double factor, int size) {
    return static_cast<int>(factor * size);
}

} // namespace

CChildFrame::PaneSizes CChildFrame::InitialPaneSizes(int width, int height) {
    PaneSizes sizes;
    // Every pane asks for a size; a row or column keeps the size asked for
    // last: the tree's width is overridden by the info pane's.
    sizes.leftColumn = Scaled(0.6f, width);
    sizes.rightColumn = Scaled(0.4f, width);
    sizes.upperRow = Scaled(0.85f, height);
    sizes.lowerRow = Scaled(0.15f, height);
    sizes.memberList = Scaled(0.425, height);
    return sizes;
}

CChildFrame::CChildFrame(std::unique_ptr<CVorlixDoc> document, QSize clientSize, QWidget* parent)
    : QMdiSubWindow(parent), m_pDocument(std::move(document)) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowIcon(QIcon(QStringLiteral(":/icons/document.png")));
    OnCreateClient(clientSize);
    m_pDocument->SetFrame(this);
    m_pTree->SetDocument(m_pDocument.get());
    m_pFunctions->SetDocument(m_pDocument.get());
    m_pVariables->SetDocument(m_pDocument.get());
}

CChildFrame::~CChildFrame() {
    // What the base classes signal while they go must not reach the main
    // window as if from a document window.
    disconnect(this, nullptr, nullptr, nullptr);
    // The panes outlive the document by a moment (they go with the window's
    // children); they must not reach it any more.
    m_pTree->SetDocument(nullptr);
    m_pFunctions->SetDocument(nullptr);
    m_pVariables->SetDocument(nullptr);
    m_pDocument->SetFrame(nullptr);
}

void CChildFrame::OnCreateClient(QSize clientSize) {
    m_pRows = new QSplitter(Qt::Vertical);
    m_pRows->setChildrenCollapsible(false);
    m_pUpperRow = new QSplitter(Qt::Horizontal, m_pRows);
    m_pLowerRow = new QSplitter(Qt::Horizontal, m_pRows);
    for (QSplitter* row : {m_pUpperRow, m_pLowerRow}) {
        row->setChildrenCollapsible(false);
    }

    m_pTree = new CVorlixView(m_pUpperRow);
    m_pInner = new QSplitter(Qt::Vertical, m_pUpperRow);
    m_pInner->setChildrenCollapsible(false);
    m_pFunctions = new CVorlixListView(m_pInner);
    m_pFunctions->setObjectName(QStringLiteral("functionList"));
    m_pVariables = new CVorlixListView(m_pInner);
    m_pVariables->setObjectName(QStringLiteral("variableList"));

    m_pInfo = new QPlainTextEdit(m_pLowerRow);
    m_pInfo->setObjectName(QStringLiteral("infoPane"));
    m_pDescription = new QPlainTextEdit(m_pLowerRow);
    m_pDescription->setObjectName(QStringLiteral("descriptionPane"));

    m_paneFont = QFont(QStringLiteral("Arial"));
    m_paneFont.setPixelSize(12);
    m_pInfo->setFont(m_paneFont);
    m_pInfo->setReadOnly(true);
    m_pInfo->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_pDescription->setFont(m_paneFont);
    m_pDescription->setLineWrapMode(QPlainTextEdit::NoWrap);

    // Both rows share their columns: moving one row's divider moves the other's.
    connect(m_pUpperRow, &QSplitter::splitterMoved, this,
            [this] { m_pLowerRow->setSizes(m_pUpperRow->sizes()); });
    connect(m_pLowerRow, &QSplitter::splitterMoved, this,
            [this] { m_pUpperRow->setSizes(m_pLowerRow->sizes()); });

    const PaneSizes sizes = InitialPaneSizes(clientSize.width(), clientSize.height());
    for (QSplitter* row : {m_pUpperRow, m_pLowerRow}) {
        row->setSizes({sizes.leftColumn, sizes.rightColumn});
        row->setStretchFactor(0, sizes.leftColumn);
        row->setStretchFactor(1, sizes.rightColumn);
    }
    m_pRows->setSizes({sizes.upperRow, sizes.lowerRow});
    m_pRows->setStretchFactor(0, sizes.upperRow);
    m_pRows->setStretchFactor(1, sizes.lowerRow);
    m_pInner->setSizes({sizes.memberList, sizes.memberList});

    setWidget(m_pRows);
    resize(clientSize);
    RestorePanes();
}

namespace {
const QString kPaneKeys[] = {QStringLiteral("Panes/Rows"), QStringLiteral("Panes/Columns"),
                             QStringLiteral("Panes/MemberLists")};
} // namespace

// The splits of the document window closed last, when there was one.
void CChildFrame::RestorePanes() {
    const QSettings settings;
    QSplitter* splitters[] = {m_pRows, m_pUpperRow, m_pInner};
    for (int i = 0; i < 3; ++i) {
        splitters[i]->restoreState(settings.value(kPaneKeys[i]).toByteArray());
    }
    m_pLowerRow->setSizes(m_pUpperRow->sizes());
}

void CChildFrame::SavePanes() const {
    QSettings settings;
    const QSplitter* splitters[] = {m_pRows, m_pUpperRow, m_pInner};
    for (int i = 0; i < 3; ++i) {
        settings.setValue(kPaneKeys[i], splitters[i]->saveState());
    }
}

QList<int> CChildFrame::ColumnWidths() const {
    return m_pUpperRow->sizes();
}

QList<int> CChildFrame::RowHeights() const {
    return m_pRows->sizes();
}

QList<int> CChildFrame::MemberListHeights() const {
    return m_pInner->sizes();
}

void CChildFrame::CloseAgreed() {
    m_closeAgreed = true;
    close();
}

void CChildFrame::closeEvent(QCloseEvent* event) {
    if (!m_closeAgreed && !m_pDocument->SaveModified()) {
        event->ignore();
        return;
    }
    m_pDocument->OnCloseDocument();
    SavePanes();
    QMdiSubWindow::closeEvent(event);
    if (event->isAccepted()) {
        emit documentClosed(this);
    }
}
