// Engraved tablature printed to PDF as the command line writes it, read back with pdfinfo and
// pdftotext: sixteen bars of eighth-note rolls with every form on one A4 page, four measures
// or more to a row, chord names without the dictionary's position, and no two words overlapping.

#include "export/tablature/tab_printing.h"

#include "pdf_tools.h"
#include "tab_test_support.h"

#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace fw {
namespace {

// Sixteen bars of rolls in open G with hammer-ons, a pull-off up the neck and chords picked
// from the dictionary, their measures cut by the meter.
std::vector<std::string> SixteenBars() {
    const std::vector<std::vector<std::string>> bars = {
        {"G, x, x, 0-2, x, x, E", "G, x, x, x, 0, x, E", "G, 0, x, x, x, x, E",
         "G, x, x, x, x, 0, E"},
        {"Am7 (1), x, 2, x, x, x, E", "Am7 (1), x, x, 2, x, x, E", "Am7 (1), 0, x, x, x, x, E",
         "Am7 (1), x, x, x, x, 0, E"},
        {"Em, x, 8-10, x, x, x, E", "Em, x, x, 0, x, x, E", "Em, x, 10-8, x, x, x, E",
         "Em, x, x, x, 12, x, E"},
        {"D7, x, 1, x, x, x, E", "D7, x, x, 2, x, x, E", "D7, 0, x, x, x, x, E",
         "Rest, x, x, x, x, x, E"}};
    std::vector<std::string> lines = {"* Time: 4/4"};
    for (int half = 0; half < 32; ++half)
        for (const std::string& line : bars[static_cast<std::size_t>(half % 4)])
            lines.push_back(line);
    return lines;
}

TabDrawOptions EveryForm() {
    TabDrawOptions options;
    options.forms = {TabRhythm::Stems, TabBars::Meter, true, true, true, true};
    return options;
}

TabDocument Engraved(const std::vector<std::string>& lines, const TabDrawOptions& options) {
    TabDocument document;
    document.items =
        BuildTabItems(test::ParseLines(lines), lines, TabBarRule{TabBars::Meter, Meter{}});
    AssignMeasureSizes(document.items);
    document.measures = NonEmptyMeasures(document.items);
    document.options = options;
    document.texts = {QStringLiteral("G Tuning - G D G B D"), QStringLiteral("Sixteen Bars"),
                      QStringLiteral("Rolls")};
    return document;
}

// Prints as --export-pdf does: A4, 10 mm margins, 1200 dpi.
QString PrintPdf(const TabDocument& document, const QString& path, PrintOutcome* outcome) {
    QPdfWriter writer(path);
    writer.setPageLayout(PdfPageLayout(false));
    writer.setResolution(EngravingDpi);
    QPainter painter(&writer);
    *outcome = PrintTablature(painter, writer, document.items, document.measures, document.texts,
                              document.options);
    painter.end();
    return path;
}

TEST(EngravedPrint, SixteenBarsOfEighthsFitOneA4Page) {
    const TabDocument document = Engraved(SixteenBars(), EveryForm());
    ASSERT_EQ(document.measures.size(), 16u);
    QTemporaryDir dir;
    PrintOutcome outcome;
    const QString pdf = PrintPdf(document, dir.filePath(QStringLiteral("sixteen.pdf")), &outcome);
    EXPECT_EQ(outcome.pages, 1);
    EXPECT_EQ(test::PdfPageCount(pdf), 1);

    // The rows as print lays them out: four measures or more in every row but the last.
    QImage image(1, 1, QImage::Format_RGB32);
    QPainter painter(&image);
    const QSize area = EngravedPageArea(PdfPageLayout(false));
    TabCanvas canvas(painter, EngravedPageGeometry(area), document.options);
    const std::vector<PlacedRow> rows = canvas.PlanRows(document.items, document.measures);
    ASSERT_GE(rows.size(), 2u);
    for (std::size_t r = 0; r + 1 < rows.size(); ++r)
        EXPECT_GE(rows[r].measures.size(), 4u) << "row " << r + 1;

    const QString text = test::PdfText(pdf);
    EXPECT_TRUE(text.contains(QStringLiteral("Am7"))) << text.toStdString();
    EXPECT_FALSE(text.contains(QStringLiteral("(1)"))) << "the dictionary's position";
}

// A song with every sign: repeats, two endings, a meter change, triplets, rests, flags.
std::vector<std::string> EverySign() {
    std::vector<std::string> lines = {"* Time: 4/4", "* Repeat: start"};
    const std::vector<std::string> roll = SixteenBars();
    lines.insert(lines.end(), roll.begin() + 1, roll.begin() + 17);
    lines.insert(lines.end(),
                 {"* Ending: 1", "D7, x, 1, x, x, x, Q", "D7, x, x, 2, x, x, E",
                  "Rest, x, x, x, x, x, E", "D7, 0, x, x, x, x, H", "* Repeat: end x3",
                  "* Ending: 2", "G, 0, 0, 0, 0, 0, W", "", "* Time: 3/4", "G, x, x, 0, x, x, E3",
                  "G, x, x, x, 0, x, E3", "G, 0, x, x, x, x, E3", "G, x, x, x, x, 0, E",
                  "Rest, x, x, x, x, x, E", "C, x, 1, x, x, x, S", "C, x, x, x, x, x, .E"});
    return lines;
}

struct SignsCase {
    const char* name;
    std::vector<std::string> (*song)();
    std::vector<const char*> texts; // each found by pdftotext
};

class EngravedWords : public ::testing::TestWithParam<SignsCase> {};

TEST_P(EngravedWords, NoTwoWordsOverlap) {
    const TabDocument document = Engraved(GetParam().song(), EveryForm());
    QTemporaryDir dir;
    PrintOutcome outcome;
    const QString pdf = PrintPdf(document, dir.filePath(QStringLiteral("words.pdf")), &outcome);
    const test::PdfPage page = test::PdfWords(pdf, 1);
    ASSERT_GT(page.words.size(), 20u);
    for (std::size_t i = 0; i < page.words.size(); ++i)
        for (std::size_t j = i + 1; j < page.words.size(); ++j) {
            const QRectF both = page.words[i].box.intersected(page.words[j].box);
            EXPECT_FALSE(both.width() > 0.01 && both.height() > 0.01)
                << page.words[i].text.toStdString() << " and " << page.words[j].text.toStdString()
                << " at " << page.words[i].box.x() << "," << page.words[i].box.y();
        }
    const QString text = test::PdfText(pdf);
    for (const char* expected : GetParam().texts)
        EXPECT_TRUE(text.contains(QString::fromLatin1(expected))) << expected;
}

INSTANTIATE_TEST_SUITE_P(Songs, EngravedWords,
                         ::testing::Values(SignsCase{"EverySign", EverySign, {"1.", "2.", "x3"}}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace fw
