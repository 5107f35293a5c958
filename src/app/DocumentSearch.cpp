#include "app/CommandGuard.h"
#include "app/VorlixApp.h"
#include "app/VorlixDoc.h"
#include "shell/MainFrame.h"
#include "shell/SearchResultDlg.h"

void CVorlixDoc::SearchForSelection(char mode) {
    SearchForNode(mode, m_pShown);
}

// A search that finds nothing still shows the (empty) results list; only a
// search that did not run shows nothing.
void CVorlixDoc::SearchForNode(char mode, CClassNode* node) {
    RunCommand(m_ui, [this, mode, node] {
        if (!m_search.SearchForNode(mode, node, m_ui)) {
            return;
        }
        CSearchResultDlg dialog(m_app.GetMainFrame());
        dialog.SetHits(&m_search.HitsFor(mode));
        dialog.SetNode(node);
        dialog.SetMode(mode);
        dialog.exec();
    });
}
