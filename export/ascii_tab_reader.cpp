#include "ascii_tab_reader.h"

#include "tab_staff.h"

#include "chords/chord_composer.h"
#include "chords/chord_namer.h"
#include "chords/chord_parser.h"
#include "chords/text_file.h"
#include "chords/text_rules.h"

#include <algorithm>

namespace fw {

namespace {

using tabstaff::ReadChord;
using tabstaff::StaffLine;
using tabstaff::StaffReading;

constexpr int StaffLines = 5;
constexpr int FifthStringNeckOffset = 5; // string 5 starts at the neck's fifth fret
constexpr std::string_view RestName = "Rest";

// One piece of the text, in text order: a comment line or a staff.
struct Piece {
    std::string comment; // a comment line when `staff` is empty
    std::optional<StaffReading> staff;
};

// A line carries words when it holds a letter or a digit (any non-ASCII character counts as a
// letter); rules of dashes or equals signs and blank lines carry none.
bool CarriesWords(std::string_view line) {
    return std::any_of(line.begin(), line.end(), [](char c) {
        const auto u = static_cast<unsigned char>(c);
        return u >= 0x80 || (u >= '0' && u <= '9') || ((u | 0x20) >= 'a' && (u | 0x20) <= 'z');
    });
}

std::string CommentLine(std::string_view text) {
    const std::string trimmed = Trim(text);
    return IsCommentLine(trimmed) ? trimmed : "* " + trimmed;
}

// A staff line that is only a rule of dashes: an underline next to a staff is no string of it.
bool IsRule(const StaffLine& line) {
    const std::string_view body(line.text.data() + line.begin, line.end - line.begin);
    return std::all_of(body.begin(), body.end(), [](char c) { return c == '-' || c == ' '; });
}

// This program's header: its tuning line and, after one empty line, the title and subtitle.
struct OwnHeader {
    std::optional<int> tuningCode;
    std::size_t titleLine = std::string::npos;
    std::size_t subtitleLine = std::string::npos;
};

OwnHeader FindOwnHeader(const std::vector<std::string>& lines,
                        const std::vector<std::optional<StaffLine>>& staffLines) {
    OwnHeader header;
    for (std::size_t i = 0; i < lines.size() && !staffLines[i]; ++i) {
        header.tuningCode = TuningCodeOfStatusText(lines[i]);
        if (!header.tuningCode)
            continue;
        if (i + 3 < lines.size() && TrimView(lines[i + 1]).empty() && !staffLines[i + 2] &&
            !staffLines[i + 3]) {
            header.titleLine = i + 2;
            header.subtitleLine = i + 3;
        }
        break;
    }
    return header;
}

// Reads the run of staff lines [first, last) and the duration line after it into pieces;
// returns the index of the first line not used.
std::size_t ReadRun(const std::vector<std::string>& lines,
                    const std::vector<std::optional<StaffLine>>& staffLines, std::size_t first,
                    std::size_t last, std::vector<Piece>& pieces) {
    const std::size_t count = last - first;
    if (count % StaffLines != 0) {
        for (std::size_t i = first; i < last; ++i)
            pieces.push_back({CommentLine(lines[i]), std::nullopt});
        return last;
    }
    std::size_t next = last;
    for (std::size_t start = first; start < last; start += StaffLines) {
        std::array<StaffLine, StaffLines> staff;
        for (std::size_t k = 0; k < StaffLines; ++k)
            staff[k] = *staffLines[start + k];
        // Only the last staff of a run can have a line under it.
        std::optional<std::vector<tabstaff::DurationMark>> durations;
        if (start + StaffLines == last && last < lines.size())
            durations = tabstaff::ReadDurationLine(lines[last]);
        const std::vector<tabstaff::DurationMark>* given = durations ? &*durations : nullptr;
        std::optional<StaffReading> reading = tabstaff::ReadOwnLayoutStaff(staff, given);
        if (!reading)
            reading = tabstaff::ReadStaff(staff, given);
        const bool durationLineUsed = reading->durationLineUsed;
        pieces.push_back({{}, std::move(reading)});
        for (const StaffLine& line : staff)
            if (!line.remark.empty())
                pieces.push_back({CommentLine(line.remark), std::nullopt});
        if (durations && durationLineUsed)
            next = last + 1;
    }
    return next;
}

std::vector<Piece> ReadPieces(const std::vector<std::string>& lines, OwnHeader& header) {
    std::vector<std::optional<StaffLine>> staffLines;
    staffLines.reserve(lines.size());
    for (const std::string& line : lines)
        staffLines.push_back(tabstaff::ReadStaffLine(line));
    header = FindOwnHeader(lines, staffLines);

    std::vector<Piece> pieces;
    std::size_t i = 0;
    while (i < lines.size()) {
        if (staffLines[i]) {
            std::size_t end = i;
            while (end < lines.size() && staffLines[end])
                ++end;
            // Rules of dashes at either end of a run that is not whole staffs are underlines.
            while ((end - i) % StaffLines != 0 && IsRule(*staffLines[i]))
                ++i;
            while ((end - i) % StaffLines != 0 && IsRule(*staffLines[end - 1]))
                --end;
            i = ReadRun(lines, staffLines, i, end, pieces);
            while (i < lines.size() && staffLines[i] && IsRule(*staffLines[i]))
                ++i;
            continue;
        }
        const std::string title = Trim(lines[i]);
        if (i == header.titleLine && !title.empty())
            pieces.push_back({"* Title: " + title, std::nullopt});
        else if (i == header.subtitleLine && !title.empty())
            pieces.push_back({"* Sub: " + title, std::nullopt});
        else if (CarriesWords(lines[i]))
            pieces.push_back({CommentLine(lines[i]), std::nullopt});
        ++i;
    }
    return pieces;
}

template <typename Visit> void ForEachChord(std::vector<Piece>& pieces, Visit visit) {
    for (Piece& piece : pieces)
        if (piece.staff)
            for (tabstaff::ReadMeasure& measure : piece.staff->measures)
                for (ReadChord& chord : measure)
                    visit(chord);
}

bool IsOwnFifthStringFret(int fret) {
    return fret >= 1 && fret <= FifthStringNeckOffset;
}

int FifthStringFretOfNeck(int fret) {
    return fret > FifthStringNeckOffset ? fret - FifthStringNeckOffset : fret;
}

std::string ChordLineOf(const ReadChord& chord, const std::array<int, 6>& offsets) {
    const std::string unnamed = ComposeChordText(chord.fret, chord.hammer, chord.duration);
    if (chord.IsRest())
        return ComposeNamedChordText(RestName, chord.fret, chord.hammer, chord.duration);
    const ParsedLine parsed = ParseChordText(unnamed, 0);
    const std::vector<ChordSymbol> names = NameChord(SoundingPitches(parsed.entry, offsets));
    return names.empty() ? unnamed
                         : ComposeNamedChordText(names.front().text, chord.fret, chord.hammer,
                                                 chord.duration);
}

} // namespace

TabReading ReadAsciiTab(std::string_view text, int tuning) {
    TabReading reading;
    const std::vector<std::string> lines = SplitLines(text);
    OwnHeader header;
    std::vector<Piece> pieces = ReadPieces(lines, header);
    reading.tuningCode = header.tuningCode;

    reading.ownNumbering = header.tuningCode.has_value();
    ForEachChord(pieces, [&](const ReadChord& chord) {
        reading.ownNumbering = reading.ownNumbering || IsOwnFifthStringFret(chord.fret[5]) ||
                               IsOwnFifthStringFret(chord.hammer[5]);
    });
    if (!reading.ownNumbering)
        ForEachChord(pieces, [](ReadChord& chord) {
            chord.fret[5] = FifthStringFretOfNeck(chord.fret[5]);
            chord.hammer[5] = FifthStringFretOfNeck(chord.hammer[5]);
        });

    const std::array<int, 6> offsets = TuningOffsets(header.tuningCode.value_or(tuning));
    for (const Piece& piece : pieces) {
        if (!piece.staff) {
            reading.lines.push_back(piece.comment);
            continue;
        }
        ++reading.staffs;
        reading.droppedMarks += piece.staff->droppedMarks;
        for (const tabstaff::ReadMeasure& measure : piece.staff->measures) {
            for (const ReadChord& chord : measure) {
                reading.lines.push_back(ChordLineOf(chord, offsets));
                ++reading.chordLines;
            }
            reading.lines.emplace_back();
        }
    }
    return reading;
}

std::optional<int> TuningCodeOfStatusText(std::string_view text) {
    const std::string_view trimmed = TrimView(text);
    for (const TuningMenuItem& item : FixedTunings)
        if (trimmed == StatusTuningText(item.caption))
            return item.tag;
    // Tablature written while the D tuning item was still captioned with notes it never had.
    if (trimmed == "D Tuning - F# D G C D")
        return 45435;
    constexpr std::string_view CustomPrefix = "Custom Tuning - ";
    if (trimmed.substr(0, CustomPrefix.size()) != CustomPrefix)
        return std::nullopt;
    std::string_view names = trimmed.substr(CustomPrefix.size());
    int code = 0;
    for (int string = 5; string >= 1; --string) {
        const std::size_t space = names.find(' ');
        const std::string_view name = names.substr(0, space);
        int digit = -1;
        for (int d = 0; d <= 9 && digit < 0; ++d)
            if (name == TuningNoteName(string, d))
                digit = d;
        if (digit < 0 || (string == 1) != (space == std::string_view::npos))
            return std::nullopt;
        code = code * 10 + digit;
        names = string == 1 ? std::string_view() : names.substr(space + 1);
    }
    // A code whose first digit is 0 is no five-digit code; no tuning line names one.
    if (code < 10000)
        return std::nullopt;
    return code;
}

std::string DroppedMarksNotice(int count) {
    return "Left out " + std::to_string(count) + (count == 1 ? " mark" : " marks") +
           " the program cannot play (bends, releases, vibrato, muted notes).";
}

} // namespace fw
