// Hostile files at every place the program reads a song or tablature: Open, a recent file, a
// dropped file, File > Import ASCII Tablature... and the command-line tools (check, the MIDI,
// WAV, MusicXML, tablature and PDF exports, the tablature import). A folder, a named pipe or a
// socket is refused at once with a message saying what it is (a pipe is never waited on), a
// file over the editor's limit is refused with its size, and binary content opens as lines in
// error (or, as tablature, holds none). A refusal leaves the document exactly as it was.

#include "main_window_fixture.h"

#include "app/command_line.h"
#include "tests/support/hostile_file_kinds.h"

#include <filesystem>
#include <sstream>

namespace fw::testing {
namespace {

namespace fs = std::filesystem;

// The ways a path reaches a reader.
enum class EntryPoint {
    OpenDialog,
    RecentFile,
    Drop,
    ImportTabDialog,
    Check,
    ExportMidi,
    ExportWav,
    ExportMusicXml,
    ExportTab,
    ExportPdf,
    ImportTab
};

struct Entry {
    EntryPoint point;
    const char* name;
    const char* tool; // the command-line option; null for the window
};

const Entry Entries[] = {
    {EntryPoint::OpenDialog, "OpenDialog", nullptr},
    {EntryPoint::RecentFile, "RecentFile", nullptr},
    {EntryPoint::Drop, "Drop", nullptr},
    {EntryPoint::ImportTabDialog, "ImportTabDialog", nullptr},
    {EntryPoint::Check, "Check", "--check"},
    {EntryPoint::ExportMidi, "ExportMidi", "--export-midi"},
    {EntryPoint::ExportWav, "ExportWav", "--export-wav"},
    {EntryPoint::ExportMusicXml, "ExportMusicXml", "--export-musicxml"},
    {EntryPoint::ExportTab, "ExportTab", "--export-tab"},
    {EntryPoint::ExportPdf, "ExportPdf", "--export-pdf"},
    {EntryPoint::ImportTab, "ImportTab", "--import-tab"},
};

// What binary content gives: two lines in error for a song, no tablature for an import.
const char* const BinaryLineErrors = "Line 1    Not enough commas.\nLine 2    Not enough commas.\n";
const char* const NoTablature = "No banjo tablature found in the text.";

using HostileParam = std::tuple<int, int>; // an index into Entries, one into hostile::Kinds

std::string CaseOf(const HostileParam& param) {
    return std::string(Entries[std::get<0>(param)].name) + "_" +
           hostile::Kinds[std::get<1>(param)].name;
}

class HostileFiles : public MainWindowTest, public ::testing::WithParamInterface<HostileParam> {
protected:
    void RunTool(const Entry& entry, const hostile::FileKind& kind, const fs::path& path) {
        const std::string refusal = hostile::Refusal(kind, path);
        const std::string out = (fs::path(dir.path().toStdString()) / "out").string();
        std::vector<std::string> args = {entry.tool, path.string()};
        if (entry.point != EntryPoint::Check)
            args.push_back(out);
        std::ostringstream printed, errors;
        const std::optional<int> status = RunCommandLineTool(args, printed, errors);
        if (!refusal.empty()) {
            EXPECT_EQ(status, 2);
            EXPECT_EQ(printed.str(), "");
            EXPECT_EQ(errors.str(), "fretwick: " + refusal + "\n");
        } else if (entry.point == EntryPoint::ImportTab) {
            EXPECT_EQ(status, 1);
            EXPECT_EQ(printed.str(), "");
            EXPECT_EQ(errors.str(), std::string("fretwick: ") + NoTablature + "\n");
        } else {
            EXPECT_EQ(status, 1);
            EXPECT_EQ(printed.str(), BinaryLineErrors);
        }
        EXPECT_FALSE(fs::exists(out)) << "nothing is written for a file that was not read";
    }

    void RunWindow(const Entry& entry, const hostile::FileKind& kind, const fs::path& path) {
        const QString qPath = QString::fromStdString(path.string());
        const QString refusal = QString::fromStdString(hostile::Refusal(kind, path));
        TfrmMain& window = Start();
        const QString before = QStringLiteral("G, 0, 0, 0, 0, 0, Q\n* mine");
        SetText(before);
        if (entry.point == EntryPoint::OpenDialog || entry.point == EntryPoint::ImportTabDialog) {
            dialogs.AnswerOpenFile(qPath);
            if (entry.point == EntryPoint::OpenDialog)
                window.Open1Click();
            else
                window.ImportAsciiTab1Click();
        } else if (entry.point == EntryPoint::RecentFile) {
            window.OpenRecentFile(qPath);
        } else {
            window.DropFiles({qPath});
        }
        const bool opened = refusal.isEmpty() && entry.point != EntryPoint::ImportTabDialog;
        if (!kind.regular && entry.point == EntryPoint::Drop) {
            // Only song files are taken from a drop; anything else is ignored, unread.
            EXPECT_TRUE(Messages().isEmpty());
        } else if (!refusal.isEmpty()) {
            EXPECT_EQ(Messages(), QStringList{refusal});
        } else if (entry.point == EntryPoint::ImportTabDialog) {
            EXPECT_EQ(Messages(), QStringList{QString::fromLatin1(NoTablature)});
        } else {
            EXPECT_TRUE(Messages().isEmpty());
            EXPECT_EQ(main->lines().lineCount(), 2);
        }
        if (!opened || (!kind.regular && entry.point == EntryPoint::Drop)) {
            EXPECT_EQ(Text(), before);
            EXPECT_FALSE(window.document().Modified());
        }
    }
};

TEST_P(HostileFiles, AreRefusedAtOnceOrReadAsLinesInError) {
    const Entry& entry = Entries[std::get<0>(GetParam())];
    const hostile::FileKind& kind = hostile::Kinds[std::get<1>(GetParam())];
    const bool tablature =
        entry.point == EntryPoint::ImportTab || entry.point == EntryPoint::ImportTabDialog;
    const fs::path path =
        fs::path(dir.path().toStdString()) / (tablature ? "hostile.tab" : "hostile.fwk");
    ASSERT_EQ(kind.make(path), "");
    if (entry.tool)
        RunTool(entry, kind, path);
    else
        RunWindow(entry, kind, path);
}

INSTANTIATE_TEST_SUITE_P(Table, HostileFiles,
                         ::testing::Combine(::testing::Range(0,
                                                             static_cast<int>(std::size(Entries))),
                                            ::testing::Range(0, hostile::KindCount)),
                         [](const auto& info) { return CaseOf(info.param); });

} // namespace
} // namespace fw::testing
