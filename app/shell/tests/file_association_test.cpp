#include "app/shell/file_association.h"

#include "ui/tests/file_bytes.h"
#include "ui/tests/qt_print.h"
#include "ui/tests/test_env.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>

#include <gtest/gtest.h>

#include <optional>

namespace fw {
namespace {

struct ExecCase {
    const char* name;
    QString path;
    std::optional<QString> value; // as written after "Exec=", before " %f"
};

void PrintTo(const ExecCase& c, std::ostream* os) {
    *os << c.name;
}

class ExecQuoting : public ::testing::TestWithParam<ExecCase> {};

TEST_P(ExecQuoting, FollowsTheDesktopEntryRules) {
    EXPECT_EQ(ExecArgument(GetParam().path), GetParam().value);
}

// Worked out from the rules: quotes only around a path with a reserved character, backslash
// before " ` $ \ inside them, % doubled, then every backslash doubled for the string value.
INSTANTIATE_TEST_SUITE_P(
    Table, ExecQuoting,
    ::testing::Values(
        ExecCase{"PlainIsBare", "/usr/bin/fretwick", QStringLiteral("/usr/bin/fretwick")},
        ExecCase{"Spaces", "/opt/My Apps/fretwick", QStringLiteral("\"/opt/My Apps/fretwick\"")},
        ExecCase{"Dollar", "/opt/a$b/fw", QStringLiteral("\"/opt/a\\\\$b/fw\"")},
        ExecCase{"DoubleQuote", "/opt/a\"b/fw", QStringLiteral("\"/opt/a\\\\\"b/fw\"")},
        ExecCase{"Backtick", "/opt/a`b/fw", QStringLiteral("\"/opt/a\\\\`b/fw\"")},
        ExecCase{"Backslash", "/opt/a\\b/fw", QStringLiteral("\"/opt/a\\\\\\\\b/fw\"")},
        ExecCase{"PercentIsDoubled", "/opt/100%/fw", QStringLiteral("/opt/100%%/fw")},
        ExecCase{"SingleQuoteIsQuotedNotEscaped", "/opt/it's/fw",
                 QStringLiteral("\"/opt/it's/fw\"")},
        ExecCase{"LineBreak", "/opt/a\nb/fw", std::nullopt},
        ExecCase{"Tab", "/opt/a\tb/fw", std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

struct ListCase {
    const char* name;
    QString before;
    QString after;
};

void PrintTo(const ListCase& c, std::ostream* os) {
    *os << c.name;
}

class MimeAppsList : public ::testing::TestWithParam<ListCase> {};

TEST_P(MimeAppsList, SetsOnlyOurDefault) {
    EXPECT_EQ(WithDefaultApplication(GetParam().before, QStringLiteral("application/x-fretwick"),
                                     QStringLiteral("fretwick.desktop")),
              GetParam().after);
}

INSTANTIATE_TEST_SUITE_P(
    Table, MimeAppsList,
    ::testing::Values(
        ListCase{"Empty", "", "[Default Applications]\napplication/x-fretwick=fretwick.desktop\n"},
        ListCase{"OtherGroupKept", "[Added Associations]\ntext/plain=gedit.desktop;\n",
                 "[Added Associations]\ntext/plain=gedit.desktop;\n\n[Default "
                 "Applications]\napplication/x-fretwick=fretwick.desktop\n"},
        ListCase{"AddedToTheGroup", "[Default Applications]\ntext/plain=gedit.desktop\n",
                 "[Default Applications]\napplication/x-fretwick=fretwick.desktop\n"
                 "text/plain=gedit.desktop\n"},
        ListCase{"AnotherHandlerReplaced",
                 "[Default Applications]\napplication/x-fretwick=other.desktop\n[Added "
                 "Associations]\nx/y=z.desktop\n",
                 "[Default Applications]\napplication/x-fretwick=fretwick.desktop\n[Added "
                 "Associations]\nx/y=z.desktop\n"},
        ListCase{"AlreadySetIsUnchanged",
                 "[Default Applications]\napplication/x-fretwick=fretwick.desktop\n",
                 "[Default Applications]\napplication/x-fretwick=fretwick.desktop\n"},
        ListCase{"KeyInAnotherGroupIsNotOurs",
                 "[Removed Associations]\napplication/x-fretwick=fretwick.desktop\n",
                 "[Removed Associations]\napplication/x-fretwick=fretwick.desktop\n\n[Default "
                 "Applications]\napplication/x-fretwick=fretwick.desktop\n"}),
    [](const auto& info) { return std::string(info.param.name); });

using test::ReadAll;

// Runs a tool the project did not write; a missing tool fails the test.
// The desktop xdg-mime believes it runs on: "" for none in particular.
QString desktop;

QString RunTool(const QString& tool, const QStringList& arguments, int* exitCode = nullptr) {
    const QString program = QStandardPaths::findExecutable(tool);
    EXPECT_FALSE(program.isEmpty()) << tool.toStdString() << " is not installed";
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"XDG_CURRENT_DESKTOP", "DESKTOP_SESSION", "KDE_FULL_SESSION",
                             "GNOME_DESKTOP_SESSION_ID", "DISPLAY", "DBUS_SESSION_BUS_ADDRESS"})
        env.remove(QString::fromLatin1(name));
    if (!desktop.isEmpty())
        env.insert(QStringLiteral("XDG_CURRENT_DESKTOP"), desktop);
    process.setProcessEnvironment(env);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    EXPECT_TRUE(process.waitForFinished(60000)) << tool.toStdString();
    if (exitCode)
        *exitCode = process.exitCode();
    return QString::fromUtf8(process.readAll()).trimmed();
}

class Association : public ::testing::Test {
protected:
    void TearDown() override { desktop.clear(); }

    test::ScopedUserFolders folders;
    QStringList problems;
    SettingsErrorReporter report = [this](const QString& p) { problems << p; };

    QString MimePackage() const {
        return folders.DataHome() + QStringLiteral("/mime/packages/fretwick.xml");
    }
    QString DesktopFile() const {
        return folders.DataHome() + QStringLiteral("/applications/fretwick.desktop");
    }
    QString Icon() const {
        return folders.DataHome() + QStringLiteral("/icons/hicolor/128x128/apps/fretwick.png");
    }
    QString MimeApps() const { return folders.ConfigHome() + QStringLiteral("/mimeapps.list"); }
};

TEST_F(Association, WritesTheFourPiecesUnderTheUsersFolders) {
    ASSERT_TRUE(RegisterFileAssociation(QStringLiteral(".fwk"), QStringLiteral("Fretwick File"),
                                        QStringLiteral("/opt/My Apps/fretwick"), report,
                                        DatabaseRefresh::Wait));
    EXPECT_TRUE(problems.isEmpty()) << problems.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(ReadAll(MimePackage()),
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
              "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
              "  <mime-type type=\"application/x-fretwick\">\n"
              "    <comment>Fretwick File</comment>\n"
              "    <sub-class-of type=\"text/plain\"/>\n"
              "    <generic-icon name=\"fretwick\"/>\n"
              "    <glob pattern=\"*.fwk\" case-sensitive=\"false\"/>\n"
              "  </mime-type>\n"
              "</mime-info>\n");
    const QByteArray desktop = ReadAll(DesktopFile());
    EXPECT_TRUE(desktop.contains("\nExec=\"/opt/My Apps/fretwick\" %f\n")) << desktop.data();
    EXPECT_TRUE(desktop.contains("\nMimeType=application/x-fretwick;\n")) << desktop.data();
    EXPECT_TRUE(desktop.contains("\nIcon=fretwick\n")) << desktop.data();
    EXPECT_TRUE(desktop.contains("\nCategories=AudioVideo;Audio;Music;\n")) << desktop.data();
    const QImage icon(Icon());
    EXPECT_EQ(icon.size(), QSize(128, 128));
    EXPECT_EQ(ReadAll(MimeApps()),
              "[Default Applications]\napplication/x-fretwick=fretwick.desktop\n");
    // The databases were refreshed.
    EXPECT_TRUE(ReadAll(folders.DataHome() + QStringLiteral("/mime/globs2"))
                    .contains("application/x-fretwick:*.fwk"));
    EXPECT_TRUE(ReadAll(folders.DataHome() + QStringLiteral("/applications/mimeinfo.cache"))
                    .contains("application/x-fretwick=fretwick.desktop"));
}

TEST_F(Association, TheDesktopEntryIsValidForAnAwkwardProgramPath) {
    const QString path = QStringLiteral("/opt/My $Apps \"2\" 100%/fret\\wick");
    ASSERT_TRUE(RegisterFileAssociation(QStringLiteral("fwk"), QStringLiteral("Fretwick File"),
                                        path, report, DatabaseRefresh::Wait));
    int exitCode = -1;
    const QString output =
        RunTool(QStringLiteral("desktop-file-validate"), {DesktopFile()}, &exitCode);
    EXPECT_EQ(exitCode, 0) << output.toStdString();
    EXPECT_TRUE(output.isEmpty()) << output.toStdString();
}

// Both letter cases of the extension get the program's type and open with the program, on a
// plain desktop (xdg-mime asks the mimetype tool) and on GNOME (it asks gio).
class AssociationOnDesktop : public Association,
                             public ::testing::WithParamInterface<const char*> {};

TEST_P(AssociationOnDesktop, TheDesktopToolsSeeTheTypeAndTheDefaultApplication) {
    ASSERT_TRUE(RegisterFileAssociation(QStringLiteral(".fwk"), QStringLiteral("Fretwick File"),
                                        QStringLiteral("/usr/bin/fretwick"), report,
                                        DatabaseRefresh::Wait));
    desktop = QString::fromLatin1(GetParam());
    QTemporaryDir songs;
    for (const QString& name : {QStringLiteral("x.fwk"), QStringLiteral("x.FWK")}) {
        QFile song(songs.filePath(name));
        ASSERT_TRUE(song.open(QIODevice::WriteOnly));
        song.write("*Info 1:\r\n*Info 2:106 Banjo\r\n*Info 3:55555\r\n*Info 4:120\r\n");
        song.close();
        EXPECT_EQ(RunTool(QStringLiteral("xdg-mime"),
                          {QStringLiteral("query"), QStringLiteral("filetype"), song.fileName()}),
                  QStringLiteral("application/x-fretwick"))
            << name.toStdString();
    }
    EXPECT_EQ(
        RunTool(QStringLiteral("xdg-mime"), {QStringLiteral("query"), QStringLiteral("default"),
                                             QStringLiteral("application/x-fretwick")}),
        QStringLiteral("fretwick.desktop"));
}

INSTANTIATE_TEST_SUITE_P(Desktops, AssociationOnDesktop, ::testing::Values("", "GNOME"),
                         [](const auto& info) {
                             return std::string(*info.param ? info.param : "Plain");
                         });

// What a double click in a file manager does, through xdg-open on a plain desktop: the program
// (here a script that notes its arguments) gets the song's path as one argument.
TEST_F(Association, XdgOpenStartsTheProgramWithTheSong) {
    QTemporaryDir bin;
    const QString noted = bin.filePath(QStringLiteral("noted"));
    const QString program = bin.filePath(QStringLiteral("fretwick"));
    QFile script(program);
    ASSERT_TRUE(script.open(QIODevice::WriteOnly));
    script.write(QStringLiteral("#!/bin/sh\nprintf '%s\\n' \"$@\" >> '%1'\n").arg(noted).toUtf8());
    script.close();
    script.setPermissions(script.permissions() | QFileDevice::ExeOwner);
    ASSERT_TRUE(RegisterFileAssociation(QStringLiteral(".fwk"), QStringLiteral("Fretwick File"),
                                        program, report, DatabaseRefresh::Wait));
    QTemporaryDir songs;
    const QStringList paths = {songs.filePath(QStringLiteral("My Song.fwk")),
                               songs.filePath(QStringLiteral("OLD SONG.FWK"))};
    for (const QString& path : paths) {
        QFile song(path);
        ASSERT_TRUE(song.open(QIODevice::WriteOnly));
        song.write("*Info 1:\r\n*Info 2:106 Banjo\r\n*Info 3:55555\r\n*Info 4:120\r\n");
        song.close();
        QProcess open;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("XDG_CURRENT_DESKTOP"));
        env.insert(QStringLiteral("DISPLAY"), QStringLiteral(":99")); // xdg-open wants a desktop
        open.setProcessEnvironment(env);
        open.setProcessChannelMode(QProcess::MergedChannels);
        open.start(QStringLiteral("xdg-open"), {path});
        ASSERT_TRUE(open.waitForFinished(60000));
        EXPECT_EQ(open.exitCode(), 0) << open.readAll().toStdString();
    }
    EXPECT_EQ(QString::fromUtf8(ReadAll(noted)), paths.join(QLatin1Char('\n')) + QLatin1Char('\n'));
}

TEST_F(Association, ASecondRegistrationWritesNothing) {
    const QString program = QStringLiteral("/usr/bin/fretwick");
    ASSERT_TRUE(RegisterFileAssociation(QStringLiteral(".fwk"), QStringLiteral("Fretwick File"),
                                        program, report, DatabaseRefresh::Wait));
    QStringList watched = {MimePackage(),
                           DesktopFile(),
                           Icon(),
                           MimeApps(),
                           folders.DataHome() + QStringLiteral("/mime/globs2"),
                           folders.DataHome() + QStringLiteral("/applications/mimeinfo.cache")};
    // Mark every file so that a rewrite (a new file renamed over it) shows.
    QList<QDateTime> times;
    for (const QString& path : watched) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadWrite)) << path.toStdString();
        const QDateTime old = QDateTime::fromSecsSinceEpoch(1000000000);
        ASSERT_TRUE(file.setFileTime(old, QFileDevice::FileModificationTime));
        times << old;
    }
    ASSERT_TRUE(RegisterFileAssociation(QStringLiteral(".fwk"), QStringLiteral("Fretwick File"),
                                        program, report, DatabaseRefresh::Wait));
    for (int i = 0; i < watched.size(); ++i)
        EXPECT_EQ(QFileInfo(watched[i]).lastModified(), times[i]) << watched[i].toStdString();

    // A moved program changes the desktop entry only.
    ASSERT_TRUE(RegisterFileAssociation(QStringLiteral(".fwk"), QStringLiteral("Fretwick File"),
                                        QStringLiteral("/opt/fretwick"), report,
                                        DatabaseRefresh::Wait));
    EXPECT_NE(QFileInfo(DesktopFile()).lastModified(), times[1]);
    EXPECT_EQ(QFileInfo(MimePackage()).lastModified(), times[0]);
    EXPECT_EQ(QFileInfo(MimeApps()).lastModified(), times[3]);
    EXPECT_TRUE(problems.isEmpty());
}

// Installed system-wide, the program's own entry and type are the desktop's already: turning
// the association on and off only sets and clears the user's default.
TEST_F(Association, AnInstalledProgramOnlySetsAndClearsTheDefault) {
    ASSERT_TRUE(RegisterFileAssociation(QStringLiteral(".fwk"), QStringLiteral("Fretwick File"),
                                        QStringLiteral("/usr/bin/fretwick"), report,
                                        DatabaseRefresh::Wait, AssociationScope::DefaultOnly));
    EXPECT_EQ(ReadAll(MimeApps()),
              "[Default Applications]\napplication/x-fretwick=fretwick.desktop\n");
    EXPECT_FALSE(QFileInfo::exists(folders.DataHome())) << "wrote into the data folder";
    ASSERT_TRUE(
        UnregisterFileAssociation(report, DatabaseRefresh::Wait, AssociationScope::DefaultOnly));
    EXPECT_EQ(ReadAll(MimeApps()), "[Default Applications]\n");
    EXPECT_FALSE(QFileInfo::exists(folders.DataHome()));
    EXPECT_TRUE(problems.isEmpty()) << problems.join(QLatin1Char('\n')).toStdString();
}

TEST_F(Association, KeepsTheUsersOtherDefaults) {
    QDir().mkpath(folders.ConfigHome());
    QFile list(MimeApps());
    ASSERT_TRUE(list.open(QIODevice::WriteOnly));
    list.write("[Default Applications]\ntext/plain=gedit.desktop\n");
    list.close();
    ASSERT_TRUE(RegisterFileAssociation(QStringLiteral(".fwk"), QStringLiteral("Fretwick File"),
                                        QStringLiteral("/usr/bin/fretwick"), report,
                                        DatabaseRefresh::Wait));
    EXPECT_EQ(ReadAll(MimeApps()), "[Default Applications]\napplication/x-fretwick="
                                   "fretwick.desktop\ntext/plain=gedit.desktop\n");
}

// The default is the program's only where the user has no other: a choice made since stays,
// at every start. Turning the association off takes out what the program put there and no more.
struct DefaultCase {
    const char* name;
    QString before; // mimeapps.list before registering; null: no file
    QString defaultAfter;
    QString listAfterUnregister;
};

void PrintTo(const DefaultCase& c, std::ostream* os) {
    *os << c.name;
}

class AssociationDefault : public Association, public ::testing::WithParamInterface<DefaultCase> {};

TEST_P(AssociationDefault, IsTakenOnlyWhenFreeAndGivenBackWhenTurnedOff) {
    const DefaultCase& c = GetParam();
    QDir().mkpath(folders.DataHome() + QStringLiteral("/applications"));
    // Another program that handles songs, whose command exists (xdg-mime skips one without).
    QFile other(folders.DataHome() + QStringLiteral("/applications/other.desktop"));
    ASSERT_TRUE(other.open(QIODevice::WriteOnly));
    other.write("[Desktop Entry]\nType=Application\nName=Other\nExec=/bin/true %f\n"
                "MimeType=application/x-fretwick;\n");
    other.close();
    if (!c.before.isNull()) {
        QDir().mkpath(folders.ConfigHome());
        QFile list(MimeApps());
        ASSERT_TRUE(list.open(QIODevice::WriteOnly));
        list.write(c.before.toUtf8());
    }
    for (int start = 0; start < 2; ++start)
        ASSERT_TRUE(RegisterFileAssociation(QStringLiteral(".fwk"), QStringLiteral("Fretwick File"),
                                            QStringLiteral("/usr/bin/fretwick"), report,
                                            DatabaseRefresh::Wait));
    EXPECT_EQ(
        RunTool(QStringLiteral("xdg-mime"), {QStringLiteral("query"), QStringLiteral("default"),
                                             QStringLiteral("application/x-fretwick")}),
        c.defaultAfter);

    ASSERT_TRUE(UnregisterFileAssociation(report, DatabaseRefresh::Wait));
    EXPECT_TRUE(problems.isEmpty()) << problems.join(QLatin1Char('\n')).toStdString();
    EXPECT_FALSE(QFileInfo::exists(MimePackage()));
    EXPECT_FALSE(QFileInfo::exists(DesktopFile()));
    EXPECT_EQ(QString::fromUtf8(ReadAll(MimeApps())), c.listAfterUnregister);
    // The desktop tools no longer know the type.
    EXPECT_FALSE(ReadAll(folders.DataHome() + QStringLiteral("/mime/globs2"))
                     .contains("application/x-fretwick"));
    EXPECT_FALSE(ReadAll(folders.DataHome() + QStringLiteral("/applications/mimeinfo.cache"))
                     .contains("fretwick.desktop"));
}

INSTANTIATE_TEST_SUITE_P(
    Table, AssociationDefault,
    ::testing::Values(
        DefaultCase{"NoList", QString(), QStringLiteral("fretwick.desktop"),
                    QStringLiteral("[Default Applications]\n")},
        DefaultCase{"AlreadyOurs",
                    QStringLiteral("[Default Applications]\napplication/x-fretwick=fretwick."
                                   "desktop\ntext/plain=gedit.desktop\n"),
                    QStringLiteral("fretwick.desktop"),
                    QStringLiteral("[Default Applications]\ntext/plain=gedit.desktop\n")},
        DefaultCase{"TheUsersChoiceStays",
                    QStringLiteral("[Default Applications]\napplication/x-fretwick=other."
                                   "desktop\n"),
                    QStringLiteral("other.desktop"),
                    QStringLiteral("[Default Applications]\napplication/x-fretwick=other."
                                   "desktop\n")},
        DefaultCase{"OursFirstOfSeveral",
                    QStringLiteral("[Default Applications]\napplication/x-fretwick=fretwick."
                                   "desktop;other.desktop;\n"),
                    QStringLiteral("fretwick.desktop"),
                    QStringLiteral("[Default Applications]\napplication/x-fretwick=other."
                                   "desktop;\n")}),
    [](const auto& info) { return std::string(info.param.name); });

struct NothingCase {
    const char* name;
    QString extension;
    QString program;
};

void PrintTo(const NothingCase& c, std::ostream* os) {
    *os << c.name;
}

class AssociationNotWritten : public Association,
                              public ::testing::WithParamInterface<NothingCase> {};

TEST_P(AssociationNotWritten, WhenTheExtensionOrProgramIsEmpty) {
    EXPECT_TRUE(RegisterFileAssociation(GetParam().extension, QStringLiteral("Fretwick File"),
                                        GetParam().program, report, DatabaseRefresh::Wait));
    EXPECT_FALSE(QFileInfo::exists(folders.DataHome()));
    EXPECT_FALSE(QFileInfo::exists(MimeApps()));
    EXPECT_TRUE(problems.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Table, AssociationNotWritten,
                         ::testing::Values(NothingCase{"EmptyExtension", "", "/usr/bin/fw"},
                                           NothingCase{"OnlyDots", "..", "/usr/bin/fw"},
                                           NothingCase{"EmptyProgram", ".fwk", ""}),
                         [](const auto& info) { return std::string(info.param.name); });

// A data folder that cannot be made (its parent is a file; this holds for root too) is
// reported with the folder, and the other pieces are still written.
TEST_F(Association, AFolderThatCannotBeMadeIsReported) {
    QDir().mkpath(folders.DataHome());
    QFile blocker(folders.DataHome() + QStringLiteral("/mime"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    EXPECT_FALSE(RegisterFileAssociation(QStringLiteral(".fwk"), QStringLiteral("Fretwick File"),
                                         QStringLiteral("/usr/bin/fretwick"), report,
                                         DatabaseRefresh::Wait));
    EXPECT_EQ(problems,
              QStringList{
                  QStringLiteral("Failed to create key %1/mime/packages").arg(folders.DataHome())});
    EXPECT_TRUE(QFileInfo(DesktopFile()).isFile());
    EXPECT_TRUE(QFileInfo(MimeApps()).isFile());
}

// A file that cannot be written is reported with its path: here the place of the desktop entry
// is taken by a folder.
TEST_F(Association, AFileThatCannotBeWrittenIsReported) {
    QDir().mkpath(DesktopFile());
    EXPECT_FALSE(RegisterFileAssociation(QStringLiteral(".fwk"), QStringLiteral("Fretwick File"),
                                         QStringLiteral("/usr/bin/fretwick"), report,
                                         DatabaseRefresh::Wait));
    EXPECT_EQ(problems,
              QStringList{QStringLiteral("Failed to set data for '%1'").arg(DesktopFile())});
}

} // namespace
} // namespace fw
