#pragma once

#include "app/DesktopQuestions.h"
#include "platform/UserInterface.h"

#include <QPointer>
#include <QStringList>
#include <QWidget>
#include <memory>

class CProgressDlg;

// The desktop program's answer to the core's questions: message boxes, the
// folder browser, file dialogs, the table dialog and the progress popup, all
// owned by the main window.
class CQtUserInterface : public IUserInterface, public IDesktopQuestions {
public:
    CQtUserInterface();
    ~CQtUserInterface() override;

    // The window that owns the dialogs (the main window); none until set.
    void SetOwner(QWidget* owner) { m_owner = owner; }

    void ShowMessage(const std::string& text) override;
    bool AskYesNo(const std::string& text) override;
    std::optional<std::string> ChooseFolder(const std::string& title) override;
    std::optional<std::string> ChooseFile(const FileDialog& dialog) override;
    std::optional<int> ChooseTable(const std::vector<std::string>& tables) override;
    void ShowProgress() override;
    void SetProgressText(const std::string& text) override;
    void HideProgress() override;

    void SetFolderStart(const std::string& path) override;
    std::optional<std::string> ChooseOrNameTable(const std::vector<std::string>& tables) override;

    // The name filters a database dialog offers: the SQLite files first, then
    // the given ones, then every file.
    static QStringList DatabaseNameFilters(const std::string& filter);

    // "Name (*.a)|*.a|All (*.*)|*.*||" as Qt's name filters. Each filter
    // carries its pattern twice so that the dialog, which hides the pattern
    // part, shows the name exactly; "*.*" means every file, as it did where
    // the filters come from.
    static QStringList NameFilters(const std::string& filter);

private:
    QPointer<QWidget> m_owner;
    std::unique_ptr<CProgressDlg> m_progress;
    QString m_lastFolder;
    QString m_folderStart;
};
