#include "cli/StructureCsv.h"

#include "model/ClassNode.h"

#include <ostream>
#include <vector>

std::string CsvField(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) {
        return text;
    }
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '"') {
            quoted += '"';
        }
        quoted += c;
    }
    quoted += '"';
    return quoted;
}

namespace {

void WriteRow(const CClassNode& node, std::ostream& out) {
    const int parent = node.m_pParent != nullptr ? node.m_pParent->GetId() : -1;
    out << node.GetId() << ',' << node.GetKind() << ',' << node.GetLine() << ',' << parent << ','
        << CsvField(node.GetName()) << ',' << CsvField(node.GetHeaderFileName()) << ','
        << CsvField(node.GetDescription()) << ',' << CsvField(node.GetTypeText()) << ','
        << CsvField(node.GetParameters()) << "\r\n";
}

} // namespace

void WriteStructureCsv(const CClassNode& root, std::ostream& out) {
    out << "ID,Type,Row,Parent,Class,File,Description,VarType,Parameter\r\n";
    // Explicit stack: inheritance chains in generated code can be deep.
    std::vector<const CClassNode*> stack;
    for (int i = root.GetChildCount() - 1; i >= 0; --i) {
        if (const CClassNode* child = root.GetChild(i)) {
            stack.push_back(child);
        }
    }
    while (!stack.empty()) {
        const CClassNode* node = stack.back();
        stack.pop_back();
        WriteRow(*node, out);
        for (int i = node->GetChildCount() - 1; i >= 0; --i) {
            if (const CClassNode* child = node->GetChild(i)) {
                stack.push_back(child);
            }
        }
    }
}
