// Tunings and meters named in the words of a tab.

#include "tab_header.h"

#include <algorithm>
#include <vector>

namespace fw::tabstaff {

namespace {

// Open G, strings 5 to 1, as pitch classes (C = 0).
constexpr std::array<int, 5> OpenGPitchClasses = {7, 2, 7, 11, 2};
constexpr int MaxShift = 4; // a tuning code digit holds the shifts -4..4 from open G

bool IsNoteLetter(char c) {
    return (c >= 'A' && c <= 'G') || (c >= 'a' && c <= 'g');
}

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c | 0x20) : c;
}

// The pitch class of "G", "g", "F#", "Bb", or nothing.
std::optional<int> PitchClassOf(std::string_view name) {
    static constexpr std::array<int, 7> Natural = {9, 11, 0, 2, 4, 5, 7}; // a b c d e f g
    if (name.empty() || name.size() > 2 || !IsNoteLetter(name[0]))
        return std::nullopt;
    int pc = Natural[static_cast<std::size_t>(Lower(name[0]) - 'a')];
    if (name.size() == 2) {
        if (name[1] == '#')
            pc += 1;
        else if (name[1] == 'b')
            pc += 11;
        else
            return std::nullopt;
    }
    return pc % 12;
}

// Every way `token` reads as note names one after another ("Bb" or "B", "b").
void NoteRuns(std::string_view token, std::vector<std::string>& run,
              std::vector<std::vector<std::string>>& runs) {
    if (token.empty()) {
        runs.push_back(run);
        return;
    }
    if (!IsNoteLetter(token[0]) || run.size() >= 5)
        return;
    for (std::size_t len = 2; len >= 1; --len) {
        if (len > token.size() || !PitchClassOf(token.substr(0, len)))
            continue;
        run.emplace_back(token.substr(0, len));
        NoteRuns(token.substr(len), run, runs);
        run.pop_back();
    }
}

std::optional<int> CodeOfRun(const std::vector<std::string>& run) {
    if (run.size() != 5)
        return std::nullopt;
    std::array<std::string, 5> names;
    std::copy(run.begin(), run.end(), names.begin());
    return TuningCodeOfNames(names);
}

// Words of the line: runs of letters, digits, '#' and (inside a word) nothing else.
std::vector<std::string> Words(std::string_view line) {
    std::vector<std::string> words;
    std::string word;
    for (const char c : line) {
        const bool part =
            (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '#';
        if (part) {
            word += c;
        } else if (!word.empty()) {
            words.push_back(word);
            word.clear();
        }
    }
    if (!word.empty())
        words.push_back(word);
    return words;
}

std::string LowerText(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(), Lower);
    return lower;
}

struct NamedTuning {
    std::string_view words; // lower case, words apart by one space
    int code;
};

// Names banjo players give tunings; the longer names first so that "double c" is not "c".
constexpr std::array<NamedTuning, 16> NamedTunings = {{
    {"double c", 53565},
    {"double d", 75787},
    {"open d", 45435},
    {"d tuning", 45435},
    {"g modal", 55565},
    {"modal g", 55565},
    {"sawmill", 55565},
    {"mountain minor", 55565},
    {"mountain modal", 55565},
    {"g minor tuning", 55545},
    {"open c", 53567},
    {"c tuning", 53555},
    {"open a", 77777},
    {"a tuning", 77777},
    {"open g", 55555},
    {"g tuning", 55555},
}};

} // namespace

std::optional<int> TuningCodeOfNames(const std::array<std::string, 5>& string5To1) {
    int code = 0;
    for (std::size_t i = 0; i < 5; ++i) {
        const std::optional<int> pc = PitchClassOf(string5To1[i]);
        if (!pc)
            return std::nullopt;
        int shift = (*pc - OpenGPitchClasses[i] + 12) % 12;
        if (shift > 6)
            shift -= 12;
        if (shift < -MaxShift || shift > MaxShift)
            return std::nullopt;
        code = code * 10 + shift + 5;
    }
    return code;
}

std::optional<int> TuningCodeOfLabels(const std::array<std::string, 5>& topToBottom,
                                      bool& fifthOnTop) {
    std::array<std::string, 5> names;
    // Top line string 1: the names read bottom to top are strings 5 to 1.
    std::reverse_copy(topToBottom.begin(), topToBottom.end(), names.begin());
    fifthOnTop = false;
    if (const std::optional<int> code = TuningCodeOfNames(names))
        return code;
    fifthOnTop = true;
    if (const std::optional<int> code = TuningCodeOfNames(topToBottom))
        return code;
    fifthOnTop = false;
    return std::nullopt;
}

std::optional<int> TuningCodeOfHeaderLine(std::string_view line) {
    const std::vector<std::string> words = Words(line);
    const std::string lower = LowerText(line);
    const bool saysTuning = lower.find("tuning") != std::string::npos;
    // Five names written together: "gCGCD".
    for (const std::string& word : words) {
        std::vector<std::string> run;
        std::vector<std::vector<std::string>> runs;
        NoteRuns(word, run, runs);
        for (const auto& r : runs)
            if (const std::optional<int> code = CodeOfRun(r))
                return code;
    }
    // Five names apart: "g D G B D", "g-C-G-C-D".
    if (saysTuning) {
        for (std::size_t i = 0; i + 5 <= words.size(); ++i) {
            std::vector<std::string> run(words.begin() + static_cast<std::ptrdiff_t>(i),
                                         words.begin() + static_cast<std::ptrdiff_t>(i + 5));
            if (std::all_of(run.begin(), run.end(),
                            [](const std::string& w) { return PitchClassOf(w).has_value(); }))
                if (const std::optional<int> code = CodeOfRun(run))
                    return code;
        }
    }
    // A tuning's name, as whole words.
    std::string joined = " ";
    for (const std::string& word : words)
        joined += LowerText(word) + " ";
    for (const NamedTuning& named : NamedTunings)
        if (joined.find(" " + std::string(named.words) + " ") != std::string::npos)
            return named.code;
    return std::nullopt;
}

std::optional<Meter> MeterOfHeaderLine(std::string_view line) {
    auto digit = [](char c) { return c >= '0' && c <= '9'; };
    for (std::size_t slash = line.find('/'); slash != std::string_view::npos;
         slash = line.find('/', slash + 1)) {
        std::size_t a = slash;
        while (a > 0 && digit(line[a - 1]))
            --a;
        std::size_t b = slash + 1;
        while (b < line.size() && digit(line[b]))
            ++b;
        if (a == slash || b == slash + 1 || slash - a > 2 || b - slash - 1 > 2)
            continue;
        // Standing on its own: no letter, digit, slash or dash joined to either end.
        auto joined = [&](char c) {
            return digit(c) || c == '/' || c == '-' || c == '.' || (c >= 'A' && c <= 'Z') ||
                   (c >= 'a' && c <= 'z');
        };
        if ((a > 0 && joined(line[a - 1])) || (b < line.size() && joined(line[b])))
            continue;
        const int beats = std::stoi(std::string(line.substr(a, slash - a)));
        const int unit = std::stoi(std::string(line.substr(slash + 1, b - slash - 1)));
        if (beats >= 1 && beats <= 12 && (unit == 2 || unit == 4 || unit == 8 || unit == 16))
            return Meter{beats, unit};
    }
    return std::nullopt;
}

} // namespace fw::tabstaff
