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
        const CClassNode& node = *root.GetChild(i);
        if (node.GetKind() == KindClass) {
            out.push_back(node.GetName() + " " + node.GetHeaderPath());
        }
    }
    return out;
}

struct Scanned {
    CScriptedUserInterface ui;
    CHeaderParser parser{ui};
    ~Scanned() { delete parser.m_pRoot; }
};

// root/
//   a.h            class A
//   B.H            class B
//   c.hpp, d.inl, e, f.h.bak   not headers
//   inc.h/         a directory: walked, not parsed
//     g.h          class G
//   one/two/three/x.h   class X
//   zz.h           class A again (not recorded twice) and class Z
class ScanTree : public testing::Test {
protected:
    void SetUp() override {
        dir.Write("a.h", "class A\n{\n};\n");
        dir.Write("B.H", "class B : public A\n{\n};\n");
        dir.Write("c.hpp", "class NotC {};\n");
        dir.Write("d.inl", "class NotD {};\n");
        dir.Write("e", "class NotE {};\n");
        dir.Write("f.h.bak", "class NotF {};\n");
        dir.Write("inc.h/g.h", "class G {};\n");
        dir.Write("one/two/three/x.h", "class X {};\n");
        dir.Write("zz.h", "class A : public Other\n{\nint m_late;\n};\nclass Z {};\n");
    }
    std::string Path(const std::string& relative) const { return dir.Path() + "/" + relative; }

    CTempDir dir;
};

TEST_F(ScanTree, ParsesHeadersOfTheWholeTreeInNameOrder) {
    Scanned scanned;
    scanned.parser.ScanDirectory(dir.Path());
    EXPECT_EQ(ClassesWithPaths(*scanned.parser.m_pRoot),
              (Lines{"A " + Path("a.h"), "B " + Path("B.H"), "G " + Path("inc.h/g.h"),
                     "X " + Path("one/two/three/x.h"), "Z " + Path("zz.h")}));
    EXPECT_EQ(scanned.parser.GetFilesRead(), 5);
    EXPECT_TRUE(scanned.ui.messages.empty());
    // The second declaration of A added its member but kept A's first place.
    const CClassNode& a = *scanned.parser.m_pRoot->GetChild(0);
    EXPECT_EQ(a.m_strBaseName, "");
    EXPECT_EQ(scanned.parser.m_pRoot->FindChildByName("m_late", KindVariable)->GetHeaderPath(),
              Path("a.h"));
}

TEST_F(ScanTree, ProgressForEveryEntryWhileThePopupIsShown) {
    Scanned scanned;
    scanned.parser.ScanDirectory(dir.Path());
    EXPECT_EQ(scanned.ui.progressShown, 1);
    EXPECT_FALSE(scanned.ui.progressVisible);
    const Lines expected = {"a.h", "B.H",     "c.hpp",         "d.inl",
                            "e",   "f.h.bak", "inc.h",         "inc.h/g.h",
                            "one", "one/two", "one/two/three", "one/two/three/x.h",
                            "zz.h"};
    Lines texts;
    for (const std::string& relative : expected) {
        texts.push_back("Parse " + Path(relative) + " ...");
    }
    EXPECT_EQ(scanned.ui.progressTexts, texts);
}

TEST_F(ScanTree, TrailingSlashGivesTheSameWalk) {
    Scanned plain;
    plain.parser.ScanDirectory(dir.Path());
    Scanned slash;
    slash.parser.ScanDirectory(dir.Path() + "/");
    EXPECT_EQ(slash.ui.progressTexts, plain.ui.progressTexts);
    EXPECT_EQ(ClassesWithPaths(*slash.parser.m_pRoot), ClassesWithPaths(*plain.parser.m_pRoot));
}

TEST_F(ScanTree, FileThatCannotBeReadIsReportedAndTheScanGoesOn) {
    // A dangling link cannot be opened, not even by root.
    fs::create_symlink(Path("missing.h"), Path("broken.h"));
    Scanned scanned;
    scanned.parser.ScanDirectory(dir.Path());
    EXPECT_EQ(scanned.ui.messages,
              (Lines{"Datei " + Path("broken.h") + " konnte nicht geöffnet werden!"}));
    EXPECT_EQ(ClassesWithPaths(*scanned.parser.m_pRoot).size(), 5U);
    EXPECT_EQ(scanned.parser.GetFilesRead(), 5);
}

TEST_F(ScanTree, LinkBackIntoTheTreeIsNotWalkedAgain) {
    fs::create_directory_symlink(dir.Path(), Path("one/two/back"));
    fs::create_directory_symlink(Path("one"), Path("one/two/three/up"));
    Scanned scanned;
    scanned.parser.ScanDirectory(dir.Path());
    EXPECT_EQ(scanned.parser.GetFilesRead(), 5);
    EXPECT_EQ(ClassesWithPaths(*scanned.parser.m_pRoot).size(), 5U);
}

TEST_F(ScanTree, LinkToAnotherDirectoryIsFollowed) {
    CTempDir other;
    other.Write("deep/o.h", "class O {};\n");
    fs::create_directory_symlink(other.Path(), Path("outside"));
    Scanned scanned;
    scanned.parser.ScanDirectory(dir.Path());
    EXPECT_EQ(ClassesWithPaths(*scanned.parser.m_pRoot).at(4), "O " + Path("outside/deep/o.h"));
}

TEST_F(ScanTree, SecondDirectoryAddsToTheSameRoot) {
    CTempDir second;
    second.Write("more.h", "class A : public Ignored\n{\n};\nclass M {};\n");
    Scanned scanned;
    scanned.parser.ScanDirectory(dir.Path());
    CClassRoot* first = scanned.parser.m_pRoot;
    scanned.parser.ScanDirectory(second.Path());
    EXPECT_EQ(scanned.parser.m_pRoot, first);
    const Lines classes = ClassesWithPaths(*first);
    ASSERT_EQ(classes.size(), 6U);
    EXPECT_EQ(classes.back(), "M " + second.Path() + "/more.h");
    EXPECT_EQ(scanned.ui.progressShown, 2);
    EXPECT_FALSE(scanned.ui.progressVisible);
}

TEST_F(ScanTree, MissingDirectoryGivesAnEmptyRootQuietly) {
    Scanned scanned;
    scanned.parser.ScanDirectory(Path("nowhere"));
    ASSERT_NE(scanned.parser.m_pRoot, nullptr);
    EXPECT_EQ(scanned.parser.m_pRoot->GetChildCount(), 0);
    EXPECT_TRUE(scanned.ui.messages.empty());
    EXPECT_TRUE(scanned.ui.progressTexts.empty());
}

TEST(ScanFixture, CheckedInTreeScansToTheExpectedStructure) {
    Scanned scanned;
    scanned.parser.ScanDirectory(std::string(VORLIX_TEST_DATA_DIR) + "/analysis/tree");
    scanned.parser.OrderAndNumber();
    Lines names;
    for (int i = 0; i < scanned.parser.m_pRoot->GetChildCount(); ++i) {
        names.push_back(scanned.parser.m_pRoot->GetChild(i)->GetName());
    }
    EXPECT_EQ(names, (Lines{"CShape", "CView"}));
    EXPECT_EQ(scanned.parser.GetFilesRead(), 4);
}

} // namespace
