#include "ParserTestSupport.h"

#include <gtest/gtest.h>

namespace {

using Entries = std::vector<std::string>;

TEST(ClassHeads, RecordNameAndFirstBase) {
    // What each head followed by an empty body records.
    const std::pair<const char*, Entries> cases[] = {
        {"class AFX_EXT_CLASS CFoo", {"C CFoo :  @2"}},
        {"class CFoo : public CBar, protected CBaz", {"C CFoo : CBar @2"}},
        {"class CFoo : CBar", {"C CFoo : CBar @2"}},
        {"class CFoo : virtual public CBar", {"C CFoo : CBar @2"}},
        {"class CFoo;", {}},
        {"template <class T> class CList : public CObject", {"C CList : CObject @2"}},
        {"template <typename K, typename V = std::map<K, int>> class CMap", {"C CMap :  @2"}},
        {"template <class T> T Max(T a, T b);", {}},
        {"struct SFoo : public CBar", {}},
        {"union UFoo", {}},
        {"class CFoo {", {"C CFoo :  @2"}},
        {"class CFoo : public CBar,\n  public CBaz {", {"C CFoo : CBar @2"}},
        {"class {", {}},
    };
    for (const auto& [head, entries] : cases) {
        EXPECT_EQ(ParsedHeaders(std::string("\n") + head + "\n{\n};\n").Entries(), entries) << head;
    }
}

TEST(Members, RecordNameTypeAndParameters) {
    const std::pair<const char*, Entries> cases[] = {
        {"virtual void Draw(CDC* pDC) const;", {"F Draw | virtual void | CDC* pDC @3"}},
        {"virtual int Count() const = 0;", {"F Count | virtual int |  @3"}},
        {"CFoo();", {"F CFoo | constructor |  @3"}},
        {"explicit CFoo(int n);", {"F CFoo | explicit | int n @3"}},
        {"virtual ~CFoo();", {"F ~CFoo | destructor |  @3"}},
        {"int m_a,, m_b;", {"V m_a | int @3", "V m_b | int @3"}},
        {"std::string m_s;", {"V m_s | string @3"}},
        {"void Set(const std::string& s);", {"F Set | void | :string& s @3"}},
        {"operator LPCTSTR() const;", {"F operator LPCTSTR |  |  @3"}},
        {"bool operator==(const CFoo& o) const;", {"F operator== | bool | const CFoo& o @3"}},
        {"void *operator new(size_t n);", {"F operator new | void* | size_t n @3"}},
        {"public: int m_n;", {"V m_n |  int @3"}},
        {"public:\nint m_n;", {"V m_n | int @4"}},
        {"DECLARE_MESSAGE_MAP()\nfriend class CBar;\nf(int a);\nvoid f(int a));", {}},
        {"int get() const {\nreturn m_x;\n}\nvoid g() { return; }\nint m_y;",
         {"F get | int |  @3", "F g | void |  @6", "V m_y | int @7"}},
        {"template <class T> T get() const { return m_t; }\nint m_y;", {"V m_y | int @4"}},
        {"enum E { A, B };\nint m;", {"V m | int @4"}},
    };
    for (const auto& [declaration, members] : cases) {
        Entries entries =
            ParsedHeaders(std::string("class CFoo\n{\n") + declaration + "\n};\n").Entries();
        ASSERT_FALSE(entries.empty());
        EXPECT_EQ(entries.front(), "C CFoo :  @1");
        EXPECT_EQ(Entries(entries.begin() + 1, entries.end()), members) << declaration;
    }
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
        EXPECT_EQ(parsed.root->GetChild(i)->GetHeaderPath(), "/src/deep/a.h");
        EXPECT_EQ(parsed.root->GetChild(i)->GetHeaderFileName(), "a.h");
    }
}

} // namespace
