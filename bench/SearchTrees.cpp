#include "SearchTrees.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>
#include <regex>
#include <vector>

namespace fs = std::filesystem;

namespace {

void WriteFile(const fs::path& path, const std::string& text, TreeFigures& figures) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
    ++figures.files;
    figures.bytes += static_cast<long long>(text.size());
    if (path.extension() == ".h") {
        ++figures.headers;
    } else {
        ++figures.sources;
    }
}

// Built by appending: "x" + std::to_string(n) + "y" trips a false
// -Wrestrict in GCC 12.
std::string Numbered(const char* prefix, int n, const char* suffix) {
    std::string s(prefix);
    s += std::to_string(n);
    s += suffix;
    return s;
}

std::string Widget(int n) {
    return "Widget" + std::to_string(n);
}

class CCodeWriter {
public:
    explicit CCodeWriter(unsigned seed) : m_random(seed) {}

    int Below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(m_random); }

    std::string ClassDeclaration(int n) {
        std::string s = "/**\n * " + Widget(n) + " keeps the state of one part.\n */\n";
        s += "class " + Widget(n) + " : public " + Widget(Below(1000)) + ", protected Base\n{\n";
        s += "public:\n    " + Widget(n) + "();\n    virtual ~" + Widget(n) + "();\n";
        for (int m = 0; m < 6; ++m) {
            s += "    int Method" + std::to_string(m) + "(const " + Widget(Below(1000)) +
                 "& other, int nCount = 0);\n";
        }
        s += "    void Draw(); // paints it\nprotected:\n";
        s += "    " + Widget(Below(1000)) + "* m_pPartner;\n    int m_nState;\n";
        s += "private:\n    static const char* s_szName; /* \"quoted\" */\n};\n\n";
        s += "inline int " + Widget(n) + "::Method0(const " + Widget(Below(1000)) +
             "& other, int nCount)\n{\n    return nCount + other.m_nState;\n}\n\n";
        return s;
    }

    std::string Function(int owner) {
        const int m = Below(6);
        std::string s;
        if (Below(3) == 0) {
            s += "// Checks the partner before it draws.\n";
        }
        s += "int " + Widget(owner) + "::Method" + std::to_string(m) + "(const " +
             Widget(Below(1000)) + "& other, int nCount)\n{\n";
        s += "    " + Widget(Below(1000)) + " helper(nCount);\n";
        s += "    if (nCount > 0 && m_pPartner != nullptr) {\n";
        s += "        for (int i = 0; i < nCount; ++i) {\n";
        s += "            m_nState += other.Method1(helper, i); /* keep going */\n";
        s += "        }\n    }\n";
        if (Below(2) == 0) {
            s += "    helper.Draw();\n";
        }
        s += "    Trace(\"" + Widget(owner) + "::Method {\\\"done\\\"} // ok\");\n";
        s += "#ifdef VERBOSE\n    Dump(helper, \\\n         other);\n#endif\n";
        s += "    return m_nState;\n}\n\n";
        return s;
    }

private:
    std::mt19937 m_random;
};

std::string HeaderText(CCodeWriter& writer, int folder, int index, int targetBytes) {
    std::string s = "#ifndef MOD" + std::to_string(folder) + "_H" + std::to_string(index) +
                    "\n#define MOD" + std::to_string(folder) + "_H" + std::to_string(index) +
                    "\n\n#include \"../common/base.h\"\n#include <vector>\n\n";
    while (static_cast<int>(s.size()) < targetBytes) {
        s += writer.ClassDeclaration(writer.Below(1000));
    }
    return s + "#endif\n";
}

std::string SourceText(CCodeWriter& writer, int folder, int index, int targetBytes) {
    std::string s = "/* Module " + std::to_string(folder) + "." + std::to_string(index) +
                    ": generated */\n#include \"h" + std::to_string(index % 20) +
                    ".h\"\n#include \"..\\mod" + std::to_string((folder + 1) % 50) +
                    "\\h0.h\"\n#include <string>\n\n";
    const bool inNamespace = index % 4 == 0;
    if (inNamespace) {
        s += "namespace gen {\n\n";
    }
    while (static_cast<int>(s.size()) < targetBytes) {
        s += writer.Function(writer.Below(1000));
    }
    if (inNamespace) {
        s += "} // namespace gen\n";
    }
    return s;
}

} // namespace

TreeFigures WriteGeneratedTree(const std::string& root, int folders, int targetBytes,
                               int sourcesPerFolder) {
    TreeFigures figures;
    CCodeWriter writer(42);
    WriteFile(fs::path(root) / "common/base.h",
              "class Base\n{\npublic:\n    virtual ~Base();\n    int m_nId;\n};\n", figures);
    for (int folder = 0; folder < folders; ++folder) {
        const fs::path dir = fs::path(root) / Numbered("mod", folder, "");
        for (int h = 0; h < 20; ++h) {
            WriteFile(dir / Numbered("h", h, ".h"), HeaderText(writer, folder, h, targetBytes),
                      figures);
        }
        for (int c = 0; c < sourcesPerFolder; ++c) {
            WriteFile(dir / Numbered("s", c, ".cpp"), SourceText(writer, folder, c, targetBytes),
                      figures);
        }
    }
    return figures;
}

TreeFigures WriteRealHeaderTree(const std::string& root, const std::string& vorlixSources) {
    TreeFigures figures;
    const fs::path qt = "/usr/include/x86_64-linux-gnu/qt6";
    std::error_code ec;
    if (!fs::is_directory(qt, ec)) {
        return figures;
    }
    std::vector<std::pair<std::string, std::string>> classes; // include name, class
    for (const char* module : {"QtCore", "QtGui", "QtWidgets"}) {
        std::vector<fs::path> headers;
        for (const auto& entry : fs::directory_iterator(qt / module, ec)) {
            if (entry.path().extension() == ".h") {
                headers.push_back(entry.path());
            }
        }
        std::sort(headers.begin(), headers.end());
        for (const fs::path& header : headers) {
            std::ifstream in(header, std::ios::binary);
            const std::string text((std::istreambuf_iterator<char>(in)),
                                   std::istreambuf_iterator<char>());
            WriteFile(fs::path(root) / module / header.filename(), text, figures);
            // The first exported class of the header, as application code uses it.
            std::smatch match;
            static const std::regex exported("class Q_[A-Z]+_EXPORT (Q[A-Za-z0-9]+)[ :\n{]");
            if (std::regex_search(text, match, exported)) {
                classes.emplace_back(std::string(module) + "/" + header.filename().string(),
                                     match[1].str());
            }
        }
    }
    for (const auto& entry : fs::recursive_directory_iterator(vorlixSources, ec)) {
        const std::string ext = entry.path().extension().string();
        if (ext == ".h" || ext == ".cpp") {
            std::ifstream in(entry.path(), std::ios::binary);
            const std::string text((std::istreambuf_iterator<char>(in)),
                                   std::istreambuf_iterator<char>());
            WriteFile(fs::path(root) / "vorlix" / fs::relative(entry.path(), vorlixSources, ec),
                      text, figures);
        }
    }
    // Sources that use the headers' classes the way application code does.
    CCodeWriter writer(7);
    const int sources = std::min<int>(300, static_cast<int>(classes.size()) * 2);
    for (int i = 0; i < sources && !classes.empty(); ++i) {
        const auto& [include, cls] = classes[static_cast<size_t>(i) % classes.size()];
        const auto& other =
            classes[static_cast<size_t>(writer.Below(static_cast<int>(classes.size())))];
        std::string s = "#include \"" + include + "\"\n#include \"" + other.first +
                        "\"\n#include \"QtCore/qstring.h\"\n\n";
        for (int f = 0; f < 12; ++f) {
            s += "// Part " + std::to_string(f) + " of the view.\n";
            s += "void View" + std::to_string(i) + "::Update" + std::to_string(f) + "(const " +
                 cls + "& item)\n{\n";
            s += "    " + other.second + " helper;\n    QString text = \"" + cls +
                 " {\" + QString::number(" + std::to_string(f) + ");\n";
            s += "    if (!text.isEmpty()) {\n        text.append(helper.objectName());\n    }\n";
            if (f % 4 == 0) {
                s += "    QWidget* window = item.window();\n";
            }
            s += "    emit changed(item, text); /* tell the others */\n}\n\n";
        }
        WriteFile(fs::path(root) / "app" / ("view" + std::to_string(i) + ".cpp"), s, figures);
    }
    return figures;
}

TreeFigures WriteIncludeGraphTree(const std::string& root, int headers, bool clique) {
    TreeFigures figures;
    std::mt19937 random(13);
    const auto include = [](int i) { return Numbered("#include \"h", i, ".h\"\n"); };
    for (int i = 0; i < headers; ++i) {
        std::string s;
        if (clique) {
            for (int j = 0; j < headers; ++j) {
                s += include(j);
            }
        } else {
            s += include((i + 1) % headers);
            for (int k = 0; k < 2; ++k) {
                s += include(std::uniform_int_distribution<int>(0, headers - 1)(random));
            }
        }
        s += Numbered("class C", i, " : public ") + Numbered("B", i, " { int x; };\n");
        WriteFile(fs::path(root) / Numbered("h", i, ".h"), s, figures);
    }
    WriteFile(fs::path(root) / "a.cpp", "#include \"h0.h\"\nvoid K::Run() { m.Draw(); }\n",
              figures);
    return figures;
}

TreeFigures WriteInlineHeavyTree(const std::string& root, int functions) {
    TreeFigures figures;
    std::string s = "class A : public Base { int x; };\n";
    for (int i = 0; i < functions; ++i) {
        s += Numbered("inline int f", i, "() { return 1; }\n");
    }
    WriteFile(fs::path(root) / "big.h", s, figures);
    WriteFile(fs::path(root) / "a.cpp", "#include \"big.h\"\nvoid K::Run() { m.Draw(); }\n",
              figures);
    return figures;
}
