// The song-file association at start-up: registered for the running program when Associate is
// on, left alone when it is off.

#include "main_window_fixture.h"

#include "app/shell/file_association.h"

namespace fw::testing {
namespace {

struct StartCase {
    const char* name;
    const char* options; // settings file lines in [Options]
    bool registered;
};

void PrintTo(const StartCase& c, std::ostream* os) {
    *os << c.name;
}

class AssociationAtStart : public MainWindowTest,
                           public ::testing::WithParamInterface<StartCase> {};

TEST_P(AssociationAtStart, FollowsTheAssociateSetting) {
    QTemporaryDir data;
    const QByteArray oldData = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", data.path().toLocal8Bit());
    // No database tools: a refresh running in the background would race the folder's removal.
    const QByteArray oldPath = qgetenv("PATH");
    qputenv("PATH", data.path().toLocal8Bit());
    ResetSettingsFile(QString::fromUtf8(GetParam().options));
    MainWindowDeps deps;
    deps.dialogs = &dialogs;
    deps.sound = &sound;
    deps.programPath = QStringLiteral("/opt/Fret wick/fretwick");
    main = std::make_unique<TfrmMain>(deps);

    QFile desktop(data.path() + QStringLiteral("/applications/fretwick.desktop"));
    EXPECT_EQ(desktop.exists(), GetParam().registered);
    if (GetParam().registered) {
        ASSERT_TRUE(desktop.open(QIODevice::ReadOnly));
        EXPECT_TRUE(desktop.readAll().contains("\nExec=\"/opt/Fret wick/fretwick\" %f\n"));
        EXPECT_TRUE(QFile::exists(data.path() + QStringLiteral("/mime/packages/fretwick.xml")));
    }
    EXPECT_TRUE(Messages().isEmpty());
    main.reset();
    qputenv("XDG_DATA_HOME", oldData);
    qputenv("PATH", oldPath);
}

INSTANTIATE_TEST_SUITE_P(Cases, AssociationAtStart,
                         ::testing::Values(StartCase{"OnByDefault", "", true},
                                           StartCase{"On", "Associate=1\n", true},
                                           StartCase{"Off", "Associate=0\n", false}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace fw::testing
