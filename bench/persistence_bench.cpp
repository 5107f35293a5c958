// Save and load of a class structure through the class table, beside a peer:
// the same rows written and read with SQLite's C API directly (one prepared
// statement, one transaction), which is as fast as that engine gets.
#include "model/ClassRoot.h"
#include "persistence/ClassTable.h"
#include "persistence/RowLinker.h"
#include "platform/UserInterface.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <random>
#include <sqlite3.h>
#include <string>
#include <unistd.h>

namespace {

class CSilentUserInterface : public IUserInterface {
public:
    void ShowMessage(const std::string& text) override {
        std::fprintf(stderr, "%s\n", text.c_str());
    }
    bool AskYesNo(const std::string&) override { return true; }
    std::optional<std::string> ChooseFolder(const std::string&) override { return std::nullopt; }
    std::optional<std::string> ChooseFile(const FileDialog&) override { return std::nullopt; }
    std::optional<int> ChooseTable(const std::vector<std::string>& tables) override {
        for (size_t i = 0; i < tables.size(); ++i) {
            if (tables[i] == "Klassen") {
                return static_cast<int>(i);
            }
        }
        return std::nullopt;
    }
    void ShowProgress() override {}
    void SetProgressText(const std::string&) override {}
    void HideProgress() override {}
};

// A fifth classes (each under the root or an earlier class), each class with
// two member functions and two member variables.
std::unique_ptr<CClassRoot> MakeStructure(int nodes) {
    auto root = std::make_unique<CClassRoot>();
    std::mt19937 random(7);
    std::vector<CClassNode*> classes;
    int id = 0;
    const int classCount = nodes / 5;
    for (int i = 0; i < classCount; ++i) {
        auto* node = new CClassNode;
        node->SetKind(KindClass);
        node->SetId(id++);
        node->SetName("CClass" + std::to_string(i));
        node->SetHeaderFile("/src/include/Class" + std::to_string(i) + ".h");
        node->SetLine(12);
        node->SetDescription("Description of class number " + std::to_string(i));
        CClassNode* parent = root.get();
        if (i >= 50) {
            parent = classes[std::uniform_int_distribution<size_t>(0, classes.size() - 1)(random)];
        }
        parent->AddChild(node);
        classes.push_back(node);
    }
    for (CClassNode* owner : classes) {
        for (int m = 0; m < 4; ++m) {
            auto* member = new CClassNode;
            member->SetKind(m < 2 ? KindFunction : KindVariable);
            member->SetId(id++);
            member->SetName(m < 2 ? "Method" + std::to_string(m) : "m_nValue" + std::to_string(m));
            member->SetHeaderFile(owner->GetHeaderPath());
            member->SetLine(20 + m);
            member->SetDescription("");
            member->SetTypeText(m < 2 ? "const std::string&" : "int");
            member->SetParameters(m < 2 ? "int a, const char* b" : "");
            owner->AddChild(member);
        }
    }
    return root;
}

std::string TempPath(const char* name) {
    return (std::filesystem::temp_directory_path() /
            (std::string("vorlix-bench-") + std::to_string(::getpid()) + "-" + name))
        .string();
}

void RemoveDatabase(const std::string& path) {
    std::remove(path.c_str());
    std::remove((path + "-journal").c_str());
}

// A fresh database whose empty table "Klassen" is the root's settled location.
void SettleInFreshDatabase(CClassRoot& root, const std::string& path) {
    RemoveDatabase(path);
    ClassTable::CreateDatabase(path);
    root.m_strDatabase = path;
    root.m_strTable = "Klassen";
    root.m_bNeedsLocation = false;
}

// A settled structure saved into a fresh file's empty table.
void BM_SaveIntoEmptyTable(benchmark::State& state) {
    const auto root = MakeStructure(static_cast<int>(state.range(0)));
    const std::string path = TempPath("save-empty.mdb");
    CSilentUserInterface ui;
    for (auto _ : state) {
        state.PauseTiming();
        SettleInFreshDatabase(*root, path);
        state.ResumeTiming();
        if (!root->Save(false, ui)) {
            state.SkipWithError("save failed");
        }
    }
    RemoveDatabase(path);
}

// The usual case: saving again over the rows of the last save.
void BM_SaveOverExistingRows(benchmark::State& state) {
    const auto root = MakeStructure(static_cast<int>(state.range(0)));
    const std::string path = TempPath("save-again.mdb");
    SettleInFreshDatabase(*root, path);
    CSilentUserInterface ui;
    root->Save(false, ui);
    for (auto _ : state) {
        if (!root->Save(false, ui)) {
            state.SkipWithError("save failed");
        }
    }
    RemoveDatabase(path);
}

void BM_Load(benchmark::State& state) {
    const auto source = MakeStructure(static_cast<int>(state.range(0)));
    const std::string path = TempPath("load.mdb");
    SettleInFreshDatabase(*source, path);
    CSilentUserInterface ui;
    source->Save(false, ui);
    for (auto _ : state) {
        CClassRoot root;
        if (!root.Load(path, ui) || root.CountAllDescendants() != state.range(0)) {
            state.SkipWithError("load failed");
        }
        state.PauseTiming();
        root.ClearChildren(); // not part of loading
        state.ResumeTiming();
    }
    RemoveDatabase(path);
}

// Peer: the same nine columns written with one prepared INSERT per row.
void BM_PeerRawInsert(benchmark::State& state) {
    const auto root = MakeStructure(static_cast<int>(state.range(0)));
    std::vector<const CClassNode*> nodes;
    std::vector<const CClassNode*> stack{root.get()};
    while (!stack.empty()) {
        const CClassNode* node = stack.back();
        stack.pop_back();
        if (node != root.get()) {
            nodes.push_back(node);
        }
        for (int i = node->GetChildCount() - 1; i >= 0; --i) {
            stack.push_back(node->GetChild(i));
        }
    }
    const std::string path = TempPath("peer-insert.mdb");
    for (auto _ : state) {
        state.PauseTiming();
        RemoveDatabase(path);
        ClassTable::CreateDatabase(path);
        state.ResumeTiming();
        sqlite3* db = nullptr;
        sqlite3_open(path.c_str(), &db);
        sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
        sqlite3_exec(db, "DELETE FROM Klassen", nullptr, nullptr, nullptr);
        sqlite3_stmt* insert = nullptr;
        sqlite3_prepare_v2(db, "INSERT INTO Klassen VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9)",
                           -1, &insert, nullptr);
        for (const CClassNode* node : nodes) {
            const std::string texts[] = {
                std::to_string(node->GetId()), std::to_string(node->GetKind()),
                std::to_string(node->GetLine()), std::to_string(node->m_pParent->GetId())};
            for (int i = 0; i < 4; ++i) {
                sqlite3_bind_text(insert, i + 1, texts[i].c_str(), -1, SQLITE_STATIC);
            }
            sqlite3_bind_text(insert, 5, node->GetName().c_str(), -1, SQLITE_STATIC);
            sqlite3_bind_text(insert, 6, node->GetHeaderFileName().c_str(), -1, SQLITE_STATIC);
            sqlite3_bind_text(insert, 7, node->GetDescription().c_str(), -1, SQLITE_STATIC);
            sqlite3_bind_text(insert, 8, node->GetTypeText().c_str(), -1, SQLITE_STATIC);
            sqlite3_bind_text(insert, 9, node->GetParameters().c_str(), -1, SQLITE_STATIC);
            sqlite3_step(insert);
            sqlite3_reset(insert);
        }
        sqlite3_finalize(insert);
        sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
        sqlite3_close(db);
    }
    RemoveDatabase(path);
}

// Peer: reading the same rows with one SELECT, without building a tree.
void BM_PeerRawSelect(benchmark::State& state) {
    const auto source = MakeStructure(static_cast<int>(state.range(0)));
    const std::string path = TempPath("peer-select.mdb");
    SettleInFreshDatabase(*source, path);
    CSilentUserInterface ui;
    source->Save(false, ui);
    for (auto _ : state) {
        sqlite3* db = nullptr;
        sqlite3_open(path.c_str(), &db);
        sqlite3_stmt* select = nullptr;
        sqlite3_prepare_v2(db, "SELECT * FROM Klassen ORDER BY rowid", -1, &select, nullptr);
        std::size_t bytes = 0;
        while (sqlite3_step(select) == SQLITE_ROW) {
            for (int i = 0; i < 9; ++i) {
                bytes += static_cast<std::size_t>(sqlite3_column_bytes(select, i));
                benchmark::DoNotOptimize(sqlite3_column_text(select, i));
            }
        }
        benchmark::DoNotOptimize(bytes);
        sqlite3_finalize(select);
        sqlite3_close(db);
    }
    RemoveDatabase(path);
}

// Relinking the rows of a saved structure in table order: the index against
// the tree search it stands for.
std::vector<std::unique_ptr<CClassNode>> RowsOf(const CClassRoot& root) {
    std::vector<std::unique_ptr<CClassNode>> rows;
    std::vector<const CClassNode*> stack{&root};
    while (!stack.empty()) {
        const CClassNode* node = stack.back();
        stack.pop_back();
        if (node != &root) {
            auto row = std::make_unique<CClassNode>();
            row->SetId(node->GetId());
            row->SetKind(node->GetKind());
            row->m_nParentId = node->m_pParent->GetId();
            rows.push_back(std::move(row));
        }
        for (int i = node->GetChildCount() - 1; i >= 0; --i) {
            stack.push_back(node->GetChild(i));
        }
    }
    return rows;
}

void BM_RelinkIndexed(benchmark::State& state) {
    const auto source = MakeStructure(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        auto rows = RowsOf(*source);
        CClassRoot root;
        state.ResumeTiming();
        CRowLinker linker(root);
        for (auto& row : rows) {
            linker.Add(std::move(row));
        }
        linker.AttachParked();
        benchmark::DoNotOptimize(linker.ParkedCount());
        state.PauseTiming();
        root.ClearChildren();
        state.ResumeTiming();
    }
}

void BM_RelinkTreeSearch(benchmark::State& state) {
    const auto source = MakeStructure(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        auto rows = RowsOf(*source);
        CClassRoot root;
        CClassNode holder;
        state.ResumeTiming();
        for (auto& row : rows) {
            CClassNode* node = row.release();
            if (CClassNode* parent = root.FindByIdAndKind(node->m_nParentId, node->GetKind())) {
                parent->AddChild(node);
            } else {
                holder.AddChild(node);
            }
        }
        int i = 0;
        while (i < holder.GetChildCount()) {
            CClassNode* node = holder.GetChild(i);
            if (CClassNode* parent = root.FindByIdAndKind(node->m_nParentId, KindClass)) {
                parent->AddChild(node);
                holder.RemoveChild(node, false);
            } else {
                ++i;
            }
        }
        state.PauseTiming();
        root.ClearChildren();
        state.ResumeTiming();
    }
}

} // namespace

BENCHMARK(BM_SaveIntoEmptyTable)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SaveOverExistingRows)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_PeerRawInsert)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Load)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_PeerRawSelect)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_RelinkIndexed)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_RelinkTreeSearch)->Arg(10000)->Unit(benchmark::kMillisecond)->UseRealTime();

BENCHMARK_MAIN();
