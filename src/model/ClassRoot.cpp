#include "model/ClassRoot.h"

CClassRoot::CClassRoot() {
    SetId(-1);
    SetKind(KindRoot);
    SetName("Unbekannt");
    SetDescription("keine Beschreibung vorhanden");
}

void CClassRoot::InsertIntoTree(ITreeControl* tree, TreeItemHandle parent) {
    InsertRootItem(tree, parent, false);
}

void CClassRoot::InsertIntoTreeFlat(ITreeControl* tree, TreeItemHandle parent) {
    InsertRootItem(tree, parent, true);
}

// The root visits every child whatever its kind; in the flat variant the one
// sort at the end orders the whole class list.
void CClassRoot::InsertRootItem(ITreeControl* tree, TreeItemHandle parent, bool flat) {
    if (tree == nullptr) {
        return;
    }
    const TreeItemHandle item = tree->InsertItem(GetName(), parent);
    SetTreeItem(item);
    for (int i = 0; i < GetChildCount(); ++i) {
        CClassNode* child = GetChild(i);
        if (child == nullptr) {
            continue;
        }
        if (flat) {
            child->InsertIntoTreeFlat(tree, item);
        } else {
            child->InsertIntoTree(tree, item);
        }
    }
    tree->SortChildren(item);
}
