#include "ParserTestSupport.h"

#include <gtest/gtest.h>

namespace {

using Entries = std::vector<std::string>;

struct HeadCase {
    const char* name;
    const char* head;
    Entries entries; // what the head followed by an empty body records
};

class ClassHeads : public testing::TestWithParam<HeadCase> {};

TEST_P(ClassHeads, RecordNameAndFirstBase) {
    ParsedHeaders parsed(std::string("\n") + GetParam().head + "\n{\n};\n");
    EXPECT_EQ(parsed.Entries(), GetParam().entries);
}

INSTANTIATE_TEST_SUITE_P(
    HeaderParser, ClassHeads,
    testing::Values(
        HeadCase{"NoBase", "class CFoo", {"C CFoo :  @2"}},
        HeadCase{"ExportMacro", "class AFX_EXT_CLASS CFoo", {"C CFoo :  @2"}},
        HeadCase{"TwoBases", "class CFoo : public CBar, protected CBaz", {"C CFoo : CBar @2"}},
        HeadCase{
            "PrivateThenPublic", "class CFoo : private CBar,public CBaz", {"C CFoo : CBar @2"}},
        HeadCase{"NoAccessWord", "class CFoo : CBar", {"C CFoo :  @2"}},
        HeadCase{"VirtualBase", "class CFoo : virtual public CBar", {"C CFoo : public @2"}},
        HeadCase{"ForwardDeclaration", "class CFoo;", {}},
        HeadCase{"Template",
                 "template <class T> class CList : public CObject",
                 {"C CList : CObject @2"}},
        HeadCase{"NestedTemplateArguments",
                 "template <typename K, typename V = std::map<K, int>> class CMap",
                 {"C CMap :  @2"}},
        HeadCase{"FunctionTemplate", "template <class T> T Max(T a, T b);", {}},
        HeadCase{"Struct", "struct SFoo : public CBar", {}}, HeadCase{"Union", "union UFoo", {}},
        HeadCase{"BraceOnHeadLine", "class CFoo : public CBar {", {"C CFoo : CBar @2"}},
        HeadCase{"BraceOnHeadLineNoBase", "class CFoo {", {"C CFoo :  @2"}},
        HeadCase{
            "BasesOverLines", "class CFoo : public CBar,\n  public CBaz", {"C CFoo : CBar @2"}},
        HeadCase{"Unnamed", "class {", {}}),
    [](const auto& param) { return std::string(param.param.name); });

struct MemberCase {
    const char* name;
    const char* declaration;
    Entries members;
};

class Members : public testing::TestWithParam<MemberCase> {};

TEST_P(Members, RecordNameTypeAndParameters) {
    ParsedHeaders parsed(std::string("class CFoo\n{\n") + GetParam().declaration + "\n};\n");
    Entries entries = parsed.Entries();
    ASSERT_FALSE(entries.empty());
    EXPECT_EQ(entries.front(), "C CFoo :  @1");
    entries.erase(entries.begin());
    EXPECT_EQ(entries, GetParam().members);
}

INSTANTIATE_TEST_SUITE_P(
    HeaderParser, Members,
    testing::Values(
        MemberCase{"VirtualConstFunction",
                   "virtual void Draw(CDC* pDC) const;",
                   {"F Draw | virtual void | CDC* pDC @3"}},
        MemberCase{
            "PureVirtual", "virtual int Count() const = 0;", {"F Count | virtual int |  @3"}},
        MemberCase{"Constructor", "CFoo();", {"F CFoo | constructor |  @3"}},
        MemberCase{
            "ExplicitConstructor", "explicit CFoo(int n);", {"F CFoo | explicit | int n @3"}},
        MemberCase{"Destructor", "virtual ~CFoo();", {"F ~CFoo | destructor |  @3"}},
        MemberCase{"TwoVariables", "int m_a, m_b;", {"V m_a | int @3", "V m_b | int @3"}},
        MemberCase{"EmptyNameSkipped", "int m_a,, m_b;", {"V m_a | int @3", "V m_b | int @3"}},
        MemberCase{"QualifiedType", "std::string m_s;", {"V m_s | string @3"}},
        MemberCase{"QualifiedParameter",
                   "void Set(const std::string& s);",
                   {"F Set | void | :string& s @3"}},
        MemberCase{
            "ConversionOperator", "operator LPCTSTR() const;", {"F operator LPCTSTR |  |  @3"}},
        MemberCase{"ComparisonOperator",
                   "bool operator==(const CFoo& o) const;",
                   {"F operator== | bool | const CFoo& o @3"}},
        MemberCase{"OperatorNew",
                   "void *operator new(size_t n);",
                   {"F operator new | void*  | size_t n @3"}},
        MemberCase{"AccessLabelBeforeMember", "public: int m_n;", {"V m_n |  int @3"}},
        MemberCase{"AccessLabelOnOwnLine", "public:\nint m_n;", {"V m_n | int @4"}},
        MemberCase{"MacroCall", "DECLARE_MESSAGE_MAP()", {}},
        MemberCase{"FriendClass", "friend class CBar;", {}},
        MemberCase{"ParenthesisAtOne", "f(int a);", {}},
        MemberCase{"UnbalancedParentheses", "void f(int a));", {}},
        MemberCase{"InlineBodySkipped",
                   "int get() const {\nreturn m_x;\n}\nint m_y;",
                   {"F get | int |  @3", "V m_y | int @6"}},
        MemberCase{"OneLineBodies",
                   "void f();\nvoid g() { return; }\nint m;",
                   {"F f | void |  @3", "F g | void |  @4", "V m | int @5"}},
        MemberCase{"MemberTemplateBodySkipped",
                   "template <class T> T get() const { return m_t; }\nint m_y;",
                   {"V m_y | int @4"}},
        MemberCase{"EnumerationIsNoMember", "enum E { A, B };\nint m;", {"V m | int @4"}}),
    [](const auto& param) { return std::string(param.param.name); });

TEST(ClassBodies, ForwardDeclarationEndsTheClass) {
    ParsedHeaders parsed("class A {\nint x;\nclass B;\nint y;\n};\n");
    EXPECT_EQ(parsed.Entries(), (Entries{"C A :  @1", "V x | int @2"}));
}

TEST(ClassBodies, NestedClassEndsTheOuterClass) {
    ParsedHeaders parsed("class A {\nint x;\nclass B {\nint y;\n};\nint z;\n};\nint w;\n");
    EXPECT_EQ(parsed.Entries(),
              (Entries{"C A :  @1", "V x | int @2", "C B :  @3", "V y | int @4"}));
}

TEST(ClassBodies, ClassEndsAtItsOwnBrace) {
    ParsedHeaders parsed("namespace n {\nclass A {\nstruct S {\nint s;\n};\nint a;\n};\n"
                         "int free;\n}\n");
    EXPECT_EQ(parsed.Entries(), (Entries{"C A :  @2", "V s | int @4", "V a | int @6"}));
}

TEST(ClassBodies, SecondDeclarationAddsMembersAndKeepsTheFirstPlace) {
    ParsedHeaders parsed("class A : public B\n{\nint x;\n};\n", "/inc/a.h");
    // Here the class stands one level deeper than the first time; its body
    // still ends at its own brace.
    parsed.Add("namespace n {\nclass A : public C\n{\nint y;\n};\nint notMember;\n}\n", "/inc/b.h");
    EXPECT_EQ(parsed.Entries(), (Entries{"C A : B @1", "V x | int @3", "V y | int @4"}));
    EXPECT_EQ(parsed.root->GetChild(0)->GetHeaderPath(), "/inc/a.h");
    EXPECT_EQ(parsed.root->GetChild(2)->GetHeaderPath(), "/inc/a.h");
}

TEST(ClassBodies, ClassHeadAfterAnotherStatementOnTheLine) {
    ParsedHeaders parsed("class A { int x; }; class B : public A { int y; };\n");
    EXPECT_EQ(parsed.Entries(),
              (Entries{"C A :  @1", "V x | int @1", "C B : A @1", "V y | int @1"}));
}

TEST(ClassBodies, RecordsPathAndFileName) {
    ParsedHeaders parsed("class A {\nint x;\n};\n", "/src/deep/x.h");
    ASSERT_EQ(parsed.root->GetChildCount(), 2);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(parsed.root->GetChild(i)->GetHeaderPath(), "/src/deep/x.h");
        EXPECT_EQ(parsed.root->GetChild(i)->GetHeaderFileName(), "x.h");
        EXPECT_EQ(parsed.root->GetChild(i)->m_strBaseName, i == 0 ? "" : "A");
    }
}

TEST(ClassBodies, ClassNamedLikeTheRootIsAClass) {
    ParsedHeaders parsed("class Unbekannt {\nint x;\n};\n");
    EXPECT_EQ(parsed.Entries(), (Entries{"C Unbekannt :  @1", "V x | int @2"}));
}

TEST(ClassBodies, ParseStateIsResetForEveryFile) {
    ParsedHeaders parsed("class A {\nint x;\n/* open comment\n", "/inc/a.h");
    parsed.Add("int y;\nclass B {\nint z;\n};\n", "/inc/b.h");
    EXPECT_EQ(parsed.Entries(),
              (Entries{"C A :  @1", "V x | int @2", "C B :  @2", "V z | int @3"}));
}

TEST(LineNumbers, LineOfTheFirstTextOfEachStatement) {
    ParsedHeaders parsed("// comment\n"
                         "\n"
                         "/* block\n"
                         "   comment */ class A\n"
                         "{\n"
                         "  int a; int b;\n"
                         "  virtual void\n"
                         "    Draw();\n"
                         "  void f() { }\n"
                         "#define X \\\n"
                         "   1\n"
                         "  int c;\n"
                         "};\n");
    EXPECT_EQ(parsed.Entries(),
              (Entries{"C A :  @4", "V a | int @6", "V b | int @6", "F Draw | virtual void |  @7",
                       "F f | void |  @9", "V c | int @12"}));
}

TEST(LineNumbers, CarriageReturnLineEnds) {
    ParsedHeaders parsed("class A\r\n{\r\n\r\nint x;\r\n};\r\n");
    EXPECT_EQ(parsed.Entries(), (Entries{"C A :  @1", "V x | int @4"}));
}

} // namespace
