#include "ParserTestSupport.h"
#include "analysis/ClassHead.h"

#include <gtest/gtest.h>

namespace {

using Entries = std::vector<std::string>;

// What each shape records. A text starting with "|" is the body of
// 'class CFoo' (head on line 1, body from line 3; its entry: the heads);
// any other text is followed by an empty body.
TEST(Shapes, HeadsAndMembersRecordWhatTheyDeclare) {
    const std::pair<const char*, Entries> cases[] = {
        // Class names: the last word, without export macros, attributes,
        // alignas and "final"; a qualified name gives its last component.
        {"class AFX_EXT_CLASS CFoo", {"C CFoo :  @1"}},
        {"class alignas(8) CFoo final", {"C CFoo :  @1"}},
        {"class [[nodiscard]] EXP_X(\"v\") __attribute__((visibility(\"default\"))) CFoo",
         {"C CFoo :  @1"}},
        {"class ns::Outer::CFoo final : public CBar", {"C CFoo : CBar @1"}},
        {"MY_BEGIN_NAMESPACE\nclass CFoo\n", {"C CFoo :  @2"}},
        {"class CFoo;", {}},
        {"class {", {}},
        {"struct SFoo : public CBar", {}},
        // The first base's own name (heads over several lines: the cutting tests).
        {"class CFoo : public CBar, protected CBaz", {"C CFoo : CBar @1"}},
        {"class CFoo : CBar", {"C CFoo : CBar @1"}},
        {"class CFoo : virtual public CBar", {"C CFoo : CBar @1"}},
        {"class CFoo : private virtual ::ns::CBar", {"C CFoo : CBar @1"}},
        {"class CFoo : public Kernel<It, typename ns::Val<It>::type>", {"C CFoo : Kernel @1"}},
        // Templates: the head after the parameters; a specialization keeps
        // its argument text (the node spaces it).
        {"template <class T> class CList : public CObject", {"C CList : CObject @1"}},
        {"template <typename K, typename V = std::map<K, int>> class CMap", {"C CMap :  @1"}},
        {"template <int N, std::enable_if_t<(N > 2), int> = 0> class CBig", {"C CBig :  @1"}},
        {"template <> class Printer<T&>", {"C Printer<T& > :  @1"}},
        {"template <class T> class Printer<ns::Pair<T, int>> : public Base<T>",
         {"C Printer<ns::Pair<T, int>> : Base @1"}},
        {"template <class T> T Max(T a, T b);", {}},
        // Code between '#if 0' and its '#else' is never compiled.
        {"#if 0\n#ifdef X\n#endif\nclass CDead {\n#else\nclass CLive\n#endif", {"C CLive :  @6"}},

        // Functions: the name before the first parameter list.
        {"|virtual void Draw(CDC* pDC) const;\nint Draw (int x);\nvoid f ();",
         {"F Draw | virtual void | CDC* pDC @3", "F Draw | int | int x @4", "F f | void |  @5"}},
        {"|virtual int Count() const = 0;\nvoid Set(const std::string& s);",
         {"F Count | virtual int |  @3", "F Set | void | :string& s @4"}},
        {"|CFoo();\nexplicit CFoo(int n);\nvirtual ~CFoo();",
         {"F CFoo | constructor |  @3", "F CFoo | explicit | int n @4",
          "F ~CFoo | destructor |  @5"}},
        {"|CFoo() : m_a(0), m_b{1} {}\nint m_c;", {"F CFoo | constructor |  @3", "V m_c | int @4"}},
        {"|void log(const char *f, ...) const ATTR_PRINTF(2, 3);\nDEPRECATED_X(\"x\") int g();",
         {"F log | void | const char* f, ... @3", "F g | DEPRECATED_X() int |  @4"}},
        {"|operator LPCTSTR() const;\nbool operator==(const CFoo& o) const;\n"
         "void *operator new(size_t n);\nint operator()(int a);",
         {"F operator LPCTSTR |  |  @3", "F operator== | bool | const CFoo& o @4",
          "F operator new | void* | size_t n @5", "F operator() | int | int a @6"}},
        {"|int get() const {\nreturn m_x;\n}\nvoid g() { return; }\nint m_y;",
         {"F get | int |  @3", "F g | void |  @6", "V m_y | int @7"}},
        {"|template <class T> T get() const { return m_t; }\nint m_y;", {"V m_y | int @4"}},
        // Macro lines are statements of their own and record nothing.
        {"|Q_OBJECT\nQ_PROPERTY(int x READ x\n  WRITE setX)\nDECLARE_MESSAGE_MAP()\nCFoo();"
         "\nQ_DISABLE_COPY(CFoo);",
         {"F CFoo | constructor |  @7"}},
        // Variables: names without initialisers; commas in brackets split
        // nothing.
        {"|int m_a,, *m_b;\nstd::string m_s;\npublic: int m_n;\npublic:\nint m_k;",
         {"V m_a | int @3", "V m_b | int @3", "V m_s | string @4", "V m_n |  int @5",
          "V m_k | int @7"}},
        {"|int m_len = 0;\nint m_cap{0};\nQFoo *p = nullptr;\nT x = std::limits<T>::max();\n"
         "static constexpr size_t Flag = Mask + 1;",
         {"V m_len | int @3", "V m_cap | int @4", "V p | QFoo* @5", "V x | T @6",
          "V Flag | static constexpr size_t @7"}},
        {"|std::pair<unsigned, const S *> m_p;\nint m_x[2 * N], m_y : 3;\nint m_t[] = {\n1, 2 };",
         {"V m_p | pair<unsigned, const S* > @3", "V m_x[2* N] | int @4", "V m_y | int @4",
          "V m_t[] | int @5"}},
        {"|char m_d = '\\\"'; int m_lost; // \"q\"\nchar m_q = '\\'', m_r = 'x';",
         {"V m_d | char @3", "V m_lost | int @3", "V m_q | char @4", "V m_r | char @4"}},
        // Aliases, friends, forward declarations and calls record nothing.
        {"|using Ptr = QData*;\ntypedef int Size;\nfriend class CBar;\nfriend bool operator==(A, "
         "B);\nstruct SFwd;\nf(int a);\nvoid f(int a));\nenum E { A, B };",
         {}},
    };
    for (const auto& [shape, rows] : cases) {
        const std::string text = shape[0] == '|'
                                     ? std::string("class CFoo\n{\n") + (shape + 1) + "\n};\n"
                                     : std::string(shape) + "\n{\n};\n";
        const Entries entries = ParsedHeaders(text).Entries();
        const size_t skipped = shape[0] == '|' && !entries.empty() ? 1 : 0;
        EXPECT_EQ(Entries(entries.begin() + skipped, entries.end()), rows) << shape;
    }
    // Search hits read unnormalised text with the same rule.
    const ClassHead head = SplitClassHead(" EXP_API\tCDialog\n  : public\tns::CWidget<T> ");
    EXPECT_EQ(head.name + " " + head.base, "CDialog CWidget");
}

TEST(ClassBodies, WhereAClassEnds) {
    const std::pair<const char*, Entries> cases[] = {
        // A forward declaration or a nested class ends the class.
        {"class A {\nint x;\nclass B;\nint y;\n};\n", {"C A :  @1", "V x | int @2"}},
        {"class A {\nint x;\nclass B {\nint y;\n};\nint z;\n};\nint w;\n",
         {"C A :  @1", "V x | int @2", "C B :  @3", "V y | int @4"}},
        {"namespace n {\nclass A {\nstruct S {\nint s;\n};\nint a;\n};\nint free;\n}\n",
         {"C A :  @2", "V s | int @4", "V a | int @6"}},
        {"class A { int x; }; class B : public A { int y; };\n",
         {"C A :  @1", "V x | int @1", "C B : A @1", "V y | int @1"}},
        {"class Unbekannt {\nint x;\n};\n", {"C Unbekannt :  @1", "V x | int @2"}},
        {"class A\r\n{\r\n\r\nint x;\r\n};\r\n", {"C A :  @1", "V x | int @4"}},
        {"// comment\n\n/* block\n   comment */ class A\n{\n  int a; int b;\n  virtual void\n"
         "    Draw();\n  void f() { }\n#define X \\\n   1\n  int c;\n};\n",
         {"C A :  @4", "V a | int @6", "V b | int @6", "F Draw | virtual void |  @7",
          "F f | void |  @9", "V c | int @12"}},
    };
    for (const auto& [text, entries] : cases) {
        EXPECT_EQ(ParsedHeaders(text).Entries(), entries) << text;
    }
}

// The second file starts afresh after an open comment and an unclosed class;
// a second declaration of A, one level deeper, adds its members and keeps
// A's first place and base.
TEST(ClassBodies, EveryFileStartsAfreshAndRedeclaredClassesKeepTheirPlace) {
    ParsedHeaders parsed("class A : public B\n{\nint x;\n/* open comment\n", "/src/deep/a.h");
    parsed.Add("int y;\nnamespace n {\nclass A : public C\n{\nint z;\n};\nint notMember;\n}\n"
               "class D {\n};\n",
               "/inc/b.h");
    EXPECT_EQ(parsed.Entries(),
              (Entries{"C A : B @1", "V x | int @3", "V z | int @5", "C D :  @9"}));
    for (int i = 0; i < 3; ++i) {
        const CClassNode& node = *parsed.root->GetChild(i);
        EXPECT_EQ(node.GetHeaderPath() + " " + node.GetHeaderFileName(), "/src/deep/a.h a.h");
    }
}

} // namespace
