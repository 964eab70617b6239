// ReplaceAll against a plain reference, plus the cases where the two search methods could differ.
#include "output/core/ReplaceAll.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace {

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool MatchesAt(const std::string &text, std::size_t pos, const std::string &find, bool caseSensitive)
{
    if (pos + find.size() > text.size())
        return false;
    for (std::size_t i = 0; i < find.size(); ++i) {
        const char a = text[pos + i];
        const char b = find[i];
        if (caseSensitive ? a != b : Lower(a) != Lower(b))
            return false;
    }
    return true;
}

// Byte by byte, no skipping: slow but obviously right.
std::string Reference(const std::string &text, const std::string &find, const std::string &replacement,
                      bool caseSensitive)
{
    if (find.empty())
        return text;
    std::string result;
    std::size_t i = 0;
    while (i < text.size()) {
        if (MatchesAt(text, i, find, caseSensitive)) {
            result += replacement;
            i += find.size();
        } else {
            result += text[i++];
        }
    }
    return result;
}

struct TCase {
    const char *Text;
    const char *Find;
    const char *Replacement;
    bool CaseSensitive;
    const char *Expected;
};

} // namespace

TEST(ReplaceAll, KnownCases)
{
    const TCase cases[] = {
        {"", "a", "b", true, ""},
        {"abc", "", "x", true, "abc"},
        {"abc", "", "x", false, "abc"},
        {"C:\\web\\images\\a.gif", "\\", "/", true, "C:/web/images/a.gif"},
        {"aaaa", "aa", "a", true, "aa"},                      // non-overlapping, left to right
        {"aaa", "aa", "b", true, "ba"},
        {"abab", "ab", "abab", true, "abababab"},             // replacement holding find is not rescanned
        {"xyzxyzxyzxyzxyz", "xyzxyzxyz", "Qxyzxyzxyz", true, "Qxyzxyzxyzxyzxyz"},
        {"Hello HELLO hello", "hello", "bye", false, "bye bye bye"},
        {"Hello HELLO hello", "hello", "bye", true, "Hello HELLO bye"},
        {"MiXeD case Kept", "CASE", "x", false, "MiXeD x Kept"}, // unmatched text keeps its case
        {"c:\\WEB\\Index.html", "C:\\Web\\", "", false, "Index.html"},
        {"0123456789abcdef0123456789abcdef", "0123456789abcdef", "<>", true, "<><>"}, // both ends
        {"abcdefghiXabcdefghi", "abcdefghi", "", true, "X"},
        {"short", "longer than text", "x", true, "short"},
        {"zzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzz", "zzzzzzzzzzzz", "-", true, "---zzz"}, // skip of 1
        {"a\xF0\xF0\xF0\xF0\xF0\xF0\xF0\xF0\xF0" "b", "\xF0\xF0\xF0\xF0\xF0\xF0\xF0\xF0\xF0", "#", true, "a#b"},
        {"\xE4\xC4 \xC4", "\xE4", "e", false, "e\xC4 \xC4"}, // only ASCII letters are folded
    };
    for (const TCase &c : cases) {
        EXPECT_EQ(ReplaceAll(c.Text, c.Find, c.Replacement, c.CaseSensitive), c.Expected)
            << "text '" << c.Text << "' find '" << c.Find << "' case " << c.CaseSensitive;
    }
}

TEST(ReplaceAll, AgreesWithReferenceOnRandomInputs)
{
    std::mt19937 random(20240611);
    // A small alphabet makes matches and near-matches frequent; the byte above 127 checks that the
    // skip table is indexed unsigned.
    const std::string alphabet = "aAbBc\xE9/";
    auto randomText = [&](std::size_t length) {
        std::string s;
        for (std::size_t i = 0; i < length; ++i)
            s += alphabet[random() % alphabet.size()];
        return s;
    };
    for (int round = 0; round < 20000; ++round) {
        const std::size_t findLength = 1 + random() % 16; // both sides of the Horspool threshold
        const std::string find = randomText(findLength);
        std::string text = randomText(random() % 120);
        // Plant copies of find, often at the very start or end, so long patterns match too.
        const int plants = static_cast<int>(random() % 4);
        for (int p = 0; p < plants; ++p) {
            const std::size_t at = random() % 3 == 0 ? 0 : random() % 3 == 0 ? text.size() : random() % (text.size() + 1);
            text.insert(at, find);
        }
        const std::string replacement = random() % 4 == 0 ? find + "x" : randomText(random() % 5);
        const bool caseSensitive = random() % 2 == 0;
        ASSERT_EQ(ReplaceAll(text, find, replacement, caseSensitive),
                  Reference(text, find, replacement, caseSensitive))
            << "text '" << text << "' find '" << find << "' replacement '" << replacement
            << "' case " << caseSensitive;
    }
}
