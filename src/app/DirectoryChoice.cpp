#include "app/DirectoryChoice.h"

#include "analysis/HeaderParser.h"
#include "model/ClassRoot.h"
#include "platform/UserInterface.h"

#include <optional>

int ScanChosenDirectories(CHeaderParser& parser, IUserInterface& ui, const std::string& firstTitle,
                          const std::string& nextTitle, std::string* firstFolder) {
    int scanned = 0;
    while (true) {
        const std::optional<std::string> directory =
            ui.ChooseFolder(scanned == 0 ? firstTitle : nextTitle);
        if (!directory) {
            return scanned;
        }
        if (scanned == 0 && firstFolder != nullptr) {
            *firstFolder = *directory;
        }
        parser.ScanDirectory(*directory);
        ++scanned;
    }
}

CParsedRoot::~CParsedRoot() {
    Take();
}

std::unique_ptr<CClassRoot> CParsedRoot::Take() {
    std::unique_ptr<CClassRoot> root(m_parser.m_pRoot);
    m_parser.m_pRoot = nullptr;
    return root;
}
