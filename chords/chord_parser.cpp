#include "chord_parser.h"

#include "song_structure.h"
#include "text_rules.h"

#include <algorithm>

namespace fw {

bool IsCommentLine(std::string_view text) {
    // "*" is not a trimmed character, so a text that starts with it is never blank.
    return !text.empty() && text.front() == '*';
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
    // "E3": a triplet value, three in the time of two; a dotted triplet is no value.
    const bool triplet = letter.size() == 2 && letter.back() == '3' && !dotted;
    if (triplet)
        letter.remove_suffix(1);
    if (letter.size() != 1)
        return 0;
    int divisor = 0;
    switch (letter.front()) {
    case 'W':
    case 'w':
        divisor = 1;
        break;
    case 'H':
    case 'h':
        divisor = 2;
        break;
    case 'Q':
    case 'q':
        divisor = 4;
        break;
    case 'E':
    case 'e':
        divisor = 8;
        break;
    case 'S':
    case 's':
        divisor = 16;
        break;
    case 'T':
    case 't':
        divisor = 32;
        break;
    case 'F':
    case 'f':
        divisor = 64;
        break;
    default:
        return 0;
    }
    const int plain = whole / divisor;
    if (triplet)
        return plain * 2 / 3;
    return dotted ? plain + plain / 2 : plain;
}

LineKind KindOf(const ChordEntry& entry) {
    if (IsCommentLine(entry.Name))
        return LineKind::Comment;
    if (TrimView(entry.Name).empty())
        return LineKind::Blank;
    return LineKind::Chord;
}

namespace {

// Splits off the text before the next comma, trimmed; `rest` loses it and the comma.
std::string_view NextField(std::string_view& rest) {
    const std::size_t comma = rest.find(',');
    const std::string_view field = TrimView(rest.substr(0, comma));
    rest = comma == std::string_view::npos ? std::string_view{} : rest.substr(comma + 1);
    return field;
}

bool IsNotPlayed(std::string_view v) {
    return v.size() == 1 && (v[0] == 'x' || v[0] == 'X');
}

// Message texts are built only when a line is in error, so valid lines allocate nothing
// beyond the entry's own texts.
std::string Prefixed(int lineIndex, std::string_view text) {
    std::string message = "Line ";
    message += std::to_string(lineIndex + 1);
    message += "    ";
    message += text;
    return message;
}

// "{P}{lead}{letter} string (\"{value}\"){tail}".
std::string StringMessage(int lineIndex, std::string_view lead, int s, std::string_view value,
                          std::string_view tail) {
    std::string message = Prefixed(lineIndex, lead);
    message += StringLetter[s];
    message += " string (\"";
    message += value;
    message += "\")";
    message += tail;
    return message;
}

std::string LowerThanTail(int maxFret) {
    std::string tail = " must be lower than ";
    tail += std::to_string(maxFret + 1);
    tail += '.';
    return tail;
}

} // namespace

std::string ParseChordText(std::string_view line, int lineIndex, int maxFret, ChordEntry& entry) {
    entry.Name.clear();

    if (IsCommentLine(line)) {
        entry.Name.assign(FirstCharsView(line, 80));
        // A song-structure marker with a value it cannot take is an error like a chord's.
        if (std::string error = ReadMarker(line).error; !error.empty())
            return Prefixed(lineIndex, error);
        return {};
    }
    if (TrimView(line).empty()) {
        // assign(1, ' ') rather than = " ": g++ 12 at -O3 gives a false -Wrestrict there.
        entry.Name.assign(1, ' ');
        return {};
    }

    entry.HammerFret = AllNoFrets();
    entry.HammerNote = AllNoNotes();

    const int commas = CountCommas(line);
    if (commas < 6)
        return Prefixed(lineIndex, "Not enough commas.");
    if (commas > 6)
        return Prefixed(lineIndex, "Too many commas.");

    std::string_view rest = line;
    entry.Name.assign(FirstCharsView(NextField(rest), 79));
    if (entry.Name.empty())
        return Prefixed(lineIndex, "Chord name required.");
    if (ReadInteger(entry.Name))
        return Prefixed(lineIndex, "Number not allowed for chord name.");

    for (int s = 5; s >= 1; --s) {
        const std::string_view v = NextField(rest);
        const std::size_t hyphen = v.find('-');
        bool hammer = false;
        int target = NoFret;
        if (IsNotPlayed(v)) {
            entry.Fret[s] = NoFret;
        } else if (hyphen == std::string_view::npos) {
            const auto fret = ReadInteger(v);
            if (!fret)
                return StringMessage(lineIndex, "Fret number for ", s, v, " not a number.");
            entry.Fret[s] = *fret;
        } else {
            const auto start = ReadInteger(v.substr(0, hyphen));
            const auto end = ReadInteger(v.substr(hyphen + 1));
            if (!start || !end)
                return StringMessage(lineIndex, "Hammer-on for ", s, v, " not a number.");
            hammer = true;
            entry.Fret[s] = *start;
            target = *end;
        }
        if (entry.Fret[s] < -1)
            return StringMessage(lineIndex, "Fret number for ", s, v, " must be higher than -2.");
        if (entry.Fret[s] > maxFret)
            return StringMessage(lineIndex, "Fret Number for ", s, v, LowerThanTail(maxFret));
        if (hammer) {
            if (entry.Fret[s] < -1 || target < -1)
                return StringMessage(lineIndex, "Hammer-on for ", s, v, " must be higher than -2.");
            if (entry.Fret[s] > maxFret || target > maxFret)
                return StringMessage(lineIndex, "Hammer-on for ", s, v, LowerThanTail(maxFret));
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

    entry.Duration.assign(FirstCharsView(TrimView(rest), 5));
    if (entry.Duration.size() == 3 && entry.Duration.front() == '.' &&
        entry.Duration.back() == '3' && DurationValue(entry.Duration.substr(1), 1000) != 0) {
        std::string message = Prefixed(lineIndex, "\"");
        message += entry.Duration;
        message += "\" invalid. A triplet cannot be dotted.";
        return message;
    }
    if (DurationValue(entry.Duration, 1000) == 0) {
        std::string message = Prefixed(lineIndex, "\"");
        message += entry.Duration;
        message += "\" invalid. (W)hole,(H)alf,Q,E,S,T,F";
        return message;
    }
    return {};
}

ParsedLine ParseChordText(std::string_view line, int lineIndex, int maxFret) {
    ParsedLine result;
    result.error = ParseChordText(line, lineIndex, maxFret, result.entry);
    return result;
}

} // namespace fw
