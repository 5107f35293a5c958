#include "platform/FileServices.h"

#include "TempDir.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

using Texts = std::vector<std::string>;

Texts ReadAllLines(const std::string& path) {
    CTextFileReader reader;
    EXPECT_TRUE(reader.Open(path));
    Texts lines;
    for (std::string line; reader.ReadLine(line);) {
        lines.push_back(line);
    }
    return lines;
}

TEST(TextFileReader, LinesWithoutLineEndsAndQuietFailures) {
    CTempDir dir;
    EXPECT_EQ(ReadAllLines(dir.Write("a.txt", "one\ntwo\r\n\nlast")),
              (Texts{"one", "two", "", "last"}));
    EXPECT_EQ(ReadAllLines(dir.Write("c.txt", "")), (Texts{}));
    // A lone CR is text, not a line end; a final line end starts no line.
    EXPECT_EQ(ReadAllLines(dir.Write("d.txt", "a\rb\n")), (Texts{"a\rb"}));
    const std::string fifo = dir.Path() + "/pipe.h";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    CTextFileReader reader;
    EXPECT_FALSE(reader.Open(fifo)); // not read, and does not block
    EXPECT_FALSE(reader.Open(dir.Path() + "/missing.h"));
    EXPECT_FALSE(reader.Open(dir.Path())); // a directory is no text file
    std::string line;
    EXPECT_FALSE(reader.ReadLine(line));
}

TEST(ListDirectory, SortedCaseInsensitivelyAndALinkBackIsEnteredOnce) {
    CTempDir dir;
    for (const char* name : {"b.h", "A.h", "a.h", "Sub/x.h", "c.H", "a"}) {
        dir.Write(name, "");
    }
    std::filesystem::create_directory_symlink(dir.Path(), dir.Path() + "/Sub/loop");
    std::vector<DirEntry> entries;
    ASSERT_TRUE(ListDirectory(dir.Path(), entries));
    Texts names;
    for (const DirEntry& e : entries) {
        names.push_back(e.name);
        EXPECT_EQ(e.path, dir.Path() + "/" + e.name);
        EXPECT_EQ(e.isDirectory, e.name == "Sub");
    }
    // A name before the longer ones it begins, ties of case in byte order.
    EXPECT_EQ(names, (Texts{"a", "A.h", "a.h", "b.h", "c.H", "Sub"}));
    EXPECT_TRUE(!ListDirectory(dir.Path() + "/none", entries) && entries.empty());
    CWalkGuard guard;
    EXPECT_EQ(std::vector<bool>({guard.Enter(dir.Path()), guard.Enter(dir.Path() + "/Sub"),
                                 guard.Enter(dir.Path() + "/Sub/loop"),
                                 guard.Enter(dir.Path() + "/missing")}),
              std::vector<bool>({true, true, false, false}));
}

TEST(CopyFileReplacing, ReplacesTarget) {
    CTempDir dir;
    const std::string to = dir.Write("x.mdb.bak", "old and longer contents");
    ASSERT_TRUE(CopyFileReplacing(dir.Write("x.mdb", "new contents"), to));
    std::string copied;
    ASSERT_TRUE(ReadWholeFile(to, copied));
    EXPECT_EQ(copied, "new contents");
    EXPECT_FALSE(CopyFileReplacing(dir.Path() + "/missing", to));
}

} // namespace
