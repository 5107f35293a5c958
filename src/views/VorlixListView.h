#pragma once

#include "model/MemberList.h"

#include <QListWidget>

class CVorlixDoc;

// A member list of a document window (functions or variables of the class
// selected in the tree). Selecting a member shows it in the lower panes.
class CVorlixListView : public QListWidget, public IMemberList {
    Q_OBJECT
public:
    explicit CVorlixListView(QWidget* parent = nullptr);
    ~CVorlixListView() override;

    CVorlixDoc* GetDocument() const { return m_pDocument; }
    void SetDocument(CVorlixDoc* document) { m_pDocument = document; }

    void OnInitialUpdate();

    // The member of an item; null for the placeholder item.
    static CClassNode* NodeOf(const QListWidgetItem* item);
    CClassNode* SelectedNode() const;
    // Selects the item of a member, which shows it; false when not listed.
    bool SelectNode(const CClassNode* node);
    // Item texts in their shown order.
    QStringList Texts() const;

    // IMemberList
    void DeleteAllItems() override;
    void InsertItem(const std::string& text, CClassNode* node) override;
    void EnableList(bool enable) override;
    void RedrawNow() override;

protected:
    void focusInEvent(QFocusEvent* event) override;

private:
    void OnItemChanged();
    void OnActivateView();

    CVorlixDoc* m_pDocument = nullptr;
};
