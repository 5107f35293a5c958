#pragma once

#include <string>

// Source trees for the search benchmarks, written below a directory.

struct TreeFigures {
    int files = 0;
    int sources = 0;
    int headers = 0;
    long long bytes = 0;
};

// Generated: 50 folders of 20 headers and 80 sources, about 20 KB each, with
// comments, literals, preprocessor lines, namespaces, classes with bases and
// member functions that use each other's classes; includes beside the file,
// in a shared folder and across folders.
TreeFigures WriteGeneratedTree(const std::string& root, int folders = 50, int targetBytes = 20000,
                               int sourcesPerFolder = 80);

// Real headers: Qt 6's QtCore, QtGui and QtWidgets headers and Vorlix's own
// sources, copied, plus generated sources that include those headers and use
// their classes. Empty figures when the headers are not installed.
TreeFigures WriteRealHeaderTree(const std::string& root, const std::string& vorlixSources);

// Include graphs for the function search's include test: headers h0..h(n-1),
// each holding "class Ci : public Bi { int x; };", and a.cpp that includes h0
// and holds "void K::Run() { m.Draw(); }". With clique false, hi includes
// h(i+1) and two random others; with clique true, every header.
TreeFigures WriteIncludeGraphTree(const std::string& root, int headers, bool clique);

// One header "class A : public Base { int x; };" followed by one-line inline
// functions, and a.cpp that includes it and uses Draw in a body without A.
TreeFigures WriteInlineHeavyTree(const std::string& root, int functions);
