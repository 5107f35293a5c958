#include "shell/MainFrame.h"

#include "app/VorlixDoc.h"
#include "shell/ChildFrame.h"
#include "shell/CommandIds.h"
#include "views/VorlixView.h"

#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>

namespace {

// Lock-key states as the kernel's keyboard LEDs report them; false when the
// system does not tell.
bool LockKeyOn(const char* ledSuffix) {
    static const QStringList leds = [] {
        QStringList names;
        const QDir dir(QStringLiteral("/sys/class/leds"));
        if (dir.exists()) {
            names = dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot);
        }
        return names;
    }();
    for (const QString& name : leds) {
        if (name.endsWith(QLatin1String(ledSuffix))) {
            QFile file(QStringLiteral("/sys/class/leds/") + name + QStringLiteral("/brightness"));
            if (file.open(QIODevice::ReadOnly)) {
                return file.readAll().trimmed() != "0";
            }
        }
    }
    return false;
}

} // namespace

// The resources are linked from a static library: they must be registered.
static void InitResources() {
    Q_INIT_RESOURCE(vorlix);
}

CMainFrame::CMainFrame(QWidget* parent) : QMainWindow(parent) {
    InitResources();
    // The active document's title joins it (CaptionText).
    setWindowTitle(QStringLiteral("Vorlix"));
    setWindowIcon(QIcon(QStringLiteral(":/icons/vorlix.png")));
    m_mdiArea = new QMdiArea(this);
    m_mdiArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_mdiArea->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(m_mdiArea);
    // The area reports no window while the program is in the background; the
    // active document window stays the one activated last.
    connect(m_mdiArea, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow* window) {
        auto* frame = qobject_cast<CChildFrame*>(window);
        if (frame != nullptr && m_frames.contains(frame)) {
            m_active = frame;
            UpdateFrame();
        }
    });
}

// The document windows go first, while the frame that tracks them is whole.
CMainFrame::~CMainFrame() {
    qApp->removeEventFilter(this);
    disconnect(m_mdiArea, nullptr, this, nullptr);
    m_frames.clear();
    m_active = nullptr;
    delete m_mdiArea;
}

bool CMainFrame::OnCreate() {
    CreateActions();
    CreateMenus();
    if (!CreateToolBar() || !CreateStatusBar()) {
        return false;
    }
    qApp->installEventFilter(this);
    UpdateFrame();
    return true;
}

QAction* CMainFrame::AddAction(int id, const QString& text, const QKeySequence& shortcut) {
    auto* action = new QAction(text, this);
    action->setData(id);
    if (!shortcut.isEmpty()) {
        // The accelerators work whichever menu is shown.
        action->setShortcut(shortcut);
        addAction(action);
    }
    m_actions.insert(id, action);
    return action;
}

void CMainFrame::CreateActions() {
    // The item texts carry their shortcut after a tab, so the menus show
    // "Strg+N" whatever the keyboard's language.
    AddAction(ID_FILE_NEW, QStringLiteral("&Neu\tStrg+N"), QKeySequence(Qt::CTRL | Qt::Key_N))
        ->setIcon(style()->standardIcon(QStyle::SP_FileIcon));
    AddAction(ID_FILE_OPEN, QStringLiteral("Ö&ffnen...\tStrg+O"),
              QKeySequence(Qt::CTRL | Qt::Key_O))
        ->setIcon(style()->standardIcon(QStyle::SP_DialogOpenButton));
    AddAction(ID_FILE_CLOSE, QStringLiteral("&Schließen"));
    AddAction(ID_FILE_SAVE, QStringLiteral("S&peichern\tStrg+S"),
              QKeySequence(Qt::CTRL | Qt::Key_S))
        ->setIcon(style()->standardIcon(QStyle::SP_DialogSaveButton));
    AddAction(ID_FILE_SAVE_AS, QStringLiteral("Speichern unter ..."));
    AddAction(ID_UPDATE_TREE, QStringLiteral("Aktualisieren ...\tF5"), QKeySequence(Qt::Key_F5));
    AddAction(ID_EXPORT_HTML, QStringLiteral("Exportieren als HTML ..."));
    AddAction(ID_APP_EXIT, QStringLiteral("&Beenden"));
    AddAction(ID_APP_ABOUT, QStringLiteral("Inf&o über Vorlix..."))
        ->setIcon(style()->standardIcon(QStyle::SP_MessageBoxInformation));

    m_recentPlaceholder = AddAction(ID_FILE_MRU_FILE1, QStringLiteral("Letzte Datei"));
    m_recentPlaceholder->setEnabled(false);
    for (int i = 0; i < kRecentFileCount; ++i) {
        auto* action = new QAction(this);
        action->setData(ID_FILE_MRU_FILE1 + i);
        action->setVisible(false);
        connect(action, &QAction::triggered, this, [this, i] { emit recentFileChosen(i); });
        m_recentActions.append(action);
    }

    auto* presentation = new QActionGroup(this);
    for (QAction* action : {AddAction(ID_SHOW_HIERARCHY, QStringLiteral("Klassen (abgeleitet)")),
                            AddAction(ID_SHOW_LIST, QStringLiteral("Klassen (Liste)"))}) {
        action->setCheckable(true);
        presentation->addAction(action);
    }
    AddAction(ID_EXPAND_ALL, QStringLiteral("Alle Zweige aufblenden"));
    AddAction(ID_COLLAPSE_ALL, QStringLiteral("Alle Zweige schließen"));

    QAction* toolBar = AddAction(ID_VIEW_TOOLBAR, QStringLiteral("&Symbolleiste"));
    toolBar->setCheckable(true);
    toolBar->setChecked(true);
    QAction* statusBarAction = AddAction(ID_VIEW_STATUS_BAR, QStringLiteral("S&tatusleiste"));
    statusBarAction->setCheckable(true);
    statusBarAction->setChecked(true);

    AddAction(ID_WINDOW_CASCADE, QStringLiteral("Über&lappend"));
    AddAction(ID_WINDOW_TILE_HORZ, QStringLiteral("&Nebeneinander"));
    AddAction(ID_WINDOW_ARRANGE, QStringLiteral("&Symbole anordnen"));

    connect(Action(ID_APP_EXIT), &QAction::triggered, this, &QWidget::close);
    connect(Action(ID_FILE_CLOSE), &QAction::triggered, this, [this] {
        if (CChildFrame* frame = MDIGetActive()) {
            frame->close();
        }
    });
    connect(Action(ID_WINDOW_CASCADE), &QAction::triggered, this, &CMainFrame::OnCascade);
    connect(Action(ID_WINDOW_TILE_HORZ), &QAction::triggered, m_mdiArea, &QMdiArea::tileSubWindows);
    connect(Action(ID_WINDOW_ARRANGE), &QAction::triggered, this, &CMainFrame::OnArrangeIcons);
    connect(Action(ID_SHOW_HIERARCHY), &QAction::triggered, this, [this] {
        if (CChildFrame* frame = MDIGetActive()) {
            frame->TreeView()->OnShowHierarchy();
        }
    });
    connect(Action(ID_SHOW_LIST), &QAction::triggered, this, [this] {
        if (CChildFrame* frame = MDIGetActive()) {
            frame->TreeView()->OnShowList();
        }
    });
    connect(Action(ID_EXPAND_ALL), &QAction::triggered, this, [this] {
        if (CChildFrame* frame = MDIGetActive()) {
            frame->TreeView()->OnExpandAll();
        }
    });
    connect(Action(ID_COLLAPSE_ALL), &QAction::triggered, this, [this] {
        if (CChildFrame* frame = MDIGetActive()) {
            frame->TreeView()->OnCollapseAll();
        }
    });
}

void CMainFrame::CreateMenus() {
    auto addRecent = [this](QMenu* menu) {
        menu->addAction(m_recentPlaceholder);
        menu->addActions(m_recentActions);
    };

    auto* file128 = new QMenu(QStringLiteral("&Datei"), this);
    file128->addAction(Action(ID_FILE_NEW));
    file128->addAction(Action(ID_FILE_OPEN));
    file128->addSeparator();
    addRecent(file128);
    file128->addSeparator();
    file128->addAction(Action(ID_APP_EXIT));

    auto* view128 = new QMenu(QStringLiteral("&Ansicht"), this);
    view128->addAction(Action(ID_VIEW_TOOLBAR));
    view128->addAction(Action(ID_VIEW_STATUS_BAR));

    auto* help = new QMenu(QStringLiteral("&?"), this);
    help->addAction(Action(ID_APP_ABOUT));
    m_menus128 = {file128, view128, help};

    auto* file129 = new QMenu(QStringLiteral("&Datei"), this);
    file129->addAction(Action(ID_FILE_NEW));
    file129->addAction(Action(ID_FILE_OPEN));
    file129->addAction(Action(ID_FILE_CLOSE));
    file129->addAction(Action(ID_FILE_SAVE));
    file129->addAction(Action(ID_FILE_SAVE_AS));
    file129->addSeparator();
    file129->addAction(Action(ID_UPDATE_TREE));
    file129->addSeparator();
    file129->addAction(Action(ID_EXPORT_HTML));
    file129->addSeparator();
    addRecent(file129);
    file129->addSeparator();
    file129->addAction(Action(ID_APP_EXIT));

    auto* view129 = new QMenu(QStringLiteral("&Ansicht"), this);
    view129->addAction(Action(ID_SHOW_HIERARCHY));
    view129->addAction(Action(ID_SHOW_LIST));
    view129->addSeparator();
    view129->addAction(Action(ID_EXPAND_ALL));
    view129->addAction(Action(ID_COLLAPSE_ALL));
    view129->addSeparator();
    view129->addAction(Action(ID_VIEW_TOOLBAR));
    view129->addAction(Action(ID_VIEW_STATUS_BAR));

    auto* window = new QMenu(QStringLiteral("&Fenster"), this);
    window->addAction(Action(ID_WINDOW_CASCADE));
    window->addAction(Action(ID_WINDOW_TILE_HORZ));
    window->addAction(Action(ID_WINDOW_ARRANGE));
    connect(window, &QMenu::aboutToShow, this, [this, window] { FillWindowList(window); });
    m_menus129 = {file129, view129, window, help};
}

bool CMainFrame::CreateToolBar() {
    m_toolBar = addToolBar(QStringLiteral("Symbolleiste"));
    m_toolBar->setObjectName(QStringLiteral("toolBar"));
    m_toolBar->setIconSize(QSize(16, 15));
    m_toolBar->setAllowedAreas(Qt::AllToolBarAreas);
    m_toolBar->addAction(Action(ID_FILE_NEW));
    m_toolBar->addAction(Action(ID_FILE_OPEN));
    m_toolBar->addAction(Action(ID_FILE_SAVE));
    m_toolBar->addSeparator();
    m_toolBar->addAction(Action(ID_APP_ABOUT));
    QAction* toggle = Action(ID_VIEW_TOOLBAR);
    connect(toggle, &QAction::toggled, m_toolBar, &QWidget::setVisible);
    connect(m_toolBar, &QToolBar::visibilityChanged, toggle, &QAction::setChecked);
    return true;
}

bool CMainFrame::CreateStatusBar() {
    QStatusBar* bar = statusBar();
    m_messagePane = new QLabel(QStringLiteral("Bereit"), bar);
    m_messagePane->setObjectName(QStringLiteral("messagePane"));
    bar->addWidget(m_messagePane, 1);
    for (const QString& text :
         {QStringLiteral("UF"), QStringLiteral("NUM"), QStringLiteral("RF")}) {
        auto* pane = new QLabel(bar);
        pane->setObjectName(text);
        pane->setAlignment(Qt::AlignCenter);
        pane->setMinimumWidth(pane->fontMetrics().horizontalAdvance(text) + 12);
        pane->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        bar->addPermanentWidget(pane);
        m_indicators.append(pane);
    }
    UpdateIndicators();
    QAction* toggle = Action(ID_VIEW_STATUS_BAR);
    connect(toggle, &QAction::toggled, bar, &QWidget::setVisible);
    return true;
}

QList<QMenu*> CMainFrame::MenuPopups(int menuId) const {
    return menuId == 128 ? m_menus128 : m_menus129;
}

// A window that is being destroyed is no document window any more.
CChildFrame* CMainFrame::MDIGetActive() const {
    return qobject_cast<CChildFrame*>(m_active.data());
}

QList<CChildFrame*> CMainFrame::ChildFrames() const {
    return m_frames;
}

QSize CMainFrame::ChildClientSize() const {
    const QSize size = m_mdiArea->viewport()->size();
    return size.isEmpty() ? QSize(800, 600) : size;
}

void CMainFrame::AddChildFrame(CChildFrame* frame) {
    const bool noneActive = MDIGetActive() == nullptr;
    m_frames.append(frame);
    m_mdiArea->addSubWindow(frame);
    connect(frame, &CChildFrame::documentClosed, this, [this](CChildFrame* closed) {
        m_frames.removeAll(closed);
        if (m_active == closed) {
            m_active = m_frames.isEmpty() ? nullptr : m_frames.constLast();
        }
        UpdateFrame();
    });
    connect(frame->TreeView(), &CVorlixView::treeModeChanged, this, [this] { UpdateFrame(); });
    connect(frame, &QMdiSubWindow::windowStateChanged, this, [this] { UpdateTitle(); });
    connect(frame, &QWidget::windowTitleChanged, this, [this] { UpdateTitle(); });
    if (noneActive) {
        frame->showMaximized();
    } else {
        frame->show();
    }
    m_active = frame;
    m_mdiArea->setActiveSubWindow(frame);
    UpdateFrame();
}

void CMainFrame::SetRecentFiles(const QStringList& paths) {
    for (int i = 0; i < m_recentActions.size(); ++i) {
        QAction* action = m_recentActions[i];
        if (i < paths.size()) {
            action->setText(QStringLiteral("&%1 %2").arg(i + 1).arg(paths[i]));
            action->setVisible(true);
        } else {
            action->setVisible(false);
        }
    }
    m_recentPlaceholder->setVisible(paths.isEmpty());
}

void CMainFrame::UpdateFrame() {
    CChildFrame* active = MDIGetActive();
    ShowMenuSet(m_frames.isEmpty() ? 128 : 129);

    for (int id : {ID_FILE_CLOSE, ID_FILE_SAVE, ID_FILE_SAVE_AS, ID_UPDATE_TREE, ID_EXPORT_HTML,
                   ID_SHOW_HIERARCHY, ID_SHOW_LIST, ID_EXPAND_ALL, ID_COLLAPSE_ALL}) {
        Action(id)->setEnabled(active != nullptr);
    }
    const int mode = active != nullptr ? active->TreeView()->m_nTreeMode : -1;
    Action(ID_SHOW_HIERARCHY)->setChecked(mode == 0);
    Action(ID_SHOW_LIST)->setChecked(mode == 1);
    UpdateTitle();
}

// "Vorlix - [title]" while the active document window is maximised, else
// "Vorlix - title"; "Vorlix" without a document.
QString CMainFrame::CaptionText() const {
    const QString program = QStringLiteral("Vorlix");
    const CChildFrame* active = MDIGetActive();
    if (active == nullptr || active->windowTitle().isEmpty()) {
        return program;
    }
    if (active->isMaximized()) {
        return QStringLiteral("%1 - [%2]").arg(program, active->windowTitle());
    }
    return QStringLiteral("%1 - %2").arg(program, active->windowTitle());
}

void CMainFrame::UpdateTitle() {
    if (windowTitle() != CaptionText()) {
        setWindowTitle(CaptionText());
    }
}

// The MDI area writes its own caption when a window is maximised or restored;
// the frame has the last word.
void CMainFrame::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowTitleChange) {
        UpdateTitle();
    }
}

// Overlapping windows of a usable size: each one a title bar's height below
// and right of the one before, all of one size that leaves the last one
// inside the area (at least half the area each way).
void CMainFrame::OnCascade() {
    QList<QMdiSubWindow*> windows;
    for (CChildFrame* frame : m_frames) {
        if (!frame->isMinimized()) {
            windows.append(frame);
        }
    }
    if (windows.isEmpty()) {
        return;
    }
    // The active window ends on top, as the last one.
    if (QMdiSubWindow* active = m_mdiArea->activeSubWindow(); windows.removeOne(active)) {
        windows.append(active);
    }
    const QRect area = m_mdiArea->viewport()->rect();
    const int step = qMax(20, style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, this));
    const int offset = step * static_cast<int>(windows.size() - 1);
    const QSize size(qMax(area.width() / 2, area.width() - offset),
                     qMax(area.height() / 2, area.height() - offset));
    for (qsizetype i = 0; i < windows.size(); ++i) {
        QMdiSubWindow* window = windows[i];
        window->showNormal();
        const int at = step * static_cast<int>(i);
        window->setGeometry(QRect(QPoint(at, at), size));
        window->raise();
    }
    m_mdiArea->setActiveSubWindow(windows.constLast());
    UpdateTitle();
}

void CMainFrame::ShowMenuSet(int menuId) {
    if (m_currentMenu == menuId) {
        return;
    }
    m_currentMenu = menuId;
    menuBar()->clear();
    for (QMenu* menu : MenuPopups(menuId)) {
        menuBar()->addMenu(menu);
    }
}

void CMainFrame::FillWindowList(QMenu* menu) {
    for (QAction* action : m_windowListActions) {
        menu->removeAction(action);
        action->deleteLater();
    }
    m_windowListActions.clear();
    if (m_frames.isEmpty()) {
        return;
    }
    m_windowListActions.append(menu->addSeparator());
    CChildFrame* active = MDIGetActive();
    for (int i = 0; i < m_frames.size(); ++i) {
        CChildFrame* frame = m_frames[i];
        QAction* action =
            menu->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(frame->windowTitle()));
        action->setCheckable(true);
        action->setChecked(frame == active);
        connect(action, &QAction::triggered, this,
                [this, frame] { m_mdiArea->setActiveSubWindow(frame); });
        m_windowListActions.append(action);
    }
}

// Minimised document windows in a row along the bottom edge, left to right.
void CMainFrame::OnArrangeIcons() {
    const QRect area = m_mdiArea->viewport()->rect();
    int x = 0;
    int y = area.bottom();
    for (CChildFrame* frame : m_frames) {
        if (!frame->isMinimized()) {
            continue;
        }
        const QSize size = frame->size();
        if (x > 0 && x + size.width() > area.width()) {
            x = 0;
            y -= size.height();
        }
        frame->move(x, y - size.height() + 1);
        x += size.width();
    }
}

void CMainFrame::UpdateIndicators() {
    const char* leds[] = {"::capslock", "::numlock", "::scrolllock"};
    const QString texts[] = {QStringLiteral("UF"), QStringLiteral("NUM"), QStringLiteral("RF")};
    for (int i = 0; i < m_indicators.size(); ++i) {
        m_indicators[i]->setText(LockKeyOn(leds[i]) ? texts[i] : QString());
    }
}

bool CMainFrame::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyRelease) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_CapsLock || key == Qt::Key_NumLock || key == Qt::Key_ScrollLock) {
            UpdateIndicators();
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    // Every document is asked before any closes: one No keeps them all.
    const QList<CChildFrame*> frames = m_frames;
    for (CChildFrame* frame : frames) {
        if (!frame->GetDocument()->SaveModified()) {
            event->ignore();
            return;
        }
    }
    for (CChildFrame* frame : frames) {
        frame->CloseAgreed();
    }
    event->accept();
}
