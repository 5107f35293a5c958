#include "html/HtmlExport.h"

#include "model/ClassNode.h"
#include "platform/UserInterface.h"

bool RunHtmlExport(CClassNode* root, IUserInterface& ui) {
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
    ui.ShowProgress();
    ui.SetProgressText("Exportiere Klassenabhängigkeiten ...");
    const bool exported = root->ExportIndexPage(*folder);
    if (!exported) {
        ui.ShowMessage("Fehler beim exportieren aufgetreten!\n\n"
                       "Einige Klassen könnten nicht vorhanden sein!");
    }
    ui.HideProgress();
    return exported;
}
