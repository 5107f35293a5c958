#include "model/ClassNode.h"

#include <cstring>
#include <gtest/gtest.h>
#include <random>

namespace {

bool IsOneOf(char c, const char* set) {
    return c != '\0' && std::strchr(set, c) != nullptr;
}

// The three rules as written: walk left to right, insert in place.
std::string InPlaceName(std::string text) {
    for (size_t i = 0; i + 1 < text.size(); ++i) {
        if (IsOneOf(text[i], ",=&*+-") && text[i + 1] != ' ' &&
            !(text[i] == '=' && text[i + 1] == '=')) {
            text.insert(i + 1, 1, ' ');
        }
    }
    return text;
}

std::string InPlaceType(std::string text) {
    for (size_t i = 0; i + 1 < text.size(); ++i) {
        if (IsOneOf(text[i], ",=&*+-") && text[i + 1] != ' ') {
            text.insert(i + 1, 1, ' ');
        }
    }
    return text;
}

std::string InPlaceParameters(std::string text) {
    for (size_t i = 0; i + 1 < text.size(); ++i) {
        if (IsOneOf(text[i], ",=&*") && text[i + 1] != ' ') {
            text.insert(i + 1, 1, ' ');
        }
        if (text[i] != ' ' && text[i + 1] == '=') {
            text.insert(i + 1, 1, ' ');
        }
    }
    return text;
}

TEST(SpacingRules, OnePassAgreesWithInsertingInPlace) {
    std::mt19937 random(1234);
    const std::string alphabet = " ,=&*+-ab=";
    std::uniform_int_distribution<size_t> pick(0, alphabet.size() - 1);
    std::uniform_int_distribution<int> length(0, 16);
    CClassNode node;
    for (int round = 0; round < 20000; ++round) {
        std::string text;
        for (int n = length(random); n > 0; --n) {
            text += alphabet[pick(random)];
        }
        node.SetName(text);
        node.SetTypeText(text);
        node.SetParameters(text);
        ASSERT_EQ(node.GetName(), InPlaceName(text)) << "text '" << text << "'";
        ASSERT_EQ(node.GetTypeText(), InPlaceType(text)) << "text '" << text << "'";
        ASSERT_EQ(node.GetParameters(), InPlaceParameters(text)) << "text '" << text << "'";
    }
}

// A parameter list of a generated header: every comma gets its blank.
TEST(SpacingRules, LongParameterList) {
    std::string list = "int a";
    std::string expected = "int a";
    for (int i = 0; i < 100000; ++i) {
        list += ",int a";
        expected += ", int a";
    }
    CClassNode node;
    node.SetParameters(list);
    EXPECT_EQ(node.GetParameters(), expected);
}

} // namespace
