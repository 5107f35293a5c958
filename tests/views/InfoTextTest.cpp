#include "model/InfoText.h"

#include "Nodes.h"

#include <gtest/gtest.h>

namespace {

TEST(InfoText, ReadsAsGivenForEachKind) {
    CClassRoot root;
    root.m_strDatabase = "/home/u/db/x.mdb";
    root.m_strTable = "Klassen";
    CClassNode* object = AddNode(&root, "CObject", KindClass, 12);
    CClassNode* view = AddNode(AddNode(object, "CWnd", KindClass, 40), "CView", KindClass, 7);
    CClassNode* draw = AddNode(view, "Draw", KindFunction, 9, "void", "CDC* pDC");
    CClassNode* doc = AddNode(view, "m_pDoc", KindVariable, 0, "CDocument*"); // line 0 is known
    CClassNode* unknown = AddNode(&root, "CUnknown", KindClass, -1);
    unknown->SetHeaderFile("Unbekannt");
    const std::pair<const CClassNode*, const char*> cases[] = {
        {&root, "Datenbankname:\n  /home/u/db/x.mdb\nTabellenname:\n  Klassen\n\n"
                "Anzahl Klassen:\n  4"},
        {object, "Klassenname:\n  CObject\nHeader-Datei:\n  CObject.h\nZeile in Header:\n  12\n\n"
                 "Abgeleitet von:\n  void\n\nAnzahl abgeleitete Klassen:\n  2\n"},
        // The ancestry has no separator after its last name.
        {view, "Klassenname:\n  CView\nHeader-Datei:\n  CView.h\nZeile in Header:\n  7\n\n"
               "Abgeleitet von:\n  CObject - CWnd\n\nAnzahl abgeleitete Klassen:\n  0\n"},
        {unknown, "Klassenname:\n  CUnknown\nHeader-Datei:\n  Unbekannt\nZeile in Header:\n  "
                  "Unbekannt\n\nAbgeleitet von:\n  void\n\nAnzahl abgeleitete Klassen:\n  0\n"},
        {draw,
         "Memberfunktionsname:\n  Draw\nHeader-Datei:\n  Draw.h\nZeile in Header:\n  9\n\n"
         "Memberfunktion gehört zu:\n  CView\n\nRückgabetyp:\n  void\nParameter:\n  CDC* pDC\n"},
        {doc, "Membervariablenname:\n  m_pDoc\nHeader-Datei:\n  m_pDoc.h\nZeile in Header:\n  0\n\n"
              "Membervariable gehört zu:\n  CView\n\nMembervariablentyp:\n  CDocument*\n"}};
    for (const auto& [node, expected] : cases) {
        EXPECT_EQ(BuildInfoText(*node), expected) << node->GetName();
    }
    EXPECT_EQ(LocationText(root), "/home/u/db/x.mdb (Klassen)");
}

TEST(InfoText, NodesWithoutParentOrKindOrLocation) {
    CClassRoot fresh;
    EXPECT_EQ(BuildInfoText(fresh),
              "Datenbankname:\n  Unbekannt\nTabellenname:\n  Unbekannt\n\nAnzahl Klassen:\n  0");
    // A class without parent keeps the base text of its line.
    CClassNode lone;
    lone.SetLine(3);
    EXPECT_NE(BuildInfoText(lone).find("Abgeleitet von:\n  \n"), std::string::npos);
    lone.SetLine(-1);
    EXPECT_NE(BuildInfoText(lone).find("Abgeleitet von:\n  Unbekannt\n"), std::string::npos);
    lone.SetKind(KindFunction);
    EXPECT_NE(BuildInfoText(lone).find("gehört zu:\n  \n"), std::string::npos);
    lone.SetKind(9);
    EXPECT_EQ(BuildInfoText(lone), "");
}

} // namespace
