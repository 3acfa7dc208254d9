#pragma once
// Running the command-line tools in tests: in process through RunCommandLineTool, or as the real
// program without a display.

#include "app/command_line.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace fw::testing {

struct ToolRun {
    int status;
    std::string out;
    std::string err;
};

// The tool run in this process; status -1 when the arguments name no tool.
inline ToolRun Tool(const std::vector<std::string>& args) {
    std::ostringstream out, err;
    const std::optional<int> status = RunCommandLineTool(args, out, err);
    return {status.value_or(-1), out.str(), err.str()};
}

// Runs the real program with no display at all; QT_QPA_PLATFORM as given (unset when empty).
inline ToolRun Binary(const QStringList& arguments, const QString& platform = {}) {
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("DISPLAY"));
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
    if (!platform.isEmpty())
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), platform);
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(FRETWICK_BINARY), arguments);
    EXPECT_TRUE(process.waitForFinished(60000));
    return {process.exitCode(), process.readAllStandardOutput().toStdString(),
            process.readAllStandardError().toStdString()};
}

} // namespace fw::testing
