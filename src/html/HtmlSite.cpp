#include "html/HtmlSite.h"

#include "html/HtmlFile.h"
#include "model/ClassNode.h"
#include "model/ClassRoot.h"
#include "model/InfoText.h"

namespace {

const char kGenerator[] = "Vorlix";
const char kFont[] = "Arial";
constexpr std::uint32_t kBlack = 0x000000;
constexpr std::uint32_t kRed = 0x0000FF; // red sits in the lowest byte

void WriteLabel(CHtmlFile& writer, const std::string& text) {
    writer.WriteParagraph(text, true, true, false, true);
}

void WriteValue(CHtmlFile& writer, const std::string& text) {
    writer.WriteParagraph(text, false, false, false, true);
}

std::string CountsText(int derived, int functions, int variables) {
    return std::to_string(derived) + " - " + std::to_string(functions) + " - " +
           std::to_string(variables);
}

} // namespace

std::string HtmlPageTitle(const CClassNode& node) {
    switch (node.GetKind()) {
    case KindRoot: {
        // The root's name went through the spacing rule; a stored root's
        // title names its true location, as the tree does.
        const auto* root = dynamic_cast<const CClassRoot*>(&node);
        if (root != nullptr && !root->m_bNeedsLocation) {
            return "class " + LocationText(*root);
        }
        return "class " + node.GetName();
    }
    case KindClass:
        return "class " + node.GetName();
    case KindFunction:
        if (node.m_pParent != nullptr) {
            return node.GetTypeText() + " " + node.m_pParent->GetName() + "::" + node.GetName() +
                   "(" + node.GetParameters() + ")";
        }
        return node.GetTypeText() + " " + node.GetName() + "(" + node.GetParameters() + ")";
    case KindVariable:
        return node.GetTypeText() + " " + node.GetName();
    default:
        return {};
    }
}

CHtmlSite::CHtmlSite(const CClassNode& node) {
    const CClassNode* top = &node;
    while (top->m_pParent != nullptr) {
        top = top->m_pParent;
    }

    Entry first;
    first.node = top;
    m_entries.push_back(first);
    for (size_t i = 0; i < m_entries.size(); ++i) {
        const CClassNode* current = m_entries[i].node;
        const int firstChild = Size();
        for (int k = 0; k < current->GetChildCount(); ++k) {
            if (const CClassNode* child = current->GetChild(k)) {
                Entry entry;
                entry.node = child;
                entry.parent = static_cast<int>(i);
                m_entries.push_back(entry);
            }
        }
        m_entries[i].firstChild = firstChild;
        m_entries[i].childCount = Size() - firstChild;
    }

    // Children come after their parent, so one backward pass sums the counts.
    for (int i = Size() - 1; i >= 0; --i) {
        Entry& entry = m_entries[Index(i)];
        for (int k = entry.firstChild; k < entry.firstChild + entry.childCount; ++k) {
            const Entry& child = m_entries[Index(k)];
            switch (child.node->GetKind()) {
            case KindClass:
                entry.derived += 1 + child.derived;
                break;
            case KindFunction:
                ++entry.functions;
                break;
            case KindVariable:
                ++entry.variables;
                break;
            default:
                break;
            }
        }
        auto [it, inserted] = m_firstWithId.try_emplace(entry.node->GetId(), i);
        if (!inserted) {
            entry.nextSameId = it->second;
            it->second = i;
        }
    }

    for (int i = 0; i < Size(); ++i) {
        Entry& entry = m_entries[Index(i)];
        entry.linkOffset = m_links.size();
        std::string target = entry.node->GetHtmlFileName();
        for (char& c : target) {
            if (c >= 'A' && c <= 'Z') {
                c = static_cast<char>(c - 'A' + 'a');
            }
        }
        m_links += "<a href=\"";
        CHtmlFile::AppendPageText(target, false, m_links);
        m_links += "\">";
        CHtmlFile::AppendPageText(Label(i), true, m_links);
        m_links += "</a><br>\r\n";
    }
}

int CHtmlSite::Find(const CClassNode* node) const {
    for (int i = 0; i < Size(); ++i) {
        if (m_entries[Index(i)].node == node) {
            return i;
        }
    }
    return -1;
}

std::string CHtmlSite::Label(int entry) const {
    const Entry& e = m_entries[Index(entry)];
    if (e.node->GetChildCount() == 0) {
        return e.node->GetName();
    }
    return e.node->GetName() + " (" + CountsText(e.derived, e.functions, e.variables) + ")";
}

std::string_view CHtmlSite::LinkLine(int entry) const {
    return LinkRun(entry, entry + 1);
}

// The link lines of the entries first .. end-1, which lie back to back.
std::string_view CHtmlSite::LinkRun(int first, int end) const {
    if (first >= end) {
        return {};
    }
    const size_t from = m_entries[Index(first)].linkOffset;
    const size_t to = end < Size() ? m_entries[Index(end)].linkOffset : m_links.size();
    return std::string_view(m_links).substr(from, to - from);
}

// A node is on the path when a node with the current node's ID lies in its
// subtree. Marking the ancestors of every node with that ID gives that
// answer without searching subtrees, for repeated IDs too; the walk stops at
// the first node already marked, so it costs no more than the nodes that the
// page opens.
void CHtmlSite::MarkPathsTo(const CClassNode& current) {
    ++m_epoch;
    const auto it = m_firstWithId.find(current.GetId());
    if (it == m_firstWithId.end()) {
        return;
    }
    for (int same = it->second; same != -1; same = m_entries[Index(same)].nextSameId) {
        for (int k = same; k != -1 && m_entries[Index(k)].mark != m_epoch;
             k = m_entries[Index(k)].parent) {
            m_entries[Index(k)].mark = m_epoch;
        }
    }
}

void CHtmlSite::WriteTree(CHtmlFile& writer, int entry, const CClassNode& current, bool indent) {
    if (entry < 0 || entry >= Size()) {
        return;
    }
    MarkPathsTo(current);
    WriteLevel(writer, entry, current, indent);
}

// One level after the other with an explicit stack: the path to the current
// node can be as deep as the structure.
void CHtmlSite::WriteLevel(CHtmlFile& writer, int entry, const CClassNode& current, bool indent) {
    struct Frame {
        int entry;
        int next;
        int runStart;
        bool indent;
    };
    std::vector<Frame> stack;
    const auto open = [&](int level, bool indented) {
        if (indented) {
            writer.BeginBlockquote(1);
        }
        const int first = m_entries[Index(level)].firstChild;
        stack.push_back({level, first, first, indented});
    };
    open(entry, indent);
    while (!stack.empty()) {
        Frame& frame = stack.back();
        const Entry& parent = m_entries[Index(frame.entry)];
        const int end = parent.firstChild + parent.childCount;
        if (frame.next >= end) {
            writer.WritePageBytes(LinkRun(frame.runStart, end));
            if (frame.indent) {
                writer.EndBlockquote(1);
            }
            stack.pop_back();
            continue;
        }
        const int k = frame.next++;
        const Entry& child = m_entries[Index(k)];
        if (child.mark != m_epoch) {
            continue; // a plain link line, written with its neighbours in one piece
        }
        writer.WritePageBytes(LinkRun(frame.runStart, k));
        frame.runStart = k + 1;
        const bool hasChildren = child.node->GetChildCount() > 0;
        if (child.node == &current) {
            writer.BeginFont(kFont, kRed);
            writer.BeginEmphasis(true, false, false);
            writer.EndSmall(1);
            writer.WriteText(child.node->GetName(), !hasChildren);
            writer.BeginSmall(1);
            writer.EndEmphasis(true, true, true);
            writer.EndFont();
        } else if (hasChildren) {
            std::string_view line = LinkLine(k);
            line.remove_suffix(sizeof("<br>\r\n") - 1);
            writer.WritePageBytes(line);
        } else {
            writer.WritePageBytes(LinkLine(k));
        }
        if (hasChildren) {
            writer.EndParagraph();
            writer.BeginParagraph();
            open(k, true);
        }
    }
}

CHtmlSite::PageResult CHtmlSite::WriteIndexPage(int entry, const std::string& directory) {
    const Entry& e = m_entries[Index(entry)];
    CHtmlFile writer;
    if (!writer.BeginPage(directory + "index.html", HtmlPageTitle(*e.node), kGenerator)) {
        return PageResult::NotCreated;
    }
    writer.BeginFont(kFont, kBlack);
    writer.BeginSmall(1);
    writer.BeginParagraph();
    writer.WritePageBytes(LinkRun(e.firstChild, e.firstChild + e.childCount));
    writer.EndParagraph();
    writer.EndSmall(1);
    writer.EndFont();
    return writer.EndPage() ? PageResult::Written : PageResult::WriteFailed;
}

CHtmlSite::PageResult CHtmlSite::WritePage(int entry, const std::string& directory) {
    const CClassNode& node = Node(entry);
    CHtmlFile writer;
    if (!writer.BeginPage(directory + node.GetHtmlFileName(), HtmlPageTitle(node), kGenerator)) {
        return PageResult::NotCreated;
    }
    writer.BeginFont(kFont, kBlack);
    writer.BeginParagraph();
    writer.WriteLink("index.html", "Zurück zum Index", true);
    writer.EndParagraph();
    writer.EndFont();

    writer.BeginTable(0, 0, 1, 100, -1, true);
    writer.BeginRow();
    writer.BeginCell("top", "left", 60, 100, true);
    writer.BeginSmall(1);
    writer.BeginFont(kFont, kBlack);
    writer.BeginParagraph();
    WriteTree(writer, 0, node, false);
    writer.EndParagraph();
    writer.EndSmall(1);
    writer.EndFont();
    writer.EndCell();

    writer.BeginCell("top", "left", 40, 100, true);
    writer.BeginSmall(1);
    writer.BeginFont(kFont, kBlack);
    WriteDetails(writer, entry);
    writer.EndCell();
    writer.EndSmall(1);
    writer.EndFont();
    writer.EndRow();
    writer.EndTable();
    return writer.EndPage() ? PageResult::Written : PageResult::WriteFailed;
}

void CHtmlSite::WriteDetails(CHtmlFile& writer, int entry) {
    const Entry& e = m_entries[Index(entry)];
    const CClassNode& node = *e.node;
    const int kind = node.GetKind();
    switch (kind) {
    case KindRoot:
    case KindClass:
        WriteLabel(writer, "Klassenname:");
        break;
    case KindFunction:
        WriteLabel(writer, "Funktionsname:");
        break;
    case KindVariable:
        WriteLabel(writer, "Variablenname:");
        break;
    default:
        break;
    }
    WriteValue(writer, node.GetName());
    WriteLabel(writer, "Headerfile:");
    const std::string headerLine =
        node.GetHeaderFileName() + " (Z: " + std::to_string(node.GetLine()) + ")";
    WriteValue(writer, headerLine);

    std::string value;
    switch (kind) {
    case KindRoot:
    case KindClass: {
        WriteLabel(writer, "Abgeleitet von:");
        const bool belowClass = node.m_pParent != nullptr && node.m_pParent->GetId() != -1;
        WriteValue(writer, belowClass ? node.GetAncestry() : std::string("void"));
        WriteLabel(writer, "abgeleitete Klassen:");
        value = CountsText(e.derived, e.functions, e.variables);
        break;
    }
    case KindFunction:
        WriteLabel(writer, "Funktionstyp:");
        WriteValue(writer, node.GetTypeText());
        WriteLabel(writer, "Parameter:");
        value = node.GetParameters();
        break;
    case KindVariable:
        WriteLabel(writer, "Variablentyp:");
        value = node.GetTypeText();
        break;
    default:
        value = headerLine;
        break;
    }
    WriteValue(writer, value);
    WriteLabel(writer, "Beschreibung:");
    WriteValue(writer, node.GetDescription());
}

bool CHtmlSite::WritePagesBelow(int entry, const std::string& directory) {
    // Depth first, each node before its children, without recursion.
    std::vector<int> pending;
    const auto pushChildren = [&](int parent) {
        const Entry& e = m_entries[Index(parent)];
        for (int k = e.firstChild + e.childCount - 1; k >= e.firstChild; --k) {
            pending.push_back(k);
        }
    };
    pushChildren(entry);
    while (!pending.empty()) {
        const int next = pending.back();
        pending.pop_back();
        const PageResult result = WritePage(next, directory);
        if (result == PageResult::WriteFailed) {
            return false;
        }
        if (result == PageResult::NotCreated && m_notCreated != nullptr) {
            m_notCreated->push_back(directory + Node(next).GetHtmlFileName());
        }
        pushChildren(next);
    }
    return true;
}
