#include "ascii_tab_reader.h"

#include "tab_chord_names.h"
#include "tab_header.h"
#include "tab_rhythm.h"
#include "tab_staff.h"

#include "chords/capo.h"
#include "chords/chord_composer.h"
#include "chords/chord_namer.h"
#include "chords/chord_parser.h"
#include "chords/text_file.h"
#include "chords/text_rules.h"

#include <algorithm>

namespace fw {

namespace {

using tabstaff::FifthStringNeckOffset;
using tabstaff::PlacedName;
using tabstaff::ReadChord;
using tabstaff::StaffLine;
using tabstaff::StaffReading;

constexpr std::size_t StaffLines = 5;
constexpr std::string_view RestName = "Rest";

// A staff of the text, read in two steps: its lines first, its rhythm once the whole tab is
// known (the meter and the tab's common gap).
struct Staff {
    std::array<StaffLine, StaffLines> lines;
    std::optional<std::vector<tabstaff::DurationMark>> durations;
    std::optional<StaffReading> reading; // this program's own layout, else filled in later
    tabstaff::StaffScan scan;
    std::vector<PlacedName> names;  // chord names above it
    bool fourLines = false;         // strings 1 to 4 only; the 5th line is made up
    tabstaff::StructureSigns signs; // repeat counts, endings and meters above it
    int lineRepeats = 0;            // a count after the staff ("x2"): the line is repeated
};

// One piece of the text, in text order: a comment line or a staff.
struct Piece {
    std::string comment; // a comment line when `staff` is empty
    std::optional<Staff> staff;
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
    std::string line = IsCommentLine(trimmed) ? trimmed : "* " + trimmed;
    // Words beside a tab that read as a song marker with a value no song takes ("Time: 0/4",
    // "Capo: 13") stay words: quoted, they are a plain comment and the song stays clean.
    if (!ParseChordText(line, 0).ok())
        line = "* \"" + Trim(std::string_view(line).substr(1)) + "\"";
    return line;
}

// A staff line that is only a rule of dashes: an underline next to a staff is no string of it.
bool IsRule(const StaffLine& line) {
    const std::string_view body(line.text.data() + line.begin, line.end - line.begin);
    return std::all_of(body.begin(), body.end(), [](char c) { return c == '-' || c == ' '; });
}

// A line glued to a run of staff lines that is no string: a rule or a count line.
bool IsGluedLine(const StaffLine& line) {
    return IsRule(line) || tabstaff::IsCountLine(line);
}

// This program's header: its tuning line and, after one empty line, the title and subtitle.
struct OwnHeader {
    std::optional<int> tuningCode;
    bool neckFrets = false; // the tuning line ends with NeckFretsSuffix
    int capo = 0;           // the capo written after the tuning; 0: none
    std::size_t titleLine = std::string::npos;
    std::size_t subtitleLine = std::string::npos;
};

OwnHeader FindOwnHeader(const std::vector<std::string>& lines,
                        const std::vector<std::optional<StaffLine>>& staffLines) {
    OwnHeader header;
    for (std::size_t i = 0; i < lines.size() && !staffLines[i]; ++i) {
        std::string_view line = TrimView(lines[i]);
        const std::string_view suffix = TrimView(NeckFretsSuffix);
        header.neckFrets = line.size() > suffix.size() && line.ends_with(suffix);
        if (header.neckFrets)
            line.remove_suffix(suffix.size());
        // The capo this program's tablature writes after the tuning (", Capo 2").
        if (const std::size_t at = line.rfind(", Capo "); at != std::string_view::npos) {
            const std::optional<int> capo = CapoOfHeaderText(line.substr(at));
            if (capo && TabCapoText(*capo) == line.substr(at)) {
                header.capo = *capo;
                line = line.substr(0, at);
            }
        }
        header.tuningCode = TuningCodeOfStatusText(line);
        if (!header.tuningCode)
            continue;
        if (i + 3 < lines.size() && TrimView(lines[i + 1]).empty() && !staffLines[i + 2] &&
            !staffLines[i + 3]) {
            header.titleLine = i + 2;
            header.subtitleLine = i + 3;
        }
        break;
    }
    if (!header.tuningCode) {
        header.neckFrets = false;
        header.capo = 0;
    }
    return header;
}

// The tuning and meter the words before the first staff name (a tuning also anywhere on a line
// that says "tuning").
struct WebHeader {
    std::optional<int> tuningCode;
    std::optional<tabstaff::Meter> meter;
};

WebHeader FindWebHeader(const std::vector<std::string>& lines,
                        const std::vector<std::optional<StaffLine>>& staffLines) {
    WebHeader header;
    bool beforeStaff = true;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (staffLines[i]) {
            beforeStaff = false;
            continue;
        }
        const bool saysTuning = Trim(lines[i]).find("uning") != std::string::npos;
        if (!header.tuningCode && (beforeStaff || saysTuning))
            header.tuningCode = tabstaff::TuningCodeOfHeaderLine(lines[i]);
        if (!header.meter && beforeStaff)
            header.meter = tabstaff::MeterOfHeaderLine(lines[i]);
    }
    return header;
}

constexpr std::size_t FourLines = 4;

// The name of the 5th string for a staff whose four labels name strings 1 to 4 (top first): the
// one of a tuning players use with those four strings, else g. Nothing when the labels are not
// four note names a banjo's strings 1 to 4 can be tuned to.
std::optional<std::string> FifthStringOfFourLabels(const std::array<StaffLine, StaffLines>& staff) {
    std::array<std::string, StaffLines> string5To1{"g"};
    for (std::size_t k = 0; k < FourLines; ++k) {
        if (staff[k].label.empty() || staff[k].digitLabel)
            return std::nullopt;
        string5To1[StaffLines - 1 - k] = staff[k].label;
    }
    const std::optional<int> code = tabstaff::TuningCodeOfNames(string5To1);
    if (!code)
        return std::nullopt;
    constexpr int FourStrings = 10000;
    for (const TuningMenuItem& item : FixedTunings)
        if (item.tag % FourStrings == *code % FourStrings)
            return std::string(TuningNoteName(5, item.tag / FourStrings));
    return std::string("g");
}

// The lines of a staff of four lines, strings 1 to 4 from the top, with the 5th string's line
// made up: the 4th line's bars, dashes elsewhere, and a label that fits the others. Nothing when
// the four lines are not a banjo's: labels must name strings 1 to 4 (note names of a banjo's
// strings, or the numbers 1 to 4), and lines without labels count only in a text that speaks of
// a banjo or names a tuning (`banjoText`).
std::optional<std::array<StaffLine, StaffLines>>
FourLineStaff(const std::vector<std::optional<StaffLine>>& staffLines, std::size_t first,
              bool banjoText) {
    std::array<StaffLine, StaffLines> staff;
    for (std::size_t k = 0; k < FourLines; ++k)
        staff[k] = *staffLines[first + k];
    StaffLine fifth = staff[FourLines - 1];
    for (std::size_t i = fifth.begin; i < fifth.end; ++i)
        if (fifth.text[i] != '|')
            fifth.text[i] = '-';
    fifth.remark.clear();
    const bool unlabelled = std::all_of(staff.begin(), staff.begin() + FourLines,
                                        [](const StaffLine& line) { return line.label.empty(); });
    const bool numbered = std::all_of(staff.begin(), staff.begin() + FourLines,
                                      [](const StaffLine& line) { return line.digitLabel; });
    if (unlabelled) {
        if (!banjoText)
            return std::nullopt;
    } else if (numbered) {
        std::array<bool, FourLines + 1> seen{};
        for (std::size_t k = 0; k < FourLines; ++k) {
            const int number = staff[k].label[0] - '0';
            if (number < 1 || number > static_cast<int>(FourLines) || seen[number])
                return std::nullopt;
            seen[number] = true;
        }
        fifth.label = "5";
    } else if (const std::optional<std::string> name = FifthStringOfFourLabels(staff)) {
        fifth.label = *name;
        fifth.digitLabel = false;
    } else {
        return std::nullopt;
    }
    staff[FourLines] = std::move(fifth);
    return staff;
}

// True when a line before the first staff says "banjo" (in any letter case).
bool SpeaksOfBanjo(const std::vector<std::string>& lines,
                   const std::vector<std::optional<StaffLine>>& staffLines) {
    for (std::size_t i = 0; i < lines.size() && !staffLines[i]; ++i) {
        std::string lower = lines[i];
        for (char& c : lower)
            c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
        if (lower.find("banjo") != std::string::npos)
            return true;
    }
    return false;
}

// Reads the run of staff lines [first, last) and the duration line after it into pieces;
// returns the index of the first line not used. In this program's own tablature (`ownTab`) any
// words above a staff are its chord names.
std::size_t ReadRun(const std::vector<std::string>& lines,
                    const std::vector<std::optional<StaffLine>>& staffLines, std::size_t first,
                    std::size_t last, bool ownTab, bool banjoText, std::vector<Piece>& pieces) {
    const std::size_t count = last - first;
    // Staffs of four lines: strings 1 to 4, the 5th string not played.
    std::vector<std::array<StaffLine, StaffLines>> fourLineStaffs;
    if (count % StaffLines != 0 && count % FourLines == 0)
        for (std::size_t start = first; start < last; start += FourLines) {
            std::optional<std::array<StaffLine, StaffLines>> staff =
                FourLineStaff(staffLines, start, banjoText);
            if (!staff) {
                fourLineStaffs.clear();
                break;
            }
            fourLineStaffs.push_back(std::move(*staff));
        }
    const bool fourLines = !fourLineStaffs.empty();
    const std::size_t height = fourLines ? FourLines : StaffLines;
    if (count % StaffLines != 0 && !fourLines) {
        for (std::size_t i = first; i < last; ++i)
            pieces.push_back({CommentLine(lines[i]), std::nullopt});
        return last;
    }
    // The line right above the run: a rhythm row or the chord names of its first staff.
    bool lineAbove = first > 0 && !pieces.empty() && !pieces.back().staff &&
                     pieces.back().comment == CommentLine(lines[first - 1]);
    std::size_t next = last;
    for (std::size_t start = first; start < last; start += height) {
        Staff staff;
        if (fourLines) {
            staff.lines = fourLineStaffs[(start - first) / FourLines];
            staff.fourLines = true;
        } else {
            for (std::size_t k = 0; k < StaffLines; ++k)
                staff.lines[k] = *staffLines[start + k];
        }
        // Only the last staff of a run can have a line under it, only the first one above it.
        if (start + height == last && last < lines.size())
            staff.durations = tabstaff::ReadDurationLine(lines[last]);
        const std::vector<tabstaff::DurationMark>* given =
            staff.durations ? &*staff.durations : nullptr;
        staff.reading = tabstaff::ReadOwnLayoutStaff(staff.lines, given);
        if (!staff.reading)
            staff.scan = tabstaff::ScanStaff(staff.lines);
        bool durationLineUsed = staff.reading ? staff.reading->durationLineUsed
                                              : given && given->size() == staff.scan.chords.size();
        if (start == first && lineAbove && !durationLineUsed && !staff.reading) {
            std::optional<std::vector<tabstaff::DurationMark>> above =
                tabstaff::ReadDurationLine(lines[first - 1]);
            if (above && above->size() == staff.scan.chords.size()) {
                staff.durations = std::move(above);
                pieces.pop_back(); // the rhythm now stands in the chord lines
                durationLineUsed = true;
                lineAbove = false;
                given = nullptr; // the line below, if any, stays as it was
            }
        }
        if (start == first && lineAbove)
            if (std::optional<std::vector<PlacedName>> names =
                    tabstaff::ReadStaffTopLine(lines[first - 1], ownTab, &staff.signs)) {
                staff.names = std::move(*names);
                pieces.pop_back(); // the names now stand in the chord lines
            }
        std::vector<std::string> remarks;
        for (const StaffLine& line : staff.lines) {
            if (const std::optional<int> repeats = tabstaff::RepeatCountOf(line.remark)) {
                staff.lineRepeats = *repeats;
                continue;
            }
            if (!line.remark.empty() &&
                std::find(remarks.begin(), remarks.end(), line.remark) == remarks.end())
                remarks.push_back(line.remark);
        }
        pieces.push_back({{}, std::move(staff)});
        for (const std::string& remark : remarks)
            pieces.push_back({CommentLine(remark), std::nullopt});
        if (given && durationLineUsed)
            next = last + 1;
    }
    return next;
}

// A run that is whole staffs once its count lines are taken out: the staffs read, the count
// lines kept as comments where they stand. Returns the index of the first line not used, or
// nothing (and reads nothing) when the run is not such a run.
std::optional<std::size_t> ReadCountedRun(const std::vector<std::string>& lines,
                                          const std::vector<std::optional<StaffLine>>& staffLines,
                                          std::size_t first, std::size_t last, bool ownTab,
                                          bool banjoText, std::vector<Piece>& pieces) {
    if ((last - first) % StaffLines == 0)
        return std::nullopt;
    std::vector<std::size_t> counts;
    for (std::size_t k = first; k < last; ++k)
        if (tabstaff::IsCountLine(*staffLines[k]))
            counts.push_back(k);
    if (counts.empty())
        return std::nullopt;
    std::size_t from = first;
    for (std::size_t k = 0; k <= counts.size(); ++k) {
        const std::size_t to = k < counts.size() ? counts[k] : last;
        if ((to - from) % StaffLines != 0)
            return std::nullopt;
        from = to + 1;
    }
    std::size_t next = first;
    from = first;
    for (std::size_t k = 0; k <= counts.size(); ++k) {
        const std::size_t to = k < counts.size() ? counts[k] : last;
        next = to > from ? ReadRun(lines, staffLines, from, to, ownTab, banjoText, pieces) : to;
        if (k < counts.size())
            pieces.push_back({CommentLine(lines[to]), std::nullopt});
        from = to + 1;
    }
    return next;
}

std::vector<Piece> ReadPieces(const std::vector<std::string>& lines,
                              const std::vector<std::optional<StaffLine>>& staffLines,
                              const OwnHeader& header, bool banjoText) {
    const bool ownTab = header.tuningCode.has_value();
    std::vector<Piece> pieces;
    std::size_t i = 0;
    while (i < lines.size()) {
        if (staffLines[i]) {
            std::size_t end = i;
            while (end < lines.size() && staffLines[end])
                ++end;
            // Count lines between staffs that are glued together part them.
            if (const std::optional<std::size_t> after =
                    ReadCountedRun(lines, staffLines, i, end, ownTab, banjoText, pieces)) {
                i = *after;
                continue;
            }
            // Rules and count lines at either end of a run that is not whole staffs are no
            // strings of it; words among them stay as comments where they stand.
            const std::size_t runStart = i;
            while ((end - i) % StaffLines != 0 && IsGluedLine(*staffLines[i]))
                ++i;
            for (std::size_t k = runStart; k < i; ++k)
                if (CarriesWords(lines[k]))
                    pieces.push_back({CommentLine(lines[k]), std::nullopt});
            const std::size_t runEnd = end;
            while ((end - i) % StaffLines != 0 && IsGluedLine(*staffLines[end - 1]))
                --end;
            std::size_t after = ReadRun(lines, staffLines, i, end, ownTab, banjoText, pieces);
            if (after == end && end < runEnd) {
                for (std::size_t k = end; k < runEnd; ++k)
                    if (CarriesWords(lines[k]))
                        pieces.push_back({CommentLine(lines[k]), std::nullopt});
                after = runEnd;
            }
            i = after;
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

// The tuning named by the first staff whose five labels are note names.
std::optional<int> LabelTuning(const std::vector<Piece>& pieces) {
    for (const Piece& piece : pieces) {
        if (!piece.staff)
            continue;
        std::array<std::string, StaffLines> labels;
        bool named = true;
        for (std::size_t k = 0; k < StaffLines; ++k) {
            labels[k] = piece.staff->lines[k].label;
            named = named && !labels[k].empty() && !piece.staff->lines[k].digitLabel;
        }
        bool fifthOnTop = false;
        if (named)
            if (const std::optional<int> code = tabstaff::TuningCodeOfLabels(labels, fifthOnTop))
                return code;
    }
    return std::nullopt;
}

template <typename Visit> void ForEachChord(std::vector<Piece>& pieces, Visit visit) {
    for (Piece& piece : pieces)
        if (piece.staff && piece.staff->reading)
            for (tabstaff::ReadMeasure& measure : piece.staff->reading->measures)
                for (ReadChord& chord : measure)
                    visit(chord);
}

// A 5th-string fret numbered as on the neck, in this program's numbers.
int OwnFifthStringFret(int fret, TabMarkCounts& marks) {
    if (fret > FifthStringNeckOffset)
        return fret - FifthStringNeckOffset;
    if (fret >= 1)
        ++marks.lowFifthFrets;
    return fret;
}

// Frets the neck does not have are left out.
void DropBeyondNeck(ReadChord& chord, TabMarkCounts& marks) {
    for (int k = 1; k <= 5; ++k) {
        if (chord.hammer[k] > MaxFret) {
            chord.hammer[k] = NoFret;
            ++marks.beyondNeck;
        }
        if (chord.fret[k] > MaxFret) {
            chord.fret[k] = NoFret;
            chord.hammer[k] = NoFret;
            ++marks.beyondNeck;
        }
    }
}

std::string ChordLineOf(const ReadChord& chord, const std::string& givenName,
                        const std::array<int, 6>& offsets) {
    if (chord.IsRest())
        return ComposeNamedChordText(RestName, chord.fret, chord.hammer, chord.duration);
    if (!givenName.empty()) {
        std::string line =
            ComposeNamedChordText(givenName, chord.fret, chord.hammer, chord.duration);
        if (ParseChordText(line, 0).ok())
            return line;
    }
    const std::string unnamed = ComposeChordText(chord.fret, chord.hammer, chord.duration);
    const ParsedLine parsed = ParseChordText(unnamed, 0);
    const std::vector<ChordSymbol> names = NameChordLine(parsed.entry, offsets);
    return names.empty() ? unnamed
                         : ComposeNamedChordText(names.front().text, chord.fret, chord.hammer,
                                                 chord.duration);
}

// A length in sixty-fourths as a fraction of a whole note in lowest terms: "1/4", "3/8".
std::string WholeNoteFraction(int length64) {
    int numerator = length64;
    int denominator = 64;
    while (numerator % 2 == 0 && denominator > 1) {
        numerator /= 2;
        denominator /= 2;
    }
    return std::to_string(numerator) + "/" + std::to_string(denominator);
}

// The names this program's own tablature starts at the chords of a staff (empty where none
// starts). Its writer puts a name over its chord's fret digit, or, when the text before would
// touch it, further right: such a name is taken to start at the first chord after the one the
// name before it started at (names never start at a rest). Crowded names that change over
// chords left unnamed cannot tell more.
std::vector<std::string> OwnNameStarts(const StaffReading& staff,
                                       const std::vector<PlacedName>& names) {
    std::vector<const ReadChord*> chords;
    for (const tabstaff::ReadMeasure& measure : staff.measures)
        for (const ReadChord& chord : measure)
            chords.push_back(&chord);
    std::vector<std::string> starts(chords.size());
    std::size_t next = 0; // the first chord the next name may start at
    for (const PlacedName& name : names) {
        std::size_t at = chords.size();
        // A name right after a meter or an ending over a bar was pushed there from the first
        // chord after the bar: a name is far likelier to change at a measure's start.
        if (name.afterSign != std::string::npos)
            for (std::size_t i = next; i < chords.size() && at == chords.size(); ++i)
                if (!chords[i]->IsRest() && chords[i]->column <= name.column &&
                    chords[i]->column > name.afterSign)
                    at = i;
        for (std::size_t i = next; i < chords.size() && at == chords.size(); ++i)
            if (!chords[i]->IsRest() && chords[i]->column == name.column)
                at = i;
        for (std::size_t i = next; i < chords.size() && at == chords.size(); ++i)
            if (!chords[i]->IsRest() && chords[i]->column < name.column)
                at = i;
        if (at == chords.size())
            break;
        starts[at] = name.name;
        next = at + 1;
    }
    return starts;
}

// The markers of repeats and endings before and after each measure of a staff: "|:" opens a
// repeat before the first measure after it, ":|" and a count ("x3") after a bar close one after
// the last measure before it, an ending sign above a measure starts that ending, and a count
// after the whole staff repeats the staff (from its start, unless a repeat opens in it).
struct MeasureComments {
    std::vector<std::vector<std::string>> before;
    std::vector<std::vector<std::string>> after;
};

// A song's repeat is played 2 to 99 times: a tab's "x1" is read as the plain repeat its sign
// shows, and a larger count than a song holds as its largest.
std::string RepeatEndMarker(int count) {
    return count > 1 ? "* Repeat: end x" + std::to_string(std::min(count, 99)) : "* Repeat: end";
}

MeasureComments StructureComments(const StaffReading& reading, const Staff& staff) {
    const std::size_t count = reading.measures.size();
    MeasureComments comments{std::vector<std::vector<std::string>>(count),
                             std::vector<std::vector<std::string>>(count)};
    if (count == 0)
        return comments;
    const auto measureAfter = [&](std::size_t column) {
        std::size_t firstAfter = count;
        for (std::size_t m = count; m > 0; --m)
            if (reading.measures[m - 1].front().column > column)
                firstAfter = m - 1;
        return firstAfter;
    };
    // Ends by bar: a count at a bar belongs to the ":|" there, if any.
    struct End {
        std::size_t column;
        int count;
    };
    std::vector<End> ends;
    bool opens = false;
    for (const tabstaff::RepeatMark& mark : reading.repeats) {
        const std::size_t firstAfter = measureAfter(mark.column);
        if (mark.opens) {
            opens = true;
            comments.before[std::min(firstAfter, count - 1)].push_back("* Repeat: start");
            continue;
        }
        const std::optional<int> repeats = tabstaff::RepeatCountOf(mark.text);
        const auto same = std::find_if(ends.begin(), ends.end(),
                                       [&](const End& e) { return e.column == mark.column; });
        if (same != ends.end()) {
            same->count = std::max(same->count, repeats.value_or(0));
            continue;
        }
        ends.push_back({mark.column, repeats.value_or(0)});
    }
    if (staff.lineRepeats > 0) {
        const std::size_t lastColumn = reading.measures.back().back().column;
        const auto last = std::find_if(ends.begin(), ends.end(), [&](const End& e) {
            return measureAfter(e.column) == count && e.column > lastColumn;
        });
        if (last != ends.end()) {
            last->count = std::max(last->count, staff.lineRepeats);
        } else {
            ends.push_back({std::string::npos, staff.lineRepeats});
            if (!opens)
                comments.before[0].insert(comments.before[0].begin(), "* Repeat: start");
        }
    }
    // A count above a ":|" (this program writes it over the colon) belongs to the nearest end.
    for (const PlacedName& sign : staff.signs.counts) {
        const auto nearest =
            std::min_element(ends.begin(), ends.end(), [&](const End& a, const End& b) {
                const auto distance = [&](const End& e) {
                    return e.column > sign.column ? e.column - sign.column : sign.column - e.column;
                };
                return distance(a) < distance(b);
            });
        if (nearest != ends.end())
            nearest->count = std::stoi(sign.name);
    }
    for (const End& end : ends) {
        const std::size_t firstAfter =
            end.column == std::string::npos ? count : measureAfter(end.column);
        if (firstAfter > 0)
            comments.after[firstAfter - 1].push_back(RepeatEndMarker(end.count));
        else
            comments.before[0].push_back(RepeatEndMarker(end.count));
    }
    for (const PlacedName& meter : staff.signs.meters)
        comments.before[std::min(measureAfter(meter.column), count - 1)].insert(
            comments.before[std::min(measureAfter(meter.column), count - 1)].begin(),
            "* Time: " + meter.name);
    for (const PlacedName& ending : staff.signs.endings) {
        std::size_t m = 0;
        while (m + 1 < count && reading.measures[m].back().column < ending.column)
            ++m;
        comments.before[m].push_back("* Ending: " + ending.name);
    }
    return comments;
}

} // namespace

TabReading ReadAsciiTab(std::string_view text, int tuning) {
    TabReading reading;
    const std::vector<std::string> lines = SplitLines(text);
    std::vector<std::optional<StaffLine>> staffLines;
    staffLines.reserve(lines.size());
    for (const std::string& line : lines)
        staffLines.push_back(tabstaff::ReadStaffLine(line));
    const OwnHeader header = FindOwnHeader(lines, staffLines);
    const WebHeader web = header.tuningCode ? WebHeader{} : FindWebHeader(lines, staffLines);
    std::vector<Piece> pieces =
        ReadPieces(lines, staffLines, header, web.tuningCode || SpeaksOfBanjo(lines, staffLines));

    reading.tuningCode = header.tuningCode ? header.tuningCode : web.tuningCode;
    if (!reading.tuningCode) {
        reading.tuningCode = LabelTuning(pieces);
        const auto firstLabelled =
            std::find_if(pieces.begin(), pieces.end(), [](const Piece& piece) {
                return piece.staff && !piece.staff->lines[0].label.empty() &&
                       !piece.staff->lines[0].digitLabel;
            });
        reading.fifthStringGuessed =
            reading.tuningCode && firstLabelled != pieces.end() && firstLabelled->staff->fourLines;
    }
    for (const Piece& piece : pieces)
        if (piece.staff && piece.staff->fourLines)
            ++reading.fourLineStaffs;
    const tabstaff::Meter meter = web.meter.value_or(tabstaff::Meter{});
    if (web.meter && !web.meter->IsCommonTime())
        reading.meter = web.meter->Text();

    // The rhythm of staffs read by their spacing, with the tab's common gap for short staffs.
    std::vector<std::size_t> gaps;
    for (const Piece& piece : pieces)
        if (piece.staff && !piece.staff->reading) {
            const std::vector<std::size_t> staffGaps = tabstaff::ChordGaps(piece.staff->scan);
            gaps.insert(gaps.end(), staffGaps.begin(), staffGaps.end());
        }
    tabstaff::RhythmFrame frame{meter, tabstaff::CommonGap(gaps)};
    const auto isStaff = [](const Piece& piece) { return piece.staff.has_value(); };
    const auto firstStaffPiece = std::find_if(pieces.begin(), pieces.end(), isStaff);
    const auto lastStaffPiece = std::find_if(pieces.rbegin(), pieces.rend(), isStaff);
    for (auto it = pieces.begin(); it != pieces.end(); ++it)
        if (it->staff && !it->staff->reading) {
            Staff& staff = *it->staff;
            const std::vector<tabstaff::DurationMark>* given =
                staff.durations ? &*staff.durations : nullptr;
            frame.firstStaff = it == firstStaffPiece;
            frame.lastStaff = &*it == &*lastStaffPiece;
            staff.reading = tabstaff::ReadStaff(staff.scan, given, frame);
            reading.filledMeasures += staff.reading->filledMeasures;
        }

    reading.ownNumbering = header.tuningCode.has_value() && !header.neckFrets;
    for (const Piece& piece : pieces)
        if (piece.staff)
            reading.marks += piece.staff->reading->marks;
    ForEachChord(pieces, [&](ReadChord& chord) {
        if (!reading.ownNumbering) {
            chord.fret[5] = OwnFifthStringFret(chord.fret[5], reading.marks);
            chord.hammer[5] = OwnFifthStringFret(chord.hammer[5], reading.marks);
        }
        DropBeyondNeck(chord, reading.marks);
    });
    reading.droppedMarks = reading.marks.LeftOut();

    // A capo named before the first staff ("capo 2", "Capo on 2nd fret"): chords are named at
    // the pitch they sound, and the song gets its capo line.
    reading.capo = header.capo;
    for (std::size_t i = 0; i < lines.size() && !staffLines[i] && reading.capo == 0; ++i)
        reading.capo = CapoOfHeaderText(lines[i]).value_or(0);
    const bool capoWritten = std::any_of(pieces.begin(), pieces.end(), [](const Piece& piece) {
        return !piece.staff && ReadCapoMarker(piece.comment).has_value();
    });
    const std::array<int, 6> offsets =
        CapoOffsets(TuningOffsets(reading.tuningCode.value_or(tuning)), reading.capo);
    const std::string timeLine = "* Time: " + reading.meter;
    const bool timeWritten = std::any_of(pieces.begin(), pieces.end(), [&](const Piece& piece) {
        return !piece.staff && piece.comment == timeLine;
    });
    // This program's own tablature names a chord where the name changes: the name carries on
    // over the chords after it, also into the staffs below, and chords before the first name
    // are unnamed.
    const bool carryNames =
        header.tuningCode && std::any_of(pieces.begin(), pieces.end(), [](const Piece& piece) {
            return piece.staff && !piece.staff->names.empty();
        });
    std::string carried = carryNames ? "Chord" : "";
    bool firstStaff = true;
    int measureNumber =
        firstStaffPiece != pieces.end() && firstStaffPiece->staff->reading->pickup64 > 0 ? 0 : 1;
    for (const Piece& piece : pieces) {
        if (!piece.staff) {
            reading.lines.push_back(piece.comment);
            continue;
        }
        if (firstStaff && reading.capo > 0 && !capoWritten)
            reading.lines.push_back(CapoMarkerLine(reading.capo));
        if (firstStaff && !reading.meter.empty() && !timeWritten)
            reading.lines.push_back(timeLine);
        if (firstStaff && piece.staff->reading->pickup64 > 0)
            reading.lines.push_back("* Pickup: " +
                                    WholeNoteFraction(piece.staff->reading->pickup64));
        firstStaff = false;
        ++reading.staffs;
        const StaffReading& staff = *piece.staff->reading;
        for (const std::size_t m : staff.guessed)
            reading.guessedMeasures.push_back(measureNumber + static_cast<int>(m));
        measureNumber += static_cast<int>(staff.measures.size());
        const MeasureComments comments = StructureComments(staff, *piece.staff);
        const std::vector<std::string> starts =
            carryNames ? OwnNameStarts(staff, piece.staff->names) : std::vector<std::string>();
        std::size_t index = 0;
        for (std::size_t m = 0; m < staff.measures.size(); ++m) {
            for (const std::string& comment : comments.before[m])
                reading.lines.push_back(comment);
            for (const ReadChord& chord : staff.measures[m]) {
                std::string name = carryNames
                                       ? starts[index++]
                                       : tabstaff::NameOver(piece.staff->names, chord.column);
                if (carryNames && !name.empty())
                    carried = name;
                if (carryNames)
                    name = carried;
                reading.lines.push_back(ChordLineOf(chord, name, offsets));
                ++reading.chordLines;
            }
            for (const std::string& comment : comments.after[m])
                reading.lines.push_back(comment);
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

} // namespace fw
