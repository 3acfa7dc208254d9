#pragma once
// What the export tests share: songs written into the test's folder, files read back, and the
// command-line tools run in this process.

#include "main_window_fixture.h"

#include "app/command_line.h"

#include <QByteArray>
#include <QFile>
#include <QString>

#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace fw::testing {

// The whole file, or nothing when it cannot be read.
inline QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class ExportTest : public MainWindowTest {
protected:
    QString WriteSong(const QString& name, const QByteArray& bytes) {
        const QString path = dir.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }
    struct Run {
        int status;
        std::string out;
        std::string err;
    };
    static Run Tool(const std::vector<std::string>& args) {
        std::ostringstream out, err;
        const std::optional<int> status = RunCommandLineTool(args, out, err);
        return {status.value_or(-1), out.str(), err.str()};
    }
};

} // namespace fw::testing
