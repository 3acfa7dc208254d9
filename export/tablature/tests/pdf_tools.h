#pragma once
// Reading PDF files back with poppler's tools, which the program did not write. A missing tool
// fails the test.

#include <QProcess>
#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

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

} // namespace fw::test
