#include "shell/CommandTexts.h"

namespace {

constexpr int kFirstRecentFile = 57616;
constexpr int kLastRecentFile = 57631;

constexpr SCommandText kTexts[] = {
    {57600, "Beginnt mit dem parsen der spezifischen angegebener Headerfiles.", "Parsen"},
    {57601, "Öffnet ein bestehendes Dokument.", "Öffnen"},
    {57602, "Schließt das aktive Dokument.", "Schließen"},
    {57603, "Speichert das aktive Dokument.", "Speichern"},
    {57604, "Speichert das aktive Dokument unter einem neuen Namen.", "Speichern unter"},
    {32774, "Aktualisiert den kompletten Baum.", "Aktualisieren"},
    {32772, "Exportiert den gesamten aktuellen Baum nach HTML.", "Exportieren als HTML"},
    {kFirstRecentFile, "Öffnet dieses Dokument.", ""},
    {57665, "Verläßt die Anwendung; fragt, ob Dokumente gespeichert werden sollen.", "Beenden"},
    {32781, "Zeigt die Klassen in einer Baumhierarchie mit abgeleiteten Klassen an.",
     "Klassen (abgeleitet)"},
    {32782, "Zeigt alle Klassen in einer Liste an.", "Klassen (Liste)"},
    {32783, "Blendet alle Zweige der Klassenansicht auf.", "Zweige aufblenden"},
    {32784, "Blendet alle Zweige der Klassenansicht zu.", "Zweige ausblenden"},
    {32780, "Sucht Klasse in Klassenansichtsbaum.", "Klasse suchen"},
    {32778, "Durchsucht ein Verzeichnis nach H-Dateien, in denen Klasse definiert wird.", ""},
    {32779, "Durchsucht ein Verzeichnis nach CPP-Dateien, in denen Klasse definiert wird.", ""},
    {32776, "Durchsucht ein Verzeichnis nach CPP-Dateien, in denen Funktion verwendet wird.", ""},
    {59392, "Blendet die Symbolleiste ein oder aus.", "Symbolleiste ein-/ausschalten"},
    {59393, "Blendet die Statusleiste ein oder aus.", "Statusleiste ein-/ausschalten"},
    {57650, "Ordnet die Fenster überlappend an.", "Überlappende Fenster"},
    {57651, "Ordnet die Fenster nebeneinander an.", "Fenster nebeneinander"},
    {57649, "Ordnet die Symbole im unteren Bereich des Fensters an.", "Symbole anordnen"},
    {57664, "Zeigt Programm-Informationen, Versionsnummer und Copyright an.", "Info"},
    {57680, "Wechselt zum nächsten Fensterausschnitt.", "Nächster Ausschnitt"},
    {57681, "Springt zum vorherigen Fensterausschnitt zurück.", "Vorheriger Ausschnitt"},
    // System menu of the windows, and activating a document window from the
    // window list.
    {61440, "Ändert die Fenstergröße.", ""},
    {61456, "Ändert die Position des Fensters.", ""},
    {61472, "Verkleinert das Fenster zu einem Symbol.", ""},
    {61488, "Vergrößert das Fenster zu voller Größe.", ""},
    {61504, "Wechselt zum nächsten Dokumentfenster.", ""},
    {61520, "Wechselt zum vorherigen Dokumentfenster.", ""},
    {61536, "Schließt das aktive Fenster und fordert zur Dokumentspeicherung auf.", ""},
    {61728, "Stellt das Fenster in seiner normalen Größe wieder her.", ""},
    {61744, "Aktiviert die Task-Liste.", ""},
    {61215, "Aktiviert dieses Fenster.", ""},
};

} // namespace

std::span<const SCommandText> CommandTexts() {
    return kTexts;
}

const SCommandText* FindCommandText(int id) {
    if (id >= kFirstRecentFile && id <= kLastRecentFile) {
        id = kFirstRecentFile;
    }
    for (const SCommandText& text : kTexts) {
        if (text.id == id) {
            return &text;
        }
    }
    return nullptr;
}
