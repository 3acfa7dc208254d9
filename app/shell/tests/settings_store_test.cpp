// The settings store against real settings files in temporary folders.

#include "tests/support/case_name.h"
#include "ui/tests/file_bytes.h"
#include "ui/tests/test_env.h"

#include "app/shell/install_dir.h"
#include "app/shell/settings_store.h"

#include <QDir>
#include <QFile>
#include <QSettings>

#include <functional>
#include <map>

#include <sys/stat.h>

#include <gtest/gtest.h>

namespace fw {
namespace {

using test::ScopedUserFolders;

class SettingsStoreTest : public ::testing::Test {
protected:
    Settings Load() {
        return LoadSettings([this](const QString& problem) { problems.append(problem); });
    }
    bool Save(const Settings& settings) {
        return SaveSettings(settings, [this](const QString& problem) { problems.append(problem); });
    }
    // Stores `text` as a text value, the way a hand-edited file or an earlier run left it.
    void Seed(const QString& key, const QString& text) {
        QSettings file(folders.SettingsFile(), QSettings::NativeFormat);
        file.setValue(key, text);
        file.sync();
        ASSERT_EQ(file.status(), QSettings::NoError);
    }
    void SeedRaw(const QByteArray& contents) {
        ASSERT_TRUE(QDir().mkpath(folders.ConfigHome() + QStringLiteral("/Fretwick")));
        QFile file(folders.SettingsFile());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_EQ(file.write(contents), contents.size());
    }
    QByteArray FileText() { return test::ReadAll(folders.SettingsFile()); }

    ScopedUserFolders folders;
    QStringList problems;
};

TEST_F(SettingsStoreTest, LivesInTheConfigFolderNamedByXdgConfigHome) {
    EXPECT_EQ(test::StartSettingsFile(),
              test::StartConfigHome() + QStringLiteral("/Fretwick/Fretwick.conf"));
    EXPECT_EQ(SettingsFilePath(), folders.SettingsFile());
}

TEST_F(SettingsStoreTest, FirstStartWithoutAFileGivesEveryDefault) {
    const Settings loaded = Load();
    Settings expected;
    expected.InstallDir = folders.DataHome() + QStringLiteral("/Fretwick");
    EXPECT_EQ(loaded, expected);
    EXPECT_EQ(DefaultInstallDir(), expected.InstallDir);
    EXPECT_TRUE(QFileInfo(expected.InstallDir).isDir());
    EXPECT_TRUE(problems.isEmpty()) << problems.join('\n').toStdString();
    EXPECT_FALSE(QFileInfo::exists(folders.SettingsFile())) << "loading writes nothing";
}

TEST_F(SettingsStoreTest, SavingDefaultsWritesEveryValueAsTextInThreeSections) {
    ASSERT_TRUE(Save(Load()));
    const QString installDir = folders.DataHome() + QStringLiteral("/Fretwick");
    const std::vector<std::pair<QString, QString>> expected = {
        {"Options/Prompts", "1"},
        {"Options/TabPrompt", "1"},
        {"Options/TabFont", "0"},
        {"Options/ShowTabNoteDurations", "0"},
        {"Options/TabStems", "0"},
        {"Options/TabBarsFromMeter", "0"},
        {"Options/TabNeckFrets", "0"},
        {"Options/TabHpMarks", "0"},
        {"Options/TabChordNames", "0"},
        {"Options/TabStringNames", "0"},
        {"Options/Associate", "1"},
        {"Options/ShowChordName", "1"},
        {"Options/ShowFretNumbers", "1"},
        {"Options/SortDictionary", "0"},
        {"Options/CursorPlays", "0"},
        {"Options/NameInversions", "0"},
        {"Options/LastDir", ""},
        {"Options/InstallDir", installDir},
        {"Options/MarkerColor", "16776960"},
        {"Options/MarkerShape", "5"},
        {"Options/Welcomed", "0"},
        {"Options/OpenLastSong", "0"},
        {"Options/WindowLeft", "0"},
        {"Options/WindowTop", "0"},
        {"Options/WindowWidth", "0"},
        {"Options/WindowHeight", "0"},
        {"Options/WindowMaximized", "0"},
        {"Midi/ExternalMIDI", "0"},
        {"Midi/Device", "-1"},
        {"Midi/Octave", "0"},
        {"Midi/Channel", "0"},
        {"Midi/Patch", "105"},
        {"Midi/MenuPatchName", "  1 Acoustic Grand"},
        {"Midi/MenuPatchTag", "1"},
        {"Midi/MenuTuningName", "&Custom Tuning - G D G B D"},
        {"Midi/MenuTuningTag", "55555"},
        {"Midi/SoundFont", ""},
        {"Midi/HammerOnsRing", "0"},
        {"Recent/RecentFile0", ""},
        {"Recent/RecentFile1", ""},
        {"Recent/RecentFile2", ""},
    };
    QSettings file(folders.SettingsFile(), QSettings::NativeFormat);
    EXPECT_EQ(file.childGroups(), (QStringList{"Midi", "Options", "Recent"}));
    EXPECT_EQ(file.allKeys().size(), static_cast<qsizetype>(expected.size()));
    for (const auto& [key, text] : expected) {
        const QVariant value = file.value(key);
        EXPECT_EQ(value.typeId(), QMetaType::QString) << key.toStdString();
        EXPECT_EQ(value.toString(), text) << key.toStdString();
    }
    EXPECT_TRUE(problems.isEmpty());
}

TEST_F(SettingsStoreTest, EveryFieldRoundTrips) {
    Settings changed;
    changed.Prompts = false;
    changed.TabPrompt = false;
    changed.TabFont = true;
    changed.ShowTabNoteDurations = true;
    changed.TabStems = true;
    changed.TabBarsFromMeter = true;
    changed.TabNeckFrets = true;
    changed.TabHpMarks = true;
    changed.TabChordNames = true;
    changed.TabStringNames = true;
    changed.Associate = false;
    changed.ShowChordName = false;
    changed.ShowFretNumbers = false;
    changed.SortDictionary = true;
    changed.CursorPlays = true;
    changed.NameInversions = true;
    changed.LastDir = QStringLiteral("/home/picker/songs, old/");
    changed.InstallDir = folders.DataHome() + QStringLiteral("/elsewhere");
    changed.MarkerColor = 0x0000FF;
    changed.MarkerShape = 1;
    changed.Welcomed = true;
    changed.OpenLastSong = true;
    changed.WindowLeft = -1200; // a screen left of the primary one
    changed.WindowTop = 40;
    changed.WindowWidth = 1100;
    changed.WindowHeight = 800;
    changed.WindowMaximized = true;
    changed.ExternalMIDI = true;
    changed.Device = 2;
    changed.Octave = -12;
    changed.Channel = 9;
    changed.Patch = 24;
    changed.MenuPatchName = QStringLiteral(" 25 Acoustic Guitar(nylon)");
    changed.MenuPatchTag = 25;
    changed.MenuTuningName = QStringLiteral("&Custom Tuning - Ab C# G B Eb");
    changed.MenuTuningTag = 64556;
    changed.SoundFont = QStringLiteral("/usr/share/sounds/sf2/TimGM6mb.sf2");
    changed.CountIn = 2;
    changed.Metronome = true;
    changed.Trainer = true;
    changed.TrainerStart = 50;
    changed.TrainerStep = 10;
    changed.TrainerTarget = 120;
    changed.RecentFile = {QStringLiteral("/a/Cripple Creek.fwk"), QStringLiteral("/b/é.fwk"),
                          QStringLiteral(" /c/leading space.fwk")};
    ASSERT_TRUE(Save(changed));
    ASSERT_TRUE(QDir().mkpath(changed.InstallDir));
    EXPECT_EQ(Load(), changed);
    EXPECT_TRUE(problems.isEmpty()) << problems.join('\n').toStdString();
}

TEST_F(SettingsStoreTest, PracticeIsStoredOnlyWhileSetAndComesBackInRange) {
    Settings practising = Load();
    practising.Metronome = true;
    ASSERT_TRUE(Save(practising));
    {
        QSettings file(folders.SettingsFile(), QSettings::NativeFormat);
        EXPECT_EQ(file.value("Practice/Metronome").toString(), QStringLiteral("1"));
        EXPECT_EQ(file.value("Practice/TrainerStart").toString(), QStringLiteral("60"));
    }
    practising.Metronome = false; // back to every default: the group goes again
    ASSERT_TRUE(Save(practising));
    {
        QSettings file(folders.SettingsFile(), QSettings::NativeFormat);
        EXPECT_EQ(file.childGroups(), (QStringList{"Midi", "Options", "Recent"}));
    }
    SeedRaw("[Practice]\nCountIn=7\nTrainerStart=0\nTrainerStep=-3\nTrainerTarget=900\n");
    const Settings loaded = Load();
    EXPECT_EQ(loaded.CountIn, 2);
    EXPECT_EQ(loaded.TrainerStart, 10);
    EXPECT_EQ(loaded.TrainerStep, 0);
    EXPECT_EQ(loaded.TrainerTarget, 200);
}

struct StoredText {
    const char* key;
    const char* text;
    int expected;
};

class IntegerTextTest : public SettingsStoreTest,
                        public ::testing::WithParamInterface<StoredText> {};

// The loaded value of the field stored under `key`, as an integer.
int IntegerField(const Settings& s, const QString& key) {
    using Read = int (*)(const Settings&);
    static const std::map<QString, Read> fields = {
        {"Midi/Device", [](const Settings& f) { return f.Device; }},
        {"Midi/Octave", [](const Settings& f) { return f.Octave; }},
        {"Midi/Channel", [](const Settings& f) { return int(f.Channel); }},
        {"Midi/Patch", [](const Settings& f) { return int(f.Patch); }},
        {"Options/MarkerColor", [](const Settings& f) { return f.MarkerColor; }},
        {"Options/MarkerShape", [](const Settings& f) { return int(f.MarkerShape); }},
        {"Options/Prompts", [](const Settings& f) { return int(f.Prompts); }},
        {"Options/TabFont", [](const Settings& f) { return int(f.TabFont); }},
    };
    const auto found = fields.find(key);
    if (found == fields.end()) {
        ADD_FAILURE() << "no such field in the table: " << key.toStdString();
        return 0;
    }
    return found->second(s);
}

TEST_P(IntegerTextTest, ReadsWithTheIntegerRule) {
    const StoredText& c = GetParam();
    Seed(QString::fromLatin1(c.key), QString::fromUtf8(c.text));
    EXPECT_EQ(IntegerField(Load(), QString::fromLatin1(c.key)), c.expected);
    EXPECT_TRUE(problems.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Texts, IntegerTextTest,
    ::testing::Values(
        StoredText{"Midi/Device", "-1", -1}, StoredText{"Midi/Device", "3", 3},
        StoredText{"Options/MarkerColor", "0xFF", 255},
        StoredText{"Options/MarkerColor", "0X1f", 31}, StoredText{"Options/MarkerColor", "$1F", 31},
        StoredText{"Midi/Device", " 12", 12}, StoredText{"Midi/Device", "12 ", -1},
        StoredText{"Midi/Device", "abc", -1}, StoredText{"Midi/Device", "", -1},
        StoredText{"Midi/Device", "0x", -1}, StoredText{"Midi/Device", "99999999999", -1},
        StoredText{"Midi/Octave", "12", 12}, StoredText{"Midi/Octave", "+12", 12},
        StoredText{"Midi/Channel", "300", 44}, StoredText{"Midi/Patch", "361", 105},
        StoredText{"Options/MarkerShape", "-1", 255}, StoredText{"Options/Prompts", "yes", 1},
        StoredText{"Options/Prompts", "0", 0}, StoredText{"Options/Prompts", "-5", 1},
        StoredText{"Options/TabFont", "yes", 0}, StoredText{"Options/TabFont", "1", 1},
        StoredText{"Options/TabFont", "-5", 1}, StoredText{"Options/TabFont", "0x0", 0}),
    [](const auto& info) {
        return fw::cases::IndexedCaseName(info.index,
                                          std::string(info.param.key) + " " + info.param.text);
    });

TEST_F(SettingsStoreTest, LastDirIsReadUnderEitherSpellingAndWrittenOnce) {
    SeedRaw("[Options]\nLastdir=/music/old\n");
    Settings loaded = Load();
    EXPECT_EQ(loaded.LastDir, QStringLiteral("/music/old"));
    loaded.LastDir = QStringLiteral("/music/new");
    ASSERT_TRUE(Save(loaded));
    const QByteArray text = FileText();
    EXPECT_TRUE(text.contains("LastDir=/music/new")) << text.toStdString();
    EXPECT_FALSE(text.contains("Lastdir")) << text.toStdString();
    EXPECT_EQ(Load().LastDir, QStringLiteral("/music/new"));
}

TEST_F(SettingsStoreTest, NamesAreMatchedWithoutRegardToCase) {
    SeedRaw("[midi]\ndevice=4\n[Options]\nPROMPTS=0\n");
    const Settings loaded = Load();
    EXPECT_EQ(loaded.Device, 4);
    EXPECT_FALSE(loaded.Prompts);
    ASSERT_TRUE(Save(loaded));
    QSettings file(folders.SettingsFile(), QSettings::NativeFormat);
    EXPECT_FALSE(file.contains(QStringLiteral("midi/device")));
    EXPECT_FALSE(file.contains(QStringLiteral("Options/PROMPTS")));
    EXPECT_EQ(file.value(QStringLiteral("Midi/Device")).toString(), QStringLiteral("4"));
}

struct DamagedValue {
    const char* file;
    const char* name;
};

class NonTextValueTest : public SettingsStoreTest,
                         public ::testing::WithParamInterface<DamagedValue> {};

TEST_P(NonTextValueTest, IsReportedAndTakesTheDefault) {
    SeedRaw(GetParam().file);
    const Settings loaded = Load();
    Settings expected;
    expected.InstallDir = DefaultInstallDir();
    EXPECT_EQ(loaded, expected);
    EXPECT_EQ(problems, QStringList{QStringLiteral("Invalid data type for '%1'")
                                        .arg(QString::fromLatin1(GetParam().name))});
}

INSTANTIATE_TEST_SUITE_P(
    HandEdited, NonTextValueTest,
    ::testing::Values(DamagedValue{"[Midi]\nDevice=1, 2\n", "Device"},
                      DamagedValue{"[Options]\nMarkerColor=@Variant(\\0\\0\\0\\x2\\0\\0\\0\\x5)\n",
                                   "MarkerColor"},
                      DamagedValue{"[Recent]\nRecentFile1=@ByteArray(abc)\n", "RecentFile1"},
                      DamagedValue{"[Options]\nPrompts=@Invalid()\n", "Prompts"}),
    [](const auto& info) { return fw::cases::IndexedCaseName(info.index, info.param.name); });

TEST_F(SettingsStoreTest, AGarbledFileNeverStopsTheLoad) {
    static const char raw[] = "[[[Options\n=\n\0\0\xff\xfe[Midi]\nDevice\n\"unterminated\n=x=y\n";
    QByteArray garbage(raw, sizeof raw - 1);
    garbage.append(QByteArray(5000, 'z'));
    SeedRaw(garbage);
    const Settings loaded = Load();
    EXPECT_EQ(loaded.Patch, 105);
    EXPECT_EQ(loaded.MenuTuningTag, 55555);
}

struct HostileSettings {
    const char* name;
    std::function<void(SettingsStoreTest&, const QString& path)> make;
    const char* refusal; // what the reported problem says after "failed: "; empty: no problem
};

void PrintTo(const HostileSettings& c, std::ostream* out) {
    *out << c.name;
}

class HostileSettingsFile : public SettingsStoreTest,
                            public ::testing::WithParamInterface<HostileSettings> {
public:
    using SettingsStoreTest::SeedRaw;
};

// Whatever lies at the settings path, the program starts, with the defaults for what it cannot
// read; a path that is not a regular file is never read (a named pipe would block the start).
TEST_P(HostileSettingsFile, StartsWithTheDefaults) {
    ASSERT_TRUE(QDir().mkpath(folders.ConfigHome() + QStringLiteral("/Fretwick")));
    const QString path = folders.SettingsFile();
    GetParam().make(*this, path);
    const Settings loaded = Load();
    Settings expected;
    expected.InstallDir = DefaultInstallDir();
    EXPECT_EQ(loaded, expected);
    const QString refusal = QString::fromLatin1(GetParam().refusal);
    EXPECT_EQ(problems,
              refusal.isEmpty()
                  ? QStringList()
                  : QStringList{QStringLiteral("Opening \"%1\" failed: %2.").arg(path, refusal)});
}

INSTANTIATE_TEST_SUITE_P(
    Table, HostileSettingsFile,
    ::testing::Values(HostileSettings{"NamedPipe",
                                      [](SettingsStoreTest&, const QString& path) {
                                          ASSERT_EQ(::mkfifo(path.toLocal8Bit().constData(), 0644),
                                                    0);
                                      },
                                      "it is a named pipe, not a file"},
                      HostileSettings{"Folder",
                                      [](SettingsStoreTest&, const QString& path) {
                                          ASSERT_TRUE(QDir().mkpath(path));
                                      },
                                      "it is a folder, not a file"},
                      HostileSettings{
                          "HugeNumbers",
                          [](SettingsStoreTest& t, const QString&) {
                              static_cast<HostileSettingsFile&>(t).SeedRaw(
                                  "[Midi]\nPatch=99999999999999999999\nDevice=-99999999999\n"
                                  "MenuTuningTag=0x1FFFFFFFF\nVolume=1e400\n");
                          },
                          ""},
                      HostileSettings{"OnlyBinary",
                                      [](SettingsStoreTest& t, const QString&) {
                                          QByteArray bytes(4096, '\0');
                                          for (int i = 0; i < bytes.size(); ++i)
                                              bytes[i] = static_cast<char>((i * 7919) & 0xFF);
                                          static_cast<HostileSettingsFile&>(t).SeedRaw(bytes);
                                      },
                                      ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SettingsStoreTest, ASettingsFolderThatCannotBeMadeIsReported) {
    ASSERT_TRUE(QDir().mkpath(folders.ConfigHome()));
    QFile blocker(folders.ConfigHome() + QStringLiteral("/Fretwick"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly)); // a file where the folder should be
    blocker.close();
    EXPECT_FALSE(Save(Settings{}));
    EXPECT_EQ(problems, QStringList{QStringLiteral("Failed to create key %1")
                                        .arg(folders.ConfigHome() + QStringLiteral("/Fretwick"))});
}

TEST_F(SettingsStoreTest, ASettingsFileThatCannotBeWrittenIsReported) {
    ASSERT_TRUE(QDir().mkpath(folders.SettingsFile())); // a folder where the file should be
    EXPECT_FALSE(Save(Settings{}));
    EXPECT_EQ(
        problems,
        QStringList{QStringLiteral("Failed to set data for '%1'").arg(folders.SettingsFile())});
}

TEST_F(SettingsStoreTest, AnEmptyInstallDirMeansTheDefaultFolder) {
    SeedRaw("[Options]\nInstallDir=\nWelcomed=1\n");
    EXPECT_EQ(Load().InstallDir, folders.DataHome() + QStringLiteral("/Fretwick"));
}

} // namespace
} // namespace fw
