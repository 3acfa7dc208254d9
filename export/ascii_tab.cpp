#include "ascii_tab.h"

#include "chords/text_rules.h"
#include "tab_marks.h"
#include "tab_rows.h"

#include <algorithm>

namespace fw {

namespace {

// Text lines are centred on column 40.
constexpr int CentreColumn = 40;
// The room a measure's cells and padding share in a string line.
constexpr int MeasureRoom = 38;

std::string Centred(const std::string& text) {
    const int spaces = CentreColumn - static_cast<int>(CharCount(text) / 2);
    return spaces > 0 ? std::string(static_cast<std::size_t>(spaces), ' ') + text : text;
}

// A fret cell takes two characters: "--" for a string not played, "-7", "12".
void AppendFretCell(std::string& line, int fret) {
    if (fret < 0)
        line += "--";
    else if (fret <= 9)
        line += {'-', static_cast<char>('0' + fret)};
    else
        line += std::to_string(fret);
}

// A hammer-on cell takes three: "---" for no target, "/4-", "/12" (or "h4-", "p2-", "h12").
void AppendHammerCell(std::string& line, int fret, char mark) {
    if (fret < 0)
        line += "---";
    else if (fret <= 9)
        line += {mark, static_cast<char>('0' + fret), '-'};
    else
        line += mark + std::to_string(fret);
}

// The dashes around every cell of a measure of `n` columns; 0 once the cells fill the room.
std::size_t PadOf(int n) {
    return static_cast<std::size_t>(std::max(0, (MeasureRoom - n) / (n + 1)));
}

// The forms chosen, with what they need worked out once.
struct AsciiForm {
    TabOptions options;
    std::array<std::string, 6> labels; // string names padded to one width; empty without them
    std::size_t labelWidth = 0;
    bool topLine = false; // a line above each staff for chord names and the measure number
};

AsciiForm FormOf(const TabOptions& options, int tuningCode) {
    AsciiForm form;
    form.options = options;
    form.topLine = options.chordNames || ShowsMeasureNumbers(options.bars);
    if (options.stringNames) {
        const std::array<std::string, 6> names = StaffStringNames(tuningCode);
        for (int k = 1; k <= 5; ++k)
            form.labelWidth = std::max(form.labelWidth, names[k].size());
        for (int k = 1; k <= 5; ++k)
            form.labels[k] = names[k] + std::string(form.labelWidth - names[k].size(), ' ');
    }
    return form;
}

// The width of a measure in the string lines, its closing bar included.
std::size_t MeasureWidth(std::span<const TabItem> chords, TabBars bars) {
    const std::size_t pad = PadOf(ColumnCount(chords, bars));
    std::size_t width = pad + 1;
    for (const TabItem& item : chords)
        width += 2 + (item.HasHammerOn() ? 3 : 0) + pad;
    return width;
}

// `text` in the line above the staff at `column`, or one space after the text already there.
void PlaceAbove(std::string& top, std::size_t column, std::string_view text) {
    if (!top.empty() && top.size() + 1 > column)
        column = top.size() + 1;
    top.append(column - top.size(), ' ');
    top += text;
}

// Appends a measure to the block in the chosen forms; `names` follows the chord names when they
// are shown, `measureNumber` (0: none) heads a block begun again. Returns true when chords were
// dropped (more than MaxMeasureChords in a measure cut at blank lines).
bool AppendMeasure(AsciiBlock& block, std::span<const TabItem> measureChords, bool startNewLine,
                   const AsciiForm& form, ChordNameChanges* names, int measureNumber) {
    const TabOptions& options = form.options;
    std::string& durations = block.lines[0];
    if (startNewLine) {
        for (int k = 1; k <= 5; ++k) {
            block.lines[k].assign(form.labels[k]);
            block.lines[k] += '|';
        }
        durations.assign(form.labelWidth + 1, ' ');
        block.top = measureNumber > 0 ? std::to_string(measureNumber) : std::string();
    }
    const std::size_t pad = PadOf(ColumnCount(measureChords, options.bars));
    const std::string dashes(pad, '-');
    const std::string spaces(pad, ' ');
    // The song's structure: a meter and an ending's number above the measure's opening bar,
    // and "|:" for a repeat's start.
    if (!measureChords.empty()) {
        const TabItem& opening = measureChords.front();
        const std::size_t bar = block.lines[1].size() - 1;
        if (opening.MeterBeats != 0)
            PlaceAbove(block.top, bar,
                       std::to_string(opening.MeterBeats) + "/" +
                           std::to_string(opening.MeterUnit));
        if (opening.EndingNumber != 0)
            PlaceAbove(block.top, bar, std::to_string(opening.EndingNumber) + ".");
        if (opening.RepeatStart) {
            for (int k = 1; k <= 5; ++k)
                block.lines[k] += ':';
            durations += ' ';
        }
    }
    for (int k = 1; k <= 5; ++k)
        block.lines[k] += dashes;
    durations += spaces;

    bool truncated = false;
    int count = 0;
    for (const TabItem& item : measureChords) {
        if (options.bars == TabBars::BlankLines && ++count > MaxMeasureChords) {
            truncated = true;
            break;
        }
        if (names) {
            // Over the fret's digit, where the duration stands below.
            if (const std::string_view name = names->Label(item); !name.empty())
                PlaceAbove(block.top, block.lines[1].size() + 1, name);
        }
        // "3" over a triplet group's middle chord (its first when it is cut short).
        if (item.TripletPlace == 2 || (item.TripletPlace == 1 && item.TripletLast))
            PlaceAbove(block.top, block.lines[1].size() + 1, "3");
        const bool hammered = item.HasHammerOn();
        for (int k = 1; k <= 5; ++k) {
            std::string& line = block.lines[k];
            AppendFretCell(line, ShownFret(k, item.Fret[k], options.neckFrets));
            if (k == 5)
                durations += ' ' + item.Duration;
            if (hammered) {
                const char mark = HammerMark(item.Fret[k], item.HammerFret[k], options.letterMarks);
                AppendHammerCell(line, ShownFret(k, item.HammerFret[k], options.neckFrets), mark);
                if (k == 5)
                    durations += "   ";
            }
            line += dashes;
        }
        durations += spaces;
    }
    // ":|" for a repeat's end, with its count above when it is played more than twice.
    if (!measureChords.empty() && measureChords.back().RepeatEndCount != 0) {
        const int times = measureChords.back().RepeatEndCount;
        if (times != 2)
            PlaceAbove(block.top, block.lines[1].size(), "x" + std::to_string(times));
        for (int k = 1; k <= 5; ++k)
            block.lines[k] += ':';
        durations += ' ';
    }
    for (int k = 1; k <= 5; ++k)
        block.lines[k] += '|';
    durations += ' ';
    return truncated;
}

void AppendBlock(AsciiTab& tab, const AsciiBlock& block, const AsciiForm& form) {
    if (form.topLine)
        tab.lines.push_back(block.top);
    for (int k = 1; k <= 5; ++k)
        tab.lines.push_back(block.lines[k]);
    tab.lines.push_back(form.options.ShowsRhythm() ? block.lines[0] : std::string());
    tab.lines.emplace_back();
    ++tab.blocks;
}

} // namespace

std::vector<std::string> AsciiHeader(const AsciiTabTitles& titles) {
    return {"", titles.tuningText, "", Centred(titles.title), Centred(titles.subtitle), ""};
}

bool AppendAsciiMeasure(AsciiBlock& block, std::span<const TabItem> measureChords,
                        bool startNewLine) {
    static const AsciiForm plain = FormOf(TabOptions{}, ReferenceTuningCode);
    return AppendMeasure(block, measureChords, startNewLine, plain, nullptr, 0);
}

AsciiTab BuildAsciiTab(std::span<const TabItem> items, const AsciiTabTitles& titles,
                       bool showDurations) {
    TabOptions options;
    options.rhythm = showDurations ? TabRhythm::Letters : TabRhythm::None;
    return BuildAsciiTab(items, titles, options);
}

AsciiTab BuildAsciiTab(std::span<const TabItem> items, const AsciiTabTitles& titles,
                       const TabOptions& options, int tuningCode) {
    AsciiTab tab;
    AsciiTabTitles shownTitles = titles;
    if (options.neckFrets)
        shownTitles.tuningText += NeckFretsSuffix;
    tab.lines = AsciiHeader(shownTitles);
    AsciiForm form = FormOf(options, tuningCode);
    // A song with structure markers or triplets has the line above the staff for their signs.
    form.topLine = form.topLine || std::any_of(items.begin(), items.end(), [](const TabItem& i) {
                       return i.EndingNumber != 0 || i.MeterBeats != 0 || i.TripletPlace != 0 ||
                              i.RepeatEndCount > 2;
                   });
    const std::vector<TabMeasure> measures = NonEmptyMeasures(items);
    std::vector<double> widths;
    if (options.bars == TabBars::Meter) {
        widths.reserve(measures.size());
        for (const TabMeasure& measure : measures)
            widths.push_back(
                static_cast<double>(MeasureWidth(MeasureChords(items, measure), options.bars)));
    } else {
        widths.assign(measures.size(), 0.0); // two to a row whatever their widths
    }
    const double rowWidth = static_cast<double>(AsciiRowWidth) -
                            static_cast<double>(form.labelWidth) - 1; // the opening bar
    const bool numbered = ShowsMeasureNumbers(options.bars);
    ChordNameChanges names;
    AsciiBlock block;
    for (const TabRow& row : TabRows(widths, rowWidth, options.bars)) {
        for (std::size_t i = row.first; i < row.first + row.count; ++i) {
            if (AppendMeasure(block, MeasureChords(items, measures[i]), i == row.first, form,
                              options.chordNames ? &names : nullptr,
                              numbered ? row.measureNumber : 0))
                tab.truncated = true;
        }
        AppendBlock(tab, block, form);
    }
    return tab;
}

} // namespace fw
