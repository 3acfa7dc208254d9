// Saving a text made in pieces (a big score) straight to the file: the bytes are the ones the
// stream got, and a producer or a disk that fails part way leaves the old file and no temporary
// file behind.

#include "chords/text_file.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <string>

#include <sys/resource.h>
#include <unistd.h>

namespace fw {
namespace {

namespace fs = std::filesystem;

struct StreamCase {
    const char* name;
    std::function<bool(std::ostream&)> write;
    std::optional<std::string> written; // the file afterwards; none when the old file stays
};

void PrintTo(const StreamCase& c, std::ostream* os) {
    *os << c.name;
}

std::string Contents(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class StreamedSave : public ::testing::TestWithParam<StreamCase> {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "fw-stream-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        folder_ = pattern;
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(folder_, ignored);
    }
    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (const auto& item : fs::directory_iterator(folder_))
            names.push_back(item.path().filename().string());
        return names;
    }
    fs::path folder_;
};

TEST_P(StreamedSave, WritesTheStreamOrLeavesTheOldFile) {
    const StreamCase& c = GetParam();
    const fs::path path = folder_ / "score.musicxml";
    std::ofstream(path, std::ios::binary) << "old score";
    std::string error;
    const bool saved = WriteFileAtomicallyFrom(path, c.write, error);
    EXPECT_EQ(saved, c.written.has_value()) << error;
    EXPECT_EQ(Contents(path), c.written.value_or("old score"));
    EXPECT_EQ(Names(), std::vector<std::string>{"score.musicxml"}) << "no temporary file is left";
    if (!c.written) {
        EXPECT_NE(error.find("Writing the temporary file"), std::string::npos) << error;
        // Built with a stream, not with operator+: GCC 12 at -O3 takes the concatenation for
        // an overlapping copy (a false -Wrestrict).
        std::ostringstream unchanged;
        unchanged << '"' << path.string() << "\" was not changed.";
        EXPECT_NE(error.find(unchanged.str()), std::string::npos) << error;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, StreamedSave,
    ::testing::Values(StreamCase{"PiecesAndCharacters",
                                 [](std::ostream& out) {
                                     out << "<score>" << 42 << '\n';
                                     out.put('x');
                                     out.write("\0\r\n", 3);
                                     return static_cast<bool>(out << "</score>");
                                 },
                                 std::string("<score>42\nx\0\r\n</score>", 22)},
                      StreamCase{"Nothing", [](std::ostream&) { return true; }, ""},
                      StreamCase{"AProducerThatGivesUpHalfWay",
                                 [](std::ostream& out) {
                                     out << "<score>";
                                     return false;
                                 },
                                 std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

// A disk that takes no more part way through the stream (the file size limit stands in for a
// full disk): the old file stays, with the system's reason.
void StreamUnderASizeLimit(const fs::path& path) {
    std::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{1000, 1000};
    setrlimit(RLIMIT_FSIZE, &limit);
    std::string error;
    const bool written = WriteFileAtomicallyFrom(
        path,
        [](std::ostream& out) {
            for (int i = 0; i < 1000 && out; ++i)
                out << std::string(100, 'n');
            return static_cast<bool>(out);
        },
        error);
    std::fprintf(stderr, "%s\n", error.c_str());
    _exit(written ? 1 : 0);
}

TEST_F(StreamedSave, AFullDiskPartWayLeavesTheOldFile) {
    const fs::path path = folder_ / "score.musicxml";
    std::ofstream(path, std::ios::binary) << "old score";
    EXPECT_EXIT(StreamUnderASizeLimit(path), ::testing::ExitedWithCode(0),
                "Writing the temporary file .* failed: File too large\\. .* was not changed\\.");
    EXPECT_EQ(Contents(path), "old score");
    EXPECT_EQ(Names(), std::vector<std::string>{"score.musicxml"});
}

} // namespace
} // namespace fw
