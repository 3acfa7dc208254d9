// Chord names above a staff.

#include "tab_chord_names.h"

#include <array>

namespace fw::tabstaff {

namespace {

constexpr std::size_t TabStop = 8;
constexpr int MaxQualityParts = 6;

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// The length of the quality part at the start of `rest`, or 0.
std::size_t QualityPart(std::string_view rest) {
    static constexpr std::array<std::string_view, 9> Words = {"maj", "min", "dim", "aug", "sus",
                                                              "add", "m",   "M",   "+"};
    for (const std::string_view word : Words)
        if (rest.substr(0, word.size()) == word)
            return word.size();
    std::size_t n = 0;
    if (!rest.empty() && (rest[0] == '#' || rest[0] == 'b') && rest.size() > 1 && IsDigit(rest[1]))
        n = 1;
    const std::size_t digits = n;
    while (n < rest.size() && IsDigit(rest[n]) && n - digits < 2)
        ++n;
    return n > digits ? n : 0;
}

bool IsRoot(std::string_view text, std::size_t& pos) {
    if (pos >= text.size() || text[pos] < 'A' || text[pos] > 'G')
        return false;
    ++pos;
    if (pos < text.size() && (text[pos] == '#' || text[pos] == 'b'))
        ++pos;
    return true;
}

} // namespace

bool LooksLikeChordName(std::string_view word) {
    std::size_t pos = 0;
    if (!IsRoot(word, pos))
        return false;
    int parts = 0;
    while (pos < word.size() && word[pos] != '/') {
        const std::size_t n = QualityPart(word.substr(pos));
        if (n == 0 || ++parts > MaxQualityParts)
            return false;
        pos += n;
    }
    if (pos == word.size())
        return true;
    ++pos; // the slash of a bass note
    return IsRoot(word, pos) && pos == word.size();
}

std::optional<std::vector<PlacedName>> ReadChordNameLine(std::string_view line) {
    std::optional<std::vector<PlacedName>> names = ReadStaffTopLine(line, false, nullptr);
    if (!names || names->empty())
        return std::nullopt;
    return names;
}

std::optional<int> EndingNumber(std::string_view word) {
    while (!word.empty() && (word.front() == '[' || word.front() == '|'))
        word.remove_prefix(1);
    while (!word.empty() && std::string_view("_-]").find(word.back()) != std::string_view::npos)
        word.remove_suffix(1);
    if (word.size() < 2 || word.size() > 3 || word.back() != '.')
        return std::nullopt;
    int number = 0;
    for (const char c : word.substr(0, word.size() - 1)) {
        if (!IsDigit(c))
            return std::nullopt;
        number = number * 10 + (c - '0');
    }
    if (number < 1)
        return std::nullopt;
    return number;
}

// A meter sign "3/4": one or two digits over 1, 2, 4, 8, 16, 32 or 64.
bool IsMeterSign(std::string_view word) {
    const std::size_t slash = word.find('/');
    if (slash == std::string_view::npos || slash == 0 || slash > 2 || slash + 1 >= word.size())
        return false;
    for (std::size_t i = 0; i < word.size(); ++i)
        if (i != slash && !IsDigit(word[i]))
            return false;
    const std::string_view unit = word.substr(slash + 1);
    return unit == "1" || unit == "2" || unit == "4" || unit == "8" || unit == "16" ||
           unit == "32" || unit == "64";
}

// A repeat count sign "x3": its count, or 0.
int CountSign(std::string_view word) {
    if (word.size() < 2 || word.size() > 3 || word[0] != 'x')
        return 0;
    int count = 0;
    for (const char c : word.substr(1)) {
        if (!IsDigit(c))
            return 0;
        count = count * 10 + (c - '0');
    }
    return count;
}

std::optional<std::vector<PlacedName>> ReadStaffTopLine(std::string_view line, bool anyWords,
                                                        StructureSigns* signs) {
    std::string text;
    for (const char c : line) {
        if (c == '\t')
            text.append(TabStop - text.size() % TabStop, ' ');
        else
            text += c;
    }
    std::vector<PlacedName> names;
    bool numbered = false; // the first word was a measure number
    std::size_t signStart = std::string::npos;
    std::size_t signEnd = std::string::npos - 1;
    std::size_t i = 0;
    while (i < text.size()) {
        if (text[i] == ' ' || text[i] == '\r') {
            ++i;
            continue;
        }
        std::size_t j = i;
        while (j < text.size() && text[j] != ' ' && text[j] != '\r')
            ++j;
        const std::string_view word(text.data() + i, j - i);
        const bool separator = word.find_first_not_of("|-_[]") == std::string_view::npos;
        const bool digits = word.find_first_not_of("0123456789") == std::string_view::npos;
        const bool measureNumber = !numbered && names.empty() && digits && i == 0;
        numbered = numbered || measureNumber;
        if (signs && !measureNumber &&
            (EndingNumber(word) || IsMeterSign(word) || CountSign(word) > 0 || word == "3")) {
            if (const std::optional<int> ending = EndingNumber(word))
                signs->endings.push_back({i, std::to_string(*ending)});
            else if (IsMeterSign(word))
                signs->meters.push_back({i, std::string(word)});
            else if (CountSign(word) > 0)
                signs->counts.push_back({i, std::to_string(CountSign(word))});
            numbered = true; // a line of signs is read even without names
            signStart = i;
            signEnd = j;
        } else if (!separator && !measureNumber) {
            if (!anyWords && !LooksLikeChordName(word))
                return std::nullopt;
            names.push_back(
                {i, std::string(word), signEnd + 1 == i ? signStart : std::string::npos});
        } else if (!separator) {
            signStart = i; // a sign or a measure number
            signEnd = j;
        }
        i = j;
    }
    if (names.empty() && !numbered)
        return std::nullopt;
    return names;
}

std::string NameOver(const std::vector<PlacedName>& names, std::size_t column) {
    std::string name;
    for (const PlacedName& placed : names)
        if (placed.column <= column)
            name = placed.name;
    return name;
}

} // namespace fw::tabstaff
