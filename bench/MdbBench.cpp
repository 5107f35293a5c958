#include "model/ClassRoot.h"
#include "persistence/MdbFile.h"
#include "platform/UserInterface.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>

namespace {

std::string Fixture() {
    return std::string(VORLIX_SHARED_FIXTURES_DIR) + "/access/klassen2003.mdb";
}

// Chooses the table "Klassen" and the file given; shows nothing.
class CBenchUserInterface : public IUserInterface {
public:
    explicit CBenchUserInterface(std::string file = {}) : m_file(std::move(file)) {}
    void ShowMessage(const std::string&) override {}
    bool AskYesNo(const std::string&) override { return false; }
    std::optional<std::string> ChooseFolder(const std::string&) override { return std::nullopt; }
    std::optional<std::string> ChooseFile(const FileDialog&) override { return m_file; }
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

private:
    std::string m_file;
};

// The fixture's class table saved once into a SQLite file.
const std::string& SqliteCopy() {
    static const std::string path = [] {
        const std::string file =
            (std::filesystem::temp_directory_path() / "vorlix-bench-klassen.sqlite.mdb").string();
        std::filesystem::remove(file);
        CBenchUserInterface ui(file);
        CClassRoot root;
        if (!root.Load(Fixture(), ui) || !root.Save(false, ui)) {
            throw std::runtime_error("cannot prepare " + file);
        }
        return file;
    }();
    return path;
}

void LoadFrom(benchmark::State& state, const std::string& path) {
    CBenchUserInterface ui;
    for (auto _ : state) {
        CClassRoot root;
        if (!root.Load(path, ui)) {
            state.SkipWithError("load failed");
            break;
        }
        benchmark::DoNotOptimize(root.GetChildCount());
    }
}

void BM_LoadKlassenFromAccess(benchmark::State& state) {
    LoadFrom(state, Fixture());
}
void BM_LoadKlassenFromSqlite(benchmark::State& state) {
    LoadFrom(state, SqliteCopy());
}

void BM_MdbFileOpenAndReadKlassen(benchmark::State& state) {
    for (auto _ : state) {
        CMdbFile file;
        MdbTableContents contents;
        if (!file.Open(Fixture()) || !file.ReadTable("Klassen", contents)) {
            state.SkipWithError("read failed");
            break;
        }
        benchmark::DoNotOptimize(contents.rows.size());
    }
}

BENCHMARK(BM_LoadKlassenFromAccess);
BENCHMARK(BM_LoadKlassenFromSqlite);
BENCHMARK(BM_MdbFileOpenAndReadKlassen);

} // namespace
