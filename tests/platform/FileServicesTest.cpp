#include "platform/FileServices.h"

#include "TempDir.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

std::vector<std::string> ReadAllLines(const std::string& path) {
    CTextFileReader reader;
    EXPECT_TRUE(reader.Open(path));
    std::vector<std::string> lines;
    std::string line;
    while (reader.ReadLine(line)) {
        lines.push_back(line);
    }
    return lines;
}

TEST(TextFileReader, LinesWithoutLineEnds) {
    CTempDir dir;
    EXPECT_EQ(ReadAllLines(dir.Write("a.txt", "one\ntwo\r\n\nlast")),
              (std::vector<std::string>{"one", "two", "", "last"}));
    EXPECT_EQ(ReadAllLines(dir.Write("b.txt", "x\n")), (std::vector<std::string>{"x"}));
    EXPECT_EQ(ReadAllLines(dir.Write("c.txt", "")), (std::vector<std::string>{}));
    // A lone CR inside a line is text, not a line end.
    EXPECT_EQ(ReadAllLines(dir.Write("d.txt", "a\rb\n")), (std::vector<std::string>{"a\rb"}));
}

TEST(TextFileReader, OpenFailsQuietly) {
    CTempDir dir;
    CTextFileReader reader;
    EXPECT_FALSE(reader.Open(dir.Path() + "/missing.h"));
    EXPECT_FALSE(reader.Open(dir.Path())); // a directory is no text file
    std::string line;
    EXPECT_FALSE(reader.ReadLine(line));
}

TEST(ListDirectory, SortedCaseInsensitivelyWithoutDotEntries) {
    CTempDir dir;
    dir.Write("b.h", "");
    dir.Write("A.h", "");
    dir.Write("a.h", "");
    dir.Write("Sub/x.h", "");
    dir.Write("c.H", "");
    std::vector<DirEntry> entries;
    ASSERT_TRUE(ListDirectory(dir.Path(), entries));
    std::vector<std::string> names;
    for (const DirEntry& e : entries) {
        names.push_back(e.name);
        EXPECT_EQ(e.path, dir.Path() + "/" + e.name);
        EXPECT_EQ(e.isDirectory, e.name == "Sub");
    }
    EXPECT_EQ(names, (std::vector<std::string>{"A.h", "a.h", "b.h", "c.H", "Sub"}));
    EXPECT_FALSE(ListDirectory(dir.Path() + "/none", entries));
    EXPECT_TRUE(entries.empty());
}

TEST(WalkGuard, LinkBackIntoTreeIsEnteredOnce) {
    CTempDir dir;
    dir.Write("inner/x.h", "");
    std::filesystem::create_directory_symlink(dir.Path(), dir.Path() + "/inner/loop");
    std::vector<DirEntry> entries;
    ASSERT_TRUE(ListDirectory(dir.Path() + "/inner", entries));
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_TRUE(entries[0].isDirectory); // "loop" sorts before "x.h"
    CWalkGuard guard;
    EXPECT_TRUE(guard.Enter(dir.Path()));
    EXPECT_TRUE(guard.Enter(dir.Path() + "/inner"));
    EXPECT_FALSE(guard.Enter(dir.Path() + "/inner/loop"));
    EXPECT_FALSE(guard.Enter(dir.Path() + "/missing"));
}

TEST(CopyFileReplacing, ReplacesTarget) {
    CTempDir dir;
    const std::string from = dir.Write("x.mdb", "new contents");
    const std::string to = dir.Write("x.mdb.bak", "old and longer contents");
    ASSERT_TRUE(CopyFileReplacing(from, to));
    std::string copied;
    ASSERT_TRUE(ReadWholeFile(to, copied));
    EXPECT_EQ(copied, "new contents");
    EXPECT_FALSE(CopyFileReplacing(dir.Path() + "/missing", to));
    EXPECT_EQ(WithTrailingSlash("/a"), "/a/");
    EXPECT_EQ(WithTrailingSlash("/a/"), "/a/");
}

} // namespace

namespace {

TEST(TextFileReader, FifoIsNotReadAndDoesNotBlock) {
    CTempDir dir;
    const std::string fifo = dir.Path() + "/pipe.h";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    CTextFileReader reader;
    EXPECT_FALSE(reader.Open(fifo));
}

} // namespace
