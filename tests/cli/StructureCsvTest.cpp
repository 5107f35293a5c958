#include "cli/StructureCsv.h"

#include "model/ClassRoot.h"

#include <gtest/gtest.h>
#include <sstream>

namespace {

CClassNode* Add(CClassNode* parent, const char* name, int id, int kind = KindClass) {
    auto* node = new CClassNode;
    node->SetName(name);
    node->SetId(id);
    node->SetKind(kind);
    parent->AddChild(node);
    return node;
}

TEST(StructureCsv, PreOrderRowsWithQuoting) {
    CClassRoot root;
    CClassNode* a = Add(&root, "A", 0);
    a->SetHeaderFile("/inc/a.h");
    a->SetLine(3);
    a->SetDescription("say \"hi\",\r\nbye");
    CClassNode* f = Add(a, "f", 1, KindFunction);
    f->SetTypeText("int");
    f->SetParameters("int a,int b");
    Add(&root, "B", 2)->SetDescription("say \"hi\""); // a quote alone is quoted too
    std::ostringstream out;
    WriteStructureCsv(root, out);
    EXPECT_EQ(out.str(), "ID,Type,Row,Parent,Class,File,Description,VarType,Parameter\r\n"
                         "0,1,3,-1,A,a.h,\"say \"\"hi\"\",\r\nbye\",kein Rückgabewert,"
                         "keine Parameter\r\n"
                         "1,2,0,0,f,,Klasse unbekannt,int,\"int a, int b\"\r\n"
                         "2,1,0,-1,B,,\"say \"\"hi\"\"\",kein Rückgabewert,keine Parameter\r\n");
}

} // namespace
