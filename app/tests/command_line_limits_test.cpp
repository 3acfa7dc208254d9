// Every command-line tool against hostile sizes and targets, as the real program under a 3 GiB
// address-space limit: a song of one 150,000,000-character line, one of 10,000,000 empty lines,
// songs and tablature saved as UTF-16 (either byte order, with a mark), and outputs that are
// /dev/null, a named pipe, a folder or a socket. Each gives its message or the right result;
// none crashes or runs out of memory. The big inputs are made once for the whole table.

#include "chords/text_file.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace fw {
namespace {

namespace fs = std::filesystem;

const std::string Song = "*Info 1:Caf\xC3\xA9\r\n*Info 2:105\r\n*Info 3:55555\r\n*Info 4:120\r\n"
                         "* Title: Limits\r\nG, 0, 0, 0, 0, 0, Q\r\nC, x, 2, 0, 1, 2, H\r\n";
// It names its tuning, so that the import has nothing to report.
const std::string Tab = "Tuning: gDGBD\n|--0--|\n|-----|\n|-----|\n|-----|\n|-----|\n";

// UTF-8 text (ASCII and Latin-1 only) as UTF-16 with its byte order mark.
std::string Utf16(const std::string& text, bool bigEndian) {
    std::u16string units = u"\uFEFF";
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        units += c < 0x80
                     ? char16_t(c)
                     : char16_t(((c & 0x1F) << 6) | (static_cast<unsigned char>(text[++i]) & 0x3F));
    }
    std::string bytes;
    for (const char16_t u : units) {
        const char high = static_cast<char>(u >> 8), low = static_cast<char>(u & 0xFF);
        bytes += bigEndian ? high : low;
        bytes += bigEndian ? low : high;
    }
    return bytes;
}

std::string Contents(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

struct ProgramRun {
    bool crashed;
    int status;
    std::string out, err;
};

// The real program under an address-space limit (3 GiB unless given), without a display.
ProgramRun Program(const QStringList& arguments,
                   const QString& limit = QStringLiteral("3221225472")) {
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("DISPLAY"));
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral("prlimit"),
                  QStringList{QStringLiteral("--as=") + limit, QStringLiteral(FRETWICK_BINARY)} +
                      arguments);
    EXPECT_TRUE(process.waitForFinished(120000));
    return {process.exitStatus() != QProcess::NormalExit, process.exitCode(),
            process.readAllStandardOutput().toStdString(),
            process.readAllStandardError().toStdString()};
}

enum class Input { Song, LongLine, ManyLines, Utf16Le, Utf16Be };
enum class Output { File, Null, Pipe, Folder, Socket };

struct ToolCase {
    std::string tool;
    Input input;
    Output output;
    int status;
    std::string err; // what standard error must hold; empty: nothing
};

std::string Name(const ToolCase& c) {
    static const char* const inputs[] = {"song", "long_line", "many_lines", "utf16le", "utf16be"};
    static const char* const outputs[] = {"file", "dev_null", "named_pipe", "folder", "socket"};
    std::string name = c.tool.substr(2) + "_" + inputs[static_cast<int>(c.input)] + "_to_" +
                       outputs[static_cast<int>(c.output)];
    for (char& ch : name)
        if (ch == '-')
            ch = '_';
    return name;
}

void PrintTo(const ToolCase& c, std::ostream* os) {
    *os << Name(c);
}

const std::string LongLineError =
    "line 1 has 150,000,000 characters; the editor holds at most 100,000 characters in a line.";
const std::string ManyLinesError =
    "it has 10,000,000 lines; the editor holds at most 2,000,000 lines.";

std::vector<ToolCase> Cases() {
    const std::vector<std::string> exports = {"--export-midi", "--export-wav", "--export-musicxml",
                                              "--export-tab",  "--export-pdf", "--import-tab"};
    std::vector<ToolCase> cases;
    cases.push_back({"--check", Input::LongLine, Output::File, 2, LongLineError});
    cases.push_back({"--check", Input::ManyLines, Output::File, 0, ""});
    cases.push_back({"--check", Input::Utf16Le, Output::File, 0, ""});
    cases.push_back({"--check", Input::Utf16Be, Output::File, 0, ""});
    for (const std::string& tool : exports) {
        const bool perLine = tool != "--export-midi" && tool != "--export-wav";
        cases.push_back({tool, Input::LongLine, Output::File, 2, LongLineError});
        if (perLine)
            cases.push_back({tool, Input::ManyLines, Output::File, 2, ManyLinesError});
        else
            cases.push_back({tool, Input::ManyLines, Output::File, 1,
                             "Can't create midi file. No chords defined in editor."});
        cases.push_back({tool, Input::Utf16Le, Output::File, 0, ""});
        cases.push_back({tool, Input::Utf16Be, Output::File, 0, ""});
        cases.push_back({tool, Input::Song, Output::Null, 0, ""});
        cases.push_back({tool, Input::Song, Output::Pipe, 0, ""});
        cases.push_back({tool, Input::Song, Output::Folder, 2, "it is a folder, not a file."});
        cases.push_back({tool, Input::Song, Output::Socket, 2, "it is a socket, not a file."});
    }
    return cases;
}

class HostileToolRuns : public ::testing::TestWithParam<ToolCase> {
protected:
    static void SetUpTestSuite() {
        folder_ = std::make_unique<QTemporaryDir>();
        const fs::path root = folder_->path().toStdString();
        {
            std::ofstream out(root / "long.fwk", std::ios::binary);
            const std::string chunk(1'000'000, 'x');
            for (int i = 0; i < 150; ++i)
                out << chunk;
        }
        std::ofstream(root / "lines.fwk", std::ios::binary) << std::string(10'000'000, '\n');
        for (const auto& [name, text] : {std::pair{"song", Song}, std::pair{"tab", Tab}}) {
            std::ofstream(root / (std::string(name) + ".in"), std::ios::binary) << text;
            std::ofstream(root / (std::string(name) + "16le.in"), std::ios::binary)
                << Utf16(text, false);
            std::ofstream(root / (std::string(name) + "16be.in"), std::ios::binary)
                << Utf16(text, true);
        }
        fs::create_directory(root / "folder");
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::snprintf(address.sun_path, sizeof address.sun_path, "%s", (root / "socket").c_str());
        ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
        ::close(fd);
    }
    static void TearDownTestSuite() { folder_.reset(); }

    static fs::path Root() { return folder_->path().toStdString(); }

    static fs::path InputPath(const ToolCase& c) {
        const std::string kind = c.tool == "--import-tab" ? "tab" : "song";
        switch (c.input) {
        case Input::LongLine:
            return Root() / "long.fwk";
        case Input::ManyLines:
            return Root() / "lines.fwk";
        case Input::Utf16Le:
            return Root() / (kind + "16le.in");
        case Input::Utf16Be:
            return Root() / (kind + "16be.in");
        case Input::Song:
            break;
        }
        return Root() / (kind + ".in");
    }

    // What the tool writes for the plain UTF-8 input, to compare with.
    static std::string Expected(const std::string& tool) {
        const fs::path in = Root() / (tool == "--import-tab" ? "tab.in" : "song.in");
        const fs::path out = Root() / ("expected" + tool);
        if (!fs::exists(out)) {
            const ProgramRun run =
                Program({QString::fromStdString(tool), QString::fromStdString(in),
                         QString::fromStdString(out)});
            EXPECT_EQ(run.status, 0) << run.err;
        }
        return Contents(out);
    }

    static std::unique_ptr<QTemporaryDir> folder_;
};

std::unique_ptr<QTemporaryDir> HostileToolRuns::folder_;

TEST_P(HostileToolRuns, GiveAMessageOrTheRightResult) {
    const ToolCase& c = GetParam();
    const fs::path in = InputPath(c);
    fs::path out = Root() / ("out-" + Name(c));
    std::string piped;
    std::thread reader;
    switch (c.output) {
    case Output::File:
        break;
    case Output::Null:
        out = "/dev/null";
        break;
    case Output::Pipe:
        ASSERT_EQ(::mkfifo(out.c_str(), 0600), 0);
        reader = std::thread([&] { piped = Contents(out); });
        break;
    case Output::Folder:
        out = Root() / "folder";
        break;
    case Output::Socket:
        out = Root() / "socket";
        break;
    }
    QStringList arguments{QString::fromStdString(c.tool), QString::fromStdString(in)};
    if (c.tool != "--check")
        arguments << QString::fromStdString(out);
    const ProgramRun run = Program(arguments);
    if (reader.joinable())
        reader.join();
    ASSERT_FALSE(run.crashed) << run.err;
    EXPECT_EQ(run.status, c.status) << run.err;
    if (c.err.empty()) {
        EXPECT_EQ(run.err, "");
    } else {
        EXPECT_NE(run.err.find(c.err), std::string::npos) << run.err;
    }
    if (c.tool == "--check") {
        EXPECT_EQ(run.out, "");
        return;
    }
    struct stat info {};
    ASSERT_EQ(::stat(out.c_str(), &info) == 0, c.output != Output::File || c.status == 0)
        << "a refused export writes nothing";
    switch (c.output) {
    case Output::File:
        if (c.status == 0) {
            const std::string expected = Expected(c.tool);
            if (c.tool == "--export-pdf")
                EXPECT_EQ(Contents(out).substr(0, 5), "%PDF-");
            else
                EXPECT_EQ(Contents(out), expected) << "the UTF-16 input reads as the UTF-8 one";
        }
        break;
    case Output::Null:
        EXPECT_TRUE(S_ISCHR(info.st_mode)) << "the device is still a device";
        break;
    case Output::Pipe:
        EXPECT_TRUE(S_ISFIFO(info.st_mode));
        if (c.tool == "--export-pdf")
            EXPECT_EQ(piped.substr(0, 5), "%PDF-");
        else
            EXPECT_EQ(piped, Expected(c.tool));
        break;
    case Output::Folder:
        EXPECT_TRUE(S_ISDIR(info.st_mode));
        EXPECT_TRUE(fs::is_empty(out));
        break;
    case Output::Socket:
        EXPECT_TRUE(S_ISSOCK(info.st_mode));
        break;
    }
}

TEST_F(HostileToolRuns, RunningOutOfMemoryIsAMessageNotACrash) {
    // 200 MB of address space cannot hold the program and the 150 MB song.
    const ProgramRun run =
        Program({QStringLiteral("--check"), QString::fromStdString((Root() / "long.fwk").string())},
                QStringLiteral("200000000"));
    ASSERT_FALSE(run.crashed) << run.err;
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.err, "fretwick: not enough memory to check the song.\n");
}

// Out of memory while the PDF is drawn: the message and status 2, no abort from the painter
// drawing again as it is destroyed, and no file.
TEST_F(HostileToolRuns, APdfOutOfMemoryIsAMessageAndWritesNothing) {
    const fs::path song = Root() / "pages.fwk";
    std::string text = "*Info 1:pages\r\n";
    for (int chord = 0; chord < 4000; ++chord)
        text += "G, 0, 2-4, 0, 1, 2, E\r\nC, x, 2, 0, 1, 2, Q\r\n\r\n";
    std::ofstream(song, std::ios::binary) << text;
    const fs::path out = Root() / "pages.pdf";
    const ProgramRun run =
        Program({QStringLiteral("--export-pdf"), QString::fromStdString(song.string()),
                 QString::fromStdString(out.string())},
                QStringLiteral("150000000"));
    ASSERT_FALSE(run.crashed) << run.err;
    EXPECT_EQ(run.status, 2) << run.err;
    EXPECT_NE(run.err.find("fretwick: not enough memory to export the pdf file."),
              std::string::npos)
        << run.err;
    EXPECT_FALSE(fs::exists(out));
}

// Writing the output over the input would replace the song with what was made of it: refused,
// by name, through a hard link or a symbolic link too.
TEST_F(HostileToolRuns, AnOutputThatIsTheInputIsRefused) {
    const fs::path song = Root() / "same.fwk";
    fs::copy_file(Root() / "song.in", song, fs::copy_options::overwrite_existing);
    fs::remove(Root() / "same-hard.fwk");
    fs::remove(Root() / "same-soft.fwk");
    fs::create_hard_link(song, Root() / "same-hard.fwk");
    fs::create_symlink(song, Root() / "same-soft.fwk");
    const std::string before = Contents(song);
    for (const char* tool : {"--export-midi", "--export-wav", "--export-musicxml", "--export-tab",
                             "--export-pdf", "--import-tab"})
        for (const char* out : {"same.fwk", "same-hard.fwk", "same-soft.fwk"}) {
            SCOPED_TRACE(std::string(tool) + " " + out);
            const ProgramRun run =
                Program({QString::fromLatin1(tool), QString::fromStdString(song.string()),
                         QString::fromStdString((Root() / out).string())});
            EXPECT_EQ(run.status, 2);
            EXPECT_NE(run.err.find("\" is the input file \""), std::string::npos) << run.err;
            EXPECT_EQ(Contents(song), before);
        }
}

INSTANTIATE_TEST_SUITE_P(Table, HostileToolRuns, ::testing::ValuesIn(Cases()),
                         [](const auto& info) { return Name(info.param); });

} // namespace
} // namespace fw
