#include "chord_dictionary_box.h"
#include "ui/qt_text.h"

#include "app/shell/install_dir.h"
#include "app/shell/settings.h"
#include "chords/chord_dictionary.h"
#include "chords/chord_parser.h"
#include "editor/line_editor.h"

#include <QCollator>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>

#include <memory>

namespace fw {

namespace {

// The user's collation, blind to letter case.
EntryLess CollationLess() {
    auto collator = std::make_shared<QCollator>(QLocale());
    collator->setCaseSensitivity(Qt::CaseInsensitive);
    return [collator](const std::string& a, const std::string& b) {
        return collator->compare(FromStd(a), FromStd(b)) < 0;
    };
}

} // namespace

ChordDictionaryBox::ChordDictionaryBox(QComboBox& box, const Settings& settings,
                                       std::function<void(const QString&)> showError,
                                       std::function<void(const QString&)> showNote)
    : m_box(box), m_settings(settings), m_showError(std::move(showError)),
      m_showNote(std::move(showNote)) {}

QString ChordDictionaryBox::DictionaryPath() const {
    return QDir(m_settings.InstallDir).filePath(QString::fromLatin1(DictionaryFileName));
}

QStringList ChordDictionaryBox::dictionaryEntries() const {
    QStringList entries;
    for (int i = 0; i < m_box.count(); ++i)
        entries << m_box.itemText(i);
    return entries;
}

void ChordDictionaryBox::setDictionaryEntries(const QStringList& entries) {
    m_box.clear();
    m_box.addItems(entries);
    m_box.setCurrentIndex(-1);
}

void ChordDictionaryBox::LoadChordDictionary() {
    const QString path = DictionaryPath();
    m_dictionaryUnreadable = false;
    m_dictionaryCutAtNul = false;
    if (!QFileInfo::exists(path) && !QFileInfo(path).isSymLink())
        RestoreShippedDictionary();
    if (QFileInfo::exists(path)) {
        DictionaryEntries entries;
        std::string error;
        if (ReadDictionaryFile(path.toStdString(), entries, error, &m_dictionaryCutAtNul)) {
            QStringList list;
            for (const std::string& entry : entries)
                list << FromStd(entry);
            setDictionaryEntries(list);
        } else {
            // The file is there but cannot be read: say so, and never write the empty list
            // over it at shutdown.
            m_dictionaryUnreadable = true;
            m_showError(FromStd(error));
        }
    }
    SetDictionarySorted(m_settings.SortDictionary);
    m_dictionaryAsLoaded = m_dictionaryCutAtNul ? dictionaryEntries() : QStringList();
}

void ChordDictionaryBox::RestoreShippedDictionary() {
    QString failure;
    const SettingsErrorReporter report = [&failure](const QString& message) { failure = message; };
    if (EnsureFolder(m_settings.InstallDir, report) &&
        InstallShippedDictionary(m_settings.InstallDir, report))
        failure.clear();
    const QString note =
        failure.isEmpty()
            ? QStringLiteral("The chord dictionary BCHORDS.DCT was missing: the shipped one "
                             "was restored.")
            : QStringLiteral("The chord dictionary BCHORDS.DCT is missing and the shipped one "
                             "could not be restored: %1.")
                  .arg(failure);
    // A new user (not yet welcomed) never had a dictionary: the shipped one is simply installed.
    // A failure is told to everyone.
    if (m_showNote && (!failure.isEmpty() || m_settings.Welcomed))
        m_showNote(note);
}

void ChordDictionaryBox::SetDictionarySorted(bool sorted) {
    m_dictionarySorted = sorted;
    if (!sorted)
        return;
    DictionaryEntries entries;
    for (const QString& entry : dictionaryEntries())
        entries.push_back(ToStd(entry));
    SortEntries(entries, CollationLess());
    QStringList list;
    for (const std::string& entry : entries)
        list << FromStd(entry);
    if (list != dictionaryEntries())
        setDictionaryEntries(list);
}

void ChordDictionaryBox::AddDictionaryEntry(const QString& entry) {
    int at = m_box.count();
    if (m_dictionarySorted) {
        DictionaryEntries entries;
        for (const QString& e : dictionaryEntries())
            entries.push_back(ToStd(e));
        at = static_cast<int>(SortedInsertPosition(entries, ToStd(entry), CollationLess()));
    }
    m_box.insertItem(at, entry);
}

void ChordDictionaryBox::ReplaceChordDictionary(const LineEditor& lines, int maxFret) {
    m_replacedByUser = true;
    m_box.clear();
    const int count = lines.lineCount();
    for (int line = 0; line < count; ++line) {
        const QString text = lines.lineText(line);
        if (IsCommentText(text))
            continue;
        if (ParseChordText(ToStd(text), line, maxFret).ok())
            AddDictionaryEntry(text);
    }
    m_box.setCurrentIndex(-1);
}

void ChordDictionaryBox::SaveChordDictionary() {
    if (m_dictionaryUnreadable)
        return;
    // A damaged file whose text a NUL byte ended holds more than the list shows: it is written
    // over only when the user has changed the list.
    if (m_dictionaryCutAtNul && dictionaryEntries() == m_dictionaryAsLoaded)
        return;
    // An empty list the user did not ask for (a dictionary that could not be restored) would
    // only stand in the way of the shipped one at the next start.
    if (m_box.count() == 0 && !m_replacedByUser)
        return;
    const QString dir = m_settings.InstallDir;
    if (!QFileInfo(dir).isDir() && !QDir().mkpath(dir)) {
        m_showError(QStringLiteral("Error writing: BCHORDS.DCT. Cannot find dir %1").arg(dir));
        return;
    }
    DictionaryEntries entries;
    for (const QString& entry : dictionaryEntries())
        entries.push_back(ToStd(entry));
    std::string error;
    if (!WriteDictionaryFile(DictionaryPath().toStdString(), entries, error))
        m_showError(QStringLiteral("Error writing: BCHORDS.DCT. ") + FromStd(error));
}

} // namespace fw
