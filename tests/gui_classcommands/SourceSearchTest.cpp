#include "ClassCommandsSupport.h"
#include "search/SearchHit.h"
#include "shell/SearchResultDlg.h"

#include <QDesktopServices>
#include <QLabel>
#include <QTreeWidget>
#include <QUrl>

namespace {

const std::string kSources = VORLIX_TEST_DATA_DIR "/classcommands/src";
using Rows = QList<QStringList>;
// The column titles of a header search and of the other modes.
const QStringList kTwo = {"Klasse", "Dateiname"}, kThree = {"Klasse", "Name", "Dateiname"};

QString Source(const char* relative) {
    return QString::fromStdString(kSources + "/" + relative);
}

// The column titles (unless hidden), then each row's texts.
Rows Table(const QTreeWidget* list) {
    Rows rows;
    for (int r = list->isHeaderHidden() || list->columnCount() == 0 ? 0 : -1;
         r < list->topLevelItemCount(); ++r) {
        const QTreeWidgetItem* item = r < 0 ? list->headerItem() : list->topLevelItem(r);
        QStringList texts;
        for (int c = 0; c < list->columnCount(); ++c) {
            texts << item->text(c);
        }
        rows << texts;
    }
    return rows;
}

// Chooses the command for the node; gives the table the results dialog
// showed, none without a dialog.
std::optional<Rows> RunFromMenu(CVorlixDoc* doc, CClassNode* node, int command) {
    std::optional<Rows> result;
    const bool ran = ChooseFromMenu(*doc->GetFrame(), node, command, [&](QWidget* modal) {
        if (auto* dialog = qobject_cast<CSearchResultDlg*>(modal)) {
            result = Table(dialog->List());
        }
        modal->close();
    });
    EXPECT_EQ(ran, result.has_value());
    return result;
}

using CSearchTest = CAppTest;

// frame.cpp calls an OnDraw without naming CView: no use of CView::OnDraw. A
// search that finds nothing still shows the list; a cancelled folder and the
// root (which is not searched for) show nothing.
TEST_F(CSearchTest, EachModeShowsItsColumnsAndSortedRows) {
    const struct {
        CClassNode* CSampleModel::*node;
        int command;
        bool folder;
        std::optional<Rows> table;
    } cases[] = {
        {&CSampleModel::view, ID_FIND_CLASS_HEADERS, true,
         Rows{kTwo, {"CPanel", Source("inc/panel.h")}}},
        {&CSampleModel::view, ID_FIND_CLASS_FUNCTIONS, true,
         Rows{kThree, {"-", "main", Source("main.c")}, {"CPanel", "Paint", Source("panel.cpp")}}},
        {&CSampleModel::onDraw, ID_FIND_USES, true,
         Rows{kThree, {"CPanel", "Paint", Source("panel.cpp")}}},
        {&CSampleModel::aardvark, ID_FIND_CLASS_FUNCTIONS, true, Rows{kThree}},
        {&CSampleModel::view, ID_FIND_CLASS_HEADERS, false, std::nullopt},
        {&CSampleModel::top, ID_FIND_CLASS_FUNCTIONS, true, std::nullopt}};
    for (const auto& c : cases) {
        CSampleModel sample;
        CVorlixDoc* doc = OpenSample(sample);
        CClassNode* node = sample.*c.node;
        ui = CScriptedDesktop();
        if (c.folder) {
            ui.folderAnswers.push_back(kSources);
        }
        EXPECT_EQ(RunFromMenu(doc, node, c.command), c.table) << c.command;
    }
}

// Opened files reach this handler instead of the desktop's programs.
class COpenedFiles : public QObject {
    Q_OBJECT
public:
    QList<QUrl> urls;
public slots:
    void Open(const QUrl& url) { urls << url; }
};

// The dialog alone: each row keeps its own hit's texts, sorted by the first
// column case-insensitively and stably, columns as wide as their texts, a
// German word when nothing was found; without a node, hits or a known mode it
// shows nothing. Resizable; a double click opens the hit's file.
TEST(SearchResultDlg, ShowsColumnsRowsOrNothingGrowsAndOpensFiles) {
    const std::string longPath = "/very/long/path/to/some/deeply/nested/source/file/panel.cpp";
    const std::vector<CSearchHit> classHits = {{"B", "Run", longPath}, {"-", "main", "/main.cpp"}};
    const std::vector<CSearchHit> headerHits = {
        {"b", "-", "/1.h"}, {"A", "-", "/2.h"}, {"B", "-", "/3.h"}, {"a", "-", "/4.h"}};
    const std::vector<CSearchHit> none;
    const struct {
        char mode;
        bool node;
        const std::vector<CSearchHit>* hits;
        Rows table;
    } cases[] = {{'H', true, &headerHits,
                  Rows{kTwo, {"A", "/2.h"}, {"a", "/4.h"}, {"b", "/1.h"}, {"B", "/3.h"}}},
                 {'C', true, &classHits,
                  Rows{kThree, {"-", "main", "/main.cpp"}, {"B", "Run", longPath.c_str()}}},
                 {'F', true, &none, Rows{kThree}},
                 {'C', false, &classHits, {}},
                 {'F', true, nullptr, {}},
                 {' ', true, &classHits, {}}};
    CClassNode node;
    COpenedFiles opened;
    QDesktopServices::setUrlHandler(QStringLiteral("file"), &opened, "Open");
    for (const auto& c : cases) {
        CSearchResultDlg dialog;
        if (c.hits != nullptr) {
            dialog.SetHits(c.hits);
        }
        dialog.SetNode(c.node ? &node : nullptr);
        dialog.SetMode(c.mode);
        dialog.show();
        QTreeWidget* list = dialog.List();
        EXPECT_EQ(Table(list), c.table) << c.mode << c.node;
        EXPECT_EQ(dialog.NoHitsLabel()->isVisible(), c.table.size() == 1) << c.mode << c.node;
        if (dialog.NoHitsLabel()->isVisible()) {
            EXPECT_EQ(dialog.NoHitsLabel()->text(), QStringLiteral("Keine Fundstellen vorhanden"));
        }
        const int width = list->width();
        dialog.resize(dialog.size() + QSize(200, 100));
        EXPECT_EQ(list->width(), width + 200);
        if (const int rows = list->topLevelItemCount(); rows > 0) {
            QTreeWidgetItem* last = list->topLevelItem(rows - 1);
            const QString file = last->text(list->columnCount() - 1);
            EXPECT_GE(list->columnWidth(list->columnCount() - 1),
                      list->fontMetrics().horizontalAdvance(file));
            QApplication::processEvents();
            const QPoint at = list->visualItemRect(last).center();
            QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, at);
            QTest::mouseDClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, at);
        }
    }
    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
    EXPECT_EQ(opened.urls, (QList<QUrl>{QUrl::fromLocalFile(QStringLiteral("/3.h")),
                                        QUrl::fromLocalFile(QString::fromStdString(longPath))}));
    EXPECT_EQ(CSearchResultDlg().windowTitle(),
              QStringLiteral("Ergebnisse der Funktions-/Klassensuche"));
}

} // namespace

#include "SourceSearchTest.moc"
