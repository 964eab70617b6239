#include "cli/core/HtmlNumbers.h"

#include <algorithm>
#include <charconv>
#include <string>

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool IsListSeparator(char c) { return c == ',' || c == ';' || IsAsciiSpace(c); }

} // namespace

bool IsAsciiSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\f' || c == '\r'; }

std::string_view TrimAsciiSpace(std::string_view text)
{
    while (!text.empty() && IsAsciiSpace(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsAsciiSpace(text.back()))
        text.remove_suffix(1);
    return text;
}

std::optional<double> ParseNumber(std::string_view text, std::size_t *used)
{
    const auto digitsFrom = [&](std::size_t from) {
        while (from < text.size() && IsDigit(text[from]))
            ++from;
        return from;
    };
    std::size_t i = 0;
    const bool negative = i < text.size() && text[i] == '-';
    if (i < text.size() && (text[i] == '-' || text[i] == '+'))
        ++i;
    const std::string_view whole = text.substr(i, digitsFrom(i) - i);
    i += whole.size();
    std::string_view fraction;
    if (i < text.size() && text[i] == '.' && (!whole.empty() || digitsFrom(i + 1) > i + 1)) {
        fraction = text.substr(i + 1, digitsFrom(i + 1) - i - 1);
        i += 1 + fraction.size();
    }
    if (whole.empty() && fraction.empty())
        return std::nullopt;
    long long exponent = 0;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        const bool down = j < text.size() && text[j] == '-';
        if (j < text.size() && (text[j] == '-' || text[j] == '+'))
            ++j;
        if (j < text.size() && IsDigit(text[j])) {
            for (i = j; i < text.size() && IsDigit(text[i]); ++i)
                exponent = std::min(exponent * 10 + (text[i] - '0'), 1000000LL);
            exponent = down ? -exponent : exponent;
        }
    }
    if (used)
        *used = i;
    // Rewritten in the one form from_chars reads, which keeps the result free of the locale.
    const std::string plain = (negative ? "-" : "") + std::string(whole.empty() ? "0" : whole) + "."
                              + std::string(fraction) + "0e" + std::to_string(exponent);
    double value = 0;
    if (std::from_chars(plain.data(), plain.data() + plain.size(), value).ec == std::errc::result_out_of_range) {
        // Below the smallest double reads as 0; beyond the largest is no number.
        const std::string digits = std::string(whole) + std::string(fraction);
        const std::size_t first = digits.find_first_not_of('0');
        if (static_cast<long long>(whole.size()) - static_cast<long long>(first) + exponent > 0)
            return std::nullopt;
        value = 0;
    }
    return value == 0 ? 0.0 : value;
}

TNumberList ParseNumberList(std::string_view text)
{
    TNumberList list;
    std::size_t i = 0;
    while (i < text.size() && IsListSeparator(text[i]))
        ++i;
    while (i < text.size()) {
        const std::size_t start = i;
        while (i < text.size() && !IsListSeparator(text[i]) && !IsDigit(text[i]) && text[i] != '.' && text[i] != '-')
            ++i;
        const std::size_t numberStart = i;
        while (i < text.size() && !IsListSeparator(text[i]))
            ++i;
        std::size_t used = 0;
        const std::optional<double> number = ParseNumber(text.substr(numberStart, i - numberStart), &used);
        list.Numbers.push_back(number.value_or(0));
        if (!number || numberStart != start || numberStart + used != i)
            list.Clean = false;
        while (i < text.size() && IsListSeparator(text[i]))
            ++i;
    }
    return list;
}

std::optional<TDimension> ParseDimension(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && IsAsciiSpace(text[i]))
        ++i;
    if (i >= text.size() || !IsDigit(text[i]))
        return std::nullopt;
    const std::size_t start = i;
    while (i < text.size() && IsDigit(text[i]))
        ++i;
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && IsDigit(text[i]))
            ++i;
    }
    TDimension dimension;
    std::size_t used = 0;
    dimension.Value = ParseNumber(text.substr(start, i - start), &used).value_or(0);
    dimension.Percent = i < text.size() && text[i] == '%';
    return dimension;
}
