// The MusicXML writer over any song the reader accepts, with titles from its comment lines:
// the score is well-formed XML, and it holds one note (not counting tied continuations) for
// every played string and one for every hammer-on target, with one hammer-on or pull-off mark
// starting at each hammered string.

#include "fuzz_support.h"
#include "xml_checker.h"

#include "export/musicxml_writer.h"

using namespace fw;
using namespace fw::fuzz;

namespace {

// The number of non-overlapping occurrences of `what`.
long Count(std::string_view text, std::string_view what) {
    long count = 0;
    for (std::size_t at = text.find(what); at != std::string_view::npos;
         at = text.find(what, at + what.size()))
        ++count;
    return count;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const FuzzSong song = SongFromBytes(AsText(data, size));
    if (!song.clean)
        return 0;
    MusicXmlSong score{song.entries, song.tempo, song.patch, song.offsets, 0, {}, {}};
    SetTitlesFromLines(score, song.lines, "/songs/Fuzzed song.fwk");
    const std::string xml = BuildMusicXml(score);
    if (const std::string problem = XmlProblem(xml); !problem.empty()) {
        std::fprintf(stderr, "%s\n", problem.c_str());
        FUZZ_CHECK(false, "the score is well-formed XML");
    }
    long played = 0, hammers = 0;
    for (const ChordEntry& entry : song.entries) {
        if (KindOf(entry) != LineKind::Chord)
            continue;
        for (int s = 1; s <= 5; ++s) {
            played += entry.Note[s] != NoNote;
            hammers += entry.HammerNote[s] != NoNote;
        }
    }
    const long notes = Count(xml, "<note>");
    const long rests = Count(xml, "<rest/>");
    const long continued = Count(xml, "<tie type=\"stop\"/>");
    const long marks = Count(xml, "\" type=\"start\">H</hammer-on>") +
                       Count(xml, "\" type=\"start\">P</pull-off>");
    FUZZ_CHECK(Count(xml, "<grace") == 0, "no grace notes");
    FUZZ_CHECK(marks == hammers, "a hammer-on or pull-off mark for every hammered string");
    FUZZ_CHECK(notes - rests - continued == played + hammers,
               "a note for every played string and every target");
    return 0;
}
