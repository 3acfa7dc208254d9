#pragma once
// Names for the cases of parameterised tests, so that a failing case says which one it is
// (test names may hold only letters, digits and underscores).

#include <string>
#include <string_view>

namespace fw::testing {

// Letters and digits of `text` kept, each run of other characters one underscore, none at
// either end; "Empty" when nothing is left. A leading "-" reads "Minus": "-2" gives "Minus2",
// "G, 0, 0" gives "G_0_0".
inline std::string CaseName(std::string_view text) {
    std::string name;
    if (!text.empty() && text.front() == '-')
        name = "Minus";
    bool gap = false;
    for (const char ch : text) {
        const bool kept =
            (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z') || (ch >= '0' && ch <= '9');
        if (!kept) {
            gap = !name.empty();
            continue;
        }
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

// A number as a name part: "Minus5", "0", "127".
inline std::string NumberName(long long value) {
    return value < 0 ? "Minus" + std::to_string(-value) : std::to_string(value);
}

} // namespace fw::testing
