#include "ClassCommandsSupport.h"
#include "shell/SearchResultDlg.h"

#include <QHeaderView>
#include <QTreeWidget>

namespace {

const std::string kSources = VORLIX_TEST_DATA_DIR "/classcommands/src";
const char* const kFolderTitle = "Wählen Sie ein Verzeichnis, in dem alle zu durchsuchenden "
                                 "Quellcode-/Header-Dateien zu finden sind.";

QString Source(const char* relative) {
    return QString::fromStdString(kSources + "/" + relative);
}

// What a results dialog showed.
struct SShownResults {
    bool shown = false;
    QStringList headers;
    QList<QStringList> rows;
};

SShownResults ReadAndClose(QWidget* modal) {
    SShownResults result;
    auto* dialog = qobject_cast<CSearchResultDlg*>(modal);
    if (dialog == nullptr) {
        ADD_FAILURE() << "not the results dialog";
        modal->close();
        return result;
    }
    result.shown = true;
    const QTreeWidget* list = dialog->List();
    if (!list->isHeaderHidden()) {
        for (int c = 0; c < list->columnCount(); ++c) {
            result.headers << list->headerItem()->text(c);
        }
    }
    for (int r = 0; r < list->topLevelItemCount(); ++r) {
        QStringList texts;
        for (int c = 0; c < list->columnCount(); ++c) {
            texts << list->topLevelItem(r)->text(c);
        }
        result.rows << texts;
    }
    dialog->OkButton()->click();
    return result;
}

class CSearchTest : public CAppTest {
protected:
    // Right-clicks the node (a class in the tree, or a member function in the
    // function list of the selected class) and chooses a command of the menu.
    SShownResults RunFromMenu(CVorlixDoc* doc, CClassNode* node, int command) {
        SShownResults result;
        CModalDriver driver([&](QWidget* modal) { result = ReadAndClose(modal); }, 3000);
        CMenuRecorder menus;
        menus.choose = command;
        if (node->GetKind() == KindFunction) {
            CVorlixListView& functions = *Frame(doc).FunctionList();
            RightClick(functions, CentreOf(functions, QString::fromStdString(node->GetName())));
        } else {
            RightClick(Tree(doc), LabelOf(Tree(doc), node));
        }
        EXPECT_EQ(menus.shown.size(), 1u);
        EXPECT_EQ(driver.Ran(), result.shown);
        return result;
    }
};

struct SearchCase {
    const char* name;
    CClassNode* CSampleModel::*node;
    int command;
    QStringList headers;
    QList<QStringList> rows;
};

void PrintTo(const SearchCase& c, std::ostream* os) {
    *os << c.name;
}

class CSearchModes : public CSearchTest, public testing::WithParamInterface<SearchCase> {};

TEST_P(CSearchModes, ShowColumnsAndSortedRows) {
    const SearchCase& c = GetParam();
    CSampleModel sample;
    CVorlixDoc* doc = OpenSample(sample);
    CClassNode* node = sample.*c.node;
    if (node->GetKind() == KindFunction) {
        ASSERT_TRUE(Tree(doc).SelectNode(node->m_pParent));
    }
    ui.folderAnswers.push_back(kSources);
    const SShownResults shown = RunFromMenu(doc, node, c.command);
    EXPECT_TRUE(shown.shown);
    EXPECT_EQ(shown.headers, c.headers);
    EXPECT_EQ(shown.rows, c.rows);
    EXPECT_EQ(ui.folderTitles, std::vector<std::string>{kFolderTitle});
    EXPECT_EQ(ui.progressShown, 1);
    EXPECT_EQ(ui.progressTexts, std::vector<std::string>{"Parse angegebenes Verzeichnis ..."});
    EXPECT_FALSE(ui.progressVisible);
}

// frame.cpp calls an OnDraw without naming CView: no use of CView::OnDraw.
INSTANTIATE_TEST_SUITE_P(Fixture, CSearchModes,
                         testing::Values(SearchCase{"HeadersMentioningTheClass",
                                                    &CSampleModel::view,
                                                    ID_FIND_CLASS_HEADERS,
                                                    {"Klasse", "Dateiname"},
                                                    {{"CPanel", Source("inc/panel.h")}}},
                                         SearchCase{"FunctionsMentioningTheClass",
                                                    &CSampleModel::view,
                                                    ID_FIND_CLASS_FUNCTIONS,
                                                    {"Klasse", "Name", "Dateiname"},
                                                    {{"-", "main", Source("main.c")},
                                                     {"CPanel", "Paint", Source("panel.cpp")}}},
                                         SearchCase{"FunctionsUsingTheMemberFunction",
                                                    &CSampleModel::onDraw,
                                                    ID_FIND_USES,
                                                    {"Klasse", "Name", "Dateiname"},
                                                    {{"CPanel", "Paint", Source("panel.cpp")}}},
                                         SearchCase{"NothingFoundShowsAnEmptyList",
                                                    &CSampleModel::aardvark,
                                                    ID_FIND_CLASS_FUNCTIONS,
                                                    {"Klasse", "Name", "Dateiname"},
                                                    {}}),
                         [](const testing::TestParamInfo<SearchCase>& param) {
                             return std::string(param.param.name);
                         });

TEST_F(CSearchTest, SecondSearchReplacesTheHitsOfTheFirst) {
    CSampleModel sample;
    CVorlixDoc* doc = OpenSample(sample);
    ui.folderAnswers = {kSources, kSources};
    const SShownResults first = RunFromMenu(doc, sample.view, ID_FIND_CLASS_FUNCTIONS);
    EXPECT_EQ(first.rows.size(), 2);
    const SShownResults second = RunFromMenu(doc, sample.wnd, ID_FIND_CLASS_HEADERS);
    EXPECT_EQ(second.headers, (QStringList{"Klasse", "Dateiname"}));
    EXPECT_TRUE(second.rows.isEmpty());
    EXPECT_TRUE(doc->m_search.ClassHits().empty());
}

TEST_F(CSearchTest, CancelledFolderChoiceShowsNoResults) {
    CSampleModel sample;
    CVorlixDoc* doc = OpenSample(sample);
    const SShownResults shown = RunFromMenu(doc, sample.view, ID_FIND_CLASS_HEADERS);
    EXPECT_FALSE(shown.shown);
    EXPECT_EQ(ui.folderTitles.size(), 1u);
    EXPECT_EQ(ui.progressShown, 0);
}

TEST_F(CSearchTest, TheRootIsNotSearchedFor) {
    CSampleModel sample;
    CClassRoot* root = sample.root.get();
    CVorlixDoc* doc = OpenSample(sample);
    ui.folderAnswers.push_back(kSources);
    const SShownResults shown = RunFromMenu(doc, root, ID_FIND_CLASS_FUNCTIONS);
    EXPECT_FALSE(shown.shown);
    EXPECT_TRUE(ui.folderTitles.empty());
}

} // namespace
