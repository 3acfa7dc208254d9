#include "settings_layer.h"

#include "chords/setting_values.h"

#include <QSettings>
#include <QStringList>

#include <utility>

namespace fw {

namespace {

bool SameName(const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// The entries of `names` that answer to `wanted`, the exact spelling first.
QStringList Spellings(const QStringList& names, const QString& wanted) {
    QStringList result;
    if (names.contains(wanted))
        result.append(wanted);
    for (const QString& name : names)
        if (name != wanted && SameName(name, wanted))
            result.append(name);
    return result;
}

QString ToText(bool value) {
    return value ? QStringLiteral("1") : QStringLiteral("0");
}

} // namespace

SettingsLayer::SettingsLayer(QSettings& store, SettingsErrorReporter report)
    : store_(store), report_(std::move(report)) {}

std::optional<QString> SettingsLayer::FindStoredKey(const QString& section, const QString& name) {
    for (const QString& group : Spellings(store_.childGroups(), section)) {
        store_.beginGroup(group);
        const QStringList keys = Spellings(store_.childKeys(), name);
        store_.endGroup();
        if (!keys.isEmpty())
            return group + QLatin1Char('/') + keys.constFirst();
    }
    return std::nullopt;
}

std::optional<QString> SettingsLayer::ReadStoredText(const QString& section, const QString& name) {
    const std::optional<QString> key = FindStoredKey(section, name);
    if (!key)
        return std::nullopt;
    const QVariant value = store_.value(*key);
    if (value.typeId() != QMetaType::QString) {
        if (report_)
            report_(QStringLiteral("Invalid data type for '%1'").arg(name));
        return std::nullopt;
    }
    return value.toString();
}

bool SettingsLayer::ReadSettingBool(const QString& section, const QString& name,
                                    bool defaultValue) {
    return ReadSettingInteger(section, name, defaultValue ? 1 : 0) != 0;
}

int SettingsLayer::ReadSettingInteger(const QString& section, const QString& name,
                                      int defaultValue) {
    const std::optional<QString> text = ReadStoredText(section, name);
    if (!text)
        return defaultValue;
    return ReadSettingIntegerText(text->toStdString(), defaultValue);
}

QString SettingsLayer::ReadSettingText(const QString& section, const QString& name,
                                       const QString& defaultValue) {
    return ReadStoredText(section, name).value_or(defaultValue);
}

void SettingsLayer::RemoveOtherSpellings(const QString& section, const QString& name) {
    for (const QString& group : Spellings(store_.childGroups(), section)) {
        store_.beginGroup(group);
        for (const QString& key : Spellings(store_.childKeys(), name))
            if (group != section || key != name)
                store_.remove(key);
        store_.endGroup();
    }
}

void SettingsLayer::WriteSettingBool(const QString& section, const QString& name, bool value) {
    WriteSettingText(section, name, ToText(value));
}

void SettingsLayer::WriteSettingInteger(const QString& section, const QString& name, int value) {
    WriteSettingText(section, name, QString::number(value));
}

void SettingsLayer::WriteSettingText(const QString& section, const QString& name,
                                     const QString& value) {
    RemoveOtherSpellings(section, name);
    store_.setValue(section + QLatin1Char('/') + name, value);
}

} // namespace fw
