#include "html/HtmlExport.h"

#include "html/HtmlSite.h"
#include "model/ClassNode.h"
#include "platform/FileServices.h"
#include "platform/UserInterface.h"

bool RunHtmlExport(CClassNode* root, IUserInterface& ui, const std::function<void()>& beforeWriting,
                   std::vector<std::string>* notCreated) {
    if (root == nullptr) {
        return false;
    }
    if (!ui.AskYesNo("Der Export in HTML beansprucht bei größeren Projekten sehr viel Zeit\n"
                     "und eine größere Menge an Festplattenspeicher!\n\n"
                     "Export trotzdem fortsetzen oder abbrechen?")) {
        return false;
    }
    const std::optional<std::string> folder = ui.ChooseFolder(
        "Wählen Sie ein Verzeichnis, in dem alle weiteren HTML-Dateien angelegt werden soll.");
    // An empty answer is no file-system path; it would otherwise mean "/".
    if (!folder || folder->empty()) {
        return false;
    }
    if (beforeWriting) {
        beforeWriting();
    }
    ui.ShowProgress();
    ui.SetProgressText("Exportiere Klassenabhängigkeiten ...");
    // ExportIndexPage, with the pages left out counted.
    const std::string directory = WithTrailingSlash(*folder);
    CHtmlSite site(*root);
    site.CollectNotCreated(notCreated);
    const int self = site.Find(root);
    const bool exported = site.WriteIndexPage(self, directory) == CHtmlSite::PageResult::Written &&
                          site.WritePagesBelow(self, directory);
    if (!exported) {
        ui.ShowMessage("Fehler beim exportieren aufgetreten!\n\n"
                       "Einige Klassen könnten nicht vorhanden sein!");
    }
    ui.HideProgress();
    return exported;
}
