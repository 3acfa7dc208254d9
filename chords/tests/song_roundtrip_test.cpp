// Property: any chord list with any patch, tuning and tempo, written as a song file text and
// read back the way opening a song reads it, gives the same lines and the same values.

#include "chords/chord_composer.h"
#include "chords/chord_parser.h"
#include "chords/song_check.h"
#include "chords/song_file.h"
#include "chords/text_file.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace fw {
namespace {

class SongGenerator {
public:
    explicit SongGenerator(unsigned seed) : random_(seed) {}

    std::vector<std::string> Lines() {
        std::vector<std::string> lines(static_cast<std::size_t>(Between(0, 40)));
        for (std::string& line : lines)
            line = Line();
        return lines;
    }
    int Patch() { return Between(0, 255); }
    int Tempo() { return Between(MinTempo, MaxTempo); }
    int Tuning() {
        switch (Between(0, 4)) {
        case 0:
            return Pick<int>({55555, 52555, 55545, 45435, 55565});
        case 1:
            return Between(10000, 99999);
        case 2:
            return Between(100000, 2147483646); // longer codes are kept as written
        case 3:
            return Between(-99999, 9999); // damaged codes are kept as written too
        default:
            return Between(11111, 99999);
        }
    }
    std::string InfoText() {
        return Between(0, 3) == 0 ? std::string(DefaultSongInfoText) : Text(0, 30);
    }

private:
    int Between(int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(random_);
    }
    template <typename T> T Pick(std::initializer_list<T> items) {
        return *(items.begin() + Between(0, static_cast<int>(items.size()) - 1));
    }

    // Printable ASCII, tabs, commas and a few characters outside ASCII.
    std::string Text(int minChars, int maxChars) {
        static const std::vector<std::string> pieces = {"a",
                                                        "G",
                                                        "m",
                                                        "7",
                                                        " ",
                                                        " ",
                                                        "\t",
                                                        ",",
                                                        "-",
                                                        ".",
                                                        "*",
                                                        "$",
                                                        "#",
                                                        "\xC3\xA9",
                                                        "\xC3\x9F",
                                                        "\xE2\x99\xAA",
                                                        "\xE2\x99\xAD",
                                                        "\xF0\x9F\x8E\xB5",
                                                        "\xE2\x82\xAC"};
        std::string text;
        const int count = Between(minChars, maxChars);
        for (int i = 0; i < count; ++i)
            text +=
                pieces[static_cast<std::size_t>(Between(0, static_cast<int>(pieces.size()) - 1))];
        return text;
    }

    std::string Line() {
        switch (Between(0, 9)) {
        case 0:
            return std::string("*").append(Text(0, 90)); // comments, some over 80 chars
        case 1:
            return Pick<std::string>({"", " ", "\t", "  \t "}); // blank lines
        case 2:
            return Text(0, 40); // anything, errors included
        case 3:
            return "*Info " + std::to_string(Between(1, 4)) + ":" + Text(0, 5); // look-alikes
        case 4: {
            // A typed chord with free spacing and a non-ASCII name.
            std::string line = Pick<std::string>({"G", "C7", "Dm", "B\xE2\x99\xAD", "Caf\xC3\xA9"});
            for (int s = 0; s < 5; ++s)
                line += Pick<std::string>({",", " , ", "\t,", ", "}) +
                        Pick<std::string>({"0", "x", "2-4", "12", "$A", "+3"});
            return line + ", " + Pick<std::string>({"Q", ".e", "W", "s"});
        }
        default: {
            FretArray frets = AllNoFrets();
            FretArray hammers = AllNoFrets();
            for (int s = 1; s <= 5; ++s) {
                frets[s] = Between(-1, MaxFret);
                if (frets[s] >= 0 && Between(0, 3) == 0)
                    hammers[s] = Between(0, MaxFret);
            }
            return ComposeChordText(frets, hammers, Pick<std::string>({" S", " .Q", " W", " e"}));
        }
        }
    }

    std::mt19937 random_;
};

std::vector<std::string> ParseErrors(const std::vector<std::string>& lines) {
    std::vector<std::string> errors;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        std::string error = ParseChordText(lines[i], static_cast<int>(i)).error;
        if (!error.empty())
            errors.push_back(error);
    }
    return errors;
}

std::string WithLineEnd(std::string text, const std::string& lineEnd) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text.compare(i, 2, "\r\n") == 0) {
            out += lineEnd;
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

TEST(SongRoundTrip, RandomSongsReadBackUnchanged) {
    SongGenerator generate(1234567);
    for (int round = 0; round < 400; ++round) {
        const std::vector<std::string> lines = generate.Lines();
        const int patch = generate.Patch();
        const int tuning = generate.Tuning();
        const int tempo = generate.Tempo();
        const std::string info = generate.InfoText();
        const std::string file = SongFileText(lines, patch, tuning, tempo, info);

        for (const std::string lineEnd : {"\r\n", "\n", "\r"}) {
            SCOPED_TRACE("round " + std::to_string(round) + ", line end " +
                         std::to_string(lineEnd.size()) + " byte(s)");
            const std::string decoded = DecodeText(WithLineEnd(file, lineEnd));
            const std::vector<std::string> fileLines = SplitLines(decoded);
            const SongHeader header = ReadSongHeader(fileLines);
            ASSERT_TRUE(header.headerComplete);
            EXPECT_EQ(header.patch, patch);
            EXPECT_EQ(header.tuning, tuning);
            EXPECT_EQ(header.tempo, tempo);
            EXPECT_EQ(fileLines[0], "*Info 1:" + info);
            ASSERT_EQ(SongEditorLines(fileLines, header), lines);
            EXPECT_EQ(CheckSongText(decoded), ParseErrors(lines));
        }
    }
}

} // namespace
} // namespace fw
