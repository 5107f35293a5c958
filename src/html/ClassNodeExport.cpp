#include "html/HtmlSite.h"
#include "model/ClassNode.h"
#include "platform/FileServices.h"

std::string CClassNode::GetHtmlFileName() const {
    switch (m_nKind) {
    case KindRoot:
    case KindClass:
        return "class_" + std::to_string(m_nId) + ".html";
    case KindFunction:
        return "func_" + std::to_string(m_nId) + ".html";
    case KindVariable:
        return "var_" + std::to_string(m_nId) + ".html";
    default:
        return "error.html";
    }
}

bool CClassNode::ExportIndexPage(const std::string& directory) const {
    const std::string folder = WithTrailingSlash(directory);
    CHtmlSite site(*this);
    const int self = site.Find(this);
    if (site.WriteIndexPage(self, folder) != CHtmlSite::PageResult::Written) {
        return false;
    }
    return site.WritePagesBelow(self, folder);
}

bool CClassNode::ExportPages(const std::string& directory) const {
    CHtmlSite site(*this);
    return site.WritePagesBelow(site.Find(this), WithTrailingSlash(directory));
}

bool CClassNode::ExportPage(const std::string& directory) const {
    CHtmlSite site(*this);
    return site.WritePage(site.Find(this), WithTrailingSlash(directory)) ==
           CHtmlSite::PageResult::Written;
}

void CClassNode::WriteHtmlTree(CHtmlFile* writer, const CClassNode* parent, bool indent) const {
    if (writer == nullptr || parent == nullptr) {
        return;
    }
    CHtmlSite site(*parent);
    site.WriteTree(*writer, site.Find(parent), *this, indent);
}
