#include "shell/QtUserInterface.h"

#include "shell/FolderBrowseDlg.h"
#include "shell/ProgressDlg.h"
#include "shell/TableSelectDlg.h"

#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

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
    QMessageBox box(QMessageBox::NoIcon, kTitle, FromUtf8(text), QMessageBox::Ok, m_owner);
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

std::optional<std::string> CQtUserInterface::ChooseFolder(const std::string& title) {
    CFolderBrowseDlg dialog(FromUtf8(title),
                            m_lastFolder.isEmpty() ? QDir::homePath() : m_lastFolder, m_owner);
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    const QString path = dialog.SelectedPath();
    if (path.isEmpty()) {
        return std::nullopt;
    }
    m_lastFolder = path;
    return ToUtf8(QDir::toNativeSeparators(path));
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
    dialog.setDefaultSuffix(suffix);
    const QStringList filters = NameFilters(request.filter);
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
