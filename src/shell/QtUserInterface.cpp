#include "shell/QtUserInterface.h"

#include "shell/FolderBrowseDlg.h"
#include "shell/ProgressDlg.h"
#include "shell/TableSelectDlg.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <algorithm>

namespace {

const QString kTitle = QStringLiteral("Vorlix");

QString FromUtf8(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::string ToUtf8(const QString& text) {
    return text.toUtf8().toStdString();
}

} // namespace

CQtUserInterface::CQtUserInterface() = default;
CQtUserInterface::~CQtUserInterface() = default;

void CQtUserInterface::ShowMessage(const std::string& text) {
    QMessageBox box(QMessageBox::Warning, kTitle, FromUtf8(text), QMessageBox::Ok, m_owner);
    box.button(QMessageBox::Ok)->setText(QStringLiteral("OK"));
    box.exec();
}

bool CQtUserInterface::AskYesNo(const std::string& text) {
    QMessageBox box(QMessageBox::Question, kTitle, FromUtf8(text),
                    QMessageBox::Yes | QMessageBox::No, m_owner);
    box.button(QMessageBox::Yes)->setText(QStringLiteral("&Ja"));
    box.button(QMessageBox::No)->setText(QStringLiteral("&Nein"));
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
}

// An OK without a folder of the file system (nothing chosen, or a typed path
// that is no folder) asks again, as the browser does for such an item.
std::optional<std::string> CQtUserInterface::ChooseFolder(const std::string& title) {
    QString start = m_folderStart.isEmpty() ? m_lastFolder : m_folderStart;
    m_folderStart.clear();
    while (true) {
        CFolderBrowseDlg dialog(FromUtf8(title), start.isEmpty() ? QDir::homePath() : start,
                                m_owner);
        if (dialog.exec() != QDialog::Accepted) {
            return std::nullopt;
        }
        const QString path = dialog.SelectedPath();
        if (!path.isEmpty() && QFileInfo(path).isDir()) {
            m_lastFolder = path;
            return ToUtf8(QDir::toNativeSeparators(path));
        }
    }
}

void CQtUserInterface::SetFolderStart(const std::string& path) {
    m_folderStart = FromUtf8(path);
}

std::optional<std::string> CQtUserInterface::ChooseFile(const FileDialog& request) {
    QFileDialog dialog(m_owner);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setWindowTitle(request.save ? QStringLiteral("Speichern unter")
                                       : QStringLiteral("Öffnen"));
    dialog.setAcceptMode(request.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(request.fileMustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    QString suffix = FromUtf8(request.defaultExtension);
    if (suffix.startsWith(QLatin1String("*."))) {
        suffix.remove(0, 2);
    }
    QStringList filters = NameFilters(request.filter);
    // A database is a SQLite file here: it is offered first and named ".db".
    if (suffix == QLatin1String("mdb")) {
        filters = DatabaseNameFilters(request.filter);
        suffix = QStringLiteral("db");
    }
    dialog.setDefaultSuffix(suffix);
    if (!filters.isEmpty()) {
        dialog.setNameFilters(filters);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return ToUtf8(dialog.selectedFiles().constFirst());
}

std::optional<int> CQtUserInterface::ChooseTable(const std::vector<std::string>& tables) {
    CTableSelectDlg dialog(tables, m_owner);
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return dialog.m_nTableIndex;
}

std::optional<std::string>
CQtUserInterface::ChooseOrNameTable(const std::vector<std::string>& tables) {
    CTableSelectDlg dialog(tables, m_owner, true);
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return dialog.m_strTable;
}

void CQtUserInterface::ShowProgress() {
    m_progress = std::make_unique<CProgressDlg>();
    m_progress->ShowNow();
}

void CQtUserInterface::SetProgressText(const std::string& text) {
    if (m_progress) {
        m_progress->SetText(FromUtf8(text));
    }
}

void CQtUserInterface::HideProgress() {
    if (m_progress) {
        m_progress->hide();
        m_progress.reset();
    }
}

QStringList CQtUserInterface::NameFilters(const std::string& filter) {
    const QStringList parts = FromUtf8(filter).split(QLatin1Char('|'));
    QStringList result;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString& name = parts[i];
        if (name.isEmpty()) {
            break;
        }
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        patterns.replace(QLatin1String("*.*"), QLatin1String("*"));
        result << name + QStringLiteral(" (") + patterns + QLatin1Char(')');
    }
    return result;
}

QStringList CQtUserInterface::DatabaseNameFilters(const std::string& filter) {
    // As NameFilters does: the pattern twice, so that the name shows it.
    QStringList result{QStringLiteral("Vorlix-Datenbank (*.db) (*.db)")};
    result << NameFilters(filter);
    const bool allFiles = std::any_of(result.begin(), result.end(), [](const QString& name) {
        return name.endsWith(QLatin1String("(*)"));
    });
    if (!allFiles) {
        result << QStringLiteral("Alle Dateien (*) (*)");
    }
    return result;
}
