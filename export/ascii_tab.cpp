#include "ascii_tab.h"

#include "chords/text_rules.h"

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

// A hammer-on cell takes three: "---" for no target, "/4-", "/12".
void AppendHammerCell(std::string& line, int fret) {
    if (fret < 0)
        line += "---";
    else if (fret <= 9)
        line += {'/', static_cast<char>('0' + fret), '-'};
    else
        line += '/' + std::to_string(fret);
}

void AppendBlock(AsciiTab& tab, const AsciiBlock& block, bool showDurations) {
    for (int k = 1; k <= 5; ++k)
        tab.lines.push_back(block.lines[k]);
    tab.lines.push_back(showDurations ? block.lines[0] : std::string());
    tab.lines.emplace_back();
    ++tab.blocks;
}

} // namespace

std::vector<std::string> AsciiHeader(const AsciiTabTitles& titles) {
    return {"", titles.tuningText, "", Centred(titles.title), Centred(titles.subtitle), ""};
}

bool AppendAsciiMeasure(AsciiBlock& block, std::span<const TabItem> measureChords,
                        bool startNewLine) {
    std::string& durations = block.lines[0];
    if (startNewLine) {
        // assign(1, c) rather than = "c": g++ 12 at -O3 gives a false -Wrestrict there.
        for (int k = 1; k <= 5; ++k)
            block.lines[k].assign(1, '|');
        durations.assign(1, ' ');
    }
    const int n = ColumnCount(measureChords);
    const std::size_t pad = static_cast<std::size_t>((MeasureRoom - n) / (n + 1));
    const std::string dashes(pad, '-');
    const std::string spaces(pad, ' ');
    for (int k = 1; k <= 5; ++k)
        block.lines[k] += dashes;
    durations += spaces;

    bool truncated = false;
    int count = 0;
    for (const TabItem& item : measureChords) {
        if (++count > MaxMeasureChords) {
            truncated = true;
            break;
        }
        const bool hammered = item.HasHammerOn();
        for (int k = 1; k <= 5; ++k) {
            std::string& line = block.lines[k];
            AppendFretCell(line, item.Fret[k]);
            if (k == 5)
                durations += ' ' + item.Duration;
            if (hammered) {
                AppendHammerCell(line, item.HammerFret[k]);
                if (k == 5)
                    durations += "   ";
            }
            line += dashes;
        }
        durations += spaces;
    }
    for (int k = 1; k <= 5; ++k)
        block.lines[k] += '|';
    durations += ' ';
    return truncated;
}

AsciiTab BuildAsciiTab(std::span<const TabItem> items, const AsciiTabTitles& titles,
                       bool showDurations) {
    AsciiTab tab;
    tab.lines = AsciiHeader(titles);
    AsciiBlock block;
    bool startNewLine = true;
    for (const TabMeasure& measure : NonEmptyMeasures(items)) {
        if (AppendAsciiMeasure(block, MeasureChords(items, measure), startNewLine))
            tab.truncated = true;
        if (!startNewLine)
            AppendBlock(tab, block, showDurations);
        startNewLine = !startNewLine;
    }
    if (!startNewLine)
        AppendBlock(tab, block, showDurations);
    return tab;
}

} // namespace fw
