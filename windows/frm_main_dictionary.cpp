// The chord dictionary's box in the Edit group (its list is ChordDictionaryBox's): picking an
// entry inserts it as a chord line. Also the "Name Chord from Frets" command and the Chord
// Shapes window, whose shapes go in as a dictionary pick does.

#include "frm_main.h"
#include "ui/qt_text.h"

#include "app/shell/settings.h"
#include "chords/chord_dictionary.h"
#include "chords/chord_namer.h"
#include "editor/fretboard_view.h"
#include "frm_chord_shapes.h"
#include "ui/dialog_service.h"

#include <QAbstractItemView>
#include <QAction>
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

// A parser message without its "Line n    " prefix.
QString WithoutLinePrefix(const QString& message) {
    static const QRegularExpression prefix(QStringLiteral("^Line \\d+    "));
    QString text = message;
    text.remove(prefix);
    return text;
}

} // namespace

void TfrmMain::BuildDictionaryControls() {
    m_dictionary = std::make_unique<ChordDictionaryBox>(
        *cboDictionary, settings(), [this](const QString& text) { ShowError(text); },
        [this](const QString& text) { ShowStatusNote(text); });
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
    connect(cboDictionary, &DictionaryComboBox::entryPicked, this,
            [this](const QString& entry) { cboDictionaryChange(entry); });

    mnuEdit->addSeparator();
    NameChord1 = mnuEdit->addAction(tr("Name Chord from &Frets"));
    NameChord1->setObjectName(QStringLiteral("NameChord1"));
    NameChord1->setShortcut(QKeySequence(tr("Ctrl+K")));
    NameChord1->setStatusTip(tr("Name the current chord from the notes it sounds."));
    connect(NameChord1, &QAction::triggered, this, [this] { NameChordFromFrets(); });
    ChordShapes1 = mnuEdit->addAction(tr("Chord &Shapes..."));
    ChordShapes1->setObjectName(QStringLiteral("ChordShapes1"));
    ChordShapes1->setShortcut(QKeySequence(tr("Ctrl+Shift+K")));
    ChordShapes1->setStatusTip(tr("Find every shape of a chord in the current tuning."));
    connect(ChordShapes1, &QAction::triggered, this, [this] { ChordShapes1Click(); });
    connect(Options1, &QAction::triggered, this, [this] { Options1Click(); });
}

QStringList TfrmMain::dictionaryEntries() const {
    return m_dictionary->dictionaryEntries();
}

void TfrmMain::ReplaceChordDictionary() {
    m_dictionary->ReplaceChordDictionary(m_lines, MaxFret);
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
        ShowError(QStringLiteral("Error in dictionary chord: ") +
                  FromStd(FirstChars(ToStd(message), 96)));
        return;
    }
    const UndoStep step(m_lines);
    m_lines.insertLine(b, entry);
    SelectLine(b, true);
    ShowLineStatus(b);
    if (parsed.isChord())
        m_play->PreviewChord(parsed.entry.Note, parsed.entry.HammerNote);
    SelectLine(b, true);
    FocusEditor();
}

void TfrmMain::NameChordFromFrets() {
    const int line = CurrentLineIndex();
    const ParsedLine parsed = ParseChordLine(line, true);
    if (!parsed.ok()) {
        FocusEditor();
        return;
    }
    std::vector<ChordSymbol> names;
    if (parsed.isChord())
        names = NameChordLine(parsed.entry, m_document->TuningOffset(),
                              NamingOptions{settings().NameInversions});
    if (names.empty()) {
        ShowLineStatus(line);
        dialogs().Message(QStringLiteral("No chord name found for these notes."),
                          MessageIcon::Information, MessageButtons::Ok);
        FocusEditor();
        return;
    }
    // The same path as a name typed into the name box.
    ShowLineStatus(line);
    m_nameLine = line;
    edtName->setText(FromStd(names.front().text));
    edtNameExit();
    ShowLineStatus(line);
}

void TfrmMain::ChordShapes1Click() {
    if (!frmChordShapes) {
        frmChordShapes = new TfrmChordShapes(this);
        connect(frmChordShapes, &TfrmChordShapes::previewRequested, this,
                [this](const QString& line) {
                    const ParsedLine parsed = ParseChordText(ToStd(line), 0, MaxFret);
                    if (parsed.isChord())
                        m_play->PreviewChord(parsed.entry.Note, parsed.entry.HammerNote);
                });
        connect(frmChordShapes, &TfrmChordShapes::insertRequested, this,
                [this](const QString& line) {
                    // The chord list is read-only while a play runs, as the dictionary box is off.
                    if (IsPlaying()) {
                        ShowStatus(tr("Stop playing to insert a chord."));
                        return;
                    }
                    cboDictionaryChange(line);
                });
    }
    frmChordShapes->SetTuning(m_document->Tuning(), m_document->Capo());
    frmChordShapes->show();
    frmChordShapes->raise();
    frmChordShapes->activateWindow();
}

} // namespace fw
