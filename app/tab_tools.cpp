#include "tab_tools.h"

#include "chords/capo.h"
#include "chords/chord_parser.h"
#include "chords/song_check.h"
#include "chords/text_file.h"
#include "chords/tuning.h"
#include "export/ascii_tab.h"
#include "export/tab_marks.h"
#include "export/tab_meter.h"
#include "export/tab_titles.h"
#include "export/tablature/tab_printing.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include <algorithm>
#include <memory>
#include <optional>
#include <ostream>

namespace fw {

const char* const TabFormsUsage =
    "Tablature forms for --export-tab and --export-pdf (each off by default):\n"
    "  --rhythm none|letters|stems  rhythm under the staff; --durations is --rhythm letters\n"
    "                               (ASCII tablature writes stems as duration letters)\n"
    "  --bars blank|meter           measures end at blank lines, or when the chords fill the\n"
    "                               meter of a '* Time: 3/4' comment line (4/4 without one)\n"
    "  --neck-frets                 number the 5th string as on the neck: 0, 6, 7, 8 ...\n"
    "  --hp                         write hammer-ons and pull-offs as 0h2 and 4p2\n"
    "  --chord-names                chord names above the staff where the chord changes\n"
    "  --string-names               the tuning's string names at the start of each staff line\n";

namespace {

// Takes one rhythm choice; two that differ are an error.
std::string ChooseRhythm(std::optional<TabRhythm>& chosen, std::string& chosenBy, TabRhythm rhythm,
                         const std::string& by) {
    if (chosen && *chosen != rhythm)
        return chosenBy + " and " + by + " disagree";
    chosen = rhythm;
    chosenBy = by;
    return {};
}

} // namespace

std::string ReadTabToolOptions(const std::string& tool, const std::vector<std::string>& arguments,
                               TabToolOptions& options) {
    const bool pdf = tool == "--export-pdf";
    std::vector<std::string> operands;
    std::optional<TabRhythm> rhythm;
    std::string rhythmBy;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument.rfind("--", 0) != 0) {
            operands.push_back(argument);
            continue;
        }
        // "--rhythm stems" or "--rhythm=stems".
        const std::size_t equals = argument.find('=');
        const std::string name = argument.substr(0, equals);
        if (name == "--rhythm" || name == "--bars") {
            const bool isRhythm = name == "--rhythm";
            const char* const values = isRhythm ? "none, letters or stems" : "blank or meter";
            std::string value;
            if (equals != std::string::npos)
                value = argument.substr(equals + 1);
            else if (i + 1 < arguments.size())
                value = arguments[++i];
            else
                return name + " needs a value: " + values;
            if (isRhythm) {
                const std::optional<TabRhythm> read = TabRhythmFromWord(value);
                if (!read)
                    return "--rhythm takes " + std::string(values) + ", not \"" + value + "\"";
                if (std::string wrong = ChooseRhythm(rhythm, rhythmBy, *read, "--rhythm " + value);
                    !wrong.empty())
                    return wrong;
            } else {
                const std::optional<TabBars> read = TabBarsFromWord(value);
                if (!read)
                    return "--bars takes " + std::string(values) + ", not \"" + value + "\"";
                options.forms.bars = *read;
            }
            continue;
        }
        if (argument == "--durations") {
            if (std::string wrong =
                    ChooseRhythm(rhythm, rhythmBy, TabRhythm::Letters, "--durations");
                !wrong.empty())
                return wrong;
        } else if (argument == "--neck-frets") {
            options.forms.neckFrets = true;
        } else if (argument == "--hp") {
            options.forms.letterMarks = true;
        } else if (argument == "--chord-names") {
            options.forms.chordNames = true;
        } else if (argument == "--string-names") {
            options.forms.stringNames = true;
        } else if (pdf && argument == "--bold") {
            options.bold = true;
        } else if (pdf && argument == "--letter") {
            options.letter = true;
        } else {
            return tool + " does not take " + argument;
        }
    }
    options.forms.rhythm = rhythm.value_or(TabRhythm::None);
    if (operands.size() != 2)
        return tool +
               (pdf ? " takes a song file and a PDF file" : " takes a song file and a tab file");
    options.song = operands[0];
    options.output = operands[1];
    return {};
}

namespace {

// The song and its measures, ready for either output. Returns the exit status when the song
// cannot be used (after printing why), or nothing.
struct TabSong {
    std::vector<TabItem> items;
    std::vector<TabMeasure> measures;
    std::string title;
    std::string subtitle;
    std::string tuning;
    int tuningCode = ReferenceTuningCode;
    Meter meter;
};

// The song is walked line by line: only its tablature items and its comment lines (where the
// titles are) are kept, not a list of its lines and entries, so that a big song takes little
// more memory than its text and its items.
std::optional<int> ReadTabSong(const std::string& path, TabBars bars, TabSong& tab,
                               std::ostream& out, std::ostream& err) {
    std::string text;
    std::string error;
    if (!ReadTextFile(path, text, error)) {
        err << "fretwick: " << error << "\n";
        return 2;
    }
    const SongHeader header = ReadSongHeaderOfText(text);
    // Measures cut by the meter need it before the chords are walked; it may be written anywhere
    // in the song, so its comment lines are looked at first.
    std::vector<std::string> comments;
    if (bars == TabBars::Meter) {
        ForEachEditorLine(text, [&comments](std::string_view line, std::size_t) {
            if (IsCommentLine(line))
                comments.emplace_back(line);
        });
        tab.meter = MeterFromComments(comments);
        comments.clear();
    }
    TabItemsBuilder builder(TabBarRule{bars, tab.meter});
    bool hasChord = false;
    std::size_t count = 0;
    // The entry as the last line left it: the parser fills only the name of a blank line.
    ChordEntry last;
    const bool clean = ForEachCheckedLine(
        text, [&out](const std::string& lineError) { out << lineError << "\n"; },
        [&](std::string_view line, const ChordEntry& entry) {
            hasChord = hasChord || KindOf(entry) == LineKind::Chord;
            builder.Add(entry, line);
            if (IsCommentLine(line))
                comments.emplace_back(line);
            last = entry;
            ++count;
        });
    if (!clean)
        return 1;
    // The blank line an editor shows after the last line.
    ParseChordText("", static_cast<int>(count), MaxFret, last);
    builder.Add(last, "");
    std::string().swap(text);
    if (!hasChord) {
        err << "Can't create tab. No chords defined in editor.\n";
        return 1;
    }
    tab.items = builder.Take();
    AssignMeasureSizes(tab.items);
    tab.measures = NonEmptyMeasures(tab.items);
    tab.title = TitleFromComments(comments);
    if (tab.title.empty())
        tab.title = DefaultTabTitle(path);
    tab.subtitle = SubtitleFromComments(comments);
    tab.tuningCode = RepairedTuningCode(header.tuning);
    tab.tuning =
        TuningStatusText(tab.tuningCode) + TabCapoText(SongCapo([&comments](const auto& visit) {
            for (const std::string& line : comments)
                if (!visit(line))
                    return;
        }));
    tab.meter = MeterFromComments(comments);
    return std::nullopt;
}

int WriteOutput(const std::string& path, std::string_view bytes, std::ostream& err) {
    std::string error;
    if (!WriteFileAtomically(path, bytes, error)) {
        err << "fretwick: " << error << "\n";
        return 2;
    }
    return 0;
}

} // namespace

int ExportTab(const TabToolOptions& options, std::ostream& out, std::ostream& err) {
    TabSong tab;
    if (const std::optional<int> status =
            ReadTabSong(options.song, options.forms.bars, tab, out, err))
        return *status;
    const AsciiTab ascii = BuildAsciiTab(tab.items, {tab.tuning, tab.title, tab.subtitle},
                                         options.forms, tab.tuningCode);
    if (ascii.truncated)
        err << TruncationWarningText << "\n";
    return WriteOutput(options.output, JoinLinesCrLf(ascii.lines), err);
}

namespace {

// The offscreen platform notes that the session has no runtime folder, which a tool run from a
// script or over ssh often has not; that is no concern of the user's.
QtMessageHandler standardHandler = nullptr;

void QuietRuntimeFolderNote(QtMsgType type, const QMessageLogContext& context,
                            const QString& text) {
    if (!text.contains(QStringLiteral("XDG_RUNTIME_DIR")) && standardHandler)
        standardHandler(type, context, text);
}

// The PDF is drawn by the printing code; it needs a GUI application for its fonts but no
// display, so the tool makes its own offscreen one when the program has none.
int DrawPdf(const TabToolOptions& options, TabSong& tab, QBuffer& buffer, QPdfWriter& writer,
            QPainter& painter, std::ostream& err) {
    {
        writer.setPageLayout(PdfPageLayout(options.letter));
        writer.setResolution(1200);
        writer.setTitle(QString::fromStdString(tab.title));
        writer.setCreator(QStringLiteral("Fretwick"));
        if (!painter.begin(&writer)) {
            err << "fretwick: the PDF could not be started\n";
            return 2;
        }
        // The tuning line says how the 5th string is numbered, as in ASCII tablature.
        const std::string tuning =
            options.forms.neckFrets ? tab.tuning + std::string(NeckFretsSuffix) : tab.tuning;
        const TabTexts texts{QString::fromStdString(tuning), QString::fromStdString(tab.title),
                             QString::fromStdString(tab.subtitle)};
        TabDrawOptions drawing;
        drawing.boldNumbers = options.bold;
        drawing.showDurations = options.forms.ShowsRhythm();
        drawing.forms = options.forms;
        drawing.meter = tab.meter;
        drawing.tuningCode = tab.tuningCode;
        const PrintOutcome outcome =
            PrintTablature(painter, writer, tab.items, tab.measures, texts, drawing);
        painter.end();
        if (outcome.truncated)
            err << TruncationWarningText << "\n";
    }
    return WriteOutput(
        options.output,
        std::string_view(buffer.data().constData(), static_cast<std::size_t>(buffer.size())), err);
}

// Out of memory while drawing, the painter and the PDF writer would draw again as they are
// destroyed, and fail again there, where nothing can catch it: they are left alone instead (the
// tool ends at once), and nothing is written.
int WritePdf(const TabToolOptions& options, TabSong& tab, std::ostream& err) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    auto writer = std::make_unique<QPdfWriter>(&buffer);
    auto painter = std::make_unique<QPainter>();
    try {
        return DrawPdf(options, tab, buffer, *writer, *painter, err);
    } catch (const std::bad_alloc&) {
        static_cast<void>(painter.release());
        static_cast<void>(writer.release());
        err << "fretwick: not enough memory to export the pdf file.\n";
        return 2;
    }
}

} // namespace

int ExportPdf(const TabToolOptions& options, std::ostream& out, std::ostream& err) {
    TabSong tab;
    if (const std::optional<int> status =
            ReadTabSong(options.song, options.forms.bars, tab, out, err))
        return *status;
    if (QCoreApplication::instance())
        return WritePdf(options, tab, err);
    int argc = 3;
    char name[] = "fretwick";
    char platformOption[] = "-platform";
    char platform[] = "offscreen";
    char* argv[] = {name, platformOption, platform, nullptr};
    standardHandler = qInstallMessageHandler(QuietRuntimeFolderNote);
    QGuiApplication application(argc, argv);
    const int status = WritePdf(options, tab, err);
    qInstallMessageHandler(standardHandler);
    return status;
}

} // namespace fw
