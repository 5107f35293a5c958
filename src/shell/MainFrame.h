#pragma once

#include <QHash>
#include <QList>
#include <QMainWindow>
#include <QPointer>

class CChildFrame;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QToolBar;

// The main window: the document windows in an MDI area, the menu bar (menu
// 128 while no document is open, 129 while one is), the tool bar and the
// status bar. Commands are QActions found by their command ID; whoever
// carries a command out connects to its action.
class CMainFrame : public QMainWindow {
    Q_OBJECT
public:
    explicit CMainFrame(QWidget* parent = nullptr);
    ~CMainFrame() override;

    // Builds menus, tool bar and status bar.
    bool OnCreate();

    // The action of a command ID (CommandIds.h), null for an unknown ID.
    QAction* Action(int id) const { return m_actions.value(id); }
    // The popups of menu 128 or 129, in menu-bar order.
    QList<QMenu*> MenuPopups(int menuId) const;
    // The menus the bar shows now (128 or 129).
    int CurrentMenuId() const { return m_currentMenu; }
    QToolBar* ToolBar() const { return m_toolBar; }
    QLabel* MessagePane() const { return m_messagePane; }
    QList<QLabel*> IndicatorPanes() const { return m_indicators; }
    QMdiArea* MdiArea() const { return m_mdiArea; }

    // The active document window, or null.
    CChildFrame* MDIGetActive() const;
    // Open document windows in the order they were opened.
    QList<CChildFrame*> ChildFrames() const;
    // Adds a new document window and activates it: maximised when no other
    // document window is active.
    void AddChildFrame(CChildFrame* frame);
    // The client size that a new document window gets.
    QSize ChildClientSize() const;

    // Shows the recent-file list in the file menus.
    void SetRecentFiles(const QStringList& paths);

    // Menu set, enabled commands, check marks and title after a change of
    // the active document window or its presentation.
    void UpdateFrame();

    // The caption: the program's name and the active document's title.
    QString CaptionText() const;

signals:
    void recentFileChosen(int index);

protected:
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QAction* AddAction(int id, const QString& text, const QKeySequence& shortcut = {});
    void CreateActions();
    void CreateMenus();
    bool CreateToolBar();
    bool CreateStatusBar();
    void ShowMenuSet(int menuId);
    void UpdateIndicators();
    void FillWindowList(QMenu* menu);
    void OnArrangeIcons();
    void OnCascade();
    void UpdateTitle();

    QMdiArea* m_mdiArea = nullptr;
    QHash<int, QAction*> m_actions;
    QList<QAction*> m_recentActions;
    QAction* m_recentPlaceholder = nullptr;
    QList<QMenu*> m_menus128;
    QList<QMenu*> m_menus129;
    QList<QAction*> m_windowListActions;
    int m_currentMenu = 0;
    QToolBar* m_toolBar = nullptr;
    QLabel* m_messagePane = nullptr;
    QList<QLabel*> m_indicators;
    QList<CChildFrame*> m_frames;
    QPointer<QMdiSubWindow> m_active;
};
