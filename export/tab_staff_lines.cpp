// Recognising staff lines and duration lines of ASCII tablature.

#include "tab_staff.h"

#include <algorithm>
#include <vector>

namespace fw::tabstaff {

namespace {

constexpr std::size_t TabStop = 8;

bool IsLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// A repeat count: "x2", "2x", "(x3)", "X 2", with nothing else.
bool IsRepeatCount(std::string_view text) {
    std::string packed;
    for (const char c : text)
        if (c != ' ' && c != '(' && c != ')')
            packed += c;
    if (packed.size() < 2)
        return false;
    const bool xFirst = packed.front() == 'x' || packed.front() == 'X';
    const bool xLast = packed.back() == 'x' || packed.back() == 'X';
    const std::string_view digits =
        std::string_view(packed).substr(xFirst ? 1 : 0, packed.size() - 1);
    return (xFirst != xLast) &&
           std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Characters a staff may hold after its label.
bool IsStaffChar(char c) {
    static constexpr std::string_view Allowed = "-|0123456789hpsbrxcHPSBRXC/\\~():*. ";
    return Allowed.find(c) != std::string_view::npos;
}

// Web pages turn dashes into typographic dashes or box-drawing lines, and spaces into no-break
// spaces; tabs stand for runs of spaces. All of them become one ASCII character each, so that
// the columns of the five lines line up again.
std::string Normalised(std::string_view line) {
    struct LookAlike {
        std::string_view bytes;
        char ascii;
    };
    static constexpr std::array<LookAlike, 6> LookAlikes = {{
        {"\xC2\xA0", ' '},     // no-break space
        {"\xE2\x80\x92", '-'}, // figure dash
        {"\xE2\x80\x93", '-'}, // en dash
        {"\xE2\x80\x94", '-'}, // em dash
        {"\xE2\x94\x80", '-'}, // box-drawing horizontal
        {"\xE2\x94\x82", '|'}, // box-drawing vertical
    }};
    std::string text;
    text.reserve(line.size());
    std::size_t i = 0;
    while (i < line.size()) {
        if (line[i] == '\t') {
            text.append(TabStop - text.size() % TabStop, ' ');
            ++i;
            continue;
        }
        const auto match = std::find_if(LookAlikes.begin(), LookAlikes.end(), [&](const auto& l) {
            return line.substr(i, l.bytes.size()) == l.bytes;
        });
        if (match != LookAlikes.end()) {
            text += match->ascii;
            i += match->bytes.size();
        } else {
            text += line[i++];
        }
    }
    return text;
}

// The start of the staff after a string label starting at `pos`, or `pos` when there is none.
// A label is a note name ("d", "G", "F#", "Bb") or a string number 1 to 5, followed (after any
// spaces) by a bar, a colon or, for a note name, a dash: the staff starts there, so that labels
// padded before or after the letter ("D |" beside "F#|") end where their bars stand.
std::size_t LabelEnd(const std::string& s, std::size_t pos, std::size_t end, bool& digit) {
    digit = false;
    if (pos >= end)
        return pos;
    const char c = s[pos];
    const bool noteName = (c >= 'A' && c <= 'G') || (c >= 'a' && c <= 'g');
    const bool stringNumber = c >= '1' && c <= '5';
    if (!noteName && !stringNumber)
        return pos;
    std::size_t q = pos + 1;
    if (noteName && q + 1 < end && (s[q] == '#' || s[q] == 'b') &&
        std::string_view("|:- ").find(s[q + 1]) != std::string_view::npos)
        ++q;
    std::size_t r = q;
    while (r < end && s[r] == ' ')
        ++r;
    if (r >= end)
        return pos;
    const bool follows = s[r] == '|' || s[r] == ':' || (noteName && s[r] == '-');
    // A string number must not run into the staff with a dash: "1-2-" is frets 1 and 2.
    if (!follows || (stringNumber && r == q && s[r] == '-'))
        return pos;
    digit = stringNumber;
    return r;
}

} // namespace

std::optional<StaffLine> ReadStaffLine(std::string_view raw) {
    StaffLine line;
    line.text = Normalised(raw);
    const std::string& s = line.text;
    const std::size_t last = s.find_last_not_of(' ');
    if (last == std::string::npos)
        return std::nullopt;
    line.end = last + 1;
    const std::size_t first = s.find_first_not_of(' ');
    line.begin = LabelEnd(s, first, line.end, line.digitLabel);
    line.label = s.substr(first, line.begin - first);
    line.label.erase(line.label.find_last_not_of(' ') + 1);

    // A remark after the last bar: "|--0--|  x2", or a repeat count touching it: "|--0--|x2".
    const std::size_t bar = s.rfind('|', line.end - 1);
    if (bar != std::string::npos && bar >= line.begin && bar + 1 < line.end) {
        const std::string_view tail(s.data() + bar + 1, line.end - bar - 1);
        const bool spaced = tail.front() == ' ';
        if ((spaced || IsRepeatCount(tail)) &&
            std::any_of(tail.begin(), tail.end(), [](char c) { return IsLetter(c) || c == '('; })) {
            line.remark = std::string(tail.substr(tail.find_first_not_of(' ')));
            line.end = bar + 1;
        }
    }

    const std::string_view body(s.data() + line.begin, line.end - line.begin);
    if (!std::all_of(body.begin(), body.end(), IsStaffChar))
        return std::nullopt;
    if (std::count(body.begin(), body.end(), '-') < 3)
        return std::nullopt;
    return line;
}

namespace {

// A fraction of a whole note as its duration letter: "1/8" is "E", "1/4." and ".1/4" are ".Q".
std::optional<std::string> FractionDuration(std::string_view word) {
    static constexpr std::array<std::pair<std::string_view, char>, 7> Fractions = {{
        {"1/1", 'W'},
        {"1/2", 'H'},
        {"1/4", 'Q'},
        {"1/8", 'E'},
        {"1/16", 'S'},
        {"1/32", 'T'},
        {"1/64", 'F'},
    }};
    bool dotted = false;
    if (word.size() > 1 && (word.front() == '.' || word.back() == '.')) {
        dotted = true;
        word = word.front() == '.' ? word.substr(1) : word.substr(0, word.size() - 1);
    }
    for (const auto& [fraction, letter] : Fractions)
        if (word == fraction)
            return std::string(dotted ? "." : "") + letter;
    return std::nullopt;
}

} // namespace

std::optional<int> RepeatCountOf(std::string_view text) {
    if (!IsRepeatCount(text))
        return std::nullopt;
    int count = 0;
    for (const char c : text)
        if (c >= '0' && c <= '9' && count < 1000)
            count = count * 10 + (c - '0');
    return count;
}

std::optional<std::vector<DurationMark>> ReadDurationLine(std::string_view line) {
    static constexpr std::string_view Letters = "WHQESTFwhqestf";
    std::vector<DurationMark> marks;
    std::size_t shift = 0;
    std::size_t i = 0;
    while (i < line.size()) {
        if (line[i] == ' ' || line[i] == '\t' || line[i] == '\r') {
            ++i;
            continue;
        }
        std::size_t j = i;
        while (j < line.size() && line[j] != ' ' && line[j] != '\t' && line[j] != '\r')
            ++j;
        const std::string_view word = line.substr(i, j - i);
        std::string_view letter = word.front() == '.' ? word.substr(1) : word;
        // A triplet value: "E3" (never dotted).
        if (letter.size() == 2 && letter.back() == '3' && word.front() != '.')
            letter.remove_suffix(1);
        if (const std::optional<std::string> fraction = FractionDuration(word)) {
            marks.push_back({*fraction, i - shift});
            i = j;
            continue;
        }
        if (letter.size() != 1 || Letters.find(letter.front()) == std::string_view::npos)
            return std::nullopt;
        marks.push_back({std::string(word), i - shift});
        shift += word.size() - 1;
        i = j;
    }
    if (marks.empty())
        return std::nullopt;
    return marks;
}

bool IsCountLine(const StaffLine& line) {
    std::vector<int> numbers;
    for (std::size_t i = line.text.find_first_not_of(' '); i < line.end; ++i) {
        const char c = line.text[i];
        if (c == '-' || c == '|' || c == ' ' || c == '.')
            continue;
        if (c < '0' || c > '9')
            return false;
        int number = 0;
        for (; i < line.end && line.text[i] >= '0' && line.text[i] <= '9' && number < 1000; ++i)
            number = number * 10 + (line.text[i] - '0');
        --i;
        numbers.push_back(number);
    }
    if (numbers.size() < 3)
        return false;
    // Beats: 1 2 3 4 1 2 ..., up to at least 3.
    bool beats = numbers.front() == 1;
    int highest = 0;
    for (std::size_t k = 1; k < numbers.size() && beats; ++k)
        beats = numbers[k] == 1 || numbers[k] == numbers[k - 1] + 1;
    for (const int number : numbers)
        highest = std::max(highest, number);
    // A ruler: 0 5 10 15 ... or 1 2 3 ..., rising by the same step.
    const int step = numbers[1] - numbers[0];
    bool ruler = numbers.front() <= 1 && step > 0;
    for (std::size_t k = 1; k < numbers.size() && ruler; ++k)
        ruler = numbers[k] - numbers[k - 1] == step;
    return (beats && highest >= 3 && highest <= 12) || ruler;
}

bool ReadChord::IsRest() const {
    return std::all_of(fret.begin() + 1, fret.end(), [](int f) { return f == NoFret; });
}

} // namespace fw::tabstaff
