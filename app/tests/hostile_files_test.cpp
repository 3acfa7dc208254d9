// Hostile files at every place the program reads a song: Open, a recent file, a dropped file
// and the command-line tools (check, MIDI, MusicXML and tablature export). A folder, a named pipe
// or a socket is refused at once with a message saying what it is (a pipe is never waited on), a
// file over the editor's limit is refused with its size, and binary content opens as lines in
// error.

#include "main_window_fixture.h"

#include "app/command_line.h"

#include <QFile>

#include <filesystem>
#include <functional>
#include <sstream>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace fw::testing {
namespace {

namespace fs = std::filesystem;

struct FileKind {
    const char* name;
    std::function<void(const fs::path&)> make;
    // What the refusal says after "failed: "; empty when the file opens.
    const char* refusal;
    bool regular = true;
};

const FileKind Kinds[] = {
    {"Folder", [](const fs::path& p) { fs::create_directory(p); }, "it is a folder, not a file",
     false},
    {"NamedPipe", [](const fs::path& p) { ASSERT_EQ(::mkfifo(p.c_str(), 0644), 0); },
     "it is a named pipe, not a file", false},
    {"Socket",
     [](const fs::path& p) {
         const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
         sockaddr_un address{};
         address.sun_family = AF_UNIX;
         std::snprintf(address.sun_path, sizeof address.sun_path, "%s", p.c_str());
         ASSERT_EQ(::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
     },
     "it is a socket, not a file", false},
    {"OverTheLimit",
     [](const fs::path& p) {
         QFile file(QString::fromStdString(p.string()));
         ASSERT_TRUE(file.open(QIODevice::WriteOnly));
         ASSERT_TRUE(file.resize(200'000'001)); // sparse: no room taken on disk
     },
     "it is 200,000,001 bytes; the editor holds at most 200,000,000 characters"},
    {"Binary",
     [](const fs::path& p) {
         QFile file(QString::fromStdString(p.string()));
         ASSERT_TRUE(file.open(QIODevice::WriteOnly));
         file.write(QByteArray("\x7F"
                               "ELF\x02\x01\0\0\r\n\xFF\xFE,\0,\x01",
                               16));
     },
     ""},
};

// The ways a path reaches the reader.
enum class EntryPoint {
    OpenDialog,
    RecentFile,
    Drop,
    Check,
    ExportMidi,
    ExportMusicXml,
    ExportTab
};

const char* EntryName(EntryPoint e) {
    switch (e) {
    case EntryPoint::OpenDialog:
        return "OpenDialog";
    case EntryPoint::RecentFile:
        return "RecentFile";
    case EntryPoint::Drop:
        return "Drop";
    case EntryPoint::Check:
        return "Check";
    case EntryPoint::ExportMidi:
        return "ExportMidi";
    case EntryPoint::ExportMusicXml:
        return "ExportMusicXml";
    case EntryPoint::ExportTab:
        return "ExportTab";
    }
    return "";
}

void PrintTo(EntryPoint e, std::ostream* out) {
    *out << EntryName(e);
}

using HostileParam = std::tuple<EntryPoint, int>;

std::string CaseOf(const HostileParam& param) {
    return std::string(EntryName(std::get<0>(param))) + "_" + Kinds[std::get<1>(param)].name;
}

class HostileFiles : public MainWindowTest, public ::testing::WithParamInterface<HostileParam> {};

TEST_P(HostileFiles, AreRefusedAtOnceOrReadAsLinesInError) {
    const auto [entry, kindIndex] = GetParam();
    const FileKind& kind = Kinds[kindIndex];
    const fs::path path = fs::path(dir.path().toStdString()) / "hostile.fwk";
    kind.make(path);
    const QString qPath = QString::fromStdString(path.string());
    const std::string refusal =
        *kind.refusal ? "Opening \"" + path.string() + "\" failed: " + kind.refusal + "." : "";

    if (entry == EntryPoint::Check || entry == EntryPoint::ExportMidi ||
        entry == EntryPoint::ExportMusicXml || entry == EntryPoint::ExportTab) {
        const std::string out = (fs::path(dir.path().toStdString()) / "out").string();
        std::vector<std::string> args = {"--check", path.string()};
        if (entry == EntryPoint::ExportMidi)
            args = {"--export-midi", path.string(), out};
        if (entry == EntryPoint::ExportMusicXml)
            args = {"--export-musicxml", path.string(), out};
        if (entry == EntryPoint::ExportTab)
            args = {"--export-tab", path.string(), out};
        std::ostringstream printed, errors;
        const std::optional<int> status = RunCommandLineTool(args, printed, errors);
        if (!refusal.empty()) {
            EXPECT_EQ(status, 2);
            EXPECT_EQ(errors.str(), "fretwick: " + refusal + "\n");
        } else {
            EXPECT_EQ(status, 1);
            EXPECT_EQ(printed.str(),
                      "Line 1    Not enough commas.\nLine 2    Not enough commas.\n");
        }
        EXPECT_FALSE(fs::exists(out)) << "nothing is written for a song that was not read";
        return;
    }

    TfrmMain& window = Start();
    if (entry == EntryPoint::OpenDialog) {
        dialogs.AnswerOpenFile(qPath);
        window.Open1Click();
    } else if (entry == EntryPoint::RecentFile) {
        window.OpenRecentFile(qPath);
    } else {
        window.DropFiles({qPath});
    }
    if (!kind.regular && entry == EntryPoint::Drop) {
        // Only song files are taken from a drop; anything else is ignored, unread.
        EXPECT_TRUE(Messages().isEmpty());
        EXPECT_EQ(Text(), QString());
    } else if (!refusal.empty()) {
        ASSERT_EQ(Messages().size(), 1);
        EXPECT_EQ(Messages().front(), QString::fromStdString(refusal));
        EXPECT_EQ(Text(), QString());
    } else {
        EXPECT_TRUE(Messages().isEmpty());
        EXPECT_EQ(main->lines().lineCount(), 2);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, HostileFiles,
    ::testing::Combine(::testing::Values(EntryPoint::OpenDialog, EntryPoint::RecentFile,
                                         EntryPoint::Drop, EntryPoint::Check,
                                         EntryPoint::ExportMidi, EntryPoint::ExportMusicXml,
                                         EntryPoint::ExportTab),
                       ::testing::Range(0, static_cast<int>(std::size(Kinds)))),
    [](const auto& info) { return CaseOf(info.param); });

} // namespace
} // namespace fw::testing
