#include "model/InfoText.h"

#include "model/ClassRoot.h"

#include <gtest/gtest.h>

namespace {

CClassNode* AddNode(CClassNode* parent, const std::string& name, int kind, int id, int line) {
    auto* node = new CClassNode;
    node->SetName(name);
    node->SetKind(kind);
    node->SetId(id);
    node->SetLine(line);
    node->SetHeaderFile("/src/inc/" + name + ".h");
    if (parent != nullptr) {
        parent->AddChild(node);
    }
    return node;
}

// root -> CObject -> CWnd -> CView (with Draw, m_pDoc); root -> CView2 placeholder
struct Model {
    CClassRoot root;
    CClassNode* object = AddNode(&root, "CObject", KindClass, 0, 12);
    CClassNode* wnd = AddNode(object, "CWnd", KindClass, 1, 40);
    CClassNode* view = AddNode(wnd, "CView", KindClass, 2, 7);
    CClassNode* draw = AddNode(view, "Draw", KindFunction, 3, 9);
    CClassNode* doc = AddNode(view, "m_pDoc", KindVariable, 4, 30);
    CClassNode* placeholder = AddNode(&root, "CUnknown", KindClass, 5, -1);
    Model() {
        root.m_strDatabase = "/home/u/db/x.mdb";
        root.m_strTable = "Klassen";
        draw->SetTypeText("void");
        draw->SetParameters("CDC* pDC");
        doc->SetTypeText("CDocument*");
        placeholder->SetHeaderFile("Unbekannt");
    }
};

TEST(InfoText, RootShowsDatabaseTableAndAllClasses) {
    Model m;
    EXPECT_EQ(BuildInfoText(m.root),
              "Datenbankname:\n  /home/u/db/x.mdb\nTabellenname:\n  Klassen\n\n"
              "Anzahl Klassen:\n  4");
}

TEST(InfoText, FreshRootShowsUnknownLocation) {
    CClassRoot root;
    EXPECT_EQ(BuildInfoText(root),
              "Datenbankname:\n  Unbekannt\nTabellenname:\n  Unbekannt\n\nAnzahl Klassen:\n  0");
}

TEST(InfoText, ClassBelowRootIsDerivedFromVoid) {
    Model m;
    EXPECT_EQ(BuildInfoText(*m.object), "Klassenname:\n  CObject\nHeader-Datei:\n  CObject.h\n"
                                        "Zeile in Header:\n  12\n\nAbgeleitet von:\n  void\n\n"
                                        "Anzahl abgeleitete Klassen:\n  2\n");
}

TEST(InfoText, DeepClassShowsAncestryWithoutTrailingSeparator) {
    Model m;
    EXPECT_EQ(BuildInfoText(*m.view),
              "Klassenname:\n  CView\nHeader-Datei:\n  CView.h\n"
              "Zeile in Header:\n  7\n\nAbgeleitet von:\n  CObject - CWnd\n\n"
              "Anzahl abgeleitete Klassen:\n  0\n");
}

TEST(InfoText, PlaceholderClassHasUnknownLine) {
    Model m;
    EXPECT_EQ(
        BuildInfoText(*m.placeholder),
        "Klassenname:\n  CUnknown\nHeader-Datei:\n  Unbekannt\nZeile in Header:\n  Unbekannt\n\n"
        "Abgeleitet von:\n  void\n\nAnzahl abgeleitete Klassen:\n  0\n");
}

TEST(InfoText, ClassWithoutParentKeepsTheBaseTextOfItsLine) {
    CClassNode known;
    known.SetName("Lone");
    known.SetLine(3);
    EXPECT_NE(BuildInfoText(known).find("Abgeleitet von:\n  \n"), std::string::npos);
    CClassNode unknown;
    unknown.SetName("Lone");
    unknown.SetLine(-1);
    EXPECT_NE(BuildInfoText(unknown).find("Abgeleitet von:\n  Unbekannt\n"), std::string::npos);
}

TEST(InfoText, FunctionShowsClassReturnTypeAndParameters) {
    Model m;
    EXPECT_EQ(BuildInfoText(*m.draw),
              "Memberfunktionsname:\n  Draw\nHeader-Datei:\n  Draw.h\n"
              "Zeile in Header:\n  9\n\nMemberfunktion gehört zu:\n  CView\n\n"
              "Rückgabetyp:\n  void\nParameter:\n  CDC* pDC\n");
}

TEST(InfoText, VariableShowsClassAndType) {
    Model m;
    EXPECT_EQ(BuildInfoText(*m.doc),
              "Membervariablenname:\n  m_pDoc\nHeader-Datei:\n  m_pDoc.h\n"
              "Zeile in Header:\n  30\n\nMembervariable gehört zu:\n  CView\n\n"
              "Membervariablentyp:\n  CDocument*\n");
}

TEST(InfoText, MemberWithoutParentHasEmptyClassName) {
    CClassNode f;
    f.SetKind(KindFunction);
    f.SetName("g");
    EXPECT_NE(BuildInfoText(f).find("gehört zu:\n  \n"), std::string::npos);
}

TEST(InfoText, UnknownKindHasNoText) {
    CClassNode odd;
    odd.SetKind(9);
    EXPECT_EQ(BuildInfoText(odd), "");
}

TEST(InfoText, LocationTextJoinsDatabaseAndTable) {
    CClassRoot root;
    EXPECT_EQ(LocationText(root), "Unbekannt (Unbekannt)");
    root.m_strDatabase = "C:\\db\\x.mdb";
    root.m_strTable = "Klassen";
    EXPECT_EQ(LocationText(root), "C:\\db\\x.mdb (Klassen)");
}

} // namespace
