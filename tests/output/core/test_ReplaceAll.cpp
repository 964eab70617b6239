// ReplaceAll against a plain reference on inputs where the two search methods could differ.
#include "output/core/ReplaceAll.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>

namespace {

// A plain search from each match's end: slow but obviously right.
std::string Reference(const std::string &text, const std::string &find, const std::string &replacement,
                      bool caseSensitive)
{
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    const auto same = [&](char a, char b) { return caseSensitive ? a == b : lower(a) == lower(b); };
    if (find.empty())
        return text;
    std::string result;
    for (auto at = text.begin();;) {
        const auto hit = std::search(at, text.end(), find.begin(), find.end(), same);
        result.append(at, hit);
        if (hit == text.end())
            return result;
        result += replacement;
        at = hit + static_cast<std::ptrdiff_t>(find.size());
    }
}

} // namespace

TEST(ReplaceAll, AgreesWithReferenceOnRandomInputs)
{
    std::mt19937 random(20240611);
    // A small alphabet makes matches and near-matches frequent; the bytes above 127 check that the
    // skip table is indexed unsigned and that only ASCII letters are folded.
    const std::string alphabet = "aAbBc\xE9\xC9/";
    auto randomText = [&](std::size_t length) {
        std::string s;
        for (std::size_t i = 0; i < length; ++i)
            s += alphabet[random() % alphabet.size()];
        return s;
    };
    for (int round = 0; round < 20000; ++round) {
        // Empty, both sides of the Horspool threshold, and runs of one byte that skip by 1.
        const std::string find = random() % 8 == 0 ? std::string(9 + random() % 8, 'z') : randomText(random() % 17);
        std::string text = randomText(random() % 120);
        // Plant copies of find, often at the very start or end, so long patterns match too.
        for (int plants = static_cast<int>(random() % 4); plants > 0; --plants) {
            const std::size_t at = random() % 3 == 0 ? 0 : random() % 3 == 0 ? text.size() : random() % (text.size() + 1);
            text.insert(at, find);
        }
        const std::string replacement = random() % 4 == 0 ? find + "x" : randomText(random() % 5);
        const bool caseSensitive = random() % 2 == 0;
        ASSERT_EQ(ReplaceAll(text, find, replacement, caseSensitive), Reference(text, find, replacement, caseSensitive))
            << "text '" << text << "' find '" << find << "' replacement '" << replacement << "' case " << caseSensitive;
    }
}
