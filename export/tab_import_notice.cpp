// The one message an import of ASCII tablature gives: what it assumed, what it read as something
// else and what it left out.

#include "ascii_tab_reader.h"

#include <vector>

namespace fw {

namespace {

std::string Counted(int count, std::string_view one, std::string_view many) {
    return std::to_string(count) + " " + std::string(count == 1 ? one : many);
}

std::string Joined(const std::vector<std::string>& parts) {
    std::string text;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        if (i > 0)
            text += i + 1 == parts.size() ? " and " : ", ";
        text += parts[i];
    }
    return text;
}

std::string TuningName(int code) {
    return code == ReferenceTuningCode ? "open G (g D G B D)" : TuningStatusText(code);
}

} // namespace

std::string ImportNotice(const TabReading& reading, std::optional<int> keptTuning) {
    std::vector<std::string> sentences;
    if (!keptTuning && !reading.tuningCode)
        sentences.push_back("The tab names no tuning: " + TuningName(ReferenceTuningCode) +
                            " assumed.");
    if (keptTuning && reading.tuningCode && *reading.tuningCode != *keptTuning)
        sentences.push_back("The tab is in " + TuningName(*reading.tuningCode) +
                            "; the song keeps its tuning.");

    if (reading.fourLineStaffs > 0)
        sentences.push_back(Counted(reading.fourLineStaffs, "staff", "staffs") +
                            " of four lines read as strings 1 to 4: the 5th string is not played.");
    if (reading.fifthStringGuessed && reading.tuningCode && !keptTuning)
        sentences.push_back("The labels name strings 1 to 4 only: " +
                            TuningName(*reading.tuningCode) + " assumed.");

    const TabMarkCounts& m = reading.marks;
    if (m.slides > 0)
        sentences.push_back(Counted(m.slides, "slide", "slides") + " read as " +
                            (m.slides == 1 ? "a hammer-on." : "hammer-ons."));
    if (m.slidesIntoNotes > 0)
        sentences.push_back(Counted(m.slidesIntoNotes, "slide into a note", "slides into notes") +
                            " read as " +
                            (m.slidesIntoNotes == 1 ? "a plain note." : "plain notes."));
    if (m.lowFifthFrets > 0)
        sentences.push_back(
            Counted(m.lowFifthFrets, "5th-string fret", "5th-string frets") +
            " of 1 to 5, below the neck's 6th fret, read from the string's own nut.");

    std::vector<std::string> leftOut;
    if (m.chainedLinks > 0)
        leftOut.push_back(
            Counted(m.chainedLinks, "hammer-on or pull-off", "hammer-ons or pull-offs") +
            " after the first on one pick");
    if (m.bends > 0)
        leftOut.push_back(Counted(m.bends, "bend", "bends"));
    if (m.releases > 0)
        leftOut.push_back(Counted(m.releases, "release", "releases"));
    if (m.chokes > 0)
        leftOut.push_back(Counted(m.chokes, "choke", "chokes"));
    if (m.vibrato > 0)
        leftOut.push_back(Counted(m.vibrato, "vibrato", "vibratos"));
    if (m.mutedNotes > 0)
        leftOut.push_back(Counted(m.mutedNotes, "muted note", "muted notes"));
    if (m.beyondNeck > 0)
        leftOut.push_back(Counted(m.beyondNeck, "fret", "frets") + " beyond the neck");
    if (!leftOut.empty())
        sentences.push_back(Joined(leftOut) + " left out.");

    if (!reading.guessedMeasures.empty()) {
        std::vector<std::string> numbers;
        for (const int number : reading.guessedMeasures)
            numbers.push_back(std::to_string(number));
        sentences.push_back(
            std::string("Durations guessed to fill ") +
            (reading.meter.empty() ? "4/4" : reading.meter) + " where the spacing did not: " +
            (numbers.size() == 1 ? "measure " : "measures ") + Joined(numbers) + ".");
    }

    std::string notice;
    for (const std::string& sentence : sentences)
        notice += (notice.empty() ? "" : " ") + sentence;
    return notice;
}

} // namespace fw
