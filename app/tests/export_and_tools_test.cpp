// The MIDI export command and the command-line tools, which must write the same bytes.

#include "export_test_support.h"

namespace fw::testing {
namespace {

const char* const SongText = "*Info 1:tools\r\n*Info 2:24\r\n*Info 3:52555\r\n*Info 4:90\r\n"
                             "* Verse\r\nG, 0, 0, 0, 0, 0, Q\r\nSlide, 0, 2-4, 0, 0, 0, H\r\n"
                             "\r\nC, x, 2, 0, 1, 2, .e\r\n";

class Export : public ExportTest {};

TEST_F(Export, TheMenuCommandAndTheCommandLineWriteTheSameBytes) {
    const QString song = WriteSong(QStringLiteral("tools.fwk"), SongText);
    const QString fromTool = dir.filePath(QStringLiteral("tool.mid"));
    const Run run = Tool({"--export-midi", song.toStdString(), fromTool.toStdString()});
    ASSERT_EQ(run.status, 0) << run.err;

    TfrmMain& window = Start({song});
    const QString fromMenu = dir.filePath(QStringLiteral("menu.mid"));
    dialogs.AnswerSaveFile(fromMenu);
    window.SaveAsMidiFile1Click();
    const DialogCall& save = dialogs.Log().back();
    EXPECT_EQ(save.file.title, QStringLiteral("Save As Midi"));
    EXPECT_EQ(save.file.fileName, QStringLiteral("tools.mid")); // lower case, as Linux expects
    EXPECT_EQ(ReadAll(fromMenu), ReadAll(fromTool));
    EXPECT_TRUE(ReadAll(fromMenu).startsWith("MThd"));
    EXPECT_EQ(window.settings().LastDir, dir.path() + QLatin1Char('/'));
}

// Ringing hammer-ons: the setting for the menu, --hammer-ons for the tool; quick is the default.
TEST_F(Export, RingingHammerOnsReachTheMidiFileFromTheMenuAndTheTool) {
    const QString song = WriteSong(QStringLiteral("ring.fwk"), SongText);
    const auto tool = [&](const char* name, std::vector<std::string> options) {
        const QString path = dir.filePath(QString::fromLatin1(name));
        std::vector<std::string> args{"--export-midi", song.toStdString(), path.toStdString()};
        args.insert(args.end(), options.begin(), options.end());
        const Run run = Tool(args);
        EXPECT_EQ(run.status, 0) << name << ": " << run.err;
        return ReadAll(path);
    };
    const QByteArray plain = tool("plain.mid", {});
    const QByteArray ring = tool("ring.mid", {"--hammer-ons", "ring"});
    EXPECT_EQ(tool("quick.mid", {"--hammer-ons=quick"}), plain);
    EXPECT_NE(ring, plain);
    const Run wrong =
        Tool({"--export-wav", song.toStdString(),
              dir.filePath(QStringLiteral("x.wav")).toStdString(), "--hammer-ons", "long"});
    EXPECT_EQ(wrong.status, 2);
    EXPECT_NE(wrong.err.find("--hammer-ons takes quick or ring, not \"long\""), std::string::npos);
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("x.wav"))));

    TfrmMain& window = Start({song});
    window.settings().HammerOnsRing = true;
    const QString fromMenu = dir.filePath(QStringLiteral("menu.mid"));
    dialogs.AnswerSaveFile(fromMenu);
    window.SaveAsMidiFile1Click();
    EXPECT_EQ(ReadAll(fromMenu), ring);
}

// The bytes are checked against a file written out by hand from the format's rules, not against
// the writer's own output: one G chord, patch 24, tuning 55565 (string 2 a semitone up), tempo
// 90 (666666 microseconds a quarter note).
TEST_F(Export, TheMenuAndTheCommandLineWriteTheSongByteForByte) {
    const QString song = WriteSong(QStringLiteral("one.fwk"),
                                   "*Info 1:\r\n*Info 2:24\r\n*Info 3:55565\r\n*Info 4:90\r\n"
                                   "G, 0, 0, 0, 0, 0, Q\r\n");
    const QByteArray golden =
        QByteArray::fromHex("4D546864 00000006 0001 0002 0060"
                            "4D54726B 00000016 00C018 00FF5804 04021808 00FF5103 0A2C2A 00FF2F00"
                            "4D54726B 0000002F 00FF0308 46726574776963 6B"
                            "00903E7F 003C7F 00377F 00327F 00437F"
                            "603E00 003700 003200 004300 003C00 00FF2F00");
    const QString fromTool = dir.filePath(QStringLiteral("one_tool.mid"));
    const Run run = Tool({"--export-midi", song.toStdString(), fromTool.toStdString()});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(ReadAll(fromTool).toHex(' '), golden.toHex(' '));

    TfrmMain& window = Start({song});
    const QString fromMenu = dir.filePath(QStringLiteral("one_menu.mid"));
    dialogs.AnswerSaveFile(fromMenu);
    window.SaveAsMidiFile1Click();
    EXPECT_EQ(ReadAll(fromMenu).toHex(' '), golden.toHex(' '));
}

TEST_F(Export, RefusesAListWithErrorsOrWithoutChords) {
    TfrmMain& window = Start();
    SetText(QStringLiteral("G, 0, 0, 0, 0, 0, Q\nbroken"));
    window.SaveAsMidiFile1Click();
    SetText(QStringLiteral("* only a comment\n"));
    window.SaveAsMidiFile1Click();
    EXPECT_EQ(
        Messages(),
        (QStringList{QStringLiteral("Line 2    Not enough commas."),
                     QStringLiteral("Fix errors before creating a midi file."),
                     QStringLiteral("Can't create midi file. No chords defined in editor.")}));
    for (const DialogCall& call : dialogs.Log())
        EXPECT_NE(call.kind, DialogKind::SaveFile) << "no file dialog for a refused export";
}

TEST_F(Export, AFailedWriteIsReportedAndKeepsTheLastFolder) {
    TfrmMain& window = Start();
    window.settings().LastDir = QStringLiteral("/kept/");
    SetText(QStringLiteral("G, 0, 0, 0, 0, 0, Q"));
    dialogs.AnswerSaveFile(dir.filePath(QStringLiteral("no/such/folder/out.mid")));
    window.SaveAsMidiFile1Click();
    ASSERT_EQ(Messages().size(), 1);
    EXPECT_TRUE(Messages().front().contains(QStringLiteral("out.mid")));
    EXPECT_EQ(window.settings().LastDir, QStringLiteral("/kept/"));
}

// Count-in and metronome clicks sound live only: after a play with every practice control on,
// the exported file is the same bytes as without them.
TEST_F(Export, PracticeClicksNeverReachTheMidiFile) {
    const QString song = WriteSong(QStringLiteral("one.fwk"),
                                   "*Info 1:\r\n*Info 2:24\r\n*Info 3:55565\r\n*Info 4:90\r\n"
                                   "G, 0, 0, 0, 0, 0, Q\r\n");
    TfrmMain& window = Start({song});
    const QString plain = dir.filePath(QStringLiteral("plain.mid"));
    dialogs.AnswerSaveFile(plain);
    window.SaveAsMidiFile1Click();

    window.ui().actCountIn[2]->trigger();
    window.ui().actMetronome->setChecked(true);
    window.ui().actTrainer->setChecked(true);
    window.playSession().PlayButtonPressed();
    int clicks = 0;
    for (const auto& event : output.Messages())
        clicks += (event.message & 0xFF) == 0x99 && ((event.message >> 16) & 0xFF) != 0;
    EXPECT_EQ(clicks, 8 + 1) << "two measures of count-in and the chord's beat were heard";

    const QString practised = dir.filePath(QStringLiteral("practised.mid"));
    dialogs.AnswerSaveFile(practised);
    window.SaveAsMidiFile1Click();
    EXPECT_EQ(ReadAll(practised).toHex(' '), ReadAll(plain).toHex(' '));
    EXPECT_FALSE(ReadAll(practised).contains('\x99'));
}

struct CheckCase {
    const char* label;
    const char* song;
    int status;
    const char* out;
};

class CheckTool : public Export, public ::testing::WithParamInterface<CheckCase> {};

TEST_P(CheckTool, PrintsTheParserTexts) {
    const CheckCase& c = GetParam();
    const QString song = WriteSong(QStringLiteral("check.fwk"), c.song);
    const Run run = Tool({"--check", song.toStdString()});
    EXPECT_EQ(run.status, c.status);
    EXPECT_EQ(run.out, c.out);
}

INSTANTIATE_TEST_SUITE_P(
    Songs, CheckTool,
    ::testing::Values(
        CheckCase{"clean", SongText, 0, ""},
        CheckCase{"numbered_after_header",
                  "*Info 1:\r\n*Info 2:105\r\n*Info 3:55555\r\n*Info 4:120\r\nG, 0\r\n* ok\r\n"
                  "G, 0, 0, 23, 0, 0, Q\r\n",
                  1,
                  "Line 1    Not enough commas.\n"
                  "Line 3    Fret Number for G string (\"23\") must be lower than 23.\n"},
        CheckCase{"incomplete_header_kept", "*Info 1:\n*Info 2:105\nG, 0, 0, 0, 0, 0, X\n", 1,
                  "Line 3    \"X\" invalid. (W)hole,(H)alf,Q,E,S,T,F\n"}),
    [](const auto& info) { return std::string(info.param.label); });

TEST_F(Export, ToolsReportUsageAndUnreadableFiles) {
    EXPECT_FALSE(RunCommandLineTool({dir.filePath(QStringLiteral("song.fwk")).toStdString()},
                                    std::cout, std::cerr)
                     .has_value())
        << "a song path starts the window";
    EXPECT_EQ(Tool({"--bogus"}).status, 2);
    EXPECT_EQ(Tool({"--check"}).status, 2);
    const Run missing = Tool({"--check", dir.filePath(QStringLiteral("none.fwk")).toStdString()});
    EXPECT_EQ(missing.status, 2);
    EXPECT_NE(missing.err.find("none.fwk"), std::string::npos);
    EXPECT_EQ(Tool({"--version"}).out, "Fretwick 1.0\n");
    EXPECT_NE(Tool({"--help"}).out.find("--export-midi"), std::string::npos);
}

TEST_F(Export, ExportWithErrorsPrintsThemAndWritesNoFile) {
    // Every line in error is named, also those after a good line that follows the first one.
    const QString song =
        WriteSong(QStringLiteral("bad.fwk"), "G, 0, 0, 0, 0, 0, Q\nx\nC, 0, 0, 0, 0, 0, Q\ny, 1\n");
    const QString out = dir.filePath(QStringLiteral("bad.mid"));
    const Run run = Tool({"--export-midi", song.toStdString(), out.toStdString()});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "Line 2    Not enough commas.\nLine 4    Not enough commas.\n");
    EXPECT_FALSE(QFile::exists(out));
}

TEST_F(Export, ExportWavRendersTheSongAtItsTempo) {
    // One quarter note at tempo 60 lasts a second; the renderer adds a short release tail.
    const QString song = WriteSong(QStringLiteral("wav.fwk"),
                                   "*Info 1:\r\n*Info 2:105\r\n*Info 3:55555\r\n*Info 4:60\r\n"
                                   "G, 0, 0, 0, 0, 0, Q\r\n");
    const QString out = dir.filePath(QStringLiteral("song.wav"));
    const Run run = Tool({"--export-wav", song.toStdString(), out.toStdString()});
    ASSERT_EQ(run.status, 0) << run.err;
    const QByteArray wav = ReadAll(out);
    ASSERT_GT(wav.size(), 44);
    EXPECT_TRUE(wav.startsWith("RIFF"));
    EXPECT_EQ(wav.mid(8, 4), QByteArray("WAVE"));
    const double seconds = (wav.size() - 44) / (44100.0 * 2 * 2);
    EXPECT_GT(seconds, 1.0);
    EXPECT_LT(seconds, 1.5);
    // Not silent: some sample well away from zero.
    const auto* samples = reinterpret_cast<const qint16*>(wav.constData() + 44);
    const qsizetype count = (wav.size() - 44) / 2;
    int loudest = 0;
    for (qsizetype i = 0; i < count; ++i)
        loudest = std::max(loudest, std::abs(int(samples[i])));
    EXPECT_GT(loudest, 1000);
}

// Special > WAV File... writes what the command line writes, through the same save dialog
// rules as the other exports; a song with a bad line writes nothing.
TEST_F(Export, TheWindowWritesTheSameWavAsTheCommandLine) {
    const QString song = WriteSong(QStringLiteral("reel.fwk"),
                                   "*Info 1:\r\n*Info 2:24\r\n*Info 3:64556\r\n*Info 4:150\r\n"
                                   "G, 0, 0, 0, 0, 0, E\r\n* comment\r\nC, x, 2-4, 0, 1, 2, Q\r\n");
    const QString fromTool = dir.filePath(QStringLiteral("tool.wav"));
    const Run run = Tool({"--export-wav", song.toStdString(), fromTool.toStdString()});
    ASSERT_EQ(run.status, 0) << run.err;

    TfrmMain& window = Start({song});
    const QString fromMenu = dir.filePath(QStringLiteral("menu.wav"));
    dialogs.AnswerSaveFile(fromMenu);
    window.ui().SaveAsWavFile1->trigger();
    ASSERT_FALSE(dialogs.Log().empty());
    const DialogCall& save = dialogs.Log().back();
    EXPECT_EQ(save.file.title, QStringLiteral("Save As WAV"));
    EXPECT_EQ(save.file.fileName, QStringLiteral("reel.wav"));
    EXPECT_TRUE(save.file.confirmOverwrite);
    EXPECT_EQ(ReadAll(fromMenu), ReadAll(fromTool));
    EXPECT_EQ(window.settings().LastDir, dir.path() + QLatin1Char('/'));

    SetText(QStringLiteral("G, 0, 0"));
    dialogs.ClearLog();
    window.ui().SaveAsWavFile1->trigger();
    EXPECT_EQ(Messages().last(), QStringLiteral("Fix errors before creating a wav file."));
}

TEST_F(Export, TheRealBinaryChecksWithoutADisplay) {
    const QString song = WriteSong(QStringLiteral("bin.fwk"), "G, 0, 0, 0, 0, 0, Q\nC,1\n");
    const Run run = Binary({QStringLiteral("--check"), song});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "Line 2    Not enough commas.\n");
}

} // namespace
} // namespace fw::testing
