#include "shell/CommandTexts.h"

#include <gtest/gtest.h>
#include <set>

namespace {

struct TextCase {
    int id;
    const char* prompt;
    const char* tip;
};

class CommandText : public testing::TestWithParam<TextCase> {};

TEST_P(CommandText, HasPromptAndTip) {
    const SCommandText* text = FindCommandText(GetParam().id);
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->prompt, GetParam().prompt);
    EXPECT_EQ(text->tip, GetParam().tip);
}

INSTANTIATE_TEST_SUITE_P(
    Samples, CommandText,
    testing::Values(
        TextCase{57600, "Beginnt mit dem parsen der spezifischen angegebener Headerfiles.",
                 "Parsen"},
        TextCase{57616, "Öffnet dieses Dokument.", ""},
        TextCase{57631, "Öffnet dieses Dokument.", ""},
        TextCase{32784, "Blendet alle Zweige der Klassenansicht zu.", "Zweige ausblenden"},
        TextCase{32776,
                 "Durchsucht ein Verzeichnis nach CPP-Dateien, in denen Funktion verwendet wird.",
                 ""},
        TextCase{57665, "Verläßt die Anwendung; fragt, ob Dokumente gespeichert werden sollen.",
                 "Beenden"},
        TextCase{57681, "Springt zum vorherigen Fensterausschnitt zurück.",
                 "Vorheriger Ausschnitt"}));

// Every command of the menus, the context menus, the accelerators and the tool
// bar has a prompt; the tool-bar buttons also have a tip.
TEST(CommandTexts, EveryCommandHasOneEntry) {
    const int menuCommands[] = {57600, 57601, 57602, 57603, 32774, 32772, 57616, 57665,
                                32781, 32782, 32783, 32784, 59392, 59393, 57650, 57651,
                                57649, 57664, 32776, 32780, 32778, 32779, 57680, 57681};
    for (int id : menuCommands) {
        const SCommandText* text = FindCommandText(id);
        ASSERT_NE(text, nullptr) << id;
        EXPECT_FALSE(text->prompt.empty()) << id;
    }
    for (int id : {57600, 57601, 57603, 57664}) {
        EXPECT_FALSE(FindCommandText(id)->tip.empty()) << id;
    }
    std::set<int> ids;
    for (const SCommandText& text : CommandTexts()) {
        EXPECT_TRUE(ids.insert(text.id).second) << text.id;
    }
    EXPECT_EQ(FindCommandText(57632), nullptr);
    EXPECT_EQ(FindCommandText(0), nullptr);
}

} // namespace
