#pragma once
// Random songs for the round trips of ASCII tablature, seeded so that a failure can be repeated
// from the seed in its message.

#include "chords/chord_entry.h"
#include "chords/tuning.h"

#include <array>
#include <random>
#include <string>
#include <vector>

namespace fw::test {

struct Song {
    std::vector<std::string> lines;
    int tuning = ReferenceTuningCode;
    std::string title;
    std::string subtitle;
};

class SongMaker {
public:
    explicit SongMaker(unsigned seed) : rng_(seed) {}

    // Chord lines in measures between blank lines, with rests, comments and full measures of 24
    // chords. With `named`, chords are named (a name over several chords), and a "* Time:" line
    // may set the meter.
    // With `structured`, measures may open a repeat, an ending or a new meter and close a
    // repeat (played twice or more), and chords come in triplet groups now and then.
    Song Make(bool named = false, bool structured = false) {
        Song song;
        song.tuning = Chance(4) ? FixedTunings[Below(FixedTunings.size())].tag : RandomCode();
        song.title = Chance(3) ? "" : "Tune " + std::to_string(Below(1000));
        song.subtitle = Chance(2) ? "" : "trad. arr. " + std::to_string(Below(100));
        if (Chance(2))
            song.lines.push_back("* Title: " + song.title);
        if (named && Chance(3))
            song.lines.push_back(Chance(2) ? "* Time: 3/4" : "* Time: 2/4");
        const int measures = 1 + static_cast<int>(Below(7));
        for (int m = 0; m < measures; ++m) {
            // Some measures are full: 24 chords, whose cells touch.
            const int chords = Chance(5) ? 24 : 1 + static_cast<int>(Below(12));
            if (structured)
                OpenMeasure(song, m);
            for (int c = 0; c < chords; ++c) {
                if (structured && c + 3 <= chords && Chance(6)) {
                    const std::string value = Chance(2) ? "E3" : "Q3";
                    for (int t = 0; t < 3; ++t)
                        song.lines.push_back(Chord(named ? Name(c == 0) : "Chord", value));
                    c += 2;
                    continue;
                }
                if (Chance(8))
                    song.lines.push_back("* a comment takes no column");
                song.lines.push_back(Chance(8) ? "Rest, x, x, x, x, x, " + Duration()
                                               : Chord(named ? Name(c == 0) : "Chord"));
            }
            if (structured && Chance(4))
                song.lines.push_back(Chance(2) ? "* Repeat: end" : "* Repeat: end x3");
            for (std::size_t blanks = 1 + Below(2); blanks > 0; --blanks)
                song.lines.emplace_back();
        }
        return song;
    }

private:
    std::size_t Below(std::size_t n) {
        return std::uniform_int_distribution<std::size_t>(0, n - 1)(rng_);
    }
    bool Chance(std::size_t oneIn) { return Below(oneIn) == 0; }

    int RandomCode() {
        int code = 1 + static_cast<int>(Below(9));
        for (int i = 0; i < 4; ++i)
            code = code * 10 + static_cast<int>(Below(10));
        return code;
    }

    // The name of the chord before, or at the start of a measure often a new one. Unnamed
    // chords ("Chord", or "Rest" for a played chord) fill only measures opening the song: after
    // a name, tablature shows no change. (A name that changes within a crowded measure can be
    // pushed right past other chords, which then cannot tell where it started.)
    std::string Name(bool measureStart) {
        static constexpr std::array<const char*, 6> Names = {"G", "C", "D7", "Am", "F#m", "Bb/D"};
        if (last_.empty() && measureStart)
            unnamed_ = Chance(2);
        if (last_.empty() && unnamed_)
            return Chance(2) ? "Chord" : "Rest";
        if (last_.empty() || (measureStart && Chance(2)))
            last_ = Names[Below(Names.size())];
        return last_;
    }

    // Frets of 10 and more often enough to meet them next to one-digit frets.
    std::string Fret() { return std::to_string(Chance(3) ? 10 + Below(MaxFret - 9) : Below(10)); }

    std::string Duration() {
        static constexpr std::array<const char*, 7> Letters = {"W", "H", "Q", "E", "S", "T", "F"};
        std::string text = Chance(3) ? "." : "";
        text += Letters[Below(Letters.size())];
        if (Chance(4))
            text[text.size() - 1] = static_cast<char>(text.back() | 0x20);
        return text;
    }

    void OpenMeasure(Song& song, int measure) {
        if (Chance(4))
            song.lines.push_back("* Repeat: start");
        if (measure > 0 && Chance(6))
            song.lines.push_back("* Ending: " + std::to_string(1 + Below(2)));
        if (Chance(8))
            song.lines.push_back(Chance(2) ? "* Time: 3/4" : "* Time: 4/4");
    }

    std::string Chord(const std::string& name, const std::string& duration = "") {
        std::string line = name;
        for (int s = 5; s >= 1; --s) {
            line += ", ";
            if (Chance(3)) {
                line += "x";
                continue;
            }
            line += Fret();
            if (Chance(4))
                line += "-" + Fret();
        }
        return line + ", " + (duration.empty() ? Duration() : duration);
    }

    std::mt19937 rng_;
    std::string last_;
    bool unnamed_ = false; // the measure opening the song is unnamed
};

} // namespace fw::test
