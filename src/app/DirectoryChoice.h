#pragma once

#include <memory>
#include <string>

class CClassRoot;
class CHeaderParser;
class IUserInterface;

// Asks for directories until the user cancels, scanning each chosen one at
// once into the parser's root. The first prompt has its own title. Returns
// the number of directories scanned; the first one goes to firstFolder.
int ScanChosenDirectories(CHeaderParser& parser, IUserInterface& ui, const std::string& firstTitle,
                          const std::string& nextTitle, std::string* firstFolder = nullptr);

// A parser never owns the root it fills. This holds it for the command that
// runs the parser: the command takes it, or it is deleted with the holder.
class CParsedRoot {
public:
    explicit CParsedRoot(CHeaderParser& parser) : m_parser(parser) {}
    CParsedRoot(const CParsedRoot&) = delete;
    CParsedRoot& operator=(const CParsedRoot&) = delete;
    ~CParsedRoot();

    std::unique_ptr<CClassRoot> Take();

private:
    CHeaderParser& m_parser;
};
