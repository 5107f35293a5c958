#pragma once

#include "model/ClassNode.h"

#include <string>

class IUserInterface;

// Top node of one class structure; remembers where the structure is stored.
class CClassRoot : public CClassNode {
public:
    CClassRoot();

    void InsertIntoTree(ITreeControl* tree, TreeItemHandle parent) override;
    void InsertIntoTreeFlat(ITreeControl* tree, TreeItemHandle parent) override;

    // Replace the structure with a table of the database at path, chosen by the user.
    bool Load(const std::string& path, IUserInterface& ui);
    // Write the structure into its table, asking for file and table while unsettled.
    bool Save(bool backup, IUserInterface& ui);

    std::string m_strDatabase = "Unbekannt";
    std::string m_strTable = "Unbekannt";
    bool m_bNeedsLocation = true;

private:
    void InsertRootItem(ITreeControl* tree, TreeItemHandle parent, bool flat);
};
