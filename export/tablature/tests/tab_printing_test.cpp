// Printing tablature to a PDF file through the real printer classes, read back with poppler's
// pdfinfo and pdftotext: pages, page headers, titles, page breaks.

#include "export/tablature/tab_printing.h"

#include "pdf_tools.h"
#include "tab_test_support.h"

#include <QPainter>
#include <QPrinter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <ostream>

namespace fw {
namespace {

using test::DocumentOf;
using test::NumberedMeasures;
using test::PdfPageCount;
using test::PdfText;

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

} // namespace
} // namespace fw
