// Texts of hostile size at every place the window takes a song or tablature in: Open, a recent
// file, a dropped file, a song named on the command line, Import ASCII Tablature, Paste
// Tablature and a plain paste. A line of 150,000,000 characters or 10,000,000 empty lines is
// refused with the figure named and the document left as it was; a UTF-16 song (either byte
// order, with its byte order mark) opens as text and is saved as UTF-8.

#include "main_window_fixture.h"

#include <QClipboard>
#include <QGuiApplication>

#include <fstream>
#include <memory>

namespace fw::testing {
namespace {

// Paste: the editor's own paste (a drop takes the same path); MenuPaste: Edit > Paste, Ctrl+V and
// the pop-up menu's Paste.
enum class Entry { Open, Recent, Drop, CommandLine, ImportTab, PasteTab, Paste, MenuPaste };
enum class Content { LongLine, ManyLines, Utf16Le, Utf16Be };

constexpr std::size_t LongLineCharacters = 150'000'000;
constexpr std::size_t ManyLines = 10'000'000;

const char* const LongLineReason =
    "line 1 has 150,000,000 characters; the editor holds at most 100,000 characters in a line";
const char* const ManyLinesReason =
    "it has 10,000,000 lines; the editor holds at most 2,000,000 lines";

// The song the UTF-16 files hold; its editor text once opened.
const QString Utf16Song = QStringLiteral("*Info 1:x\r\n*Info 2:105\r\n*Info 3:52555\r\n*Info "
                                         "4:90\r\nG, 0, 0, 0, 0, 0, Q\r\n* caf\u00e9");
const QString Utf16EditorText = QStringLiteral("G, 0, 0, 0, 0, 0, Q\n* caf\u00e9");

struct SizeCase {
    const char* name;
    Entry entry;
    Content content;
};

bool IsPaste(Entry entry) {
    return entry == Entry::PasteTab || entry == Entry::Paste || entry == Entry::MenuPaste;
}

class HostileSizes : public MainWindowTest, public ::testing::WithParamInterface<SizeCase> {
public:
    // The big files are written once for the whole suite: 150 MB and 10 MB.
    static void SetUpTestSuite() {
        folder = std::make_unique<QTemporaryDir>();
        ASSERT_TRUE(folder->isValid());
        std::ofstream longLine(Path(Content::LongLine).toStdString(), std::ios::binary);
        const std::string chunk(1'000'000, 'a');
        for (std::size_t i = 0; i < LongLineCharacters / chunk.size(); ++i)
            longLine << chunk;
        std::ofstream manyLines(Path(Content::ManyLines).toStdString(), std::ios::binary);
        manyLines << std::string(ManyLines, '\n');
        for (const Content content : {Content::Utf16Le, Content::Utf16Be}) {
            const bool little = content == Content::Utf16Le;
            std::string bytes = little ? "\xFF\xFE" : "\xFE\xFF";
            for (const QChar ch : Utf16Song) {
                const char high = static_cast<char>(ch.unicode() >> 8);
                const char low = static_cast<char>(ch.unicode() & 0xFF);
                bytes += little ? std::string{low, high} : std::string{high, low};
            }
            std::ofstream(Path(content).toStdString(), std::ios::binary) << bytes;
        }
        ASSERT_EQ(QFileInfo(Path(Content::LongLine)).size(),
                  static_cast<qint64>(LongLineCharacters));
    }
    static void TearDownTestSuite() { folder.reset(); }

    static QString Path(Content content) {
        static const char* const names[] = {"long.fwk", "many.fwk", "le.fwk", "be.fwk"};
        return folder->filePath(QString::fromLatin1(names[static_cast<int>(content)]));
    }
    // The clipboard's text for a paste: the file's content as text.
    static QString ClipboardText(Content content) {
        return content == Content::LongLine
                   ? QString(static_cast<qsizetype>(LongLineCharacters), QLatin1Char('a'))
                   : QString(static_cast<qsizetype>(ManyLines), QLatin1Char('\n'));
    }

    static std::unique_ptr<QTemporaryDir> folder;
};

std::unique_ptr<QTemporaryDir> HostileSizes::folder;

TEST_P(HostileSizes, AreRefusedWithTheirFigureOrReadAsText) {
    const SizeCase& c = GetParam();
    const QString path = Path(c.content);
    const bool utf16 = c.content == Content::Utf16Le || c.content == Content::Utf16Be;
    const QString before = QStringLiteral("G, 0, 0, 0, 0, 0, Q\n* mine");

    TfrmMain& window = Start(c.entry == Entry::CommandLine ? QStringList{path} : QStringList{});
    if (c.entry != Entry::CommandLine)
        SetText(before);
    switch (c.entry) {
    case Entry::Open:
        dialogs.AnswerOpenFile(path);
        window.Open1Click();
        break;
    case Entry::Recent:
        window.OpenRecentFile(path);
        break;
    case Entry::Drop:
        window.DropFiles({path});
        break;
    case Entry::CommandLine:
        break;
    case Entry::ImportTab:
        dialogs.AnswerOpenFile(path);
        window.ImportAsciiTab1Click();
        break;
    case Entry::PasteTab:
    case Entry::Paste:
    case Entry::MenuPaste:
        QGuiApplication::clipboard()->setText(ClipboardText(c.content));
        if (c.entry == Entry::PasteTab)
            window.PasteTablature1Click();
        else if (c.entry == Entry::MenuPaste)
            window.Paste1Click();
        else
            window.ui().RichEdit1->paste();
        QGuiApplication::clipboard()->clear();
        break;
    }

    if (utf16) {
        EXPECT_TRUE(Messages().isEmpty()) << Messages().join(QLatin1Char('|')).toStdString();
        EXPECT_EQ(Text(), Utf16EditorText);
        EXPECT_EQ(window.document().Tuning(), 52555);
        EXPECT_EQ(window.document().tempo(), 90);
        // Saved back as UTF-8, as every song is.
        const QString savedPath = dir.filePath(QStringLiteral("saved.fwk"));
        dialogs.AnswerSaveFile(savedPath);
        window.SaveAs1Click();
        const QByteArray saved = ReadAll(savedPath);
        EXPECT_TRUE(saved.startsWith("*Info 1:")) << saved.left(16).toHex().toStdString();
        EXPECT_TRUE(saved.endsWith("* caf\xC3\xA9\r\n") || saved.endsWith("* caf\xC3\xA9"))
            << saved.right(16).toHex().toStdString();
        return;
    }
    const char* const reason = c.content == Content::LongLine ? LongLineReason : ManyLinesReason;
    QString expected;
    if (c.entry == Entry::PasteTab && c.content == Content::LongLine)
        expected = QStringLiteral("No banjo tablature found in the text."); // read, not held
    else if (c.entry == Entry::Paste || c.entry == Entry::MenuPaste)
        expected = QStringLiteral("Pasting failed: %1.").arg(QString::fromLatin1(reason));
    else if (c.entry == Entry::PasteTab)
        expected =
            QStringLiteral("Pasting the tablature failed: %1.").arg(QString::fromLatin1(reason));
    else
        expected =
            QStringLiteral("Opening \"%1\" failed: %2.").arg(path, QString::fromLatin1(reason));
    EXPECT_EQ(Messages(), QStringList{expected});
    EXPECT_EQ(Text(), c.entry == Entry::CommandLine ? QString() : before);
    EXPECT_FALSE(window.document().Modified());
    EXPECT_TRUE(window.document().path().isEmpty());
}

std::vector<SizeCase> Cases() {
    const std::pair<Entry, const char*> entries[] = {
        {Entry::Open, "Open"},           {Entry::Recent, "Recent"},
        {Entry::Drop, "Drop"},           {Entry::CommandLine, "CommandLine"},
        {Entry::ImportTab, "ImportTab"}, {Entry::PasteTab, "PasteTab"},
        {Entry::Paste, "Paste"},         {Entry::MenuPaste, "MenuPaste"}};
    const std::pair<Content, const char*> contents[] = {{Content::LongLine, "LongLine"},
                                                        {Content::ManyLines, "ManyLines"},
                                                        {Content::Utf16Le, "Utf16Le"},
                                                        {Content::Utf16Be, "Utf16Be"}};
    static std::vector<std::string> names;
    std::vector<SizeCase> cases;
    names.reserve(std::size(entries) * std::size(contents));
    for (const auto& [entry, entryName] : entries)
        for (const auto& [content, contentName] : contents) {
            const bool utf16 = content == Content::Utf16Le || content == Content::Utf16Be;
            // A UTF-16 file is a song: the clipboard holds text, and tablature has its own tests.
            if (utf16 && (IsPaste(entry) || entry == Entry::ImportTab))
                continue;
            names.push_back(std::string(entryName) + "_" + contentName);
            cases.push_back({names.back().c_str(), entry, content});
        }
    return cases;
}

INSTANTIATE_TEST_SUITE_P(Table, HostileSizes, ::testing::ValuesIn(Cases()),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace fw::testing
