#pragma once

// Shared by the HTML tests: nodes, reading pages back, the page frame.

#include "TempDir.h"
#include "model/ClassRoot.h"
#include "platform/FileServices.h"

#include <gtest/gtest.h>
#include <initializer_list>
#include <string>
#include <vector>

inline std::string ReadFile(const std::string& path) {
    std::string contents;
    EXPECT_TRUE(ReadWholeFile(path, contents)) << path;
    return contents;
}

inline std::vector<std::string> FileNames(const std::string& directory) {
    std::vector<DirEntry> entries;
    EXPECT_TRUE(ListDirectory(directory, entries)) << directory;
    std::vector<std::string> names;
    for (const DirEntry& entry : entries) {
        names.push_back(entry.name);
    }
    return names;
}

// A node below parent; the header and line only where given.
inline CClassNode* AddNode(CClassNode* parent, const std::string& name, int kind, int id,
                           const std::string& header = "", int line = 0) {
    auto* node = new CClassNode;
    node->SetName(name);
    node->SetKind(kind);
    node->SetId(id);
    if (!header.empty()) {
        node->SetHeaderFile(header);
        node->SetLine(line);
    }
    parent->AddChild(node);
    return node;
}

// Lines joined, each closed by CR LF.
inline std::string Lines(std::initializer_list<std::string> lines) {
    std::string text;
    for (const std::string& line : lines) {
        text += line + "\r\n";
    }
    return text;
}

inline std::string Head(const std::string& title) {
    return Lines({"<html>", "", "<head>",
                  "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=ISO-8859-1\">",
                  "<title>" + title + "</title>", "<meta name=\"GENERATOR\" content=\"Vorlix\">",
                  "</head>", "", "<body>"});
}

inline const std::string kTail = Lines({"</body>", "", "</html>"});
