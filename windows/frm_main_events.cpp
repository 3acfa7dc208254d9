// Wiring the controls, menus and editor events to the main window's handlers.

#include "app/main_sound.h"
#include "frm_main.h"

#include "editor/chord_text_edit.h"
#include "editor/fretboard_view.h"
#include "help_window.h"
#include "small_windows.h"
#include "ui/dialog_service.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QShortcut>
#include <QSpinBox>
#include <QTimer>
#include <QToolButton>

namespace fw {

void TfrmMain::ConnectEvents() {
    connect(New1, &QAction::triggered, this, [this] { New1Click(); });
    connect(Open1, &QAction::triggered, this, [this] { Open1Click(); });
    connect(ImportAsciiTab1, &QAction::triggered, this, [this] { ImportAsciiTab1Click(); });
    connect(Save1, &QAction::triggered, this, [this] { Save1Click(); });
    connect(SaveAs1, &QAction::triggered, this, [this] { SaveAs1Click(); });
    connect(Print1, &QAction::triggered, this, [this] { Print1Click(); });
    connect(Exit1, &QAction::triggered, this, [this] { close(); });
    for (QAction* item : mnuFilename)
        connect(item, &QAction::triggered, this, [this, item] { OpenRecentFile(item->text()); });

    connect(mnuEdit, &QMenu::aboutToShow, this, [this] { Edit1Click(); });
    connect(mnuEdit, &QMenu::aboutToHide, this, [this] { EnableEditShortcuts(); });
    connect(Undo1, &QAction::triggered, this, [this] { Undo1Click(); });
    connect(Redo1, &QAction::triggered, this, [this] { Redo1Click(); });
    connect(Cut1, &QAction::triggered, this, [this] { Cut1Click(); });
    connect(Copy1, &QAction::triggered, this, [this] { Copy1Click(); });
    connect(Paste1, &QAction::triggered, this, [this] { Paste1Click(); });
    connect(PasteTablature1, &QAction::triggered, this, [this] { PasteTablature1Click(); });
    connect(Delete1, &QAction::triggered, this, [this] { Delete1Click(); });
    connect(SelectAll1, &QAction::triggered, this, [this] { SelectAll1Click(); });
    connect(Find1, &QAction::triggered, this, [this] { Find1Click(); });
    connect(FindNext1, &QAction::triggered, this, [this] { FindNext1Click(); });
    connect(Cut2, &QAction::triggered, this, [this] { Cut1Click(); });
    connect(Copy2, &QAction::triggered, this, [this] { Copy1Click(); });
    connect(Paste2, &QAction::triggered, this, [this] { Paste1Click(); });
    connect(RichEdit1, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        mnuEditorPopUpPopup();
        mnuEditorPopUp->exec(RichEdit1->viewport()->mapToGlobal(at));
    });

    connect(SaveAsMidiFile1, &QAction::triggered, this, [this] { SaveAsMidiFile1Click(); });
    connect(SaveAsMusicXmlFile1, &QAction::triggered, this, [this] { SaveAsMusicXmlFile1Click(); });
    connect(MidiPlayer1, &QAction::triggered, this, [this] { MidiPlayer1Click(); });
    connect(Tab1, &QAction::triggered, this, [this] { Tab1Click(); });
    connect(ASCIItab1, &QAction::triggered, this, [this] { ASCIItab1Click(); });
    connect(Start1, &QAction::triggered, this, [this] { m_play->PlayButtonPressed(); });
    connect(Stop1, &QAction::triggered, this, [this] { m_play->PlayButtonPressed(); });
    connect(instrumentGroup, &QActionGroup::triggered, this,
            [this](QAction* item) { NylonStringAcoustic1Click(item); });
    connect(tuningGroup, &QActionGroup::triggered, this,
            [this](QAction* item) { TuningMenuClicked(item); });

    connect(Contents1, &QAction::triggered, this, [this] { ShowHelpContents(this); });
    connect(Topics1, &QAction::triggered, this, [this] { ShowHelpFinder(this); });
    connect(About1, &QAction::triggered, this, [this] {
        StatusHints = false;
        TfrmAbout about(this);
        dialogs().ShowModal(about);
        StatusHints = true;
    });

    connect(fretboard(), &FretboardView::markerPressed, this,
            [this](int string, int position, Qt::MouseButton button) {
                if (button == Qt::LeftButton)
                    m_composer->PlaceOrRemoveNote(string, position);
                else
                    m_composer->SetHammerOn(string, position);
                FocusEditor();
            });
    connect(fretboard(), &FretboardView::pegPressed, this, [this] {
        m_composer->PlaceOrRemoveNote(5, 5);
        FocusEditor();
    });
    connect(fretboard(), &FretboardView::markerReleased, this,
            [this] { RichEdit1->viewport()->update(); });

    connect(btnNewChord, &QPushButton::clicked, this, [this] { btnNewChordClick(); });
    connect(btnRest, &QPushButton::clicked, this, [this] { btnRestClick(); });
    connect(btnDup, &QPushButton::clicked, this, [this] { btnDupClick(); });
    connect(btnClear, &QPushButton::clicked, this, [this] { btnClearClick(); });
    connect(btnDelete, &QPushButton::clicked, this, [this] { btnDeleteClick(); });
    connect(btnShiftLeft, &QToolButton::clicked, this, [this] { btnShiftLeftClick(); });
    connect(btnShiftRight, &QToolButton::clicked, this, [this] { btnShiftRightClick(); });
    for (QToolButton* button : durationButtons)
        connect(button, &QToolButton::clicked, this,
                [this, button] { DurationClick(button->property("durationLetter").toString()); });
    // A triplet is never dotted: checking one box clears the other.
    connect(chkDotted, &QCheckBox::clicked, this, [this](bool checked) {
        if (checked)
            chkTriplet->setChecked(false);
        FocusEditor();
    });
    connect(chkTriplet, &QCheckBox::clicked, this, [this](bool checked) {
        if (checked)
            chkDotted->setChecked(false);
        FocusEditor();
    });
    edtName->installEventFilter(this);

    connect(playOptionGroup, &QButtonGroup::idClicked, this, [this](int option) {
        chkLoop->setVisible(option != 3);
        chkTrace->setVisible(option != 3);
        FocusEditor();
    });
    connect(chkLoop, &QCheckBox::clicked, this, [this] { FocusEditor(); });
    connect(scrlTempo, &QScrollBar::valueChanged, this, [this](int value) {
        m_document->setTempo(value);
        lblTempo->setText(QString::number(value));
        spnTempo->setValue(value); // a typed tempo moves the bar, which does the rest
        m_document->setModified(true);
    });
    connect(spnTempo, &QSpinBox::valueChanged, scrlTempo, &QScrollBar::setValue);
    // Play reacts when a mouse button goes down on it; the keyboard reaches it as a click.
    btnPlay->installEventFilter(this);
    connect(btnPlay, &QPushButton::clicked, this, [this] { m_play->PlayButtonPressed(); });
    connect(btnNext, &QToolButton::clicked, this, [this] { m_play->StepForward(); });
    connect(btnPrev, &QToolButton::clicked, this, [this] { m_play->StepBack(); });
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, [this] {
        if (IsPlaying())
            m_play->PlayButtonPressed();
    });

    RichEdit1->installEventFilter(this);
    RichEdit1->viewport()->installEventFilter(this);
    connect(RichEdit1, &QPlainTextEdit::cursorPositionChanged, this,
            [this] { RichEdit1SelectionChange(); });
    // A menu's Cut, Delete or Paste may take the line in error away: its error goes with it.
    connect(RichEdit1, &QPlainTextEdit::textChanged, this, [this] {
        QTimer::singleShot(0, this, [this] {
            if (statusPanel(0).contains(QLatin1String("***Error***")))
                RichEdit1Refresh();
        });
    });
    connect(RichEdit1, &QPlainTextEdit::selectionChanged, this,
            [this] { RichEdit1SelectionChange(); });
    if (auto* edit = qobject_cast<ChordTextEdit*>(RichEdit1))
        connect(edit, &ChordTextEdit::pasteRefused, this,
                [this](const QString& reason) { ShowError(reason); });
}

namespace {
// The menu shortcuts win over the editor's own handling of the same keys (Ctrl+A saves as).
bool IsMenuShortcut(const QMenuBar* bar, const QKeyEvent* key) {
    const QKeySequence pressed(key->keyCombination());
    const auto actions = bar->findChildren<QAction*>();
    return std::any_of(actions.begin(), actions.end(), [&](const QAction* action) {
        const auto keys = action->shortcuts();
        return action->isEnabled() && std::any_of(keys.begin(), keys.end(), [&](const auto& k) {
                   return k.matches(pressed) == QKeySequence::ExactMatch;
               });
    });
}
} // namespace

bool TfrmMain::eventFilter(QObject* watched, QEvent* e) {
    // Every press counts: the second press of a quick pair arrives as a double-click.
    if (watched == btnPlay &&
        (e->type() == QEvent::MouseButtonPress || e->type() == QEvent::MouseButtonDblClick)) {
        m_play->PlayButtonPressed();
        return true;
    }
    if (watched == edtName && e->type() == QEvent::FocusOut) {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(e)->reason();
        const QPointer<QWidget> next = QApplication::focusWidget();
        edtNameExit();
        // Tab and Shift+Tab go on through the controls: sending the focus back to the chord list
        // would keep the keyboard going round between the list and the name box.
        if ((reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason) && next &&
            next != edtName)
            next->setFocus(reason);
    }
    if (watched == RichEdit1) {
        if (e->type() == QEvent::ShortcutOverride &&
            IsMenuShortcut(menuBar(), static_cast<QKeyEvent*>(e)))
            return true; // left unaccepted, so the menu's shortcut fires
        if (e->type() == QEvent::KeyRelease) {
            const auto* key = static_cast<QKeyEvent*>(e);
            if (!key->isAutoRepeat()) // a held key is released once
                RichEdit1KeyUp(key->key());
        }
    }
    if (watched == RichEdit1->viewport() && e->type() == QEvent::MouseButtonPress &&
        static_cast<QMouseEvent*>(e)->button() == Qt::LeftButton) {
        // The refresh follows the caret to where the press puts it.
        QTimer::singleShot(0, this, [this] { RichEdit1Refresh(); });
    }
    return QMainWindow::eventFilter(watched, e);
}

void TfrmMain::dragEnterEvent(QDragEnterEvent* e) {
    if (e->mimeData()->hasUrls())
        e->acceptProposedAction();
}

void TfrmMain::dropEvent(QDropEvent* e) {
    QStringList paths;
    for (const QUrl& url : e->mimeData()->urls())
        if (url.isLocalFile())
            paths << url.toLocalFile();
    e->acceptProposedAction();
    DropFiles(paths);
}

} // namespace fw
