#include "model/ClassNode.h"

#include <cstring>
#include <gtest/gtest.h>
#include <random>

namespace {

// The rules as written: walk left to right, insert in place. 'N'ame: no blank
// inside "=="; 'T'ype: a blank after every mark; 'P'arameters: fewer marks,
// and a blank before "=" too.
std::string InPlace(std::string text, char rule) {
    const char* marks = rule == 'P' ? ",=&*" : ",=&*+-";
    for (size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != '\0' && std::strchr(marks, text[i]) != nullptr && text[i + 1] != ' ' &&
            !(rule == 'N' && text[i] == '=' && text[i + 1] == '=')) {
            text.insert(i + 1, 1, ' ');
        }
        if (rule == 'P' && text[i] != ' ' && text[i + 1] == '=') {
            text.insert(i + 1, 1, ' ');
        }
    }
    return text;
}

TEST(SpacingRules, OnePassAgreesWithInsertingInPlace) {
    std::mt19937 random(1234);
    const std::string alphabet = " ,=&*+-ab=";
    CClassNode node;
    for (int round = 0; round < 20000; ++round) {
        std::string text;
        for (int n = static_cast<int>(random() % 17); n > 0; --n) {
            text += alphabet[random() % alphabet.size()];
        }
        node.SetName(text);
        node.SetTypeText(text);
        node.SetParameters(text);
        ASSERT_EQ(node.GetName(), InPlace(text, 'N')) << "text '" << text << "'";
        ASSERT_EQ(node.GetTypeText(), InPlace(text, 'T')) << "text '" << text << "'";
        ASSERT_EQ(node.GetParameters(), InPlace(text, 'P')) << "text '" << text << "'";
    }
}

} // namespace
