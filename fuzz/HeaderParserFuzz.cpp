// The header parser: the input is the text of up to six headers, cut at NUL
// bytes. They are parsed, ordered and numbered, then parsed again in the
// opposite order and given the first structure's descriptions as update does.
#include "FuzzSupport.h"
#include "analysis/HeaderParser.h"
#include "model/ClassRoot.h"

#include <memory>

namespace {

// Every node knows its parent, and there is no cycle (the walk ends).
// Iterative: inheritance chains can be deep.
int CheckLinks(const CClassNode& top) {
    std::vector<const CClassNode*> stack{&top};
    int count = 0;
    while (!stack.empty()) {
        const CClassNode* node = stack.back();
        stack.pop_back();
        FUZZ_CHECK(++count < (1 << 24));
        for (int i = 0; i < node->GetChildCount(); ++i) {
            const CClassNode* child = node->GetChild(i);
            FUZZ_CHECK(child != nullptr && child->m_pParent == node);
            stack.push_back(child);
        }
    }
    return count;
}

std::unique_ptr<CClassRoot> Parse(const std::vector<std::string_view>& files, bool reversed,
                                  IUserInterface& ui) {
    CHeaderParser parser(ui);
    for (size_t i = 0; i < files.size(); ++i) {
        const size_t index = reversed ? files.size() - 1 - i : i;
        parser.ParseText("inc/h" + std::to_string(index) + ".h", files[index]);
    }
    const int entries = parser.m_pRoot != nullptr ? parser.m_pRoot->GetChildCount() : 0;
    parser.OrderAndNumber();
    if (parser.m_pRoot == nullptr) {
        parser.m_pRoot = new CClassRoot;
    }
    std::unique_ptr<CClassRoot> root(parser.m_pRoot);
    parser.m_pRoot = nullptr;
    // Ordering only moves entries and adds placeholders: none is lost.
    FUZZ_CHECK(CheckLinks(*root) == 1 + entries + parser.GetPlaceholderCount());
    return root;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::vector<std::string_view> files = SplitPieces(AsView(data, size), '\0', 6);
    CSilentUserInterface ui;
    std::unique_ptr<CClassRoot> first = Parse(files, false, ui);
    std::unique_ptr<CClassRoot> second = Parse(files, true, ui);
    const int before = CheckLinks(*second);
    CHeaderParser update(ui);
    update.m_pRoot = second.release();
    update.CarryOver(first.get());
    std::unique_ptr<CClassRoot> merged(update.m_pRoot);
    update.m_pRoot = nullptr;
    // Carrying descriptions over changes texts, not the shape.
    FUZZ_CHECK(CheckLinks(*merged) == before);
    return 0;
}
