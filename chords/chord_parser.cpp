#include "chord_parser.h"

#include "text_rules.h"

#include <algorithm>

namespace fw {

bool IsCommentLine(std::string_view text) {
    return !text.empty() && text.front() == '*' && !Trim(text).empty();
}

int CountCommas(std::string_view text) {
    return static_cast<int>(std::count(text.begin(), text.end(), ','));
}

int DurationValue(std::string_view text, int whole) {
    std::string_view letter = text;
    bool dotted = false;
    if (!letter.empty() && letter.front() == '.') {
        dotted = true;
        letter.remove_prefix(1);
    }
    if (letter.size() != 1)
        return 0;
    int divisor = 0;
    switch (letter.front()) {
    case 'W': case 'w': divisor = 1; break;
    case 'H': case 'h': divisor = 2; break;
    case 'Q': case 'q': divisor = 4; break;
    case 'E': case 'e': divisor = 8; break;
    case 'S': case 's': divisor = 16; break;
    case 'T': case 't': divisor = 32; break;
    case 'F': case 'f': divisor = 64; break;
    default: return 0;
    }
    const int plain = whole / divisor;
    return dotted ? plain + plain / 2 : plain;
}

LineKind KindOf(const ChordEntry& entry) {
    if (IsCommentLine(entry.Name))
        return LineKind::Comment;
    if (Trim(entry.Name).empty())
        return LineKind::Blank;
    return LineKind::Chord;
}

namespace {

// Splits off the text before the next comma, trimmed; `rest` loses it and the comma.
std::string NextField(std::string_view& rest) {
    const std::size_t comma = rest.find(',');
    std::string field = Trim(rest.substr(0, comma));
    rest = comma == std::string_view::npos ? std::string_view{} : rest.substr(comma + 1);
    return field;
}

std::string Quoted(std::string_view v) { return "(\"" + std::string(v) + "\")"; }

} // namespace

std::string ParseChordText(std::string_view line, int lineIndex, int maxFret, ChordEntry& entry) {
    const std::string prefix = "Line " + std::to_string(lineIndex + 1) + "    ";
    entry.Name.clear();

    if (IsCommentLine(line)) {
        entry.Name = FirstChars(line, 80);
        return {};
    }
    if (Trim(line).empty()) {
        entry.Name = " ";
        return {};
    }

    entry.HammerFret = AllNoFrets();
    entry.HammerNote = AllNoNotes();

    const int commas = CountCommas(line);
    if (commas < 6)
        return prefix + "Not enough commas.";
    if (commas > 6)
        return prefix + "Too many commas.";

    std::string_view rest = line;
    entry.Name = FirstChars(NextField(rest), 79);
    if (entry.Name.empty())
        return prefix + "Chord name required.";
    if (ReadInteger(entry.Name))
        return prefix + "Number not allowed for chord name.";

    const std::string upperLimit = std::to_string(maxFret + 1);
    for (int s = 5; s >= 1; --s) {
        const std::string v = NextField(rest);
        const std::string about = std::string(StringLetter[s]) + " string " + Quoted(v);
        const std::size_t hyphen = v.find('-');
        bool hammer = false;
        int target = NoFret;
        if (UpperCase(v) == "X") {
            entry.Fret[s] = NoFret;
        } else if (hyphen == std::string::npos) {
            const auto fret = ReadInteger(v);
            if (!fret)
                return prefix + "Fret number for " + about + " not a number.";
            entry.Fret[s] = *fret;
        } else {
            const auto start = ReadInteger(std::string_view(v).substr(0, hyphen));
            const auto end = ReadInteger(std::string_view(v).substr(hyphen + 1));
            if (!start || !end)
                return prefix + "Hammer-on for " + about + " not a number.";
            hammer = true;
            entry.Fret[s] = *start;
            target = *end;
        }
        if (entry.Fret[s] < -1)
            return prefix + "Fret number for " + about + " must be higher than -2.";
        if (entry.Fret[s] > maxFret)
            return prefix + "Fret Number for " + about + " must be lower than " + upperLimit + ".";
        if (hammer) {
            if (entry.Fret[s] < -1 || target < -1)
                return prefix + "Hammer-on for " + about + " must be higher than -2.";
            if (entry.Fret[s] > maxFret || target > maxFret)
                return prefix + "Hammer-on for " + about + " must be lower than " + upperLimit +
                       ".";
            // A hammer-on to -1 ("2--1") has no target pitch: it is kept as no hammer-on, so
            // the string just sounds its start fret.
            if (entry.Fret[s] != NoFret && target != NoFret) {
                entry.HammerFret[s] = target;
                entry.HammerNote[s] = static_cast<std::uint8_t>(target + OpenPitch[s]);
            }
        }
        entry.Note[s] = entry.Fret[s] == NoFret
                            ? NoNote
                            : static_cast<std::uint8_t>(entry.Fret[s] + OpenPitch[s]);
    }

    entry.Duration = FirstChars(Trim(rest), 5);
    if (DurationValue(entry.Duration, 1000) == 0)
        return prefix + "\"" + entry.Duration + "\" invalid. (W)hole,(H)alf,Q,E,S,T,F";
    return {};
}

ParsedLine ParseChordText(std::string_view line, int lineIndex, int maxFret) {
    ParsedLine result;
    result.error = ParseChordText(line, lineIndex, maxFret, result.entry);
    return result;
}

} // namespace fw
