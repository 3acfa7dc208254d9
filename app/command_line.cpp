#include "command_line.h"

#include "chord_tools.h"
#include "tab_tools.h"

#include "chords/chord_parser.h"
#include "chords/song_check.h"
#include "chords/song_file.h"
#include "chords/song_structure.h"
#include "chords/text_bounds.h"
#include "chords/text_file.h"
#include "chords/tuning.h"
#include "export/ascii_tab_reader.h"
#include "export/midi_file_writer.h"
#include "export/musicxml_writer.h"
#include "sound/wav_render.h"

#include <algorithm>
#include <fstream>
#include <functional>
#include <limits>
#include <new>
#include <ostream>
#include <sstream>

namespace fw {

namespace {

const char* const Usage = "Usage: fretwick [SONG.fwk]\n"
                          "       fretwick --check SONG.fwk\n"
                          "       fretwick --export-midi SONG.fwk OUT.mid\n"
                          "       fretwick --export-wav SONG.fwk OUT.wav\n"
                          "       fretwick --export-musicxml SONG.fwk OUT.musicxml\n"
                          "       fretwick --export-tab SONG.fwk OUT.tab [--durations] [FORMS]\n"
                          "       fretwick --export-pdf SONG.fwk OUT.pdf [--durations] [--bold] "
                          "[--letter] [FORMS]\n"
                          "       fretwick --import-tab IN.tab OUT.fwk\n"
                          "       fretwick --name-chord \"x, 1, 0, 1, 1\" [--tuning CODE] "
                          "[--inversions]\n"
                          "       fretwick --chord-shapes NAME [--tuning CODE]\n"
                          "       fretwick --help | --version\n"
                          "CODE is a tuning code: five digits, strings 5 to 1, each the string's "
                          "shift plus 5\n"
                          "(55555 open G, 53565 double C, 45435 open D, 55565 G modal).\n";

// A usage error of the tablature tools also lists their forms.
int UsageError(std::ostream& err, const std::string& why, bool tablature = false) {
    err << "fretwick: " << why << "\n" << Usage;
    if (tablature)
        err << TabFormsUsage;
    return 2;
}

// An export needs at least one chord line, as the Special menu's export does: a song of
// comments and blank lines is refused with the menu's own message and no file is written.
// Returns 0 when the song can be exported, else 1 after saying why on `err`.
int RequireChords(bool hasChord, std::ostream& err) {
    if (hasChord)
        return 0;
    err << "Can't create midi file. No chords defined in editor.\n";
    return 1;
}

// --check, --export-midi and --export-wav walk the song's lines one by one instead of making a list
// of entries, so that a song of millions of lines takes little more memory than its text: they
// take any number of lines. The tools that keep something for every line (MusicXML, tablature,
// the import) refuse a song the editor could not hold, as the window does. No tool takes a line
// longer than the editor's limit, far above any chord line.
constexpr TextBounds StreamedBounds{MaxLineCharacters, std::numeric_limits<std::size_t>::max()};
constexpr TextBounds EditorBounds{};

// Reads the song's text; when it cannot be read or passes `bounds`, says why on `err` and
// returns 2, else 0.
int ReadSongText(const std::string& path, std::string& text, std::ostream& err,
                 const TextBounds& bounds = StreamedBounds) {
    std::string error;
    if (ReadBoundedTextFile(path, text, error, bounds))
        return 0;
    err << "fretwick: " << error << "\n";
    return 2;
}

// The tablature tools read the song themselves; it is checked against the editor's bounds
// first, and its text let go again before they read it.
int CheckTabSongBounds(const std::string& path, std::ostream& err) {
    std::string text;
    return ReadSongText(path, text, err, EditorBounds);
}

// What each tool was doing, for "not enough memory to ...".
std::string TaskOf(const std::string& tool) {
    if (tool == "--check")
        return "check the song";
    if (tool == "--import-tab")
        return "import the tablature";
    if (tool.rfind("--export-", 0) == 0)
        return "export the " + tool.substr(9) + " file";
    return "run " + tool;
}

// Parses every line of `text` in one pass (ForEachCheckedLine), printing the line errors on
// `out` as they are found. Returns 0 when the song is clean, 1 with line errors.
int WalkLines(const std::string& text, std::ostream& out,
              const std::function<void(std::string_view, const ChordEntry&)>& onEntry) {
    const auto printError = [&out](const std::string& error) { out << error << "\n"; };
    return ForEachCheckedLine(text, printError, onEntry) ? 0 : 1;
}

// Reads and checks the song: 0 when it is clean, 1 with line errors (printed on `out`), 2 when
// it cannot be read.
int Check(const std::string& path, std::ostream& out, std::ostream& err) {
    std::string text;
    if (const int status = ReadSongText(path, text, err); status != 0)
        return status;
    return WalkLines(text, out, [](std::string_view, const ChordEntry&) {});
}

int ExportMidi(const std::string& songPath, const std::string& outPath, std::ostream& out,
               std::ostream& err) {
    std::string text;
    if (const int status = ReadSongText(songPath, text, err); status != 0)
        return status;
    const SongHeader header = ReadSongHeaderOfText(text);
    // Lines are about 25 bytes: a guess at their number sizes the MIDI buffer once.
    MidiFileBuilder midi(header.tempo, header.patch,
                         TuningOffsets(RepairedTuningCode(header.tuning)), text.size() / 25);
    // One pass checks the lines and builds the file; a song with line errors writes nothing.
    bool hasChord = false;
    SongStructure structure;
    std::size_t index = 0;
    if (const int status = WalkLines(text, out,
                                     [&](std::string_view line, const ChordEntry& entry) {
                                         hasChord = hasChord || KindOf(entry) == LineKind::Chord;
                                         structure.AddLine(line, index++);
                                         midi.Add(entry);
                                     });
        status != 0)
        return status;
    if (const int status = RequireChords(hasChord, err); status != 0)
        return status;
    MidiBytes bytes;
    if (structure.plain()) {
        bytes = midi.Finish();
    } else {
        // Repeats are written out in sounding order, which needs every entry at hand.
        std::vector<ChordEntry> entries;
        ForEachCheckedLine(
            text, [](const std::string&) {},
            [&entries](std::string_view, const ChordEntry& entry) { entries.push_back(entry); });
        bytes = BuildMidiFile(entries, header.tempo, header.patch,
                              TuningOffsets(RepairedTuningCode(header.tuning)));
    }
    std::string().swap(text); // the text is no longer needed while the file is written
    std::string error;
    if (!WriteMidiBytes(outPath, bytes, error)) {
        err << "fretwick: " << error << "\n";
        return 2;
    }
    return 0;
}

int ExportMusicXml(const std::string& songPath, const std::string& outPath, std::ostream& out,
                   std::ostream& err) {
    std::string text;
    if (const int status = ReadSongText(songPath, text, err, EditorBounds); status != 0)
        return status;
    const SongHeader header = ReadSongHeaderOfText(text);
    // The entries, made once at their number, and of the lines only the comments, where the
    // titles are: a big song's lines are not kept beside its entries.
    std::vector<ChordEntry> entries;
    std::vector<std::string> comments;
    entries.reserve(ForEachEditorLine(text, [](std::string_view, std::size_t) {}) + 1);
    if (const int status = WalkLines(text, out,
                                     [&](std::string_view line, const ChordEntry& entry) {
                                         entries.push_back(entry);
                                         if (IsCommentLine(line))
                                             comments.emplace_back(line);
                                     });
        status != 0)
        return status;
    entries.push_back(ParseChordText("", static_cast<int>(entries.size())).entry);
    std::string().swap(text);
    if (std::none_of(entries.begin(), entries.end(),
                     [](const ChordEntry& e) { return KindOf(e) == LineKind::Chord; })) {
        err << "fretwick: Can't create musicxml file. No chords defined in editor.\n";
        return 1;
    }
    MusicXmlSong score{entries,      header.tempo,
                       header.patch, TuningOffsets(RepairedTuningCode(header.tuning)),
                       {},           {}};
    SetTitlesFromLines(score, comments, songPath);
    std::string error;
    if (!WriteMusicXmlFile(outPath, score, error)) {
        err << "fretwick: " << error << "\n";
        return 2;
    }
    return 0;
}

int ExportWav(const std::string& songPath, const std::string& outPath, std::ostream& out,
              std::ostream& err) {
    std::string text;
    if (const int status = ReadSongText(songPath, text, err); status != 0)
        return status;
    const SongHeader header = ReadSongHeaderOfText(text);
    RenderSettings settings;
    settings.Patch = static_cast<std::uint8_t>(header.patch);
    settings.TuningOffset = TuningOffsets(RepairedTuningCode(header.tuning));
    settings.Tempo = header.tempo;
    // The length is summed while the lines are checked, before a list of chords is made: a song
    // too long for a WAV file is refused in little more memory than its text.
    bool hasChord = false;
    long long chordsMs = 0;
    if (const int status = WalkLines(text, out,
                                     [&](std::string_view, const ChordEntry& entry) {
                                         hasChord = hasChord || KindOf(entry) == LineKind::Chord;
                                         chordsMs += SoundingMs(entry, settings.Tempo);
                                     });
        status != 0)
        return status;
    if (const int status = RequireChords(hasChord, err); status != 0)
        return status;
    if (const std::string tooLong = TooLongForWav(chordsMs); !tooLong.empty()) {
        err << "fretwick: " << tooLong << "\n";
        return 2;
    }
    // Only the chords sound; comments and blank lines take no time.
    std::vector<ChordEntry> entries;
    SongStructure structure;
    std::size_t index = 0;
    ForEachCheckedLine(
        text, [](const std::string&) {},
        [&](std::string_view line, const ChordEntry& entry) {
            structure.AddLine(line, index++);
            if (KindOf(entry) == LineKind::Chord)
                entries.push_back(entry);
        });
    if (!structure.plain()) {
        // Repeats and endings in sounding order, each chord at the tempo where it sounds.
        std::vector<ChordEntry> all;
        ForEachCheckedLine(
            text, [](const std::string&) {},
            [&all](std::string_view, const ChordEntry& entry) { all.push_back(entry); });
        entries.clear();
        const std::vector<SoundingSpan> spans = SoundingOrder(structure, all.size());
        for (const SoundingLine& sounding : SoundingLines(all, spans, MidiWholeNoteTicks)) {
            entries.push_back(all[sounding.line]);
            settings.ChordTempos.push_back(sounding.tempo != 0 ? sounding.tempo : settings.Tempo);
        }
    }
    std::string().swap(text);
    std::ostringstream audio;
    if (const std::string error = RenderChordsToWav(entries, settings, audio); !error.empty()) {
        err << "fretwick: " << error << "\n";
        return 2;
    }
    const std::string bytes = audio.str();
    std::string error;
    if (!WriteFileAtomically(outPath, bytes, error)) {
        err << "fretwick: " << error << "\n";
        return 2;
    }
    return 0;
}

// Reads ASCII banjo tablature into a new song file with the default patch and tempo and the
// tablature's tuning. Returns 1 when the text holds no tablature, 2 when a file fails.
int ImportTab(const std::string& tabPath, const std::string& songPath, std::ostream& err) {
    std::string text;
    if (const int status = ReadSongText(tabPath, text, err, EditorBounds); status != 0)
        return status;
    const TabReading reading = ReadAsciiTab(text);
    std::string().swap(text);
    if (reading.chordLines == 0) {
        err << "fretwick: " << NoBanjoTablatureFound << "\n";
        return 1;
    }
    if (const std::string notice = ImportNotice(reading); !notice.empty())
        err << "fretwick: " << notice << "\n";
    const std::string song = SongFileText(reading.lines, DefaultPatch,
                                          reading.tuningCode.value_or(DefaultTuning), DefaultTempo);
    std::string error;
    if (!WriteFileAtomically(songPath, song, error)) {
        err << "fretwick: " << error << "\n";
        return 2;
    }
    return 0;
}

int RunTool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    const std::string& tool = args[0];
    const std::size_t operands = args.size() - 1;
    if (tool == "--help") {
        out << Usage << TabFormsUsage;
        return 0;
    }
    if (tool == "--version") {
        out << "Fretwick " << FRETWICK_VERSION << "\n";
        return 0;
    }
    if (tool == "--check")
        return operands == 1 ? Check(args[1], out, err)
                             : UsageError(err, "--check takes one song file");
    if (tool == "--export-midi")
        return operands == 2 ? ExportMidi(args[1], args[2], out, err)
                             : UsageError(err, "--export-midi takes a song file and a MIDI file");
    if (tool == "--export-musicxml")
        return operands == 2
                   ? ExportMusicXml(args[1], args[2], out, err)
                   : UsageError(err, "--export-musicxml takes a song file and a MusicXML file");
    if (tool == "--export-wav")
        return operands == 2 ? ExportWav(args[1], args[2], out, err)
                             : UsageError(err, "--export-wav takes a song file and a WAV file");
    if (tool == "--export-tab" || tool == "--export-pdf") {
        TabToolOptions options;
        const std::string wrong = ReadTabToolOptions(tool, {args.begin() + 1, args.end()}, options);
        if (!wrong.empty())
            return UsageError(err, wrong, true);
        if (const int status = CheckTabSongBounds(options.song, err); status != 0)
            return status;
        return tool == "--export-tab" ? ExportTab(options, out, err) : ExportPdf(options, out, err);
    }
    if (tool == "--import-tab")
        return operands == 2
                   ? ImportTab(args[1], args[2], err)
                   : UsageError(err, "--import-tab takes a tablature file and a song file");
    if (tool == "--name-chord" || tool == "--chord-shapes")
        return RunChordTool(tool, {args.begin() + 1, args.end()}, out, err, Usage);
    return UsageError(err, "unknown option " + tool);
}

} // namespace

std::optional<int> RunCommandLineTool(const std::vector<std::string>& args, std::ostream& out,
                                      std::ostream& err) {
    if (args.empty() || args[0].rfind("--", 0) != 0)
        return std::nullopt;
    // A tool ends with a message and exit status 2, never with an uncaught exception.
    try {
        return RunTool(args, out, err);
    } catch (const std::bad_alloc&) {
        out.flush();
        err << "fretwick: not enough memory to " << TaskOf(args[0]) << ".\n";
    } catch (const std::exception& failure) {
        out.flush();
        err << "fretwick: could not " << TaskOf(args[0]) << ": " << failure.what() << "\n";
    }
    return 2;
}

} // namespace fw
