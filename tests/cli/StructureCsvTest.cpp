#include "cli/StructureCsv.h"

#include "model/ClassRoot.h"

#include <gtest/gtest.h>
#include <sstream>

namespace {

TEST(StructureCsv, PreOrderRowsWithQuoting) {
    CClassRoot root;
    auto* a = new CClassNode;
    a->SetName("A");
    a->SetId(0);
    a->SetHeaderFile("/inc/a.h");
    a->SetLine(3);
    a->SetDescription("say \"hi\",\r\nbye");
    auto* f = new CClassNode;
    f->SetName("f");
    f->SetId(1);
    f->SetKind(KindFunction);
    f->SetTypeText("int");
    f->SetParameters("int a,int b");
    auto* b = new CClassNode;
    b->SetName("B");
    b->SetId(2);
    root.AddChild(a);
    a->AddChild(f);
    root.AddChild(b);

    std::ostringstream out;
    WriteStructureCsv(root, out);
    EXPECT_EQ(out.str(), "ID,Type,Row,Parent,Class,File,Description,VarType,Parameter\r\n"
                         "0,1,3,-1,A,a.h,\"say \"\"hi\"\",\r\nbye\",kein Rückgabewert,"
                         "keine Parameter\r\n"
                         "1,2,0,0,f,,Klasse unbekannt,int,\"int a, int b\"\r\n"
                         "2,1,0,-1,B,,Klasse unbekannt,kein Rückgabewert,keine Parameter\r\n");
}

} // namespace
