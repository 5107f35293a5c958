// Source search over a generated tree of 5,000 files of 20 KB and over a tree
// of real headers; with --include-trees instead, mode F on include graphs and
// cliques and on a header of many inline functions. Peers in the same run: reading the same files
// and nothing else, and the literal rules (every text copied and rescanned after each step) on a
// small sample.

#include "LiteralSearch.h"
#include "SearchTrees.h"
#include "search/SourceSearch.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

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

struct ChildFigures {
    double cpuMs = 0;
    double peakMb = 0;    // the child's highest resident memory
    double addedMb = 0;   // of that, what it added to what it started with
    double result = 0;    // what work gave back
    bool stopped = false; // ran out of its 20 s of CPU
};

double ResidentMb() {
    long pages = 0;
    long resident = 0;
    std::ifstream("/proc/self/statm") >> pages >> resident;
    return static_cast<double>(resident) * static_cast<double>(::sysconf(_SC_PAGESIZE)) / 1e6;
}

// Runs work once in a child process, so that its CPU time and its memory are
// its own and an earlier run leaves nothing behind.
template <typename Work> ChildFigures InChild(Work work) {
    int fds[2];
    if (::pipe(fds) != 0) {
        std::abort();
    }
    const pid_t pid = ::fork();
    if (pid == 0) {
        const rlimit cpuLimit{20, 20}; // a search that does not end is stopped and reported so
        ::setrlimit(RLIMIT_CPU, &cpuLimit);
        const double start = ResidentMb();
        const double result = work();
        rusage usage{};
        ::getrusage(RUSAGE_SELF, &usage);
        const double figures[3] = {start, static_cast<double>(usage.ru_maxrss) / 1000.0, result};
        (void)!::write(fds[1], figures, sizeof figures);
        ::_exit(0);
    }
    ::close(fds[1]); // so that a stopped child ends the read
    double figures[3] = {0, 0, 0};
    (void)!::read(fds[0], figures, sizeof figures);
    ::close(fds[0]);
    int status = 0;
    rusage usage{};
    ::wait4(pid, &status, 0, &usage);
    ChildFigures result;
    result.cpuMs = (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3 +
                   (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
    result.peakMb = figures[1];
    result.addedMb = figures[1] - figures[0];
    result.result = figures[2];
    result.stopped = WIFSIGNALED(status);
    return result;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// The include test on adversarial trees: mode F, each search in a child of
// its own, medians of 5; reading the same files is the peer.
void IncludeTrees(const std::string& root) {
    struct Case {
        const char* name;
        std::string dir;
        TreeFigures figures;
    };
    const Case cases[] = {
        {"graph N=30", root + "/g30/", WriteIncludeGraphTree(root + "/g30", 30, false)},
        {"graph N=1000", root + "/g1000/", WriteIncludeGraphTree(root + "/g1000", 1000, false)},
        {"clique N=20", root + "/k20/", WriteIncludeGraphTree(root + "/k20", 20, true)},
        {"clique N=200", root + "/k200/", WriteIncludeGraphTree(root + "/k200", 200, true)},
        {"8,000 inline functions", root + "/inline/", WriteInlineHeavyTree(root + "/inline", 8000)},
    };
    std::printf("%-24s %6s %9s %9s %9s %10s\n", "tree (mode F)", "hits", "CPU ms", "peak MB",
                "added MB", "read: CPU ms");
    for (const Case& c : cases) {
        std::vector<double> cpu;
        std::vector<double> peak;
        std::vector<double> added;
        std::vector<double> read;
        size_t hits = 0;
        for (int run = 0; run < 5; ++run) {
            const ChildFigures search = InChild([&] {
                CSourceSearch s;
                s.Search("A", "Draw", c.dir, 'F');
                return static_cast<double>(s.Hits().size());
            });
            hits = static_cast<size_t>(search.result);
            if (search.stopped) {
                std::printf("%-24s stopped after %.0f ms of CPU\n", c.name, search.cpuMs);
                break;
            }
            cpu.push_back(search.cpuMs);
            peak.push_back(search.peakMb);
            added.push_back(search.addedMb);
            read.push_back(InChild([&] {
                               return static_cast<double>(ReadFiles(c.dir, 'H') +
                                                          ReadFiles(c.dir, 'C'));
                           }).cpuMs);
        }
        if (cpu.size() < 5) {
            continue;
        }
        std::printf("%-24s %6zu %9.1f %9.1f %9.1f %10.1f\n", c.name, hits, Median(cpu),
                    Median(peak), Median(added), Median(read));
    }
}

} // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::string(argv[1]) == "--include-trees") {
        std::string pattern = (fs::temp_directory_path() / "vorlix-bench-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) {
            return 1;
        }
        IncludeTrees(pattern);
        std::error_code ignored;
        fs::remove_all(pattern, ignored);
        return 0;
    }
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
