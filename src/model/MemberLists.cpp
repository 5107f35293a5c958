#include "model/ClassNode.h"
#include "model/MemberList.h"

void CClassNode::FillMemberLists(IMemberList* functions, IMemberList* variables) {
    if (functions == nullptr || variables == nullptr) {
        return;
    }
    functions->DeleteAllItems();
    variables->DeleteAllItems();

    int functionCount = 0;
    int variableCount = 0;
    for (CClassNode* child : m_children) {
        if (child == nullptr) {
            continue;
        }
        if (child->GetKind() == KindFunction) {
            functions->InsertItem(child->GetName(), child);
            ++functionCount;
        } else if (child->GetKind() == KindVariable) {
            variables->InsertItem(child->GetName(), child);
            ++variableCount;
        }
    }

    if (functionCount == 0) {
        functions->InsertItem("Keine Funktionen vorhanden", nullptr);
    }
    functions->EnableList(functionCount > 0);
    if (variableCount == 0) {
        variables->InsertItem("Keine Variablen vorhanden", nullptr);
    }
    variables->EnableList(variableCount > 0);

    functions->RedrawNow();
    variables->RedrawNow();
}
