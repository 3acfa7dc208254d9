#include "text_rules.h"

#include <charconv>
#include <cstdint>

namespace fw {

namespace {
bool IsTrimmed(unsigned char c) {
    return c <= 32;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool IsContinuationByte(unsigned char c) {
    return (c & 0xC0) == 0x80;
}
} // namespace

std::string_view TrimView(std::string_view text) {
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && IsTrimmed(static_cast<unsigned char>(text[first])))
        ++first;
    while (last > first && IsTrimmed(static_cast<unsigned char>(text[last - 1])))
        --last;
    return text.substr(first, last - first);
}

std::string Trim(std::string_view text) {
    return std::string(TrimView(text));
}

std::string UpperCase(std::string_view text) {
    std::string result(text);
    for (char& c : result)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return result;
}

std::optional<int> ReadInteger(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    const bool hex = i < text.size() && text[i] == '$';
    if (hex)
        ++i;
    if (i >= text.size())
        return std::nullopt;
    const std::int64_t limit = negative ? 2147483648LL : 2147483647LL;
    std::int64_t value = 0;
    for (; i < text.size(); ++i) {
        const int digit =
            hex ? HexDigit(text[i]) : (text[i] >= '0' && text[i] <= '9' ? text[i] - '0' : -1);
        if (digit < 0)
            return std::nullopt;
        value = value * (hex ? 16 : 10) + digit;
        if (value > limit)
            return std::nullopt;
    }
    const std::int64_t signedValue = negative ? -value : value;
    if (signedValue == 2147483647LL)
        return std::nullopt;
    return static_cast<int>(signedValue);
}

std::string_view FirstCharsView(std::string_view text, std::size_t count) {
    // A text of at most `count` bytes has at most `count` characters.
    if (text.size() <= count)
        return text;
    std::size_t chars = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (IsContinuationByte(static_cast<unsigned char>(text[i])))
            continue;
        if (chars == count)
            return text.substr(0, i);
        ++chars;
    }
    return text;
}

std::string FirstChars(std::string_view text, std::size_t count) {
    return std::string(FirstCharsView(text, count));
}

std::size_t CharCount(std::string_view text) {
    std::size_t chars = 0;
    for (char c : text)
        if (!IsContinuationByte(static_cast<unsigned char>(c)))
            ++chars;
    return chars;
}

std::optional<int> ReadWholeNumber(std::string_view text) {
    text = TrimView(text);
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

} // namespace fw
