#pragma once

#include "model/TreeControl.h"

#include <QHash>
#include <QList>
#include <QTreeWidget>

class CClassNode;
class CVorlixDoc;

// The class tree of a document window: the hierarchy of classes under their
// bases (presentation 0) or all classes side by side under the root (1).
// Selecting an item shows its node in the other panes.
class CVorlixView : public QTreeWidget, public ITreeControl {
    Q_OBJECT
public:
    explicit CVorlixView(QWidget* parent = nullptr);
    ~CVorlixView() override;

    CVorlixDoc* GetDocument() const { return m_pDocument; }
    void SetDocument(CVorlixDoc* document) { m_pDocument = document; }

    void OnInitialUpdate();
    // Rebuilds every item from the document's root and shows the root.
    void FillTree();

    void OnShowHierarchy() { ShowPresentation(0); }
    void OnShowList() { ShowPresentation(1); }
    void OnExpandAll() { ExpandOrCollapseAll(kTreeExpand); }
    void OnCollapseAll() { ExpandOrCollapseAll(kTreeCollapse); }

    // Selects the item of a node, which shows the node; false when it has none.
    bool SelectNode(const CClassNode* node);
    // The node of the selected item, or null.
    CClassNode* SelectedNode() const;
    // The node of an item, through the fill's index (what the root's
    // FindByTreeItem finds), or null.
    CClassNode* NodeOfItem(const QTreeWidgetItem* item) const;
    void SetItemText(TreeItemHandle item, const std::string& text);
    // The item of a node as the last fill made it, or null.
    QTreeWidgetItem* ItemOfNode(const CClassNode* node) const;
    static QTreeWidgetItem* ItemOf(TreeItemHandle handle);
    static TreeItemHandle HandleOf(const QTreeWidgetItem* item);

    // ITreeControl
    TreeItemHandle InsertItem(const std::string& text, TreeItemHandle parent) override;
    void SortChildren(TreeItemHandle item) override;
    void Expand(TreeItemHandle item, int code) override;

    int m_nTreeMode = 0;

signals:
    // The presentation changed (the check marks of the View menu follow it).
    void treeModeChanged(int mode);

protected:
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void OnSelChanged();
    void OnActivateView();
    void ShowPresentation(int mode);
    void ExpandOrCollapseAll(int code);
    void IndexItems(CClassNode* root);

    CVorlixDoc* m_pDocument = nullptr;
    // While filling, items are built away from the widget and added at the
    // end, so that the view does not follow every single insertion.
    bool m_filling = false;
    QList<QTreeWidgetItem*> m_pendingTopLevel;
    // The node of every item of the last fill: the same node that the
    // root's FindByTreeItem finds, without walking the whole model.
    QHash<TreeItemHandle, CClassNode*> m_nodeOfItem;
    qsizetype m_itemCount = 0;
};
