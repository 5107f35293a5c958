// Source search over a generated tree of 5,000 files of 20 KB and over a tree
// of real headers. Peers in the same run: reading the same files and nothing
// else, and the literal rules (every text copied and rescanned after each
// step) on a small sample.

#include "LiteralSearch.h"
#include "SearchTrees.h"
#include "search/SourceSearch.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <filesystem>
#include <iostream>

namespace fs = std::filesystem;

namespace {

struct Tree {
    std::string dir; // with trailing "/"
    TreeFigures figures;
};

struct Trees {
    std::string root;
    Tree generated;
    Tree real;
    Tree sample; // one folder of the generated kind, for the literal peer

    Trees() {
        std::string pattern = (fs::temp_directory_path() / "vorlix-bench-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) {
            std::abort();
        }
        root = pattern;
        generated = {root + "/generated/", WriteGeneratedTree(root + "/generated")};
        real = {root + "/real/", WriteRealHeaderTree(root + "/real", VORLIX_SOURCE_DIR "/src")};
        sample = {root + "/sample/", WriteGeneratedTree(root + "/sample", 1, 20000, 8)};
    }
    ~Trees() {
        std::error_code ignored;
        fs::remove_all(root, ignored);
    }
};

Trees& GetTrees() {
    static Trees trees;
    return trees;
}

// Reads every file the mode would read and does nothing else.
size_t ReadFiles(const std::string& dir, char mode) {
    size_t bytes = 0;
    std::vector<DirEntry> entries;
    ListDirectory(dir, entries);
    for (const DirEntry& e : entries) {
        if (e.isDirectory) {
            bytes += ReadFiles(e.path, mode);
            continue;
        }
        const std::string ext = fs::path(e.name).extension().string();
        if ((mode == 'H') == (ext == ".h")) {
            std::string contents;
            ReadWholeFile(e.path, contents);
            bytes += contents.size();
        }
    }
    return bytes;
}

void Search(benchmark::State& state, const Tree* tree, char mode, const std::string& cls,
            const std::string& function) {
    size_t hits = 0;
    for (auto _ : state) {
        CSourceSearch search;
        search.Search(cls, function, tree->dir, mode);
        hits = search.Hits().size();
        benchmark::DoNotOptimize(hits);
    }
    state.counters["hits"] = static_cast<double>(hits);
    state.counters["files"] = tree->figures.files;
}

void ReadOnly(benchmark::State& state, const Tree* tree, char mode) {
    size_t bytes = 0;
    for (auto _ : state) {
        bytes = ReadFiles(tree->dir, mode);
        benchmark::DoNotOptimize(bytes);
    }
    state.counters["MB"] = static_cast<double>(bytes) / 1e6;
}

void Literal(benchmark::State& state, const Tree* tree, char mode, const std::string& cls,
             const std::string& function) {
    size_t hits = 0;
    for (auto _ : state) {
        literal::CLiteralSearch search;
        search.Search(cls, function, tree->dir, mode);
        hits = search.headerHits.size() + search.classHits.size() + search.functionHits.size();
        benchmark::DoNotOptimize(hits);
    }
    state.counters["hits"] = static_cast<double>(hits);
}

} // namespace

int main(int argc, char** argv) {
    Trees& trees = GetTrees();
    for (const Tree* tree : {&trees.generated, &trees.real, &trees.sample}) {
        std::cout << tree->dir << ": " << tree->figures.files << " files (" << tree->figures.sources
                  << " sources, " << tree->figures.headers << " headers), "
                  << tree->figures.bytes / 1000000.0 << " MB\n";
        ReadFiles(tree->dir, 'H'); // into the page cache
        ReadFiles(tree->dir, 'C');
    }
    auto add = [](const std::string& name, auto&&... args) {
        // The literal peer takes seconds a run: fewer repetitions.
        const int repetitions = name.find("literal") != std::string::npos ? 3 : 7;
        benchmark::RegisterBenchmark(name.c_str(), args...)
            ->Unit(benchmark::kMillisecond)
            ->Iterations(1)
            ->Repetitions(repetitions)
            ->ReportAggregatesOnly(true);
    };
    const Tree* generated = &trees.generated;
    add("generated/read_sources", ReadOnly, generated, 'C');
    add("generated/C", Search, generated, 'C', std::string("Widget42"), std::string());
    add("generated/F", Search, generated, 'F', std::string("Widget42"), std::string("Draw"));
    add("generated/read_headers", ReadOnly, generated, 'H');
    add("generated/H", Search, generated, 'H', std::string("Widget42"), std::string());
    const Tree* real = &trees.real;
    add("real/read_sources", ReadOnly, real, 'C');
    add("real/C", Search, real, 'C', std::string("QString"), std::string());
    add("real/F", Search, real, 'F', std::string("QWidget"), std::string("objectName"));
    add("real/read_headers", ReadOnly, real, 'H');
    add("real/H", Search, real, 'H', std::string("QString"), std::string());
    const Tree* sample = &trees.sample;
    for (const char mode : {'C', 'F', 'H'}) {
        const std::string m(1, mode);
        add("sample/" + m, Search, sample, mode, std::string("Widget42"), std::string("Draw"));
        add("sample/" + m + "_literal", Literal, sample, mode, std::string("Widget42"),
            std::string("Draw"));
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
