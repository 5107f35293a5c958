// One exported page opened in a real browser: headless Chromium parses the
// ISO-8859-1 page and prints the document it built.

#include "TempDir.h"
#include "model/ClassRoot.h"
#include "platform/FileServices.h"

#include <cstdio>
#include <gtest/gtest.h>

namespace {

const char* FindChromium() {
    for (const char* path : {"/usr/bin/chromium", "/usr/bin/chromium-browser"}) {
        if (FileExists(path)) {
            return path;
        }
    }
    return nullptr;
}

std::string DumpDom(const std::string& chromium, const std::string& profile,
                    const std::string& page) {
    const std::string command = "timeout 120 " + chromium +
                                " --headless --no-sandbox --disable-gpu --disable-quic"
                                " --no-first-run --disable-background-networking"
                                " --disable-component-update --disable-sync"
                                " --user-data-dir='" +
                                profile + "' --dump-dom 'file://" + page + "' 2>/dev/null";
    std::string output;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return output;
    }
    char buffer[4096];
    size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) {
        output.append(buffer, got);
    }
    ::pclose(pipe);
    return output;
}

TEST(Browser, RendersBackLinkAndRedCurrentEntry) {
    const char* chromium = FindChromium();
    if (chromium == nullptr) {
        GTEST_SKIP() << "chromium is not installed";
    }
    CClassRoot root;
    auto* a = new CClassNode;
    a->SetName("A");
    a->SetId(0);
    root.AddChild(a);
    auto* b = new CClassNode;
    b->SetName("CZ\xC3\xA4hler");
    b->SetId(2);
    b->SetDescription("</title><script>document.title='x'</script>");
    a->AddChild(b);

    CTempDir dir;
    ASSERT_TRUE(root.ExportIndexPage(dir.Path()));
    const std::string dom =
        DumpDom(chromium, dir.Path() + "/profile", dir.Path() + "/class_2.html");
    ASSERT_FALSE(dom.empty()) << "chromium printed nothing";

    // The browser decoded ISO-8859-1: its document holds the UTF-8 umlaut.
    EXPECT_NE(dom.find("<a href=\"index.html\">Zurück zum Index</a>"), std::string::npos) << dom;
    // The parser splits the misnested tags of the red entry, but the name
    // still sits in a red font and in bold, and is no link.
    const size_t name = dom.find("CZähler<br>");
    ASSERT_NE(name, std::string::npos) << dom;
    const size_t font = dom.rfind("<font ", name);
    ASSERT_NE(font, std::string::npos) << dom;
    EXPECT_EQ(dom.compare(font, 35, "<font face=\"Arial\" color=\"#FF0000\">"), 0) << dom;
    const std::string entry = dom.substr(font, name - font);
    EXPECT_NE(entry.find("<strong>"), std::string::npos) << entry;
    EXPECT_EQ(entry.find("</strong>"), std::string::npos) << entry;
    EXPECT_EQ(entry.find("</font>"), std::string::npos) << entry;
    EXPECT_EQ(entry.find("<a "), std::string::npos) << "the current entry is no link";
    EXPECT_NE(dom.find("<a href=\"class_0.html\">A (1 - 0 - 0)</a>"), std::string::npos);
    EXPECT_NE(dom.find("<title>class CZähler</title>"), std::string::npos);
    EXPECT_EQ(dom.find("<script>"), std::string::npos) << "markup from a text got into the page";
}

} // namespace
