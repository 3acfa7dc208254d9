#pragma once
// The section/name/text layer under the settings store. Every value is kept as text in a
// section of the settings file: Booleans as "1" or "0", integers in decimal. Names of sections
// and values are matched without regard to letter case, so "Lastdir" and "LastDir" are one
// value; writing a value removes its other spellings.

#include <QString>

#include <functional>
#include <optional>

class QSettings;

namespace fw {

// Receives the text of each failure: "Invalid data type for 'Device'", "Failed to create key
// ...", "Failed to set data for '...'".
using SettingsErrorReporter = std::function<void(const QString& message)>;

class SettingsLayer {
public:
    // `store` must outlive the layer; `report` may be empty (failures are then dropped).
    SettingsLayer(QSettings& store, SettingsErrorReporter report);

    // A missing value gives the default. So does a value stored as something other than a
    // text (a list, a typed variant from a hand-edited file), after reporting "Invalid data
    // type for '<name>'". An integer text is read with ReadSettingIntegerText, so "0x1F" and
    // "$1F" give 31 and "12 " or "abc" give the default; a Boolean is true when that integer
    // (with 1 or 0 as default) is not 0.
    bool ReadSettingBool(const QString& section, const QString& name, bool defaultValue);
    int ReadSettingInteger(const QString& section, const QString& name, int defaultValue);
    QString ReadSettingText(const QString& section, const QString& name,
                            const QString& defaultValue);

    // Store the value as text in memory; QSettings::sync() writes the file.
    void WriteSettingBool(const QString& section, const QString& name, bool value);
    void WriteSettingInteger(const QString& section, const QString& name, int value);
    void WriteSettingText(const QString& section, const QString& name, const QString& value);

private:
    // The stored text, or nothing when the value is missing or not a text (then reported).
    std::optional<QString> ReadStoredText(const QString& section, const QString& name);
    // "section/name" of the stored value that answers to section and name, if any.
    std::optional<QString> FindStoredKey(const QString& section, const QString& name);
    // Removes every stored spelling of section/name except the exact one.
    void RemoveOtherSpellings(const QString& section, const QString& name);

    QSettings& store_;
    SettingsErrorReporter report_;
};

} // namespace fw
