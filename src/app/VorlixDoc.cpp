#include "app/VorlixDoc.h"

#include "analysis/HeaderParser.h"
#include "app/DesktopQuestions.h"
#include "app/DirectoryChoice.h"
#include "app/SaveLocation.h"
#include "app/VorlixApp.h"
#include "html/HtmlExport.h"
#include "model/ClassRoot.h"
#include "model/InfoText.h"
#include "model/LostDescriptions.h"
#include "platform/UserInterface.h"
#include "shell/ChildFrame.h"
#include "views/VorlixListView.h"
#include "views/VorlixView.h"

#include <QPlainTextEdit>
#include <memory>

namespace {

const char* const kCloseQuestion = "Klassenstruktur der Headers wurde verändert!\n\nSoll das "
                                   "Dokument trotzdem geschlossen werden?";
const char* const kUpdateQuestion =
    "Die Aktualisierung könnte eventuell relativ viel Zeit beanspruchen!\n\nDennoch fortsetzen?\n";
const char* const kUpdateFirstTitle =
    "Wählen Sie ein Verzeichnis, in dem alle Header-Dateien nach zu aktualisierenden "
    "Klassenabhängigkeiten durchsucht werden sollen.";
const char* const kUpdateNextTitle =
    "Wählen Sie ein weiteres Verzeichnis, in dem weitere Header-Dateien nach zu aktualisierenden "
    "Klassenabhängigkeiten durchsucht werden sollen.";

// Each class after its descendants, children in list order; a stack, since
// inheritance chains can be deep.
void CollectClasses(const CClassNode& root, std::vector<std::string>& names) {
    std::vector<std::pair<const CClassNode*, int>> stack{{&root, 0}};
    while (!stack.empty()) {
        auto& [node, next] = stack.back();
        if (next < node->GetChildCount()) {
            if (const CClassNode* child = node->GetChild(next++)) {
                stack.emplace_back(child, 0);
            }
            continue;
        }
        if (node != &root && node->GetKind() == KindClass) {
            names.push_back(node->GetName());
        }
        stack.pop_back();
    }
}

} // namespace

CVorlixDoc::CVorlixDoc(CVorlixApp& app, IUserInterface& ui) : m_app(app), m_ui(ui) {}

CVorlixDoc::~CVorlixDoc() {
    delete m_pRoot;
}

bool CVorlixDoc::OnNewDocument() {
    if (m_pRoot != nullptr) {
        return true;
    }
    std::unique_ptr<CClassRoot> pending = m_app.TakePendingRoot();
    m_pRoot = pending ? pending.release() : new CClassRoot;
    SetModifiedFlag(m_app.PendingModified());
    return true;
}

void CVorlixDoc::OnOpenDocument(const std::string& path) {
    if (m_pRoot == nullptr) {
        m_pRoot = new CClassRoot;
    }
    // Whatever Load reports, the document shows what the root holds.
    m_pRoot->Load(path, m_ui);
    SetModifiedFlag(false);
}

bool CVorlixDoc::SaveModified() {
    // A description still being edited counts as a change: closing must not
    // lose it without asking.
    TakeDescription();
    if (!IsModified()) {
        return true;
    }
    return m_ui.AskYesNo(kCloseQuestion);
}

void CVorlixDoc::OnCloseDocument() {
    if (m_pRoot == nullptr) {
        return;
    }
    SetTitle(m_pRoot->m_strDatabase);
    // Only a structure that is stored somewhere can be reopened from the list.
    if (!m_pRoot->m_bNeedsLocation) {
        m_app.AddToRecentFileList(m_pRoot->m_strDatabase);
    }
}

void CVorlixDoc::OnFileSave() {
    if (m_pRoot == nullptr) {
        return;
    }
    TakeDescription();
    SaveInto(m_pRoot->m_bNeedsLocation);
}

void CVorlixDoc::OnFileSaveAs() {
    if (m_pRoot == nullptr) {
        return;
    }
    TakeDescription();
    SaveInto(true);
}

// A save into a new place that fails leaves the structure where it was.
void CVorlixDoc::SaveInto(bool askLocation) {
    const std::string database = m_pRoot->m_strDatabase;
    const std::string table = m_pRoot->m_strTable;
    const bool needsLocation = m_pRoot->m_bNeedsLocation;
    bool backup = true;
    if (askLocation) {
        const std::optional<SSaveLocation> location = ChooseSaveLocation(*m_pRoot, m_ui);
        if (!location) {
            return;
        }
        m_pRoot->m_strDatabase = location->database;
        m_pRoot->m_strTable = location->table;
        m_pRoot->m_bNeedsLocation = false;
        backup = !location->createdFile;
    }
    if (m_pRoot->Save(backup, m_ui)) {
        SetModifiedFlag(false);
        ShowRootCaption();
        UpdateTitle();
    } else if (askLocation) {
        m_pRoot->m_strDatabase = database;
        m_pRoot->m_strTable = table;
        m_pRoot->m_bNeedsLocation = needsLocation;
    }
}

void CVorlixDoc::OnUpdateTree() {
    if (!m_ui.AskYesNo(kUpdateQuestion)) {
        return;
    }
    CHeaderParser parser(m_ui);
    CParsedRoot parsed(parser);

    TakeDescription();
    if (auto* desktop = dynamic_cast<IDesktopQuestions*>(&m_ui);
        desktop != nullptr && !m_strScannedFolder.empty()) {
        desktop->SetFolderStart(m_strScannedFolder);
    }
    std::string firstFolder;
    const int scanned =
        ScanChosenDirectories(parser, m_ui, kUpdateFirstTitle, kUpdateNextTitle, &firstFolder);
    if (scanned == 0 || parser.m_pRoot == nullptr) {
        return;
    }
    parser.OrderAndNumber();
    parser.CarryOver(m_pRoot);
    // No keeps the old structure untouched; the parsed one goes with parsed.
    const std::vector<CLostDescription> lost = FindLostDescriptions(*m_pRoot, *parser.m_pRoot);
    if (!lost.empty() && !m_ui.AskYesNo(LostDescriptionQuestion(lost))) {
        return;
    }

    ForgetModel();
    delete m_pRoot;
    m_pRoot = parsed.Take().release();
    m_strScannedFolder = firstFolder;
    RebuildTree();
    SetModifiedFlag(true);
}

void CVorlixDoc::OnExportHtml() {
    if (m_pRoot == nullptr) {
        return;
    }
    // The pane's text enters the model only once the export goes ahead.
    RunHtmlExport(m_pRoot, m_ui, [this] { TakeDescription(); });
}

// Nothing that the window shows may point into a model about to go: the
// shown entry (its description is stored already) and the member lists.
void CVorlixDoc::ForgetModel() {
    m_pShown = nullptr;
    if (m_pFrame != nullptr) {
        m_pFrame->FunctionList()->DeleteAllItems();
        m_pFrame->VariableList()->DeleteAllItems();
    }
}

void CVorlixDoc::RebuildTree() {
    if (CVorlixView* view = GetFirstView()) {
        view->FillTree();
        view->viewport()->update();
    }
}

void CVorlixDoc::ShowRootCaption() {
    CVorlixView* view = GetFirstView();
    if (view != nullptr && m_pRoot != nullptr) {
        view->SetItemText(m_pRoot->GetTreeItem(), LocationText(*m_pRoot));
    }
}

void CVorlixDoc::CollectClassNames(std::vector<std::string>& names) const {
    names.clear();
    if (m_pRoot != nullptr) {
        CollectClasses(*m_pRoot, names);
    }
}

void CVorlixDoc::ShowDetails(CClassNode* node) {
    if (node == nullptr || !m_selectionOn || m_pFrame == nullptr) {
        return;
    }
    QPlainTextEdit* info = m_pFrame->InfoPane();
    QPlainTextEdit* description = m_pFrame->DescriptionPane();
    if (info == nullptr || description == nullptr) {
        return;
    }
    TakeDescription();
    info->setPlainText(QString::fromStdString(BuildInfoText(*node)));
    description->setPlainText(QString::fromStdString(node->GetDescription()));
    m_shownDescription = description->toPlainText();
    description->setReadOnly(node->m_pParent == nullptr);
    m_pShown = node;
}

void CVorlixDoc::TakeDescription() {
    QPlainTextEdit* description = m_pFrame != nullptr ? m_pFrame->DescriptionPane() : nullptr;
    if (description == nullptr || m_pShown == nullptr) {
        return;
    }
    const QString text = description->toPlainText();
    if (text == m_shownDescription) {
        return;
    }
    const std::string edited = text.toStdString();
    if (edited != m_pShown->GetDescription()) {
        SetModifiedFlag(true);
    }
    m_pShown->SetDescription(edited);
    m_shownDescription = text;
}

void CVorlixDoc::UpdateTitle() {
    if (m_pRoot == nullptr) {
        return;
    }
    SetTitle(LocationText(*m_pRoot));
    if (!m_pRoot->m_bNeedsLocation) {
        m_app.AddToRecentFileList(m_pRoot->m_strDatabase);
    }
}

void CVorlixDoc::SetTitle(const std::string& title) {
    m_strTitle = title;
    if (m_pFrame != nullptr) {
        m_pFrame->setWindowTitle(QString::fromStdString(title));
    }
}

CVorlixView* CVorlixDoc::GetFirstView() const {
    return m_pFrame != nullptr ? m_pFrame->TreeView() : nullptr;
}
