#pragma once

#include "model/TreeControl.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <string>
#include <vector>

// A tree control in memory: items with texts and ordered children, sorted
// case-insensitively on request, as the real control does.
class CRecordingTreeControl : public ITreeControl {
public:
    TreeItemHandle InsertItem(const std::string& text, TreeItemHandle parent) override {
        texts.push_back(text);
        children.emplace_back();
        children[parent].push_back(texts.size() - 1);
        return texts.size() - 1;
    }

    void SortChildren(TreeItemHandle item) override {
        ++sortCalls;
        auto& list = children[item];
        std::stable_sort(list.begin(), list.end(), [this](TreeItemHandle a, TreeItemHandle b) {
            return std::ranges::lexicographical_compare(texts[a], texts[b], {}, Lower, Lower);
        });
    }

    void Expand(TreeItemHandle item, int code) override {
        expanded[item] = code;
        ++expandCalls;
    }

    // Texts of the children of an item, in their order.
    std::vector<std::string> ChildTexts(TreeItemHandle item) {
        std::vector<std::string> result;
        for (TreeItemHandle child : children[item]) {
            result.push_back(texts[child]);
        }
        return result;
    }

    // By handle; 0 is the invisible top.
    std::vector<std::string> texts{""};
    std::vector<std::vector<TreeItemHandle>> children{{}};
    std::map<TreeItemHandle, int> expanded;
    int sortCalls = 0;
    int expandCalls = 0;

private:
    static int Lower(unsigned char c) { return std::tolower(c); }
};
