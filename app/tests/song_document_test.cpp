// The song document on its own, with no window: the bytes a save writes, what a save and an edit
// tell the window, a failed save that leaves everything as it was, and tuning codes.

#include "app/song_document.h"

#include <QPlainTextDocumentLayout>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTextCursor>
#include <QTextDocument>

#include <gtest/gtest.h>

namespace fw {
namespace {

struct DocumentTest : ::testing::Test {
    std::uint8_t patch = 105;
    SongDocument document{patch};
    QTemporaryDir folder;

    // The editor lays the text out, and a text document reports its edits only once laid out;
    // the window then starts from an unmodified empty song.
    void SetUp() override {
        document.textDocument()->setDocumentLayout(
            new QPlainTextDocumentLayout(document.textDocument()));
        document.setModified(false);
    }

    void Type(const QString& text) {
        QTextCursor cursor(document.textDocument());
        cursor.movePosition(QTextCursor::End);
        cursor.insertText(text);
    }
};

TEST_F(DocumentTest, SaveWritesTheHeaderAndTheLinesAndReadsBackTheSameLines) {
    Type(QStringLiteral("* intro\nG, 0, 0, 0, 0, 0, Q"));
    document.setTuning(53565);
    document.setTempo(90);
    QSignalSpy paths(&document, &SongDocument::pathChanged);
    QSignalSpy modified(&document, &SongDocument::modifiedChanged);
    ASSERT_TRUE(document.Modified());

    const QString path = folder.filePath(QStringLiteral("tune.fwk"));
    QString error;
    ASSERT_TRUE(document.SaveTo(path, error)) << error.toStdString();
    std::string bytes;
    ASSERT_TRUE(SongDocument::ReadFile(path, bytes, error));
    EXPECT_EQ(bytes, "*Info 1:Fretwick song\r\n*Info 2:105\r\n*Info 3:53565\r\n*Info 4:90\r\n"
                     "* intro\r\nG, 0, 0, 0, 0, 0, Q\r\n");
    EXPECT_EQ(SongDocument::EditorTextOf(bytes), QStringLiteral("* intro\nG, 0, 0, 0, 0, 0, Q"));
    EXPECT_EQ(document.path(), path);
    EXPECT_EQ(document.displayName(), QStringLiteral("tune.fwk"));
    EXPECT_FALSE(document.Modified());
    EXPECT_EQ(paths.count(), 1);
    ASSERT_EQ(modified.count(), 1);
    EXPECT_FALSE(modified.at(0).at(0).toBool());
}

TEST_F(DocumentTest, AFailedSaveKeepsThePathTheChangesAndSaysWhy) {
    const QString before = folder.filePath(QStringLiteral("before.fwk"));
    QString error;
    ASSERT_TRUE(document.SaveTo(before, error));
    Type(QStringLiteral("C, x, 2, 0, 1, 2, Q"));
    QSignalSpy paths(&document, &SongDocument::pathChanged);
    QSignalSpy modified(&document, &SongDocument::modifiedChanged);

    EXPECT_FALSE(document.SaveTo(folder.filePath(QStringLiteral("missing/song.fwk")), error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(document.path(), before);
    EXPECT_TRUE(document.Modified());
    EXPECT_EQ(paths.count(), 0);
    EXPECT_EQ(modified.count(), 0);
}

TEST_F(DocumentTest, AnEditMarksTheSongModifiedOnce) {
    EXPECT_EQ(document.displayName(), QStringLiteral("Untitled"));
    QSignalSpy modified(&document, &SongDocument::modifiedChanged);
    Type(QStringLiteral("G"));
    Type(QStringLiteral(", 0"));
    ASSERT_EQ(modified.count(), 1);
    EXPECT_TRUE(modified.at(0).at(0).toBool());
}

struct TuningCase {
    const char* name;
    int code;
    int expectedCode;
    std::array<int, 6> offsets; // by string, 1 to 5 (0 unused)
};

class DocumentTuning : public ::testing::TestWithParam<TuningCase> {};

TEST_P(DocumentTuning, GivesEachStringItsOffset) {
    std::uint8_t patch = 105;
    SongDocument document(patch);
    document.setTuning(GetParam().code);
    EXPECT_EQ(document.Tuning(), GetParam().expectedCode);
    EXPECT_EQ(document.TuningOffset(), GetParam().offsets);
}

INSTANTIATE_TEST_SUITE_P(Codes, DocumentTuning,
                         ::testing::Values(TuningCase{"OpenG", 55555, 55555, {0, 0, 0, 0, 0, 0}},
                                           TuningCase{"DoubleC", 53565, 53565, {0, 0, 1, 0, -2, 0}},
                                           TuningCase{"OpenD", 45435, 45435, {0, 0, -2, -1, 0, -1}},
                                           TuningCase{"TooShort", 555, 55555, {0, 0, 0, 0, 0, 0}},
                                           TuningCase{
                                               "Negative", -55555, 55555, {0, 0, 0, 0, 0, 0}}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace fw
