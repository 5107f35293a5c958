// The HTML writer. The input is cut at NUL bytes into texts: the first is
// escaped and turned into page text, the others become the names and
// descriptions of a small structure whose page titles, pages and export are
// written. Every file written must store each line feed as CR LF.
#include "FuzzSupport.h"
#include "html/HtmlFile.h"
#include "html/HtmlSite.h"
#include "model/ClassRoot.h"

#include <algorithm>

namespace {

size_t Count(std::string_view text, char c) {
    return static_cast<size_t>(std::count(text.begin(), text.end(), c));
}

void CheckEscaping(const std::string& text) {
    std::string escaped = text;
    CHtmlFile::EscapeHtml(escaped);
    FUZZ_CHECK(escaped.find_first_of("<>") == std::string::npos);
    FUZZ_CHECK(escaped.size() == text.size() + 3 * (Count(text, '<') + Count(text, '>')));

    for (const bool escape : {false, true}) {
        std::string page;
        CHtmlFile::AppendPageText(text, escape, page);
        FUZZ_CHECK(AllLineFeedsCrLf(page));
        FUZZ_CHECK(Count(page, '\n') == Count(text, '\n'));
        FUZZ_CHECK(!escape || page.find_first_of("<>") == std::string::npos);
    }
}

void CheckFilesCrLf(const std::filesystem::path& folder) {
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        FUZZ_CHECK(AllLineFeedsCrLf(ReadBytes(entry.path())));
    }
}

void WritePage(const std::filesystem::path& folder, const std::vector<std::string>& texts) {
    auto text = [&](size_t i) -> const std::string& { return texts[i % texts.size()]; };
    const std::string file = (folder / "page.html").string();
    CHtmlFile page;
    FUZZ_CHECK(page.BeginPage(file, text(0), text(1)));
    page.WriteMeta(text(2), text(3));
    page.BeginFont(text(4), static_cast<std::uint32_t>(text(5).size() * 2654435761U));
    page.BeginParagraph();
    page.WriteText(text(6), true);
    page.WriteLink(text(7), text(8), false);
    page.WriteParagraph(text(9), true, false, true, true);
    page.WriteParagraph(text(10), false, true, false, false);
    page.BeginTable(1, 2, 3, 100, 50, true);
    page.BeginRow();
    page.BeginCell(text(11), text(12), 10, 20, false);
    page.WriteText(text(13), false);
    page.EndCell();
    page.EndRow();
    page.EndTable();
    page.EndParagraph();
    page.EndFont();
    FUZZ_CHECK(page.EndPage());
}

// A class per text with a member function and a variable, each class below
// the one before when the text's length is odd.
void Export(const std::filesystem::path& folder, const std::vector<std::string>& texts) {
    CClassRoot root;
    CClassNode* parent = &root;
    int id = 0;
    for (size_t i = 1; i < texts.size(); ++i) {
        const std::string& text = texts[i];
        auto* cls = new CClassNode;
        cls->SetAll(id++, text, text, "inc/" + text);
        (texts[i].size() % 2 == 1 ? parent : &root)->AddChild(cls);
        for (const int kind : {KindFunction, KindVariable}) {
            auto* member = new CClassNode;
            member->SetAll(id++, text, texts[i - 1], "");
            member->SetKind(kind);
            member->SetTypeText(text);
            member->SetParameters(texts[0]);
            cls->AddChild(member);
            FUZZ_CHECK(!HtmlPageTitle(*member).empty());
        }
        FUZZ_CHECK(HtmlPageTitle(*cls) == "class " + text);
        parent = cls;
    }
    FUZZ_CHECK(root.ExportIndexPage(folder.string()));
    CheckFilesCrLf(folder);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<std::string> texts;
    for (const std::string_view piece : SplitPieces(AsView(data, size), '\0', 8)) {
        texts.emplace_back(piece);
    }
    CheckEscaping(texts[0]);

    const std::filesystem::path folder = ScratchDir() / "site";
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
    std::filesystem::create_directories(folder);
    WritePage(folder, texts);
    CheckFilesCrLf(folder);
    Export(folder, texts);
    return 0;
}
