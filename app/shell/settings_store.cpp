#include "settings_store.h"

#include "chords/regular_file.h"
#include "chords/setting_values.h"
#include "install_dir.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

#include <algorithm>
#include <array>
#include <type_traits>
#include <variant>

namespace fw {

namespace {

const QString Options = QStringLiteral("Options");
const QString Midi = QStringLiteral("Midi");
const QString Recent = QStringLiteral("Recent");
const QString Practice = QStringLiteral("Practice");

using FieldPointer =
    std::variant<bool Settings::*, int Settings::*, std::uint8_t Settings::*, QString Settings::*>;

struct StoredField {
    const QString& section;
    const char* name;
    FieldPointer field;
};

// Every stored field except the recent files, in the order they are read.
const std::array<StoredField, 38> StoredFields = {{
    {Options, "Prompts", &Settings::Prompts},
    {Options, "TabPrompt", &Settings::TabPrompt},
    {Options, "TabFont", &Settings::TabFont},
    {Options, "ShowTabNoteDurations", &Settings::ShowTabNoteDurations},
    {Options, "TabStems", &Settings::TabStems},
    {Options, "TabBarsFromMeter", &Settings::TabBarsFromMeter},
    {Options, "TabNeckFrets", &Settings::TabNeckFrets},
    {Options, "TabHpMarks", &Settings::TabHpMarks},
    {Options, "TabChordNames", &Settings::TabChordNames},
    {Options, "TabStringNames", &Settings::TabStringNames},
    {Options, "Associate", &Settings::Associate},
    {Options, "ShowChordName", &Settings::ShowChordName},
    {Options, "ShowFretNumbers", &Settings::ShowFretNumbers},
    {Options, "SortDictionary", &Settings::SortDictionary},
    {Options, "CursorPlays", &Settings::CursorPlays},
    {Options, "NameInversions", &Settings::NameInversions},
    {Options, "LastDir", &Settings::LastDir}, // any spelling is read, "LastDir" written
    {Options, "InstallDir", &Settings::InstallDir},
    {Options, "MarkerColor", &Settings::MarkerColor},
    {Options, "MarkerShape", &Settings::MarkerShape},
    {Options, "Welcomed", &Settings::Welcomed},
    {Options, "OpenLastSong", &Settings::OpenLastSong},
    {Options, "WindowLeft", &Settings::WindowLeft},
    {Options, "WindowTop", &Settings::WindowTop},
    {Options, "WindowWidth", &Settings::WindowWidth},
    {Options, "WindowHeight", &Settings::WindowHeight},
    {Options, "WindowMaximized", &Settings::WindowMaximized},
    {Midi, "ExternalMIDI", &Settings::ExternalMIDI},
    {Midi, "Device", &Settings::Device},
    {Midi, "Octave", &Settings::Octave},
    {Midi, "Channel", &Settings::Channel},
    {Midi, "Patch", &Settings::Patch},
    {Midi, "MenuPatchName", &Settings::MenuPatchName},
    {Midi, "MenuPatchTag", &Settings::MenuPatchTag},
    {Midi, "MenuTuningName", &Settings::MenuTuningName},
    {Midi, "MenuTuningTag", &Settings::MenuTuningTag},
    {Midi, "SoundFont", &Settings::SoundFont},
    {Midi, "HammerOnsRing", &Settings::HammerOnsRing},
}};

// The practice values, read and written as a group of their own.
const std::array<StoredField, 6> PracticeFields = {{
    {Practice, "CountIn", &Settings::CountIn},
    {Practice, "Metronome", &Settings::Metronome},
    {Practice, "Trainer", &Settings::Trainer},
    {Practice, "TrainerStart", &Settings::TrainerStart},
    {Practice, "TrainerStep", &Settings::TrainerStep},
    {Practice, "TrainerTarget", &Settings::TrainerTarget},
}};

// How the tablature window shows engraved tablature: a group of its own, like the practice.
const QString TabView = QStringLiteral("TabView");
const std::array<StoredField, 2> TabViewFields = {{
    {TabView, "Zoom", &Settings::TabZoom},
    {TabView, "PageView", &Settings::TabPageView},
}};

bool PracticeIsDefault(const Settings& settings) {
    const Settings defaults;
    return settings.CountIn == defaults.CountIn && settings.Metronome == defaults.Metronome &&
           settings.Trainer == defaults.Trainer && settings.TrainerStart == defaults.TrainerStart &&
           settings.TrainerStep == defaults.TrainerStep &&
           settings.TrainerTarget == defaults.TrainerTarget;
}

// Values edited by hand out of range are brought back into it.
void ClampPractice(Settings& settings) {
    settings.CountIn = std::clamp(settings.CountIn, 0, 2);
    settings.TrainerStart = std::clamp(settings.TrainerStart, 10, 200);
    settings.TrainerStep = std::clamp(settings.TrainerStep, 0, 50);
    settings.TrainerTarget = std::clamp(settings.TrainerTarget, 10, 200);
}

QString RecentName(std::size_t index) {
    return QStringLiteral("RecentFile%1").arg(index);
}

// The settings file, without fallbacks to system-wide files.
class SettingsFile : public QSettings {
public:
    SettingsFile()
        : QSettings(QSettings::NativeFormat, QSettings::UserScope, "Fretwick", "Fretwick") {
        setFallbacksEnabled(false);
    }
};

void ReadField(SettingsLayer& layer, const StoredField& stored, Settings& settings) {
    const QString name = QString::fromLatin1(stored.name);
    std::visit(
        [&](auto member) {
            auto& value = settings.*member;
            using Value = std::remove_reference_t<decltype(value)>;
            if constexpr (std::is_same_v<Value, bool>)
                value = layer.ReadSettingBool(stored.section, name, value);
            else if constexpr (std::is_same_v<Value, int>)
                value = layer.ReadSettingInteger(stored.section, name, value);
            else if constexpr (std::is_same_v<Value, std::uint8_t>)
                value = static_cast<std::uint8_t>(
                    Low8Bits(layer.ReadSettingInteger(stored.section, name, value)));
            else
                value = layer.ReadSettingText(stored.section, name, value);
        },
        stored.field);
}

void WriteField(SettingsLayer& layer, const StoredField& stored, const Settings& settings) {
    const QString name = QString::fromLatin1(stored.name);
    std::visit(
        [&](auto member) {
            const auto& value = settings.*member;
            using Value = std::remove_cvref_t<decltype(value)>;
            if constexpr (std::is_same_v<Value, bool>)
                layer.WriteSettingBool(stored.section, name, value);
            else if constexpr (std::is_same_v<Value, QString>)
                layer.WriteSettingText(stored.section, name, value);
            else
                layer.WriteSettingInteger(stored.section, name, value);
        },
        stored.field);
}

void Report(const SettingsErrorReporter& report, const QString& message) {
    if (report)
        report(message);
}

void PrepareInstallDir(Settings& settings, const SettingsErrorReporter& report) {
    const bool isDefault = settings.InstallDir.isEmpty();
    if (isDefault)
        settings.InstallDir = DefaultInstallDir();
    if (isDefault || !settings.Welcomed)
        if (!EnsureFolder(settings.InstallDir, report))
            return;
    if (!settings.Welcomed)
        InstallShippedDictionary(settings.InstallDir, report);
}

} // namespace

QString SettingsFilePath() {
#ifdef Q_OS_UNIX
    // Where QSettings keeps it, found without making a QSettings: that reads the file at once,
    // and would wait forever on a named pipe put in its place.
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/Fretwick/Fretwick.conf");
#else
    return SettingsFile().fileName();
#endif
}

std::string SettingsFileProblem() {
    return SpecialFileError(SettingsFilePath().toStdString());
}

Settings LoadSettings(const SettingsErrorReporter& report) {
    Settings settings;
    // A settings path that names a folder, a named pipe or a device is never read (reading a
    // pipe would wait forever): the program starts with the defaults and says why.
    if (const std::string special = SettingsFileProblem(); !special.empty()) {
        Report(report, QString::fromStdString(special));
        PrepareInstallDir(settings, report);
        return settings;
    }
    SettingsFile file;
    SettingsLayer layer(file, report);
    for (const StoredField& stored : StoredFields)
        ReadField(layer, stored, settings);
    for (const StoredField& stored : PracticeFields)
        ReadField(layer, stored, settings);
    ClampPractice(settings);
    for (const StoredField& stored : TabViewFields)
        ReadField(layer, stored, settings);
    settings.TabZoom = std::clamp(settings.TabZoom, 25, 400);
    for (std::size_t i = 0; i < settings.RecentFile.size(); ++i)
        settings.RecentFile[i] = layer.ReadSettingText(Recent, RecentName(i), QString());
    PrepareInstallDir(settings, report);
    return settings;
}

bool SaveSettings(const Settings& settings, const SettingsErrorReporter& report) {
    if (!SettingsFileProblem().empty()) {
        Report(report, QStringLiteral("Failed to set data for '%1'").arg(SettingsFilePath()));
        return false;
    }
    SettingsFile file;
    const QString folder = QFileInfo(file.fileName()).absolutePath();
    if (!QFileInfo(folder).isDir() && !QDir().mkpath(folder)) {
        Report(report, QStringLiteral("Failed to create key %1").arg(folder));
        return false;
    }
    SettingsLayer layer(file, report);
    for (const StoredField& stored : StoredFields)
        WriteField(layer, stored, settings);
    if (PracticeIsDefault(settings)) {
        file.remove(Practice);
    } else {
        for (const StoredField& stored : PracticeFields)
            WriteField(layer, stored, settings);
    }
    if (settings.TabZoom == Settings{}.TabZoom && settings.TabPageView == Settings{}.TabPageView) {
        file.remove(TabView);
    } else {
        for (const StoredField& stored : TabViewFields)
            WriteField(layer, stored, settings);
    }
    for (std::size_t i = 0; i < settings.RecentFile.size(); ++i)
        layer.WriteSettingText(Recent, RecentName(i), settings.RecentFile[i]);
    file.sync();
    if (file.status() != QSettings::NoError) {
        Report(report, QStringLiteral("Failed to set data for '%1'").arg(file.fileName()));
        return false;
    }
    return true;
}

} // namespace fw
