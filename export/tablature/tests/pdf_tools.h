#pragma once
// Reading PDF files back with poppler's tools, which the program did not write. A missing tool
// fails the test.

#include <QImage>
#include <QProcess>
#include <QRectF>
#include <QRegularExpression>
#include <QSizeF>
#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

#include <vector>

namespace fw::test {

// Runs `program` with `arguments` and returns what it printed; fails the test when the tool
// cannot run or reports an error.
inline QString RunPdfTool(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForStarted(10000)) {
        ADD_FAILURE() << program.toStdString() << " cannot run (install poppler-utils)";
        return {};
    }
    process.waitForFinished(60000);
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit) << program.toStdString();
    EXPECT_EQ(process.exitCode(), 0)
        << program.toStdString() << ": " << process.readAllStandardError().toStdString();
    return QString::fromUtf8(process.readAllStandardOutput());
}

// The page count pdfinfo reports, -1 when it reports none.
inline int PdfPageCount(const QString& path) {
    const QString info = RunPdfTool(QStringLiteral("pdfinfo"), {path});
    for (const QString& line : info.split(QLatin1Char('\n')))
        if (line.startsWith(QStringLiteral("Pages:")))
            return line.mid(6).trimmed().toInt();
    ADD_FAILURE() << "pdfinfo gave no page count for " << path.toStdString();
    return -1;
}

// The text of pages first..last (from 1; 0 for all) as pdftotext reads it.
inline QString PdfText(const QString& path, int first = 0, int last = 0) {
    QStringList arguments;
    if (first > 0)
        arguments << QStringLiteral("-f") << QString::number(first) << QStringLiteral("-l")
                  << QString::number(last);
    arguments << path << QStringLiteral("-");
    return RunPdfTool(QStringLiteral("pdftotext"), arguments);
}

// A word pdftotext finds on a page, its box in points from the page's top left.
struct PdfWord {
    QString text;
    QRectF box;
};

struct PdfPage {
    QSizeF size; // in points
    std::vector<PdfWord> words;
};

// The words of page `page` (from 1) with their boxes, as "pdftotext -bbox" reads them.
inline PdfPage PdfWords(const QString& path, int page) {
    const QString html =
        RunPdfTool(QStringLiteral("pdftotext"),
                   {QStringLiteral("-bbox"), QStringLiteral("-f"), QString::number(page),
                    QStringLiteral("-l"), QString::number(page), path, QStringLiteral("-")});
    PdfPage result;
    static const QRegularExpression pageSize(
        QStringLiteral(R"re(<page width="([0-9.]+)" height="([0-9.]+)")re"));
    if (const auto match = pageSize.match(html); match.hasMatch())
        result.size = QSizeF(match.captured(1).toDouble(), match.captured(2).toDouble());
    static const QRegularExpression word(QStringLiteral(
        R"re(<word xMin="([0-9.]+)" yMin="([0-9.]+)" xMax="([0-9.]+)" yMax="([0-9.]+)">([^<]*)</word>)re"));
    for (auto it = word.globalMatch(html); it.hasNext();) {
        const auto match = it.next();
        const double left = match.captured(1).toDouble(), top = match.captured(2).toDouble();
        result.words.push_back(
            {match.captured(5), QRectF(QPointF(left, top), QPointF(match.captured(3).toDouble(),
                                                                   match.captured(4).toDouble()))});
    }
    return result;
}

// Page `page` (from 1) of the PDF rendered by pdftoppm at `dpi`, kept as `pngBase`.png.
inline QImage PdfPageImage(const QString& path, int page, int dpi, const QString& pngBase) {
    RunPdfTool(QStringLiteral("pdftoppm"),
               {QStringLiteral("-r"), QString::number(dpi), QStringLiteral("-f"),
                QString::number(page), QStringLiteral("-l"), QString::number(page),
                QStringLiteral("-png"), QStringLiteral("-singlefile"), path, pngBase});
    QImage image(pngBase + QStringLiteral(".png"));
    EXPECT_FALSE(image.isNull()) << "pdftoppm gave no picture of " << path.toStdString();
    return image;
}

} // namespace fw::test
