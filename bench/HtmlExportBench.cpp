// HTML export throughput.
//
//  - ExportWhole: the whole export of a synthetic structure;
//  - ExportWholeLiteral: the plain quadratic version of the same pages, as a
//    peer on the same structures (compare with ExportWhole of the same "top");
//  - ExportSample: a structure of the size of a large header scan; its whole
//    export would be tens of gigabytes (every page lists every top-level
//    class), so every k-th page is written, with the index page and the
//    export's preparation counted in every run;
//  - ExportSampleOfScan: the same on the scan of a real header tree.
//
// Bytes per second are of wall time. Pages go to a directory below $TMPDIR
// (or /tmp), removed afterwards.

#include "LiteralHtmlExport.h"
#include "cli/ConsoleUserInterface.h"
#include "cli/ScanCommand.h"
#include "html/HtmlSite.h"
#include "model/ClassRoot.h"
#include "platform/FileServices.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <random>
#include <sstream>

namespace {

class CBenchDir {
public:
    CBenchDir() {
        const char* tmp = std::getenv("TMPDIR");
        std::string pattern = std::string(tmp != nullptr ? tmp : "/tmp") + "/vorlix-bench-XXXXXX";
        if (::mkdtemp(pattern.data()) != nullptr) {
            m_path = pattern;
        }
    }
    ~CBenchDir() {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    const std::string& Path() const { return m_path; }

private:
    std::string m_path;
};

// A structure shaped like a scan: many classes straight under the root,
// some with derived classes a few levels deep, each with its members.
std::unique_ptr<CClassRoot> Generate(int topClasses, int derivedPercent, int members) {
    std::mt19937 random(42);
    auto root = std::make_unique<CClassRoot>();
    int id = 0;
    const auto makeClass = [&](CClassNode* parent) {
        auto* node = new CClassNode;
        node->SetId(id);
        node->SetName("CGenerated" + std::to_string(id++));
        node->SetHeaderFile("/usr/include/generated/header" + std::to_string(id % 977) + ".h");
        node->SetLine(static_cast<int>(random() % 3000));
        node->SetDescription("Klasse unbekannt");
        parent->AddChild(node);
        const int count = static_cast<int>(random() % static_cast<unsigned>(2 * members + 1));
        for (int m = 0; m < count; ++m) {
            auto* member = new CClassNode;
            member->SetId(id++);
            const bool function = random() % 3 != 0;
            member->SetKind(function ? KindFunction : KindVariable);
            member->SetName((function ? "GetValue" : "m_nValue") + std::to_string(m));
            member->SetTypeText(function ? "const std::string&" : "int");
            member->SetParameters(function ? "int nIndex,bool bAll" : "");
            member->SetHeaderFile(node->GetHeaderPath());
            member->SetLine(node->GetLine() + m + 1);
            node->AddChild(member);
        }
        return node;
    };
    for (int t = 0; t < topClasses; ++t) {
        CClassNode* node = makeClass(root.get());
        for (int depth = 0; depth < 4 && static_cast<int>(random() % 100) < derivedPercent;
             ++depth) {
            node = makeClass(node);
        }
    }
    return root;
}

struct Totals {
    long long pages = 0;
    long long bytes = 0;
};

Totals DirectoryTotals(const std::string& directory) {
    Totals totals;
    for (const auto& entry : std::filesystem::directory_iterator(directory)) {
        ++totals.pages;
        totals.bytes += static_cast<long long>(entry.file_size());
    }
    return totals;
}

void Report(benchmark::State& state, const Totals& totals) {
    state.SetBytesProcessed(totals.bytes * state.iterations());
    state.counters["pages"] = static_cast<double>(totals.pages);
    state.counters["MB_per_run"] = static_cast<double>(totals.bytes) / 1e6;
}

// The whole export, written once before timing, so that every timed run
// overwrites the pages of the run before, as a repeated export does.
template <typename Export>
void TimeWholeExport(benchmark::State& state, int topClasses, Export exportTo) {
    const auto root = Generate(topClasses, 30, 4);
    CBenchDir dir;
    exportTo(*root, dir.Path());
    for (auto _ : state) {
        benchmark::DoNotOptimize(exportTo(*root, dir.Path()));
    }
    state.counters["nodes"] = root->CountAllDescendants();
    Report(state, DirectoryTotals(dir.Path()));
}

bool FastExport(CClassRoot& root, const std::string& directory) {
    return root.ExportIndexPage(directory);
}

bool LiteralExport(CClassRoot& root, const std::string& directory) {
    return literal_export::ExportIndexPage(root, directory);
}

// range(0): classes under the root.
void ExportWhole(benchmark::State& state) {
    TimeWholeExport(state, static_cast<int>(state.range(0)), FastExport);
}

void ExportWholeLiteral(benchmark::State& state) {
    TimeWholeExport(state, static_cast<int>(state.range(0)), LiteralExport);
}

BENCHMARK(ExportWhole)
    ->ArgName("top")
    ->Arg(150)
    ->Arg(600)
    ->Arg(1000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(ExportWholeLiteral)
    ->ArgName("top")
    ->Arg(150)
    ->Arg(600)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// The index page and every k-th page in export order, from one preparation.
Totals ExportSample(const CClassNode& root, const std::string& directory, int every) {
    const std::string folder = WithTrailingSlash(directory);
    CHtmlSite site(root);
    site.WriteIndexPage(0, folder);
    for (int entry = 1; entry < site.Size(); entry += every) {
        site.WritePage(entry, folder);
    }
    return DirectoryTotals(directory);
}

// range(0): every k-th page; range(1): 1 to write into a fresh directory
// each run, 0 to overwrite the pages of the run before.
void ExportSampleOfScanSizedStructure(benchmark::State& state) {
    // About what a scan of /usr/include gives: 9000 classes under the root.
    const auto root = Generate(9000, 15, 5);
    const int every = static_cast<int>(state.range(0));
    const bool fresh = state.range(1) != 0;
    auto dir = std::make_unique<CBenchDir>();
    Totals totals;
    if (!fresh) {
        ExportSample(*root, dir->Path(), every); // the pages to overwrite
    }
    for (auto _ : state) {
        if (fresh) {
            state.PauseTiming();
            dir = std::make_unique<CBenchDir>();
            state.ResumeTiming();
        }
        totals = ExportSample(*root, dir->Path(), every);
    }
    state.counters["nodes"] = root->CountAllDescendants();
    Report(state, totals);
}
BENCHMARK(ExportSampleOfScanSizedStructure)
    ->ArgNames({"every", "fresh"})
    ->Args({100, 1})
    ->Args({100, 0})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// A real structure: the scan of /usr/include (or of $VORLIX_BENCH_SCAN_DIR),
// made once. range(0): every k-th page; range(1): fresh directory or not.
const CClassRoot* ScannedStructure() {
    static const std::unique_ptr<CClassRoot> root = [] {
        const char* chosen = std::getenv("VORLIX_BENCH_SCAN_DIR");
        const std::string directory = chosen != nullptr ? chosen : "/usr/include";
        std::ostringstream messages;
        CConsoleUserInterface ui(messages);
        return IsDirectory(directory) ? ScanDirectories({directory}, ui, messages) : nullptr;
    }();
    return root.get();
}

void ExportSampleOfScan(benchmark::State& state) {
    const CClassRoot* root = ScannedStructure();
    if (root == nullptr) {
        state.SkipWithError("nothing to scan");
        return;
    }
    const int every = static_cast<int>(state.range(0));
    const bool fresh = state.range(1) != 0;
    auto dir = std::make_unique<CBenchDir>();
    Totals totals;
    if (!fresh) {
        ExportSample(*root, dir->Path(), every); // the pages to overwrite
    }
    for (auto _ : state) {
        if (fresh) {
            state.PauseTiming();
            dir = std::make_unique<CBenchDir>();
            state.ResumeTiming();
        }
        totals = ExportSample(*root, dir->Path(), every);
    }
    state.counters["nodes"] = root->CountAllDescendants();
    state.counters["top"] = root->GetChildCount();
    Report(state, totals);
}
BENCHMARK(ExportSampleOfScan)
    ->ArgNames({"every", "fresh"})
    ->Args({50, 1})
    ->Args({50, 0})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

} // namespace

BENCHMARK_MAIN();
