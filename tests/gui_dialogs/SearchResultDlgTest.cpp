#include "shell/SearchResultDlg.h"

#include "ModalDriver.h"
#include "model/ClassNode.h"
#include "search/SearchHit.h"

#include <QHeaderView>
#include <QPushButton>
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace {

using Row = CSearchHit;

QStringList Headers(const QTreeWidget* list) {
    QStringList titles;
    if (list->isHeaderHidden()) {
        return titles;
    }
    for (int i = 0; i < list->columnCount(); ++i) {
        titles << list->headerItem()->text(i);
    }
    return titles;
}

QList<QStringList> Rows(const QTreeWidget* list) {
    QList<QStringList> rows;
    for (int r = 0; r < list->topLevelItemCount(); ++r) {
        QStringList texts;
        for (int c = 0; c < list->columnCount(); ++c) {
            texts << list->topLevelItem(r)->text(c);
        }
        rows << texts;
    }
    return rows;
}

struct ResultCase {
    const char* name;
    char mode;
    bool withNode;
    bool withHits;
    std::vector<Row> hits;
    QStringList headers;
    QList<QStringList> rows;
};

void PrintTo(const ResultCase& c, std::ostream* os) {
    *os << c.name;
}

class ResultList : public testing::TestWithParam<ResultCase> {};

TEST_P(ResultList, ShowsColumnsAndSortedRows) {
    const ResultCase& c = GetParam();
    CClassNode node;
    CSearchResultDlg dialog;
    if (c.withHits) {
        dialog.SetHits(&c.hits);
    }
    dialog.SetNode(c.withNode ? &node : nullptr);
    dialog.SetMode(c.mode);
    dialog.OnInitDialog();
    EXPECT_EQ(Headers(dialog.List()), c.headers);
    EXPECT_EQ(Rows(dialog.List()), c.rows);
}

const std::vector<Row> kClassHits = {
    {"B", "Run", "/src/b.cpp"}, {"A", "Go", "/src/a.cpp"}, {"-", "main", "/src/main.cpp"}};

INSTANTIATE_TEST_SUITE_P(
    Modes, ResultList,
    testing::Values(
        ResultCase{"ClassUseSortedEachRowItsOwnHit",
                   'C',
                   true,
                   true,
                   kClassHits,
                   {"Klasse", "Name", "Dateiname"},
                   {{"-", "main", "/src/main.cpp"},
                    {"A", "Go", "/src/a.cpp"},
                    {"B", "Run", "/src/b.cpp"}}},
        ResultCase{"FunctionUse",
                   'F',
                   true,
                   true,
                   {{"CView", "OnDraw", "/v.cpp"}, {"CDoc", "Save", "/d.cpp"}},
                   {"Klasse", "Name", "Dateiname"},
                   {{"CDoc", "Save", "/d.cpp"}, {"CView", "OnDraw", "/v.cpp"}}},
        ResultCase{"HeaderHidesName",
                   'H',
                   true,
                   true,
                   {{"B", "-", "/inc/b.h"}, {"A", "-", "/inc/a.h"}},
                   {"Klasse", "Dateiname"},
                   {{"A", "/inc/a.h"}, {"B", "/inc/b.h"}}},
        ResultCase{"CaseInsensitiveEqualTextsKeepOrder",
                   'H',
                   true,
                   true,
                   {{"b", "-", "/1.h"}, {"A", "-", "/2.h"}, {"B", "-", "/3.h"}, {"a", "-", "/4.h"}},
                   {"Klasse", "Dateiname"},
                   {{"A", "/2.h"}, {"a", "/4.h"}, {"b", "/1.h"}, {"B", "/3.h"}}},
        ResultCase{"NothingFoundShowsColumnsOnly",
                   'C',
                   true,
                   true,
                   {},
                   {"Klasse", "Name", "Dateiname"},
                   {}},
        ResultCase{"NoNodeShowsNoColumns", 'C', false, true, kClassHits, {}, {}},
        ResultCase{"NoHitListShowsNoColumns", 'F', true, false, {}, {}, {}},
        ResultCase{"UnknownModeShowsNothing", ' ', true, true, kClassHits, {}, {}}),
    [](const testing::TestParamInfo<ResultCase>& param) { return std::string(param.param.name); });

TEST(SearchResultDlg, TextsAndColumnWidths) {
    CClassNode node;
    CSearchResultDlg dialog;
    const std::vector<CSearchHit> hits = {{"Ä", "größe", "/ü.cpp"}};
    dialog.SetHits(&hits);
    dialog.SetNode(&node);
    dialog.SetMode('C');
    dialog.OnInitDialog();
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Ergebnisse der Funktions-/Klassensuche"));
    EXPECT_EQ(dialog.OkButton()->text(), QStringLiteral("OK"));
    EXPECT_EQ(dialog.List()->columnWidth(0), 100);
    EXPECT_EQ(dialog.List()->columnWidth(1), 100);
    EXPECT_EQ(dialog.List()->columnWidth(2), 240);
    EXPECT_FALSE(dialog.List()->header()->sectionsClickable());
    ASSERT_EQ(dialog.List()->topLevelItemCount(), 1);
    EXPECT_EQ(dialog.List()->topLevelItem(0)->text(1), QStringLiteral("größe"));
}

TEST(SearchResultDlg, FillsWhenShownAndClosesWithOk) {
    CClassNode node;
    CSearchResultDlg dialog;
    const std::vector<CSearchHit> hits = {{"B", "-", "/b.h"}, {"A", "-", "/a.h"}};
    dialog.SetHits(&hits);
    dialog.SetNode(&node);
    dialog.SetMode('H');
    int rowsSeen = -1;
    CModalDriver driver([&](QWidget* modal) {
        auto* shown = qobject_cast<CSearchResultDlg*>(modal);
        ASSERT_NE(shown, nullptr);
        rowsSeen = shown->List()->topLevelItemCount();
        shown->OkButton()->click();
    });
    EXPECT_EQ(dialog.exec(), QDialog::Accepted);
    EXPECT_TRUE(driver.Ran());
    EXPECT_EQ(rowsSeen, 2);
}

} // namespace
