#include "persistence/TableSelection.h"

#include "persistence/DaoDatabase.h"
#include "platform/UserInterface.h"

#include <algorithm>
#include <cctype>

bool TableNameLess(const std::string& a, const std::string& b) {
    const size_t common = std::min(a.size(), b.size());
    for (size_t i = 0; i < common; ++i) {
        const int ca = std::tolower(static_cast<unsigned char>(a[i]));
        const int cb = std::tolower(static_cast<unsigned char>(b[i]));
        if (ca != cb) {
            return ca < cb;
        }
    }
    if (a.size() != b.size()) {
        return a.size() < b.size();
    }
    return a < b;
}

std::vector<CTableSelection::Entry> CTableSelection::ReadOfferedTables() const {
    std::vector<Entry> entries;
    if (m_pDatabase == nullptr) {
        return entries;
    }
    // The count is read again after each definition, as the dialog does.
    for (int i = 0; i < m_pDatabase->GetTableDefCount(); ++i) {
        CDaoTableDefInfo info;
        m_pDatabase->GetTableDefInfo(i, info);
        if ((info.m_lAttributes & dbSystemObject) == 0) {
            entries.push_back({info.m_strName, i});
        }
    }
    std::stable_sort(entries.begin(), entries.end(),
                     [](const Entry& a, const Entry& b) { return TableNameLess(a.name, b.name); });
    return entries;
}

bool CTableSelection::DoModal(IUserInterface& ui) {
    const std::vector<Entry> entries = ReadOfferedTables();
    std::vector<std::string> names;
    names.reserve(entries.size());
    for (const Entry& entry : entries) {
        names.push_back(entry.name);
    }
    const std::optional<int> chosen = ui.ChooseTable(names);
    if (!chosen) {
        return false;
    }
    if (*chosen < 0 || *chosen >= static_cast<int>(entries.size())) {
        m_nTableIndex = -1;
        m_strTable.clear();
    } else {
        m_nTableIndex = entries[static_cast<size_t>(*chosen)].tableIndex;
        m_strTable = entries[static_cast<size_t>(*chosen)].name;
    }
    return true;
}
