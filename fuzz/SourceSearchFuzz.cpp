// The source search. The input's first line names the class, the second the
// member function; the rest is up to six files of a small tree, cut at NUL
// bytes. The text operations run on the first file, then the include index
// and all three modes over the tree.
#include "FuzzSupport.h"
#include "search/IncludeIndex.h"
#include "search/SourceSearch.h"

#include <algorithm>

namespace {

const char* const kFiles[] = {"a.h", "a.cpp", "sub/b.h", "sub/b.cpp", "c.hpp", "sub/deep/c.cc"};

std::string_view TakeLine(std::string_view& rest) {
    const size_t end = std::min(rest.find('\n'), rest.size());
    const std::string_view line = rest.substr(0, end);
    rest.remove_prefix(std::min(end + 1, rest.size()));
    return line;
}

void TextOperations(const std::string& text) {
    std::string includes;
    const std::string code = CSourceSearch::CodeTextAndIncludeList(text, includes);
    // The combined reader gives what the two single ones give.
    FUZZ_CHECK(code == CSourceSearch::CodeTextOf(text));
    FUZZ_CHECK(includes == CSourceSearch::IncludeListOf(text));

    for (const auto& [opener, closer] :
         {std::pair<std::string, std::string>{"{", "}"}, {"(", ")"}, {"class", "{"}}) {
        const int close = CSourceSearch::FindClosing(code, opener, closer, 0);
        FUZZ_CHECK(close >= -1 && close < static_cast<int>(code.size()) + 1);
        CSourceSearch::FirstBlockContent(code, opener, closer);
        CSourceSearch::EmptyFirstBlock(code, opener, closer);
        const std::string removed = CSourceSearch::RemoveFirstBlock(code, opener, closer);
        FUZZ_CHECK(removed.size() <= code.size());
        FUZZ_CHECK(CSourceSearch::EmptyAllBlocks(code, opener, closer).size() <= code.size());
        FUZZ_CHECK(CSourceSearch::RemoveAllBlocks(code, opener, closer).size() <= code.size());
    }
    const int keyword = CSourceSearch::FindLastClassKeyword(code);
    FUZZ_CHECK(keyword >= -1 && keyword < static_cast<int>(code.size()));
    // Removal is repeated while any pair is left.
    FUZZ_CHECK(CSourceSearch::RemovePairs(code, "<>").find("<>") == std::string::npos);
    std::string classPart;
    std::string functionPart;
    CSourceSearch::SplitHead(code.substr(0, std::min<size_t>(code.size(), 4096)), classPart,
                             functionPart);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view rest = AsView(data, size);
    const std::string className(TakeLine(rest));
    const std::string functionName(TakeLine(rest));
    const std::vector<std::string_view> files = SplitPieces(rest, '\0', std::size(kFiles));

    TextOperations(std::string(files[0]));

    const std::filesystem::path tree = ScratchDir() / "tree";
    std::error_code ignored;
    std::filesystem::remove_all(tree, ignored);
    for (size_t i = 0; i < files.size(); ++i) {
        WriteBytes(tree / kFiles[i], files[i]);
    }
    const std::string directory = tree.string() + "/";

    CIncludeIndex index(directory);
    const std::string source = (tree / kFiles[1]).string();
    // The answer is remembered: asking twice gives the same.
    const bool refers = index.Refers(source, className);
    FUZZ_CHECK(index.Refers(source, className) == refers);
    index.ResolveInclude(source, functionName);

    CSourceSearch search;
    for (const char mode : {'H', 'C', 'F'}) {
        search.Search(className, functionName, directory, mode);
        FUZZ_CHECK(search.LastMode() == mode);
        for (const char other : {'H', 'C', 'F'}) {
            FUZZ_CHECK(other == mode || search.HitsFor(other).empty());
        }
    }
    return 0;
}
