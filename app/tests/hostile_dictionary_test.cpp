// A damaged or hostile chord dictionary as the running program loads it at start-up: a folder,
// a named pipe, a socket or a file too big for a dictionary is skipped with a message naming it
// (a pipe is never waited on) and left alone at shutdown; binary garbage, NUL bytes, a cut-off
// last entry and a very long entry load what they can, without a message.

#include "main_window_fixture.h"

#include "chords/chord_dictionary.h"
#include "tests/support/hostile_file_kinds.h"

#include <QComboBox>

#include <filesystem>

namespace fw::testing {
namespace {

namespace fs = std::filesystem;

struct DictionaryCase {
    const char* name;
    std::string (*make)(const fs::path& path);
    // The start-up message after "Opening "<path>" failed: "; empty when the file loads.
    const char* refusal;
    QStringList entries; // what loads
    // A file a NUL byte cut short holds more than loads: shutdown leaves its bytes alone.
    bool keptAtShutdown = false;
};

void PrintTo(const DictionaryCase& c, std::ostream* os) {
    *os << c.name;
}

std::string LongEntry() {
    return "G, 0, 0, 0, 0, 0, Q" + std::string(1'000'000, 'x');
}

const DictionaryCase Cases[] = {
    {"Folder", hostile::MakeFolder, "it is a folder, not a file", {}},
    {"NamedPipe", hostile::MakeNamedPipe, "it is a named pipe, not a file", {}},
    {"Socket", hostile::MakeSocket, "it is a socket, not a file", {}},
    {"OverTheEditorsLimit",
     [](const fs::path& p) { return hostile::MakeSparseFile(p, 200'000'001); },
     "it is 200,000,001 bytes; a chord dictionary holds at most 10,000,000 bytes",
     {}},
    {"OverTheDictionaryLimit",
     [](const fs::path& p) { return hostile::MakeSparseFile(p, MaxDictionaryBytes + 1); },
     "it is 10,000,001 bytes; a chord dictionary holds at most 10,000,000 bytes",
     {}},
    {"AtTheDictionaryLimit",
     [](const fs::path& p) { return hostile::MakeSparseFile(p, MaxDictionaryBytes); },
     "",
     {}, // all NUL bytes: the first one ends the text
     true},
    {"Binary",
     [](const fs::path& p) { return hostile::WriteBytes(p, hostile::BinaryBytes); },
     "",
     {QStringLiteral("\x7F"
                     "ELF\x02\x01")}},
    {"NulBytes",
     [](const fs::path& p) {
         return hostile::WriteBytes(
             p, std::string_view("G, 0, 0, 0, 0, 0, Q\r\nC, 2\0, 1, 2, 0, 0, Q\r\nD, 0\r\n", 42));
     },
     "",
     {QStringLiteral("G, 0, 0, 0, 0, 0, Q"), QStringLiteral("C, 2")},
     true},
    {"TruncatedEntry",
     [](const fs::path& p) {
         return hostile::WriteBytes(p, "G, 0, 0, 0, 0, 0, Q\r\nC, 2, 1, 2, ");
     },
     "",
     {QStringLiteral("G, 0, 0, 0, 0, 0, Q"), QStringLiteral("C, 2, 1, 2, ")}},
    {"NotUtf8",
     [](const fs::path& p) {
         return hostile::WriteBytes(p, "G\xE9, 0, 0, 0, 0, 0, Q\r\n\xFF\xFE");
     },
     "",
     {QStringLiteral("G\u00E9, 0, 0, 0, 0, 0, Q"), QStringLiteral("\u00FF\u00FE")}},
    {"VeryLongEntry",
     [](const fs::path& p) { return hostile::WriteBytes(p, LongEntry()); },
     "",
     {QString::fromStdString(LongEntry())}},
};

class HostileDictionary : public MainWindowTest,
                          public ::testing::WithParamInterface<DictionaryCase> {};

TEST_P(HostileDictionary, LoadsWhatItCanOrIsSkippedWithAMessage) {
    const DictionaryCase& c = GetParam();
    const QString install = dir.path() + QStringLiteral("/install");
    ASSERT_TRUE(QDir().mkpath(install));
    const fs::path path = fs::path(install.toStdString()) / "BCHORDS.DCT";
    ASSERT_EQ(c.make(path), "");
    const auto sizeBefore = fs::is_regular_file(path) ? fs::file_size(path) : 0;
    const QByteArray bytesBefore =
        c.keptAtShutdown ? ReadAll(QString::fromStdString(path.string())) : QByteArray();
    ResetSettingsFile(QStringLiteral("InstallDir=%1\n").arg(install));

    TfrmMain& window = Start();
    window.show();
    // The list opens and shows its entries, however long they are.
    window.ui().cboDictionary->showPopup();
    QCoreApplication::processEvents();
    window.ui().cboDictionary->hidePopup();

    EXPECT_EQ(main->dictionaryEntries(), c.entries);
    const QString refusal =
        *c.refusal ? QStringLiteral("Opening \"%1\" failed: %2.")
                         .arg(QString::fromStdString(path.string()), QString::fromLatin1(c.refusal))
                   : QString();
    EXPECT_EQ(Messages(), refusal.isEmpty() ? QStringList() : QStringList{refusal});

    const fs::file_type typeBefore = fs::symlink_status(path).type();
    main.reset();
    // A dictionary that was skipped is left as it was, never replaced by the empty list.
    EXPECT_EQ(fs::symlink_status(path).type(), typeBefore);
    if (!refusal.isEmpty() && typeBefore == fs::file_type::regular) {
        EXPECT_EQ(fs::file_size(path), sizeBefore);
    }
    if (c.keptAtShutdown) {
        EXPECT_EQ(ReadAll(QString::fromStdString(path.string())), bytesBefore);
    }
    EXPECT_EQ(Messages().size(), refusal.isEmpty() ? 0 : 1) << "no further message at shutdown";
}

// The list the user changed is written even over a file a NUL byte cut short: keeping the old
// file would lose the user's change.
TEST_F(MainWindowTest, AChangedListIsWrittenOverADictionaryANulCutShort) {
    const QString install = dir.path() + QStringLiteral("/install");
    ASSERT_TRUE(QDir().mkpath(install));
    const fs::path path = fs::path(install.toStdString()) / "BCHORDS.DCT";
    ASSERT_EQ(hostile::WriteBytes(path, std::string_view("G, 0\r\nC\0, 2\r\n", 14)), "");
    ResetSettingsFile(QStringLiteral("InstallDir=%1\n").arg(install));
    TfrmMain& window = Start();
    SetText(QStringLiteral("D, 0, 0, 2, 3, 2, Q"));
    window.ReplaceChordDictionary();
    main.reset();
    EXPECT_EQ(ReadAll(QString::fromStdString(path.string())),
              QByteArray("D, 0, 0, 2, 3, 2, Q\r\n"));
}

INSTANTIATE_TEST_SUITE_P(Table, HostileDictionary, ::testing::ValuesIn(Cases),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace fw::testing
