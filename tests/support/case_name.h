#pragma once
// Names for the cases of parameterised tests, so that a failing case says which one it is
// (test names may hold only letters, digits and underscores).

#include <string>
#include <string_view>

namespace fw::cases {

// Letters and digits of `text` kept, each run of other characters one underscore, none at
// either end; "Empty" when nothing is left. A leading "-" reads "Minus": "-2" gives "Minus2",
// "G, 0, 0" gives "G_0_0".
inline std::string CaseName(std::string_view text) {
    constexpr std::size_t Longest = 48; // long enough to tell cases apart, short enough to read
    std::string name;
    if (!text.empty() && text.front() == '-') {
        name = "Minus";
        text.remove_prefix(1);
    }
    bool gap = false;
    for (const char ch : text) {
        const bool kept =
            (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z') || (ch >= '0' && ch <= '9');
        if (!kept) {
            gap = !name.empty() && name != "Minus";
            continue;
        }
        if (name.size() >= Longest)
            break;
        if (gap)
            name += '_';
        gap = false;
        name += ch;
    }
    return name.empty() ? "Empty" : name;
}

// The bytes of `bytes` in upper-case hexadecimal ("C3A9"); "Empty" for no bytes.
inline std::string HexName(std::string_view bytes) {
    static constexpr char Digits[] = "0123456789ABCDEF";
    std::string name;
    for (const char ch : bytes) {
        const auto byte = static_cast<unsigned char>(ch);
        name += Digits[byte >> 4];
        name += Digits[byte & 0x0F];
    }
    return name.empty() ? "Empty" : name;
}

// "Case<index>_" + CaseName(text): unique within a table however alike its texts are, and
// still saying which case it is ("Case3_G_0_0_0_0_0_Q").
inline std::string IndexedCaseName(std::size_t index, std::string_view text) {
    return "Case" + std::to_string(index) + "_" + CaseName(text);
}

// A number as a name part: "Minus5", "0", "127".
inline std::string NumberName(long long value) {
    return value < 0 ? "Minus" + std::to_string(-value) : std::to_string(value);
}

} // namespace fw::cases
