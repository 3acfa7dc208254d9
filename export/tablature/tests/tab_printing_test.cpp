// Printing tablature to a PDF file through the real printer classes, read back with poppler's
// pdfinfo and pdftotext: pages, page headers, titles, page breaks.

#include "export/tablature/tab_printing.h"

#include "pdf_tools.h"
#include "tab_test_support.h"

#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QTemporaryDir>
#include <QtMath>

#include <gtest/gtest.h>

#include <cmath>
#include <ostream>

namespace fw {
namespace {

using test::DocumentOf;
using test::InkBox;
using test::NumberedMeasures;
using test::PdfPage;
using test::PdfPageCount;
using test::PdfPageImage;
using test::PdfText;
using test::PdfWord;
using test::PdfWords;

const TabTexts Texts{QStringLiteral("G Tuning - G D G B D"), QStringLiteral("Cripple Creek"),
                     QStringLiteral("Scruggs style")};

class Printing : public ::testing::Test {
protected:
    QTemporaryDir dir;

    // Prints `lines` to a PDF file on A4 paper as the Print button does; returns its path.
    QString Print(const std::vector<std::string>& lines, PrintOutcome* outcome = nullptr) {
        const TabDocument document = DocumentOf(lines, Texts);
        const QString path = dir.filePath(QStringLiteral("tab.pdf"));
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(path);
        printer.setPageSize(QPageSize(QPageSize::A4));
        QPainter painter;
        EXPECT_TRUE(painter.begin(&printer));
        const PrintOutcome result = PrintTablature(
            painter, printer, document.items, document.measures, document.texts, document.options);
        EXPECT_TRUE(painter.end());
        if (outcome)
            *outcome = result;
        return path;
    }
};

TEST_F(Printing, NineteenMeasuresTakeTwoPages) {
    PrintOutcome outcome;
    const QString pdf = Print(NumberedMeasures(19), &outcome);
    EXPECT_EQ(outcome.pages, 2);
    EXPECT_FALSE(outcome.truncated);
    EXPECT_EQ(PdfPageCount(pdf), 2);

    const QString first = PdfText(pdf, 1, 1);
    const QString second = PdfText(pdf, 2, 2);
    EXPECT_TRUE(first.contains(QStringLiteral("Page: 1"))) << first.toStdString();
    EXPECT_TRUE(second.contains(QStringLiteral("Page: 2"))) << second.toStdString();
    for (const QString& page : {first, second}) {
        EXPECT_EQ(page.count(QStringLiteral("Cripple Creek")), 1) << "the title once per page";
        EXPECT_EQ(page.count(QStringLiteral("Scruggs style")), 1);
        EXPECT_EQ(page.count(QStringLiteral("G Tuning - G D G B D")), 1);
    }
    // Measure i plays fret i on string 1: 18 on the first page, the 19th alone on the second.
    EXPECT_TRUE(first.contains(QStringLiteral("18")));
    EXPECT_FALSE(first.contains(QStringLiteral("19")));
    EXPECT_TRUE(second.contains(QStringLiteral("19")));
    EXPECT_FALSE(second.contains(QStringLiteral("18")));
}

struct PagesCase {
    const char* name;
    int measures;
    int pages;
};

void PrintTo(const PagesCase& c, std::ostream* os) {
    *os << c.name;
}

class PageCount : public Printing, public ::testing::WithParamInterface<PagesCase> {};

// Nine rows of two measures fill a page; a full last page gets no empty page after it.
TEST_P(PageCount, NineRowsToAPage) {
    const QString pdf = Print(NumberedMeasures(GetParam().measures));
    EXPECT_EQ(PdfPageCount(pdf), GetParam().pages);
}

INSTANTIATE_TEST_SUITE_P(Table, PageCount,
                         ::testing::Values(PagesCase{"One", 1, 1}, PagesCase{"Seventeen", 17, 1},
                                           PagesCase{"EighteenFillOnePage", 18, 1},
                                           PagesCase{"ThirtySix", 36, 2},
                                           PagesCase{"ThirtySeven", 37, 3}),
                         [](const ::testing::TestParamInfo<PagesCase>& info) {
                             return std::string(info.param.name);
                         });

// A row whose right measure holds only rests still takes its room on the page: the ninth row
// with a rest measure on its right ends the page like any other.
TEST_F(Printing, ARowEndingInRestsStillEndsThePage) {
    std::vector<std::string> lines = NumberedMeasures(17);
    lines.insert(lines.end(), {"", "R, x, x, x, x, x, W", "", "m19, 0, 0, 0, 0, 19, Q"});
    const QString pdf = Print(lines);
    EXPECT_EQ(PdfPageCount(pdf), 2);
    EXPECT_TRUE(PdfText(pdf, 2, 2).contains(QStringLiteral("19")));
}

TEST_F(Printing, DurationLettersAndTargetsArePrinted) {
    const TabDocument document =
        DocumentOf({"Slide, 0, 2-4, 0, 0, 0, H", "", "Em, x, 2, 0, 0, 0, W"}, Texts, {true, true});
    const QString path = dir.filePath(QStringLiteral("letters.pdf"));
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    QPainter painter(&printer);
    PrintTablature(painter, printer, document.items, document.measures, document.texts,
                   document.options);
    painter.end();
    const QString text = PdfText(path);
    EXPECT_TRUE(text.contains(QStringLiteral("H"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("W")));
    EXPECT_TRUE(text.contains(QStringLiteral("4")));
    EXPECT_EQ(PdfPageCount(path), 1);
}

TEST_F(Printing, TruncationIsReported) {
    PrintOutcome outcome;
    Print(std::vector<std::string>(30, "c, 0, 0, 0, 0, 1, S"), &outcome);
    EXPECT_TRUE(outcome.truncated);
    EXPECT_EQ(outcome.pages, 1);
}

// --- Where things stand on the paper ------------------------------------------------------

constexpr double PointsPerMm = 72.0 / 25.4;

struct PaperCase {
    const char* name;
    QPageSize::PageSizeId size;
    QMarginsF marginsMm; // the printable area's distance from the paper's edges
};

void PrintTo(const PaperCase& c, std::ostream* os) {
    *os << c.name;
}

class PaperLayout : public Printing, public ::testing::WithParamInterface<PaperCase> {
protected:
    // Prints `lines` as the command line's PDF export does, on the case's paper and margins.
    QString PrintOnPaper(const std::vector<std::string>& lines, const TabTexts& texts) {
        const TabDocument document = DocumentOf(lines, texts);
        const QString path = dir.filePath(QStringLiteral("paper.pdf"));
        QPdfWriter writer(path);
        writer.setPageSize(QPageSize(GetParam().size));
        writer.setPageMargins(GetParam().marginsMm, QPageLayout::Millimeter);
        writer.setResolution(1200);
        QPainter painter;
        EXPECT_TRUE(painter.begin(&writer));
        PrintTablature(painter, writer, document.items, document.measures, document.texts,
                       document.options);
        EXPECT_TRUE(painter.end());
        return path;
    }
    // The words whose text is one of `texts`.
    static QRectF BoxOf(const PdfPage& page, const QStringList& texts) {
        QRectF box;
        for (const PdfWord& word : page.words)
            if (texts.contains(word.text))
                box = box.united(word.box);
        return box;
    }
    // The words on the line of "Page:", the page header.
    static QRectF HeaderBox(const PdfPage& page) {
        QRectF box;
        for (const PdfWord& word : page.words)
            if (word.text == QStringLiteral("Page:"))
                box = word.box;
        for (const PdfWord& word : page.words)
            if (std::abs(word.box.top() - box.top()) < 1)
                box = box.united(word.box);
        return box;
    }
    // The printable area's centre across the paper, in points.
    double PrintableCentre(const PdfPage& page) const {
        const QMarginsF& m = GetParam().marginsMm;
        return (m.left() * PointsPerMm + page.size.width() - m.right() * PointsPerMm) / 2;
    }
};

// The header, the titles and the staves keep 10 mm from every edge of the paper; the title
// stands below the header; the staves are centred on the printable area, "Page: N" ends where
// they end and the tuning starts where they start.
TEST_P(PaperLayout, EverythingStandsCentredAndClearOfTheEdges) {
    const QString pdf = PrintOnPaper(NumberedMeasures(19), Texts);
    for (int number = 1; number <= 2; ++number) {
        const PdfPage page = PdfWords(pdf, number);
        ASSERT_FALSE(page.words.empty());
        const double edge = 10 * PointsPerMm - 0.5;
        for (const PdfWord& word : page.words) {
            EXPECT_GE(word.box.left(), edge) << word.text.toStdString();
            EXPECT_GE(word.box.top(), edge) << word.text.toStdString();
            EXPECT_LE(word.box.right(), page.size.width() - edge) << word.text.toStdString();
            EXPECT_LE(word.box.bottom(), page.size.height() - edge) << word.text.toStdString();
        }
        const QRectF header = HeaderBox(page);
        ASSERT_FALSE(header.isEmpty());
        EXPECT_GT(header.width(), 300) << "the tuning and the page number share the line";
        const QRectF title = BoxOf(page, {QStringLiteral("Cripple"), QStringLiteral("Creek")});
        const QRectF subtitle = BoxOf(page, {QStringLiteral("Scruggs"), QStringLiteral("style")});
        ASSERT_FALSE(title.isEmpty());
        EXPECT_FALSE(title.intersects(header)) << "the title runs into the header";
        EXPECT_GT(title.top(), header.bottom());
        EXPECT_GT(subtitle.top(), title.bottom());
        EXPECT_NEAR(title.center().x(), PrintableCentre(page), 1.5);
        EXPECT_NEAR(subtitle.center().x(), PrintableCentre(page), 1.5);
    }

    // The staves: ink of the rows under the titles, on a picture of the first page.
    const QImage image = PdfPageImage(pdf, 1, 72, dir.filePath(QStringLiteral("paper")));
    const PdfPage page = PdfWords(pdf, 1);
    const int below =
        qCeil(BoxOf(page, {QStringLiteral("Scruggs"), QStringLiteral("style")}).bottom()) + 4;
    const auto staves = InkBox(image, QRect(0, below, image.width(), image.height() - below));
    ASSERT_TRUE(staves);
    EXPECT_NEAR((staves->left() + staves->right() + 1) / 2.0, PrintableCentre(page), 1.5);
    EXPECT_GE(staves->left(), 10 * PointsPerMm);
    EXPECT_LE(staves->right(), page.size.width() - 10 * PointsPerMm);
    // The header line runs from the tuning at the staves' left end to "Page: 1" at their right.
    const QRectF header = HeaderBox(page);
    EXPECT_NEAR(header.right(), staves->right() + 1, 2.0);
    EXPECT_NEAR(header.left(), staves->left(), 2.0);
}

// A title far too long for the paper is written smaller, every word of it, inside the edges.
TEST_P(PaperLayout, AVeryLongTitleShrinksToFitThePaper) {
    const QString words =
        QStringLiteral("Reuben's Train Going Down the Line Round the Bend Past the Station");
    const QString title = QStringList{words, words, words}.join(QLatin1Char(' '));
    const QString pdf = PrintOnPaper(NumberedMeasures(2), {Texts.tuning, title, title});
    const PdfPage page = PdfWords(pdf, 1);
    int stations = 0;
    for (const PdfWord& word : page.words) {
        if (word.text != QStringLiteral("Station"))
            continue;
        ++stations;
        EXPECT_GE(word.box.left(), 10 * PointsPerMm);
        EXPECT_LE(word.box.right(), page.size.width() - 10 * PointsPerMm);
        EXPECT_LT(word.box.height(), 12.0) << "written smaller than 16 points";
    }
    EXPECT_EQ(stations, 6) << "every word of the title and the subtitle is printed";
}

INSTANTIATE_TEST_SUITE_P(
    Table, PaperLayout,
    ::testing::Values(PaperCase{"A4TenMillimetres", QPageSize::A4, QMarginsF(10, 10, 10, 10)},
                      PaperCase{"A4PrinterEdges", QPageSize::A4, QMarginsF(4, 4, 4, 4)},
                      PaperCase{"A4NoMargins", QPageSize::A4, QMarginsF(0, 0, 0, 0)},
                      PaperCase{"A4Uneven", QPageSize::A4, QMarginsF(4, 6, 20, 12)},
                      PaperCase{"LetterWide", QPageSize::Letter, QMarginsF(25, 25, 25, 25)}),
    [](const ::testing::TestParamInfo<PaperCase>& info) { return std::string(info.param.name); });

// Titles on a page: centred on the staves while they fit them; a wider one from the staves'
// left end (the left margin); one that would then pass the area's right edge smaller.
TEST(PrintedTitles, FallBackToTheLeftMarginThenShrink) {
    constexpr int AreaWidth = 1000;
    const TabGeometry g = PrinterTabGeometry(AreaWidth, 1500); // W = 900, L = 50
    QImage image = test::WhiteImage(AreaWidth, 300);
    const QFontMetrics metrics(TabTitleFont(), &image);
    // A title of about `width` pixels.
    const auto titleOf = [&](int width) {
        QString text;
        while (metrics.horizontalAdvance(text) < width)
            text += QStringLiteral("Rag ");
        return text.trimmed();
    };
    const auto inkOf = [&](const QString& title) {
        image.fill(Qt::white);
        QPainter painter(&image);
        PrintTitles(painter, g, {QString(), title, QString()}, AreaWidth);
        painter.end();
        return InkBox(image, image.rect());
    };
    const QString fits = titleOf(600);
    const auto centred = inkOf(fits);
    ASSERT_TRUE(centred);
    EXPECT_NEAR(centred->center().x(), g.LeftMargin + g.UsableWidth / 2, 4);

    const QString wide = titleOf(g.UsableWidth + 20);
    ASSERT_LT(metrics.horizontalAdvance(wide), AreaWidth - g.LeftMargin);
    const auto fromLeft = inkOf(wide);
    ASSERT_TRUE(fromLeft);
    EXPECT_NEAR(fromLeft->left(), g.LeftMargin, 4);

    const auto shrunk = inkOf(titleOf(3 * AreaWidth));
    ASSERT_TRUE(shrunk);
    EXPECT_NEAR(shrunk->left(), g.LeftMargin, 4);
    EXPECT_LT(shrunk->right(), AreaWidth);
    EXPECT_LT(shrunk->height(), centred->height() / 2);
}

} // namespace
} // namespace fw
