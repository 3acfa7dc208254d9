#pragma once
// The chord dictionary in the Edit group's box: read from InstallDir/BCHORDS.DCT at start-up,
// kept sorted when asked, refilled from the chord list, and written back at shutdown.

#include <QString>
#include <QStringList>

#include <functional>

class QComboBox;

namespace fw {

class LineEditor;
struct Settings;

class ChordDictionaryBox {
public:
    // `box` shows the entries; `settings` gives the folder and the sorting; `showError` reports
    // a file that cannot be read or written; `showNote` tells of a dictionary restored.
    ChordDictionaryBox(QComboBox& box, const Settings& settings,
                       std::function<void(const QString&)> showError,
                       std::function<void(const QString&)> showNote = {});

    QString DictionaryPath() const;
    QStringList dictionaryEntries() const;

    // Reads the file; one that cannot be read is reported and is then never written over at
    // shutdown. A missing file is first restored from the shipped dictionary, with a note
    // saying so (or why it could not be).
    void LoadChordDictionary();
    // Writes the list to InstallDir/BCHORDS.DCT, making the folder when missing; a folder that
    // cannot be made or a file that cannot be written is reported. Nothing is written when the
    // file could not be read at start-up, so that it is never replaced by an empty list, nor
    // when a file that a NUL byte cut short was left as it was read, nor when the list is empty
    // and the user did not empty it (by replacing it from a song without chords).
    void SaveChordDictionary();
    // Replaces the entries with every line of `lines` that parses and is not a comment.
    void ReplaceChordDictionary(const LineEditor& lines, int maxFret);
    // Sorting on sorts the list at once and keeps every added entry in its sorted place.
    void SetDictionarySorted(bool sorted);
    void AddDictionaryEntry(const QString& entry);

private:
    void RestoreShippedDictionary();
    void setDictionaryEntries(const QStringList& entries);

    QComboBox& m_box;
    const Settings& m_settings;
    std::function<void(const QString&)> m_showError;
    std::function<void(const QString&)> m_showNote;
    bool m_replacedByUser = false;
    bool m_dictionarySorted = false;
    bool m_dictionaryUnreadable = false;
    bool m_dictionaryCutAtNul = false;
    QStringList m_dictionaryAsLoaded; // only kept for a file that a NUL byte cut short
};

} // namespace fw
