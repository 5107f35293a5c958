#include "analysis/HeaderParser.h"
#include "model/ClassRoot.h"
#include "platform/UserInterface.h"

#include <benchmark/benchmark.h>
#include <memory>
#include <random>
#include <string>
#include <string_view>

namespace {

class CSilentUserInterface : public IUserInterface {
public:
    void ShowMessage(const std::string&) override {}
    bool AskYesNo(const std::string&) override { return false; }
    std::optional<std::string> ChooseFolder(const std::string&) override { return std::nullopt; }
    std::optional<std::string> ChooseFile(const FileDialog&) override { return std::nullopt; }
    std::optional<int> ChooseTable(const std::vector<std::string>&) override {
        return std::nullopt;
    }
    void ShowProgress() override {}
    void SetProgressText(const std::string&) override {}
    void HideProgress() override {}
};

std::string Numbered(char prefix, unsigned number) {
    std::string text = std::to_string(number);
    text.insert(text.begin(), prefix);
    return text;
}

// A flat list as a scan leaves it: one class in four entries, each followed
// by three members; bases are earlier or later classes, or one of a few
// hundred names that no header declares.
std::unique_ptr<CClassRoot> MakeFlatList(int entries) {
    auto root = std::make_unique<CClassRoot>();
    std::mt19937 random(42);
    const int classes = entries / 4;
    for (int c = 0; c < classes; ++c) {
        const std::string name = Numbered('C', static_cast<unsigned>(c));
        auto* node = new CClassNode;
        node->SetName(name);
        const unsigned pick = random() % 10;
        if (pick == 1) {
            node->m_strBaseName = Numbered('U', random() % 300);
        } else if (pick != 0) {
            node->m_strBaseName = Numbered('C', random() % static_cast<unsigned>(classes));
        }
        root->AddChild(node);
        for (int m = 0; m < 3; ++m) {
            auto* member = new CClassNode;
            member->SetKind(m == 2 ? KindVariable : KindFunction);
            member->SetName(m == 0 ? "Run" : m == 1 ? "Stop" : "m_state");
            member->m_strBaseName = name;
            root->AddChild(member);
        }
    }
    return root;
}

void NumberAndLink(benchmark::State& state) {
    CSilentUserInterface ui;
    for (auto _ : state) {
        state.PauseTiming();
        std::unique_ptr<CClassRoot> root = MakeFlatList(static_cast<int>(state.range(0)));
        CHeaderParser parser(ui);
        parser.m_pRoot = root.get();
        state.ResumeTiming();

        parser.LinkToBases(parser.NumberEntries());

        state.PauseTiming();
        parser.m_pRoot = nullptr;
        root.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(NumberAndLink)
    ->Arg(10'000)
    ->Arg(100'000)
    ->Arg(1'000'000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

// Header text of the usual shape: comments, directives, classes with
// inline bodies and multi-line declarations.
std::string MakeHeaderText(int classes) {
    std::string text;
    for (int c = 0; c < classes; ++c) {
        const std::string name = "CWidget" + std::to_string(c);
        for (const std::string_view piece :
             {std::string_view("/* A widget.\n * With a long comment block.\n */\n#ifndef GUARD\n"
                               "class EXPORT "),
              std::string_view(name),
              std::string_view(" : public CBase, protected CMixin\n{\npublic:\n    "),
              std::string_view(name), std::string_view("();\n    virtual ~"),
              std::string_view(name),
              std::string_view(
                  "();\n"
                  "    virtual void Draw(CDC* pDC, const CRect& rect) const; // draws\n"
                  "    int GetX() const { return m_x; }\n"
                  "    static const char* Name(int index,\n"
                  "                            bool full = true);\n"
                  "private:\n    int m_x, m_y;\n"
                  "    std::string m_title = \"untitled\";\n};\n#endif\n\n")}) {
            text.append(piece);
        }
    }
    return text;
}

void ParseHeaderText(benchmark::State& state) {
    CSilentUserInterface ui;
    const std::string text = MakeHeaderText(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        CHeaderParser parser(ui);
        parser.ParseText("/inc/widgets.h", text);
        benchmark::DoNotOptimize(parser.m_pRoot->GetChildCount());
        state.PauseTiming();
        delete parser.m_pRoot;
        parser.m_pRoot = nullptr;
        state.ResumeTiming();
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(text.size()));
}
BENCHMARK(ParseHeaderText)->Arg(20'000)->Unit(benchmark::kMillisecond);

} // namespace
