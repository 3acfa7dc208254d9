#pragma once
// Rewrites of written tablature that stand for forms other writers use, shared by the
// round-trip tests and the reader's fuzz target.

#include <string>
#include <string_view>
#include <vector>

namespace fw::test {

// A 5th-string fret as on the neck: 0, 6, 7, 8 ...
inline int NeckFret(int fret) {
    return fret >= 1 ? fret + 5 : fret;
}

// "/4-" after "-2" becomes "h4-", "/10" after "12" becomes "p10", as hammer-on and pull-off
// letters: the fret cell is the two characters before the slash, which only target cells hold
// in a string line.
inline void HammerOnLetters(std::vector<std::string>& lines) {
    const auto number = [](std::string_view digits) {
        int value = 0;
        for (const char c : digits)
            if (c >= '0' && c <= '9')
                value = value * 10 + (c - '0');
        return value;
    };
    for (std::string& line : lines) {
        if (line.empty() || line[0] != '|')
            continue;
        for (std::size_t p = line.find('/'); p != std::string::npos; p = line.find('/', p + 1)) {
            const int fret = number(std::string_view(line).substr(p - 2, 2));
            const int target = number(std::string_view(line).substr(p + 1, 2));
            line[p] = target < fret ? 'p' : 'h';
        }
    }
}

} // namespace fw::test
