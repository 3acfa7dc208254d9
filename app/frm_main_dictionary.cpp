// The chord dictionary in the Edit group: loading it at start-up, picking an entry, keeping it
// sorted, replacing it from the chord list, and writing it back at shutdown. Also the
// "Name Chord from Frets" command, which names the current line's chord.

#include "frm_main.h"
#include "qt_text.h"

#include "app/shell/dialog_service.h"
#include "app/shell/install_dir.h"
#include "app/shell/settings.h"
#include "chords/chord_dictionary.h"
#include "chords/chord_namer.h"
#include "editor/fretboard_view.h"

#include <QAbstractItemView>
#include <QAction>
#include <QCollator>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QRegularExpression>

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

// A parser message without its "Line n    " prefix.
QString WithoutLinePrefix(const QString& message) {
    static const QRegularExpression prefix(QStringLiteral("^Line \\d+    "));
    QString text = message;
    text.remove(prefix);
    return text;
}

} // namespace

void TfrmMain::BuildDictionaryControls() {
    lblDictionary = new QLabel(tr("Chord Dictionary"), grpEditControls);
    lblDictionary->setObjectName(QStringLiteral("lblDictionary"));
    lblDictionary->setBuddy(cboDictionary);
    lblDictionary->setGeometry(cboDictionary->x(), cboDictionary->y() - 17, cboDictionary->width(),
                               16);
    const QString hint = tr("Pre-defined chords.");
    for (QWidget* widget :
         {static_cast<QWidget*>(lblDictionary), static_cast<QWidget*>(cboDictionary)}) {
        widget->setStatusTip(hint);
        widget->setToolTip(hint);
    }
    // The entries are whole chord lines: let the open list show them in full.
    cboDictionary->view()->setMinimumWidth(300);
    cboDictionary->setMaxVisibleItems(20);
    // A scrolling list of twenty rows rather than one as tall as the screen.
    cboDictionary->setStyleSheet(QStringLiteral("QComboBox { combobox-popup: 0; }"));
    connect(cboDictionary, &QComboBox::activated, this,
            [this](int index) { cboDictionaryChange(cboDictionary->itemText(index)); });

    mnuEdit->addSeparator();
    NameChord1 = mnuEdit->addAction(tr("Name Chord from &Frets"));
    NameChord1->setObjectName(QStringLiteral("NameChord1"));
    NameChord1->setShortcut(QKeySequence(tr("Ctrl+K")));
    NameChord1->setStatusTip(tr("Name the current chord from the notes it sounds."));
    connect(NameChord1, &QAction::triggered, this, [this] { NameChordFromFrets(); });
    connect(Options1, &QAction::triggered, this, [this] { Options1Click(); });
}

QString TfrmMain::DictionaryPath() const {
    return QDir(m_settings->InstallDir).filePath(QString::fromLatin1(DictionaryFileName));
}

QStringList TfrmMain::dictionaryEntries() const {
    QStringList entries;
    for (int i = 0; i < cboDictionary->count(); ++i)
        entries << cboDictionary->itemText(i);
    return entries;
}

void TfrmMain::setDictionaryEntries(const QStringList& entries) {
    cboDictionary->clear();
    cboDictionary->addItems(entries);
    cboDictionary->setCurrentIndex(-1);
}

void TfrmMain::LoadChordDictionary() {
    const QString path = DictionaryPath();
    m_dictionaryUnreadable = false;
    m_dictionaryCutAtNul = false;
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
            showError(FromStd(error));
        }
    }
    SetDictionarySorted(settings().SortDictionary);
    m_dictionaryAsLoaded = m_dictionaryCutAtNul ? dictionaryEntries() : QStringList();
}

void TfrmMain::SetDictionarySorted(bool sorted) {
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

void TfrmMain::AddDictionaryEntry(const QString& entry) {
    int at = cboDictionary->count();
    if (m_dictionarySorted) {
        DictionaryEntries entries;
        for (const QString& e : dictionaryEntries())
            entries.push_back(ToStd(e));
        at = static_cast<int>(SortedInsertPosition(entries, ToStd(entry), CollationLess()));
    }
    cboDictionary->insertItem(at, entry);
}

void TfrmMain::cboDictionaryChange(const QString& entry) {
    if (entry.isEmpty())
        return;
    const int i = CurrentLineIndex();
    const int n = m_lines.lineCount();
    const int b = i == n ? i : i + 1;

    // The entry is checked before it goes in, so that a bad one leaves the editor untouched
    // (no undo step, no change mark).
    const ParsedLine parsed = ParseChordText(ToStd(entry), b, MaxFret);
    if (!parsed.ok()) {
        const QString message = WithoutLinePrefix(FromStd(parsed.error));
        showError(QStringLiteral("Error in dictionary chord: ") +
                  FromStd(FirstChars(ToStd(message), 96)));
        return;
    }
    const UndoStep step(m_lines);
    m_lines.insertLine(b, entry);
    SelectLine(b, true);
    ShowLineStatus(b);
    if (parsed.isChord())
        PreviewChord(parsed.entry.Note, parsed.entry.HammerNote);
    SelectLine(b, true);
    focusEditor();
}

void TfrmMain::ReplaceChordDictionary() {
    cboDictionary->clear();
    const int count = m_lines.lineCount();
    for (int line = 0; line < count; ++line) {
        const QString text = m_lines.lineText(line);
        if (IsCommentText(text))
            continue;
        if (ParseChordText(ToStd(text), line, MaxFret).ok())
            AddDictionaryEntry(text);
    }
    cboDictionary->setCurrentIndex(-1);
}

void TfrmMain::SaveChordDictionary() {
    if (m_dictionaryUnreadable)
        return;
    // A damaged file whose text a NUL byte ended holds more than the list shows: it is written
    // over only when the user has changed the list.
    if (m_dictionaryCutAtNul && dictionaryEntries() == m_dictionaryAsLoaded)
        return;
    const QString dir = m_settings->InstallDir;
    if (!QFileInfo(dir).isDir() && !QDir().mkpath(dir)) {
        showError(QStringLiteral("Error writing: BCHORDS.DCT. Cannot find dir %1").arg(dir));
        return;
    }
    DictionaryEntries entries;
    for (const QString& entry : dictionaryEntries())
        entries.push_back(ToStd(entry));
    std::string error;
    if (!WriteDictionaryFile(DictionaryPath().toStdString(), entries, error))
        showError(QStringLiteral("Error writing: BCHORDS.DCT. ") + FromStd(error));
}

void TfrmMain::NameChordFromFrets() {
    const int line = CurrentLineIndex();
    const ParsedLine parsed = ParseChordLine(line, true);
    if (!parsed.ok()) {
        focusEditor();
        return;
    }
    std::vector<ChordSymbol> names;
    if (parsed.isChord())
        names = NameChord(SoundingPitches(parsed.entry, TuningOffset));
    if (names.empty()) {
        ShowLineStatus(line);
        dialogs().Message(QStringLiteral("No chord name found for these notes."),
                          MessageIcon::Information, MessageButtons::Ok);
        focusEditor();
        return;
    }
    // The same path as a name typed into the name box.
    ShowLineStatus(line);
    m_nameLine = line;
    edtName->setText(FromStd(names.front().text));
    edtNameExit();
    ShowLineStatus(line);
}

} // namespace fw
