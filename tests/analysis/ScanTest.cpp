#include "ParserTestSupport.h"
#include "TempDir.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

// Class names and header paths of the top-level entries, in order.
Lines ClassesWithPaths(const CClassNode& root) {
    Lines out;
    for (int i = 0; i < root.GetChildCount(); ++i) {
        if (root.GetChild(i)->GetKind() == KindClass) {
            out.push_back(root.GetChild(i)->GetName() + " " + root.GetChild(i)->GetHeaderPath());
        }
    }
    return out;
}

struct Scanned {
    CScriptedUserInterface ui;
    CHeaderParser parser{ui};
    explicit Scanned(const std::string& directory) { parser.ScanDirectory(directory); }
    ~Scanned() { delete parser.m_pRoot; }
    Lines Classes() const { return ClassesWithPaths(*parser.m_pRoot); }
};

// Headers in nested folders beside files that are not headers; inc.h is a
// directory (walked, not parsed); zz.h declares A a second time.
class ScanTree : public testing::Test {
protected:
    void SetUp() override {
        dir.Write("a.h", "class A\n{\n};\n");
        dir.Write("B.H", "class B : public A\n{\n};\n");
        for (const char* name : {"c.hpp", "d.inl", "e", "f.h.bak"}) {
            dir.Write(name, "class NotAHeader {};\n");
        }
        dir.Write("inc.h/g.h", "class G {};\n");
        dir.Write("one/two/three/x.h", "class X {};\n");
        dir.Write("zz.h", "class A : public Other\n{\nint m_late;\n};\nclass Z {};\n");
    }
    std::string Path(const std::string& relative) const { return dir.Path() + "/" + relative; }
    Lines Expected() const {
        return {"A " + Path("a.h"), "B " + Path("B.H"), "G " + Path("inc.h/g.h"),
                "X " + Path("one/two/three/x.h"), "Z " + Path("zz.h")};
    }

    CTempDir dir;
};

TEST_F(ScanTree, ParsesHeadersOfTheWholeTreeInNameOrderWithProgress) {
    for (const std::string& start : {dir.Path(), dir.Path() + "/"}) {
        Scanned scanned(start);
        EXPECT_EQ(scanned.Classes(), Expected());
        EXPECT_EQ(scanned.parser.GetFilesRead(), 5);
        EXPECT_TRUE(scanned.ui.messages.empty());
        // The second declaration of A added its member but kept A's first place.
        EXPECT_EQ(scanned.parser.m_pRoot->GetChild(0)->m_strBaseName, "");
        EXPECT_EQ(scanned.parser.m_pRoot->FindChildByName("m_late", KindVariable)->GetHeaderPath(),
                  Path("a.h"));
        EXPECT_EQ(scanned.ui.progressShown, 1);
        EXPECT_FALSE(scanned.ui.progressVisible);
        Lines texts;
        for (const char* relative :
             {"a.h", "B.H", "c.hpp", "d.inl", "e", "f.h.bak", "inc.h", "inc.h/g.h", "one",
              "one/two", "one/two/three", "one/two/three/x.h", "zz.h"}) {
            texts.push_back("Parse " + Path(relative) + " ...");
        }
        EXPECT_EQ(scanned.ui.progressTexts, texts);
    }
}

TEST_F(ScanTree, UnreadableFileIsReportedAndLinksBackAreNotWalkedAgain) {
    // A dangling link cannot be opened, not even by root.
    fs::create_symlink(Path("missing.h"), Path("broken.h"));
    fs::create_directory_symlink(dir.Path(), Path("one/two/back"));
    fs::create_directory_symlink(Path("one"), Path("one/two/three/up"));
    CTempDir other; // a link out of the tree is followed
    other.Write("deep/o.h", "class O {};\n");
    fs::create_directory_symlink(other.Path(), Path("outside"));
    Scanned scanned(dir.Path());
    EXPECT_EQ(scanned.ui.messages,
              (Lines{"Datei " + Path("broken.h") + " konnte nicht geöffnet werden!"}));
    Lines expected = Expected();
    expected.insert(expected.begin() + 4, "O " + Path("outside/deep/o.h"));
    EXPECT_EQ(scanned.Classes(), expected);
    EXPECT_EQ(scanned.parser.GetFilesRead(), 6);
}

TEST_F(ScanTree, SecondDirectoryAddsToTheSameRootAndAMissingOneToNothing) {
    CTempDir second;
    second.Write("more.h", "class A : public Ignored\n{\n};\nclass M {};\n");
    Scanned scanned(dir.Path());
    CClassRoot* first = scanned.parser.m_pRoot;
    scanned.parser.ScanDirectory(second.Path());
    scanned.parser.ScanDirectory(Path("nowhere"));
    EXPECT_EQ(scanned.parser.m_pRoot, first);
    Lines expected = Expected();
    expected.push_back("M " + second.Path() + "/more.h");
    EXPECT_EQ(scanned.Classes(), expected);
    EXPECT_TRUE(scanned.ui.messages.empty());
    EXPECT_FALSE(scanned.ui.progressVisible);

    Scanned missing(Path("nowhere"));
    ASSERT_NE(missing.parser.m_pRoot, nullptr);
    EXPECT_EQ(missing.parser.m_pRoot->GetChildCount(), 0);
    EXPECT_TRUE(missing.ui.messages.empty() && missing.ui.progressTexts.empty());
}

} // namespace
