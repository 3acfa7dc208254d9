#include "musicxml_writer.h"

#include "musicxml_values.h"
#include "tab_titles.h"
#include "xml_text.h"

#include "chords/chord_parser.h"
#include "chords/song_structure.h"
#include "chords/text_file.h"

#include <algorithm>
#include <ostream>
#include <string_view>

namespace fw {

namespace {

constexpr int MinTempo = 1;
constexpr int MaxTempo = 500;
constexpr int FifthString = 5;
constexpr int FifthStringFirstFret = 5; // the short string starts at the neck's fifth fret
constexpr std::size_t FlushSize = 1 << 16;

// One string of a chord as it is written.
struct StringNote {
    int string = 0;
    int pitch = 0; // sounding MIDI pitch
    int fret = 0;  // as written in the tab
};

// The target of a hammered string ("2-4"): a hammer-on when it is above or at the start fret,
// a pull-off when it is below.
struct HammerTarget {
    StringNote note;
    bool pullOff = false;
};

// The notes of one chord line: every played string at its start fret, all picked together on
// the beat, and the targets its hammered strings sound later in the chord.
struct ChordNotes {
    std::array<StringNote, 5> struck{};
    int struckCount = 0;
    std::array<HammerTarget, 5> targets{};
    int targetCount = 0;

    const HammerTarget* TargetOn(int string) const {
        for (int i = 0; i < targetCount; ++i)
            if (targets[i].note.string == string)
                return &targets[i];
        return nullptr;
    }
};

int WrittenFret(int string, int fret) {
    return string == FifthString && fret > 0 ? fret + FifthStringFirstFret : fret;
}

ChordNotes NotesOf(const ChordEntry& entry, const std::array<int, 6>& offsets) {
    ChordNotes notes;
    for (int k = 1; k <= 5; ++k) {
        if (entry.Note[k] == NoNote)
            continue;
        const StringNote struck{k, entry.Note[k] + offsets[k], WrittenFret(k, entry.Fret[k])};
        notes.struck[notes.struckCount++] = struck;
        if (entry.HammerNote[k] == NoNote)
            continue;
        const StringNote target{k, entry.HammerNote[k] + offsets[k],
                                WrittenFret(k, entry.HammerFret[k])};
        notes.targets[notes.targetCount++] = {target, target.pitch < struck.pitch};
    }
    return notes;
}

// Where the next note starts: the measure (counted from 1; 0 before the first) and the
// divisions into it. Measures are filled by time, each as long as the meter in force when it
// opens; a measure can be closed before it is full (a pickup, or a repeat sign inside it).
// Lengths are in divisions times `scale` (3 in a song with triplets, so that they are whole).
class MeasureClock {
public:
    explicit MeasureClock(int scale = 1, int measureLength = MusicXmlMeasureLength)
        : scale_(scale), nextLength_(measureLength * scale) {}

    // Splits a length that starts now into written values, at barlines first. Calls
    // `openMeasure(number)` before a value that starts a measure and `value(noteValue, first,
    // more)` for each value, `first` for the first value of the length and `more` when more of
    // it follows. A `triplet` length is written as triplet values (not split at a barline).
    template <class OpenMeasure, class Value>
    void Advance(int length, OpenMeasure&& openMeasure, Value&& value, bool triplet = false) {
        bool first = true;
        while (length > 0) {
            if (measure_ == 0 || position_ >= length_) {
                ++measure_;
                position_ = 0;
                length_ = measure_ == 1 && firstLength_ > 0 ? firstLength_ : nextLength_;
                openMeasure(measure_);
            }
            if (triplet) {
                value(TripletValue(length), first, false);
                position_ += length;
                return;
            }
            const int here = std::min(length, length_ - position_);
            const int written = WriteValues(here / scale_, first, length - here, value);
            // What no written value can hold (a part of a division left by a cut triplet
            // group) is passed over.
            const int taken = written == 0 ? here : written;
            length -= taken;
            position_ += taken;
            first = false;
        }
    }

    // What is left of the current measure; a whole measure before the first.
    int Remaining() const {
        if (measure_ == 0)
            return firstLength_ > 0 ? firstLength_ : nextLength_;
        return length_ - position_;
    }
    int Measure() const { return measure_; }
    bool AtMeasureStart() const { return measure_ == 0 || position_ == 0 || position_ >= length_; }
    // The length of the measures opened from now on.
    void SetMeasureLength(int length) { nextLength_ = length * scale_; }
    // The first measure only: `length` long (a pickup).
    void SetFirstMeasureLength(int length) { firstLength_ = length * scale_; }
    // Ends the current measure where it stands, so the next value opens a new one.
    void CloseMeasure() {
        if (measure_ != 0 && position_ > 0)
            length_ = position_;
    }
    int Scale() const { return scale_; }
    bool Full() const { return measure_ != 0 && position_ >= length_; }

private:
    template <class Value> int WriteValues(int units, bool first, int after, Value&& value) {
        int written = 0;
        while (units > 0) {
            const NoteValues values = NoteValuesFor(units);
            if (values.size() == 0)
                break;
            for (std::size_t i = 0; i < values.size(); ++i) {
                NoteValue scaled = values[i];
                units -= scaled.duration;
                scaled.duration *= scale_;
                written += scaled.duration;
                value(scaled, first, units > 0 || after > 0);
                first = false;
            }
        }
        return written;
    }

    // A triplet length as the plain value it stands for three of in the time of two.
    NoteValue TripletValue(int length) const {
        const NoteValues plain = NoteValuesFor(length * 3 / 2 / scale_);
        NoteValue value = plain.size() > 0 ? plain[0] : NoteValue{1, "128th", 0};
        value.duration = length;
        return value;
    }

    int scale_ = 1;
    int measure_ = 0;
    int position_ = 0;
    int length_ = MusicXmlMeasureLength;
    int nextLength_ = MusicXmlMeasureLength;
    int firstLength_ = 0;
};

// Bytes the score will take, near enough to reserve them once: a note is about 250 bytes.
std::size_t EstimatedSize(const MusicXmlSong& song) {
    constexpr std::size_t NoteBytes = 300, MeasureBytes = 40, HeaderBytes = 4096;
    MeasureClock clock;
    std::size_t notes = 0;
    const auto noMeasure = [](int) {};
    for (const ChordEntry& entry : song.entries) {
        if (KindOf(entry) != LineKind::Chord)
            continue;
        const ChordNotes chord = NotesOf(entry, song.tuningOffsets);
        const std::size_t perValue = static_cast<std::size_t>(std::max(chord.struckCount, 1));
        // A hammer-on chord is written in two halves: about twice the values.
        const std::size_t halves = chord.targetCount > 0 ? 2 : 1;
        clock.Advance(DurationDivisions(entry.Duration), noMeasure,
                      [&](const NoteValue&, bool, bool) { notes += perValue * halves; });
    }
    clock.Advance(clock.Remaining(), noMeasure, [&](const NoteValue&, bool, bool) { ++notes; });
    return HeaderBytes + 6 * (song.title.size() + song.subtitle.size()) + NoteBytes * notes +
           MeasureBytes * static_cast<std::size_t>(clock.Measure());
}

class ScoreWriter {
public:
    ScoreWriter(std::string& buffer, std::ostream* sink, const MusicXmlSong& song)
        : out_(buffer), sink_(sink), song_(song),
          structure_(SongStructure::OfEntries(song.entries)),
          clock_(std::any_of(song.entries.begin(), song.entries.end(), IsTriplet) ? 3 : 1) {
        meter_ = structure_.firstMeter();
        clock_.SetMeasureLength(MeterLength(meter_));
        clock_.SetFirstMeasureLength(structure_.pickupTicks(MusicXmlMeasureLength));
        pickup_ = structure_.pickupTicks(MusicXmlMeasureLength) > 0;
    }

    void Write() {
        WriteHeader();
        const std::span<const ChordEntry> entries = song_.entries;
        for (std::size_t i = 0; i < entries.size(); ++i) {
            const ChordEntry& entry = entries[i];
            if (KindOf(entry) != LineKind::Chord) {
                if (!structure_.plain())
                    ApplyMarker(entry);
                continue;
            }
            const ChordNotes notes = NotesOf(entry, song_.tuningOffsets);
            const int length = DurationValue(entry.Duration, MusicXmlMeasureLength * Scale());
            triplet_ = IsTriplet(entry);
            if (triplet_) {
                if (tripletTicks_ == 0) {
                    tupletStart_ = true;
                    tripletSpan_ = 3 * length;
                }
                tripletTicks_ += length;
                tupletStop_ = tripletTicks_ >= tripletSpan_ || !NextChordIsTriplet(i);
                if (tupletStop_)
                    tripletTicks_ = 0;
            }
            if (tempoPending_ && !clock_.AtMeasureStart())
                WriteTempo();
            if (notes.struckCount == 0)
                WriteRest(length);
            else if (notes.targetCount == 0)
                WriteChord(notes, length);
            else
                WriteHammerChord(notes, length);
            triplet_ = tupletStart_ = tupletStop_ = false;
        }
        FinishLastMeasure();
        out_ += "  </part>\n</score-partwise>\n";
        Flush();
    }

private:
    static bool IsTriplet(const ChordEntry& entry) {
        return KindOf(entry) == LineKind::Chord && !entry.Duration.empty() &&
               entry.Duration.back() == '3';
    }

    bool NextChordIsTriplet(std::size_t i) const {
        for (std::size_t j = i + 1; j < song_.entries.size(); ++j) {
            const ChordEntry& next = song_.entries[j];
            if (KindOf(next) == LineKind::Chord)
                return IsTriplet(next);
            // A repeat sign or ending between them ends the group.
            if (ReadMarker(next.Name).isMarker())
                return false;
        }
        return false;
    }

    int Scale() const { return clock_.Scale(); }

    // The length of a measure of `meter` in divisions.
    static int MeterLength(const BeatMeter& meter) {
        return meter.beats * (MusicXmlMeasureLength / std::min(meter.unit, 32));
    }

    // A marker line: repeat signs, endings and meters stand at barlines, so they end the
    // measure they fall in; a tempo change is written where it falls.
    void ApplyMarker(const ChordEntry& entry) {
        const MarkerReading reading = ReadMarker(entry.Name);
        if (!reading.marker) {
            // A blank line ends an ending that follows its repeat's end.
            if (KindOf(entry) == LineKind::Blank && openEnding_ != 0 && endingAfterEnd_)
                StopEnding("discontinue");
            return;
        }
        const SongMarker& marker = *reading.marker;
        if (marker.kind != MarkerKind::Tempo && marker.kind != MarkerKind::Pickup) {
            clock_.CloseMeasure();
            if (openEnding_ != 0)
                StopEnding(endingAfterEnd_ ? "discontinue" : "stop");
        }
        switch (marker.kind) {
        case MarkerKind::RepeatStart:
            leftRepeat_ = true;
            afterRepeatEnd_ = false;
            break;
        case MarkerKind::RepeatEnd:
            if (clock_.Measure() != 0)
                rightRepeat_ = marker.count;
            afterRepeatEnd_ = true;
            break;
        case MarkerKind::Ending:
            leftEnding_ = marker.count;
            openEnding_ = marker.count;
            endingAfterEnd_ = afterRepeatEnd_;
            break;
        case MarkerKind::Time:
            if (marker.meter != meter_) {
                meter_ = marker.meter;
                clock_.SetMeasureLength(MeterLength(meter_));
                timePending_ = clock_.Measure() != 0;
            }
            break;
        case MarkerKind::Tempo:
            tempo_ = marker.tempo;
            tempoPending_ = true;
            break;
        case MarkerKind::Pickup:
            break;
        }
    }

    void StopEnding(std::string_view type) {
        rightEnding_ = openEnding_;
        rightEndingType_ = type;
        openEnding_ = 0;
    }

    // The right barline of the measure being closed: a repeat sign, the end of an ending's
    // bracket, or the song's final barline.
    void WriteRightBarline(bool last) {
        if (rightRepeat_ == 0 && rightEnding_ == 0) {
            if (last)
                Line("      ",
                     "<barline location=\"right\"><bar-style>light-heavy</bar-style></barline>");
            return;
        }
        out_ += "      <barline location=\"right\"><bar-style>";
        out_ += rightRepeat_ != 0 || last ? "light-heavy" : "light-light";
        out_ += "</bar-style>";
        if (rightEnding_ != 0) {
            out_ += "<ending number=\"";
            Number(rightEnding_);
            out_ += "\" type=\"";
            out_ += rightEndingType_;
            out_ += "\"/>";
        }
        if (rightRepeat_ != 0) {
            out_ += "<repeat direction=\"backward\"";
            if (rightRepeat_ != 2) {
                out_ += " times=\"";
                Number(rightRepeat_);
                out_ += '"';
            }
            out_ += "/>";
        }
        out_ += "</barline>\n";
        rightRepeat_ = 0;
        rightEnding_ = 0;
    }

    // The left barline of a measure just opened: a repeat sign and the start of an ending.
    void WriteLeftBarline() {
        if (!leftRepeat_ && leftEnding_ == 0)
            return;
        out_ += "      <barline location=\"left\">";
        out_ +=
            leftRepeat_ ? "<bar-style>heavy-light</bar-style>" : "<bar-style>regular</bar-style>";
        if (leftEnding_ != 0) {
            out_ += "<ending number=\"";
            Number(leftEnding_);
            out_ += "\" type=\"start\">";
            Number(leftEnding_);
            out_ += ".</ending>";
        }
        if (leftRepeat_)
            out_ += "<repeat direction=\"forward\"/>";
        out_ += "</barline>\n";
        leftRepeat_ = false;
        leftEnding_ = 0;
    }

    void WriteTime() {
        out_ += "        <time><beats>";
        Number(meter_.beats);
        out_ += "</beats><beat-type>";
        Number(meter_.unit);
        out_ += "</beat-type></time>\n";
    }

    void WriteTempo() {
        const int tempo = std::clamp(tempo_, MinTempo, MaxTempo);
        out_ += "      <direction placement=\"above\">\n        <direction-type>\n"
                "          <metronome><beat-unit>quarter</beat-unit><per-minute>";
        Number(tempo);
        out_ += "</per-minute></metronome>\n        </direction-type>\n        <sound tempo=\"";
        Number(tempo);
        out_ += "\"/>\n      </direction>\n";
        tempoPending_ = false;
    }

    void Line(std::string_view indent, std::string_view text) {
        out_ += indent;
        out_ += text;
        out_ += '\n';
    }

    void Number(int value) { out_ += std::to_string(value); }

    void Escaped(std::string_view text) { AppendXmlEscaped(out_, text); }

    void Flush() {
        if (sink_ != nullptr && !out_.empty()) {
            sink_->write(out_.data(), static_cast<std::streamsize>(out_.size()));
            out_.clear();
        }
    }

    void WriteHeader() {
        out_ += "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"no\"?>\n"
                "<!DOCTYPE score-partwise PUBLIC \"-//Recordare//DTD MusicXML 3.1 Partwise//EN\" "
                "\"http://www.musicxml.org/dtds/partwise.dtd\">\n"
                "<score-partwise version=\"3.1\">\n";
        if (!song_.title.empty()) {
            out_ += "  <work>\n    <work-title>";
            Escaped(song_.title);
            out_ += "</work-title>\n  </work>\n";
        }
        out_ += "  <identification>\n    <encoding>\n      <software>Fretwick</software>\n"
                "    </encoding>\n  </identification>\n";
        WriteSubtitleCredit();
        out_ += "  <part-list>\n    <score-part id=\"P1\">\n      <part-name>Banjo</part-name>\n"
                "      <score-instrument id=\"P1-I1\">\n"
                "        <instrument-name>Banjo</instrument-name>\n"
                "      </score-instrument>\n      <midi-instrument id=\"P1-I1\">\n"
                "        <midi-channel>1</midi-channel>\n        <midi-program>";
        Number(std::clamp(song_.patch, 0, 127) + 1);
        out_ += "</midi-program>\n      </midi-instrument>\n    </score-part>\n  </part-list>\n"
                "  <part id=\"P1\">\n";
    }

    // The subtitle as a credit of type "subtitle", left for the reader to place: a reader that
    // finds positioned credits lays out the title page from them alone, and not every reader
    // places two of them apart.
    void WriteSubtitleCredit() {
        if (song_.subtitle.empty())
            return;
        out_ += "  <credit page=\"1\">\n    <credit-type>subtitle</credit-type>\n"
                "    <credit-words justify=\"center\" valign=\"top\">";
        Escaped(song_.subtitle);
        out_ += "</credit-words>\n  </credit>\n";
    }

    void WriteAttributes() {
        out_ += "      <attributes>\n        <divisions>";
        Number(MusicXmlDivisions * Scale());
        out_ += "</divisions>\n";
        WriteTime();
        out_ += "        <clef><sign>TAB</sign></clef>\n"
                "        <staff-details>\n"
                "          <staff-lines>5</staff-lines>\n";
        // Line 1 is the bottom line: string 5, the short one, up to string 1 on top.
        for (int line = 1; line <= 5; ++line) {
            const int string = 6 - line;
            out_ += "          <staff-tuning line=\"";
            Number(line);
            out_ += "\">";
            WriteSpelled(OpenPitch[string] + song_.tuningOffsets[string], "tuning-");
            out_ += "</staff-tuning>\n";
        }
        out_ += "        </staff-details>\n      </attributes>\n";
        WriteLeftBarline();
        // The song's own tempo; a tempo marker above the first chord replaces it.
        const int markerTempo = tempo_;
        tempo_ = tempoPending_ ? markerTempo : song_.tempo;
        WriteTempo();
    }

    // Closes the measure before (when there is one) and opens measure `number`.
    void OpenMeasure(int number) {
        if (number > 1) {
            WriteRightBarline(false);
            Line("    ", "</measure>");
            if (out_.size() >= FlushSize)
                Flush();
        }
        // A pickup is measure 0, an incomplete measure before the first full one.
        out_ += "    <measure number=\"";
        Number(pickup_ ? number - 1 : number);
        out_ += pickup_ && number == 1 ? "\" implicit=\"yes\">\n" : "\">\n";
        if (number == 1) {
            WriteAttributes();
            return;
        }
        if (timePending_) {
            out_ += "      <attributes>\n";
            WriteTime();
            out_ += "      </attributes>\n";
            timePending_ = false;
        }
        WriteLeftBarline();
        if (tempoPending_)
            WriteTempo();
    }

    void FinishLastMeasure() {
        WriteRest(clock_.Remaining());
        if (openEnding_ != 0)
            StopEnding(endingAfterEnd_ ? "discontinue" : "stop");
        WriteRightBarline(true);
        Line("    ", "</measure>");
    }

    void WriteRest(int length) {
        clock_.Advance(
            length, [this](int number) { OpenMeasure(number); },
            [this](const NoteValue& value, bool, bool) {
                Line("      ", "<note>");
                Line("        ", "<rest/>");
                WriteDurationAndType(value, false, false);
                Line("      ", "</note>");
            });
    }

    void WriteChord(const ChordNotes& notes, int length) {
        clock_.Advance(
            length, [this](int number) { OpenMeasure(number); },
            [&](const NoteValue& value, bool first, bool more) {
                for (int i = 0; i < notes.struckCount; ++i)
                    WriteNote(notes.struck[i], i > 0, value, {!first, more}, !more);
            },
            triplet_);
    }

    // A chord with hammered strings is picked whole at its start frets on the beat and, half
    // its length later, each hammered string sounds its target, slurred to its start note
    // under a hammer-on or pull-off mark, while the other strings ring on, tied over. Written
    // so, a notation program shows the chord on its beat and plays every string there; the
    // two halves keep the chord's length exact and read as the rhythm a player would count.
    void WriteHammerChord(const ChordNotes& notes, int length) {
        const int picked = length - length / 2;
        clock_.Advance(
            picked, [this](int number) { OpenMeasure(number); },
            [&](const NoteValue& value, bool first, bool more) {
                for (int i = 0; i < notes.struckCount; ++i) {
                    const StringNote& note = notes.struck[i];
                    const HammerTarget* target = notes.TargetOn(note.string);
                    NoteLinks links{!first, more || target == nullptr};
                    if (target != nullptr && !more)
                        links.hammer = {HammerEnd::Start, target->pullOff};
                    WriteNote(note, i > 0, value, links, false);
                }
            },
            triplet_);
        clock_.Advance(
            length / 2, [this](int number) { OpenMeasure(number); },
            [&](const NoteValue& value, bool first, bool more) {
                for (int i = 0; i < notes.struckCount; ++i) {
                    const StringNote& held = notes.struck[i];
                    const HammerTarget* target = notes.TargetOn(held.string);
                    if (target == nullptr) {
                        WriteNote(held, i > 0, value, {true, more}, !more);
                        continue;
                    }
                    NoteLinks links{!first, more};
                    if (first)
                        links.hammer = {HammerEnd::Stop, target->pullOff};
                    WriteNote(target->note, i > 0, value, links, !more);
                }
            },
            triplet_);
    }

    // Which end of a hammer-on's slur and mark a note carries: the start fret has the start,
    // the target the stop.
    enum class HammerEnd { None, Start, Stop };
    struct HammerLink {
        HammerEnd end = HammerEnd::None;
        bool pullOff = false;
    };

    // How a written note joins its neighbours on the same string: ties to the piece before and
    // after it (pieces of one sounding note), and a hammer-on or pull-off.
    struct NoteLinks {
        bool tieStop = false;
        bool tieStart = false;
        HammerLink hammer{};
    };

    // `lastValue`: the chord's last written value, which closes a triplet group.
    void WriteNote(const StringNote& note, bool inChord, const NoteValue& value,
                   const NoteLinks& links, bool lastValue) {
        Line("      ", "<note>");
        if (inChord)
            Line("        ", "<chord/>");
        WritePitch(note.pitch);
        WriteDurationAndType(value, links.tieStop, links.tieStart);
        out_ += "        <notations>";
        if (links.tieStop)
            out_ += "<tied type=\"stop\"/>";
        if (links.tieStart)
            out_ += "<tied type=\"start\"/>";
        const bool hammered = links.hammer.end != HammerEnd::None;
        const bool start = links.hammer.end == HammerEnd::Start;
        if (hammered) {
            out_ += "<slur number=\"";
            Number(note.string);
            out_ += start ? "\" type=\"start\"/>" : "\" type=\"stop\"/>";
        }
        if (triplet_ && !inChord && tupletStart_) {
            out_ += "<tuplet type=\"start\" bracket=\"yes\"/>";
            tupletStart_ = false;
        }
        if (triplet_ && !inChord && tupletStop_ && lastValue) {
            out_ += "<tuplet type=\"stop\"/>";
            tupletStop_ = false;
        }
        out_ += "<technical>";
        if (hammered)
            WriteHammerMark(note.string, links.hammer.pullOff, start);
        WriteStringAndFret(note);
        out_ += "</technical></notations>\n";
        Line("      ", "</note>");
    }

    void WritePitch(int midiPitch) {
        out_ += "        <pitch>";
        WriteSpelled(midiPitch, "");
        out_ += "</pitch>\n";
    }

    // The step, the alteration when there is one, and the octave of a pitch, as <step> ...
    // or, with the prefix "tuning-", as <tuning-step> ... for a staff tuning.
    void WriteSpelled(int midiPitch, std::string_view prefix) {
        const SpelledPitch pitch = SpellPitch(midiPitch);
        WriteElement(prefix, "step", std::string_view(&pitch.step, 1));
        if (pitch.alter != 0)
            WriteElement(prefix, "alter", std::to_string(pitch.alter));
        WriteElement(prefix, "octave", std::to_string(pitch.octave));
    }

    void WriteElement(std::string_view prefix, std::string_view name, std::string_view text) {
        out_ += '<';
        out_ += prefix;
        out_ += name;
        out_ += '>';
        out_ += text;
        out_ += "</";
        out_ += prefix;
        out_ += name;
        out_ += '>';
    }

    void WriteDurationAndType(const NoteValue& value, bool tieStop, bool tieStart) {
        out_ += "        <duration>";
        Number(value.duration);
        out_ += "</duration>\n";
        if (tieStop)
            Line("        ", "<tie type=\"stop\"/>");
        if (tieStart)
            Line("        ", "<tie type=\"start\"/>");
        Line("        ", "<voice>1</voice>");
        out_ += "        <type>";
        out_ += value.type;
        out_ += "</type>\n";
        for (int d = 0; d < value.dots; ++d)
            Line("        ", "<dot/>");
        if (triplet_)
            Line("        ", "<time-modification><actual-notes>3</actual-notes>"
                             "<normal-notes>2</normal-notes></time-modification>");
    }

    void WriteHammerMark(int string, bool pullOff, bool start) {
        const std::string_view element = pullOff ? "pull-off" : "hammer-on";
        out_ += '<';
        out_ += element;
        out_ += " number=\"";
        Number(string);
        if (start) {
            out_ += "\" type=\"start\">";
            out_ += pullOff ? "P" : "H";
            out_ += "</";
            out_ += element;
            out_ += '>';
        } else {
            out_ += "\" type=\"stop\"/>";
        }
    }

    void WriteStringAndFret(const StringNote& note) {
        out_ += "<string>";
        Number(note.string);
        out_ += "</string><fret>";
        Number(note.fret);
        out_ += "</fret>";
    }

    std::string& out_;
    std::ostream* sink_;
    const MusicXmlSong& song_;
    SongStructure structure_;
    MeasureClock clock_;
    // The song's structure as the marker lines pass.
    BeatMeter meter_;
    bool pickup_ = false;
    bool timePending_ = false;
    int tempo_ = 0;
    bool tempoPending_ = false;
    bool leftRepeat_ = false;
    int leftEnding_ = 0;
    int rightRepeat_ = 0;
    int rightEnding_ = 0;
    std::string_view rightEndingType_ = "stop";
    int openEnding_ = 0;
    bool endingAfterEnd_ = false;
    bool afterRepeatEnd_ = false;
    // The triplet group being written.
    bool triplet_ = false;
    bool tupletStart_ = false;
    bool tupletStop_ = false;
    int tripletTicks_ = 0;
    int tripletSpan_ = 0;
};

} // namespace

void SetTitlesFromLines(MusicXmlSong& song, std::span<const std::string> lines,
                        std::string_view songPath) {
    song.title = TitleFromComments(lines);
    if (song.title.empty())
        song.title = DefaultTabTitle(songPath);
    song.subtitle = SubtitleFromComments(lines);
}

bool WriteMusicXml(std::ostream& out, const MusicXmlSong& song) {
    std::string buffer;
    buffer.reserve(FlushSize + 4096);
    ScoreWriter(buffer, &out, song).Write();
    out.flush();
    return static_cast<bool>(out);
}

std::string BuildMusicXml(const MusicXmlSong& song) {
    std::string text;
    text.reserve(EstimatedSize(song));
    ScoreWriter(text, nullptr, song).Write();
    return text;
}

bool WriteMusicXmlFile(const std::string& path, const MusicXmlSong& song, std::string& error) {
    // Written in pieces straight to the file: a score is about forty times the size of its
    // song, and a big song's score need never be held in memory whole.
    return WriteFileAtomicallyFrom(
        path, [&song](std::ostream& out) { return WriteMusicXml(out, song); }, error);
}

} // namespace fw
