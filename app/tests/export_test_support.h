#pragma once
// What the export tests share: the main window fixture, which writes songs into the test's
// folder and reads files back, and the command-line tools run in this process
// (command_line_runs.h). The export tests know these by their own names.

#include "command_line_runs.h"
#include "main_window_fixture.h"

#include <QByteArray>
#include <QString>

namespace fw::testing {

class ExportTest : public MainWindowTest {
protected:
    using Run = ToolRun;
    QString WriteSong(const QString& name, const QByteArray& bytes) {
        return WriteFile(name, bytes);
    }
};

} // namespace fw::testing
