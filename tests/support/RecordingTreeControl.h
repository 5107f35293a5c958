#pragma once

#include "model/TreeControl.h"

#include <algorithm>
#include <map>
#include <string>
#include <vector>

// A tree control in memory: items with texts and ordered children, sorted
// case-insensitively on request, as the real control does.
class CRecordingTreeControl : public ITreeControl {
public:
    TreeItemHandle InsertItem(const std::string& text, TreeItemHandle parent) override {
        texts[++m_last] = text;
        children[parent].push_back(m_last);
        return m_last;
    }

    void SortChildren(TreeItemHandle item) override {
        ++sortCalls;
        auto& list = children[item];
        std::stable_sort(list.begin(), list.end(), [this](TreeItemHandle a, TreeItemHandle b) {
            return Lower(texts[a]) < Lower(texts[b]);
        });
    }

    void Expand(TreeItemHandle item, int code) override { expanded[item] = code; }

    // Texts of the children of an item, in their order.
    std::vector<std::string> ChildTexts(TreeItemHandle item) {
        std::vector<std::string> result;
        for (TreeItemHandle child : children[item]) {
            result.push_back(texts[child]);
        }
        return result;
    }

    std::map<TreeItemHandle, std::string> texts;
    std::map<TreeItemHandle, std::vector<TreeItemHandle>> children;
    std::map<TreeItemHandle, int> expanded;
    int sortCalls = 0;

private:
    static std::string Lower(std::string s) {
        std::transform(s.begin(), s.end(), s.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        return s;
    }
    TreeItemHandle m_last = 0;
};
