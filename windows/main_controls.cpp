// Building the main window's controls and menus, with their captions, shortcuts and hints.

#include "main_controls.h"
#include "app/main_layout.h"

#include "editor/chord_text_edit.h"
#include "editor/fretboard_view.h"
#include "ui/note_icons.h"

#include <QAction>
#include <QActionGroup>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QResizeEvent>
#include <QScrollBar>
#include <QSpinBox>
#include <QStatusBar>
#include <QToolButton>
#include <QWidgetAction>

namespace fw {

namespace {
// Keeps a panel of fixed size as tall as another that its layout stretches.
class SameHeight : public QObject {
public:
    SameHeight(QWidget* source, QWidget* target) : QObject(target), target_(target) {
        source->installEventFilter(this);
    }
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Resize)
            target_->setFixedHeight(static_cast<QResizeEvent*>(event)->size().height());
        return false;
    }

private:
    QWidget* target_;
};

struct DurationButtonSpec {
    const char* name;
    char letter;
    const char* hint;
};

constexpr std::array<DurationButtonSpec, 7> DurationButtonSpecs = {{
    {"btnWholeNote", 'W', "Whole note duration for chord."},
    {"btnHalfNote", 'H', "Half note duration for chord."},
    {"btnQuarterNote", 'Q', "Quarter note duration for chord."},
    {"btnEighthNote", 'E', "Eighth note duration for chord."},
    {"btnSixteenthNote", 'S', "Sixteenth note duration for chord."},
    {"btnThirtySecondNote", 'T', "Thirty-second note duration for chord."},
    {"btnSixtyFourthNote", 'F', "Sixty-fourth note duration for chord."},
}};

// Hints show in the status bar and, for the mouse user, as tool tips.
template <typename W> W* Hinted(W* widget, const QString& name, const QString& hint) {
    widget->setObjectName(name);
    if (!hint.isEmpty()) {
        widget->setStatusTip(hint);
        widget->setToolTip(hint);
    }
    return widget;
}

QAction* MenuItem(QMenu* menu, const QString& name, const QString& caption,
                  const QKeySequence& shortcut = {}, const QString& hint = {}) {
    QAction* action = menu->addAction(caption);
    action->setObjectName(name);
    if (!shortcut.isEmpty())
        action->setShortcut(shortcut);
    action->setStatusTip(hint);
    return action;
}

} // namespace

void MainControls::setupUi(QMainWindow* window, bool hasFilePlayer, QTextDocument* text) {
    BuildControls(window, text);
    BuildMenus(window, hasFilePlayer);
}

void MainControls::BuildControls(QMainWindow* window, QTextDocument* text) {
    client = new QWidget(window);
    client->setObjectName(QStringLiteral("client"));
    window->setCentralWidget(client);

    fretboard = new FretboardView(client);
    fretboard->setObjectName(QStringLiteral("fretboard"));
    fretboard->move(0, 0);

    btnNewChord =
        Hinted(new QPushButton(QMainWindow::tr("New Chord"), client), QStringLiteral("btnNewChord"),
               QMainWindow::tr("Finish with the current chord and start a new one."));
    btnNewChord->setIcon(window->style()->standardIcon(QStyle::SP_FileDialogNewFolder));

    lblFilename = new QLabel(client);
    lblFilename->setTextFormat(Qt::PlainText);
    lblFilename->setObjectName(QStringLiteral("lblFilename"));
    lblFilename->hide();

    RichEdit1 = new ChordTextEdit(client);
    RichEdit1->setObjectName(QStringLiteral("RichEdit1"));
    // The song's own document, laid out as the plain-text editor lays out its lines.
    text->setDocumentLayout(new QPlainTextDocumentLayout(text));
    RichEdit1->setDocument(text);
    RichEdit1->setLineWrapMode(QPlainTextEdit::NoWrap);
    RichEdit1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    RichEdit1->setContextMenuPolicy(Qt::CustomContextMenu);
    // Tab moves on to the controls, as in any form; a tab typed into a chord line would be
    // read as a space anyway.
    RichEdit1->setTabChangesFocus(true);
    QFont mono = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    mono.setPointSize(std::max(mono.pointSize(), 11));
    RichEdit1->setFont(mono);

    // The edit group on the left.
    grpEditControls = new QGroupBox(QMainWindow::tr("Edit"), client);
    grpEditControls->setObjectName(QStringLiteral("grpEditControls"));
    grpEditControls->resize(176, 324);
    edtName = Hinted(new QLineEdit(grpEditControls), QStringLiteral("edtName"),
                     QMainWindow::tr("Edit chord name for current line."));
    edtName->setGeometry(10, 26, 156, 26);
    edtName->setPlaceholderText(QMainWindow::tr("Chord name"));
    btnShiftLeft = Hinted(new QToolButton(grpEditControls), QStringLiteral("btnShiftLeft"),
                          QMainWindow::tr("Transpose down - shift all notes down one fret."));
    btnShiftRight = Hinted(new QToolButton(grpEditControls), QStringLiteral("btnShiftRight"),
                           QMainWindow::tr("Transpose up - shift all notes up one fret."));
    const QColor ink = window->palette().color(QPalette::ButtonText);
    btnShiftLeft->setIcon(ArrowIcon(false, ink));
    btnShiftRight->setIcon(ArrowIcon(true, ink));
    btnShiftLeft->setGeometry(10, 58, 76, 28);
    btnShiftRight->setGeometry(90, 58, 76, 28);
    btnRest = Hinted(new QPushButton(QMainWindow::tr("Rest"), grpEditControls),
                     QStringLiteral("btnRest"), QMainWindow::tr("Insert a rest in the editor."));
    btnDup = Hinted(new QPushButton(QMainWindow::tr("Duplicate"), grpEditControls),
                    QStringLiteral("btnDup"), QMainWindow::tr("Duplicate the current chord."));
    btnClear =
        Hinted(new QPushButton(QMainWindow::tr("Clear"), grpEditControls),
               QStringLiteral("btnClear"), QMainWindow::tr("Clear all notes from current chord."));
    btnDelete = Hinted(new QPushButton(QMainWindow::tr("Delete"), grpEditControls),
                       QStringLiteral("btnDelete"), QMainWindow::tr("Delete the current chord."));
    btnRest->setGeometry(10, 92, 76, 28);
    btnDup->setGeometry(90, 92, 76, 28);
    btnClear->setGeometry(10, 124, 76, 28);
    btnDelete->setGeometry(90, 124, 76, 28);

    auto* durationLabel = new QLabel(QMainWindow::tr("Duration"), grpEditControls);
    durationLabel->setGeometry(10, 158, 156, 18);
    for (std::size_t i = 0; i < DurationButtonSpecs.size(); ++i) {
        const auto& spec = DurationButtonSpecs[i];
        auto* button = Hinted(new QToolButton(grpEditControls), QString::fromLatin1(spec.name),
                              QMainWindow::tr(spec.hint));
        button->setIcon(NoteValueIcon(QLatin1Char(spec.letter), ink));
        button->setIconSize(QSize(26, 26));
        button->setProperty("durationLetter", QString(QLatin1Char(spec.letter)));
        const int col = static_cast<int>(i % 4);
        const int row = static_cast<int>(i / 4);
        button->setGeometry(10 + col * 39, 178 + row * 38, 36, 35);
        durationButtons[i] = button;
    }
    chkDotted = Hinted(
        new QCheckBox(QMainWindow::tr("Dotted"), grpEditControls), QStringLiteral("chkDotted"),
        QMainWindow::tr("Note duration values are increased by 1/2 while this is checked."));
    chkDotted->setGeometry(10, 252, 76, 22);
    chkTriplet = Hinted(new QCheckBox(QMainWindow::tr("Triplet"), grpEditControls),
                        QStringLiteral("chkTriplet"),
                        QMainWindow::tr("Note durations are triplets (three in the time of two) "
                                        "while this is checked."));
    chkTriplet->setGeometry(88, 252, 78, 22);
    cboDictionary = new DictionaryComboBox(grpEditControls);
    cboDictionary->setObjectName(QStringLiteral("cboDictionary"));
    cboDictionary->setGeometry(10, 292, 156, 26);

    // The play group on the right.
    grpPlayControls = new QGroupBox(QMainWindow::tr("Play"), client);
    grpPlayControls->setObjectName(QStringLiteral("grpPlayControls"));
    grpPlayControls->resize(196, 244);
    rdoPlayOptions = Hinted(new QGroupBox(grpPlayControls), QStringLiteral("rdoPlayOptions"),
                            QMainWindow::tr("Settings for play button."));
    rdoPlayOptions->setFlat(true);
    rdoPlayOptions->setGeometry(8, 22, 180, 110);
    playOptionGroup = new QButtonGroup(window);
    const QStringList options = {QMainWindow::tr("All"), QMainWindow::tr("From cursor"),
                                 QMainWindow::tr("Highlighted"), QMainWindow::tr("Current line")};
    for (int i = 0; i < options.size(); ++i) {
        auto* radio = new QRadioButton(options[i], rdoPlayOptions);
        radio->setObjectName(QStringLiteral("rdoPlayOption%1").arg(i));
        radio->setStatusTip(rdoPlayOptions->statusTip());
        radio->setGeometry(4, 2 + i * 26, 170, 24);
        playOptionGroup->addButton(radio, i);
    }
    chkLoop = Hinted(new QCheckBox(QMainWindow::tr("Loop"), grpPlayControls),
                     QStringLiteral("chkLoop"), QMainWindow::tr("Play continuously."));
    chkTrace =
        Hinted(new QCheckBox(QMainWindow::tr("Debug"), grpPlayControls), QStringLiteral("chkTrace"),
               QMainWindow::tr("Display line while playing.  (Affects playback speed.)"));
    chkLoop->setGeometry(12, 136, 80, 24);
    chkTrace->setGeometry(100, 136, 90, 24);
    const QString tempoHint = QMainWindow::tr("Tempo: quarter notes per minute.");
    scrlTempo = Hinted(new QScrollBar(Qt::Horizontal, grpPlayControls), QStringLiteral("scrlTempo"),
                       tempoHint);
    scrlTempo->setGeometry(12, 170, 116, 20);
    scrlTempo->setPageStep(10);
    // Reached with Tab and set with the arrow keys, Right (and the wheel turned up) for faster,
    // as the labels under it read; a click leaves the focus where it was.
    scrlTempo->setFocusPolicy(Qt::TabFocus);
    scrlTempo->setInvertedControls(false);
    lblSlower = Hinted(new QLabel(QMainWindow::tr("Slower"), grpPlayControls),
                       QStringLiteral("lblSlower"), tempoHint);
    lblFaster = Hinted(new QLabel(QMainWindow::tr("Faster"), grpPlayControls),
                       QStringLiteral("lblFaster"), tempoHint);
    lblTempo = Hinted(new QLabel(grpPlayControls), QStringLiteral("lblTempo"), tempoHint);
    lblSlower->setGeometry(12, 192, 56, 20);
    lblFaster->setGeometry(72, 192, 56, 20);
    lblFaster->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    lblTempo->setGeometry(134, 192, 52, 20);
    lblTempo->setAlignment(Qt::AlignCenter);
    lblTempo->hide();
    // A tempo can be typed; it takes effect on Enter or when the focus leaves the box, not at
    // each digit (typing 90 would play at 9 on the way).
    spnTempo = Hinted(new QSpinBox(grpPlayControls), QStringLiteral("spnTempo"), tempoHint);
    spnTempo->setRange(1, 500);
    spnTempo->setValue(120);
    spnTempo->setKeyboardTracking(false);
    spnTempo->setAccelerated(true);
    spnTempo->setGeometry(134, 167, 54, 26);
    QFont tempoFont = spnTempo->font();
    tempoFont.setBold(true);
    spnTempo->setFont(tempoFont);
    lblTempo->setFont(tempoFont);

    BuildPracticeControls(window);

    pnlPlayButtons = new QWidget(client);
    pnlPlayButtons->setObjectName(QStringLiteral("pnlPlayButtons"));
    pnlPlayButtons->resize(196, 48);
    btnPrev = Hinted(new QToolButton(pnlPlayButtons), QStringLiteral("btnPrev"),
                     QMainWindow::tr("Step play backward."));
    btnPlay = Hinted(new QPushButton(QMainWindow::tr("Play"), pnlPlayButtons),
                     QStringLiteral("btnPlay"), QMainWindow::tr("Play chords."));
    btnNext = Hinted(new QToolButton(pnlPlayButtons), QStringLiteral("btnNext"),
                     QMainWindow::tr("Step play forward."));
    btnPrev->setIcon(window->style()->standardIcon(QStyle::SP_MediaSkipBackward));
    btnNext->setIcon(window->style()->standardIcon(QStyle::SP_MediaSkipForward));
    btnPlay->setIcon(window->style()->standardIcon(QStyle::SP_MediaPlay));
    btnPrev->setGeometry(0, 4, 44, 40);
    btnPlay->setGeometry(50, 4, 96, 40);
    btnNext->setGeometry(152, 4, 44, 40);
    QFont playFont = btnPlay->font();
    playFont.setBold(true);
    btnPlay->setFont(playFont);

    // The status bar: hints and errors, the tuning, the line number. Panel 0 takes the spare
    // width (a long error is cut at its edge, never widening the window; the whole text is its
    // tool tip), the tuning and the line number keep their widths. All three show
    // plain text: a chord name or an error about one is never read as markup.
    QStatusBar* bar = window->statusBar();
    bar->setObjectName(QStringLiteral("StatusBar1"));
    bar->setSizeGripEnabled(true);
    for (int i = 0; i < 3; ++i) {
        auto* panel = new QLabel(bar);
        panel->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
        panel->setTextFormat(Qt::PlainText);
        panel->setFrameShape(QFrame::StyledPanel);
        panel->setFrameShadow(QFrame::Sunken);
        panel->setContentsMargins(4, 0, 4, 0);
        bar->addWidget(panel, i == 0 ? 1 : 0);
        statusPanels[i] = panel;
    }
    statusPanels[0]->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    statusPanels[0]->setMinimumWidth(120);
    statusPanels[1]->setFixedWidth(195);
    // "Line N" changes with every chord a play follows: a panel of fixed size never has the
    // status bar lay itself out again. It is as wide as the last line of the longest list and
    // as tall as the tuning panel beside it, which the bar stretches.
    const int lineDigits =
        statusPanels[2]->fontMetrics().horizontalAdvance(QMainWindow::tr("Line 0000000"));
    statusPanels[1]->setText(QMainWindow::tr("Tuning (E A D G B E)"));
    statusPanels[2]->setText(QMainWindow::tr("Line WWW"));
    statusPanels[2]->setFixedSize(lineDigits + 8 + 2 * statusPanels[2]->frameWidth(),
                                  statusPanels[2]->sizeHint().height());
    new SameHeight(statusPanels[1], statusPanels[2]);
}

void MainControls::BuildPracticeControls(QMainWindow* window) {
    btnPractice = Hinted(new QToolButton(grpPlayControls), QStringLiteral("btnPractice"),
                         QMainWindow::tr("Count-in, metronome and speed trainer."));
    btnPractice->setText(QMainWindow::tr("P&ractice"));
    btnPractice->setPopupMode(QToolButton::InstantPopup);
    btnPractice->setGeometry(12, 212, 84, 24);
    auto* menu = new QMenu(btnPractice);
    menu->setObjectName(QStringLiteral("mnuPractice"));
    auto* countIn = new QActionGroup(window);
    const QStringList countInTexts = {QMainWindow::tr("No count-in"),
                                      QMainWindow::tr("Count-in: 1 measure"),
                                      QMainWindow::tr("Count-in: 2 measures")};
    for (int i = 0; i < 3; ++i) {
        actCountIn[static_cast<std::size_t>(i)] = menu->addAction(countInTexts[i]);
        actCountIn[static_cast<std::size_t>(i)]->setCheckable(true);
        actCountIn[static_cast<std::size_t>(i)]->setObjectName(
            QStringLiteral("actCountIn%1").arg(i));
        countIn->addAction(actCountIn[static_cast<std::size_t>(i)]);
    }
    menu->addSeparator();
    actMetronome = menu->addAction(QMainWindow::tr("&Metronome"));
    actMetronome->setObjectName(QStringLiteral("actMetronome"));
    actMetronome->setCheckable(true);
    menu->addSeparator();
    actTrainer = menu->addAction(QMainWindow::tr("Speed &trainer (with Loop)"));
    actTrainer->setObjectName(QStringLiteral("actTrainer"));
    actTrainer->setCheckable(true);
    auto* speeds = new QWidget(menu);
    auto* form = new QFormLayout(speeds);
    form->setContentsMargins(24, 2, 8, 4);
    const auto percent = [speeds](const char* name, int low, int high) {
        auto* box = new QSpinBox(speeds);
        box->setObjectName(QString::fromLatin1(name));
        box->setRange(low, high);
        box->setSuffix(QStringLiteral("%"));
        return box;
    };
    spnTrainerStart = percent("spnTrainerStart", 10, 200);
    spnTrainerStep = percent("spnTrainerStep", 0, 50);
    spnTrainerTarget = percent("spnTrainerTarget", 10, 200);
    form->addRow(QMainWindow::tr("Start at"), spnTrainerStart);
    form->addRow(QMainWindow::tr("Add each pass"), spnTrainerStep);
    form->addRow(QMainWindow::tr("Up to"), spnTrainerTarget);
    auto* speedsAction = new QWidgetAction(menu);
    speedsAction->setDefaultWidget(speeds);
    menu->addAction(speedsAction);
    btnPractice->setMenu(menu);

    lblTrainerTempo = Hinted(new QLabel(grpPlayControls), QStringLiteral("lblTrainerTempo"),
                             QMainWindow::tr("The speed trainer's tempo now."));
    lblTrainerTempo->setGeometry(100, 212, 84, 24);
    lblTrainerTempo->setAlignment(Qt::AlignCenter);
    lblTrainerTempo->setTextFormat(Qt::PlainText);
}

void MainControls::BuildMenus(QMainWindow* window, bool hasFilePlayer) {
    QMenuBar* bar = window->menuBar();

    mnuFile = bar->addMenu(QMainWindow::tr("&File"));
    mnuFile->setObjectName(QStringLiteral("File1"));
    New1 = MenuItem(mnuFile, QStringLiteral("New1"), QMainWindow::tr("&New"),
                    QKeySequence(QMainWindow::tr("Ctrl+N")),
                    QMainWindow::tr("Start a new chord list."));
    Open1 = MenuItem(mnuFile, QStringLiteral("Open1"), QMainWindow::tr("&Open..."),
                     QKeySequence(QMainWindow::tr("Ctrl+O")), QMainWindow::tr("Open a song file."));
    ImportAsciiTab1 = MenuItem(mnuFile, QStringLiteral("ImportAsciiTab1"),
                               QMainWindow::tr("&Import ASCII Tablature..."), {},
                               QMainWindow::tr("Open a banjo tablature text file as a new song."));
    Save1 = MenuItem(mnuFile, QStringLiteral("Save1"), QMainWindow::tr("&Save..."),
                     QKeySequence(QMainWindow::tr("Ctrl+S")), QMainWindow::tr("Save the song."));
    SaveAs1 = MenuItem(mnuFile, QStringLiteral("SaveAs1"), QMainWindow::tr("Save &As..."),
                       QKeySequence(QMainWindow::tr("Ctrl+A")),
                       QMainWindow::tr("Save the song under a new name."));
    // The desktop's usual keys as aliases; Ctrl+A stays Save As, as it always was.
    SaveAs1->setShortcuts(
        {QKeySequence(QMainWindow::tr("Ctrl+A")), QKeySequence(QMainWindow::tr("Ctrl+Shift+S"))});
    mnuFile->addSeparator();
    Print1 = MenuItem(mnuFile, QStringLiteral("Print1"), QMainWindow::tr("&Print..."), {},
                      QMainWindow::tr("Print the chord list."));
    mnuFile->addSeparator();
    Options1 = MenuItem(mnuFile, QStringLiteral("Options1"), QMainWindow::tr("S&ettings..."), {},
                        QMainWindow::tr("Change the program's settings."));
    mnuFile->addSeparator();
    Exit1 = MenuItem(mnuFile, QStringLiteral("Exit1"), QMainWindow::tr("E&xit"),
                     QKeySequence(QMainWindow::tr("Ctrl+Q")), QMainWindow::tr("Quit Fretwick."));
    FilenameSep = mnuFile->addSeparator();
    FilenameSep->setObjectName(QStringLiteral("FilenameSep"));
    for (int i = 0; i < 3; ++i)
        mnuFilename[i] = MenuItem(mnuFile, QStringLiteral("mnuFilename%1").arg(i), QString());

    mnuEdit = bar->addMenu(QMainWindow::tr("&Edit"));
    mnuEdit->setObjectName(QStringLiteral("Edit1"));
    Undo1 = MenuItem(mnuEdit, QStringLiteral("Undo1"), QMainWindow::tr("&Undo"),
                     QKeySequence(QMainWindow::tr("Ctrl+Z")),
                     QMainWindow::tr("Undo most recent edit."));
    Redo1 = MenuItem(mnuEdit, QStringLiteral("Redo1"), QMainWindow::tr("&Redo"),
                     QKeySequence(QMainWindow::tr("Ctrl+Y")),
                     QMainWindow::tr("Redo the edit last undone."));
    Redo1->setShortcuts(
        {QKeySequence(QMainWindow::tr("Ctrl+Y")), QKeySequence(QMainWindow::tr("Ctrl+Shift+Z"))});
    mnuEdit->addSeparator();
    Cut1 = MenuItem(mnuEdit, QStringLiteral("Cut1"), QMainWindow::tr("Cu&t"),
                    QKeySequence(QMainWindow::tr("Ctrl+X")),
                    QMainWindow::tr("Remove selected text to Clipboard."));
    Copy1 = MenuItem(mnuEdit, QStringLiteral("Copy1"), QMainWindow::tr("&Copy"),
                     QKeySequence(QMainWindow::tr("Ctrl+C")),
                     QMainWindow::tr("Copy selected text to Clipboard."));
    Paste1 = MenuItem(mnuEdit, QStringLiteral("Paste1"), QMainWindow::tr("&Paste"),
                      QKeySequence(QMainWindow::tr("Ctrl+V")),
                      QMainWindow::tr("Paste text from Clipboard."));
    PasteTablature1 =
        MenuItem(mnuEdit, QStringLiteral("PasteTablature1"), QMainWindow::tr("Paste Ta&blature"),
                 QKeySequence(QMainWindow::tr("Ctrl+Shift+V")),
                 QMainWindow::tr("Paste banjo tablature from Clipboard as chord lines."));
    Delete1 = MenuItem(mnuEdit, QStringLiteral("Delete1"), QMainWindow::tr("&Delete"),
                       QKeySequence(QMainWindow::tr("Ctrl+Del")),
                       QMainWindow::tr("Delete selected text without writing to Clipboard."));
    SelectAll1 = MenuItem(mnuEdit, QStringLiteral("SelectAll1"), QMainWindow::tr("Select &All"), {},
                          QMainWindow::tr("Select all lines in chord list."));
    mnuEdit->addSeparator();
    Find1 = MenuItem(mnuEdit, QStringLiteral("Find1"), QMainWindow::tr("&Find..."),
                     QKeySequence(QMainWindow::tr("Ctrl+F")),
                     QMainWindow::tr("Find text in the chord list."));
    FindNext1 = MenuItem(mnuEdit, QStringLiteral("FindNext1"), QMainWindow::tr("Find &Next"),
                         QKeySequence(Qt::Key_F3), QMainWindow::tr("Find the text again."));

    mnuSpecial = bar->addMenu(QMainWindow::tr("&Special"));
    mnuSpecial->setObjectName(QStringLiteral("Special1"));
    Tab1 = MenuItem(mnuSpecial, QStringLiteral("Tab1"), QMainWindow::tr("&Tablature..."),
                    QKeySequence(Qt::Key_F4), QMainWindow::tr("Show tablature window."));
    ASCIItab1 =
        MenuItem(mnuSpecial, QStringLiteral("ASCIItab1"), QMainWindow::tr("&ASCII Tablature..."),
                 QKeySequence(Qt::Key_F5), QMainWindow::tr("Show ASCII tablature window."));
    SaveAsMidiFile1 =
        MenuItem(mnuSpecial, QStringLiteral("SaveAsMidiFile1"), QMainWindow::tr("&Midi File..."),
                 QKeySequence(Qt::Key_F6), QMainWindow::tr("Create a MIDI file."));
    SaveAsMusicXmlFile1 = MenuItem(mnuSpecial, QStringLiteral("SaveAsMusicXmlFile1"),
                                   QMainWindow::tr("Music&XML File..."), QKeySequence(Qt::Key_F7),
                                   QMainWindow::tr("Create a MusicXML file with banjo tablature."));
    MidiPlayer1 =
        MenuItem(mnuSpecial, QStringLiteral("MidiPlayer1"), QMainWindow::tr("M&idi Player..."), {},
                 QMainWindow::tr("Play any midi file"));

    mnuPlay = bar->addMenu(QMainWindow::tr("&Play"));
    mnuPlay->setObjectName(QStringLiteral("Play1"));
    Start1 = MenuItem(mnuPlay, QStringLiteral("Start1"), QMainWindow::tr("&Start"),
                      QKeySequence(Qt::Key_F2), QMainWindow::tr("Start playing."));
    Stop1 = MenuItem(mnuPlay, QStringLiteral("Stop1"), QMainWindow::tr("&Stop"),
                     QKeySequence(Qt::Key_F2), QMainWindow::tr("Stop Playing."));
    Stop1->setVisible(false);

    mnuInstrument = bar->addMenu(QMainWindow::tr("&Instrument"));
    mnuInstrument->setObjectName(QStringLiteral("Instrument1"));
    instrumentGroup = new QActionGroup(window);
    AcousticNylonStringGuitar1 =
        MenuItem(mnuInstrument, QStringLiteral("AcousticNylonStringGuitar1"),
                 QMainWindow::tr("&Banjo"), {}, QMainWindow::tr("Play with the banjo sound."));
    AcousticNylonStringGuitar1->setData(106);
    MIDIPatch1 = MenuItem(mnuInstrument, QStringLiteral("MIDIPatch1"), QString(), {},
                          QMainWindow::tr("Play with the instrument chosen in the settings."));
    for (QAction* item : {AcousticNylonStringGuitar1, MIDIPatch1}) {
        item->setCheckable(true);
        instrumentGroup->addAction(item);
    }

    mnuTuning = bar->addMenu(QMainWindow::tr("&Tuning"));
    mnuTuning->setObjectName(QStringLiteral("Tuning1"));
    tuningGroup = new QActionGroup(window);
    const std::array<const char*, 7> tuningNames = {
        "GTuning1", "CTuning1", "GMinorTuning1", "DTuning1", "GModalTuning1", "N8", "Usertuning1"};
    for (std::size_t i = 0; i < tuningNames.size(); ++i) {
        if (i == 5) {
            tuningItems[i] = mnuTuning->addSeparator();
            tuningItems[i]->setObjectName(QString::fromLatin1(tuningNames[i]));
            continue;
        }
        QAction* item = MenuItem(mnuTuning, QString::fromLatin1(tuningNames[i]), QString(), {},
                                 QMainWindow::tr("Choose the tuning the chords sound in."));
        item->setCheckable(true);
        tuningGroup->addAction(item);
        tuningItems[i] = item;
    }

    mnuHelp = bar->addMenu(QMainWindow::tr("&Help"));
    mnuHelp->setObjectName(QStringLiteral("Help1"));
    Contents1 = MenuItem(mnuHelp, QStringLiteral("Contents1"), QMainWindow::tr("&Contents"),
                         QKeySequence(Qt::Key_F1), QMainWindow::tr("Show the help contents."));
    Topics1 = MenuItem(mnuHelp, QStringLiteral("Topics1"), QMainWindow::tr("&Topics"), {},
                       QMainWindow::tr("Find a help topic."));
    mnuHelp->addSeparator();
    About1 = MenuItem(mnuHelp, QStringLiteral("About1"), QMainWindow::tr("&About..."), {},
                      QMainWindow::tr("About Fretwick."));

    MidiPlayer1->setEnabled(hasFilePlayer);

    mnuEditorPopUp = new QMenu(window);
    mnuEditorPopUp->setObjectName(QStringLiteral("mnuEditorPopUp"));
    Cut2 = MenuItem(mnuEditorPopUp, QStringLiteral("Cut2"), QMainWindow::tr("Cut"));
    Copy2 = MenuItem(mnuEditorPopUp, QStringLiteral("Copy2"), QMainWindow::tr("Copy"));
    Paste2 = MenuItem(mnuEditorPopUp, QStringLiteral("Paste2"), QMainWindow::tr("Paste"));
}

namespace {
MainLayoutInput LayoutInput(const MainControls& ui, int windowHeight) {
    MainLayoutInput in;
    in.client = ui.client->size();
    in.windowHeight = windowHeight;
    in.editGroup = ui.grpEditControls->size();
    in.playGroup = ui.grpPlayControls->size();
    in.playButtons = ui.pnlPlayButtons->size();
    in.newChordHeight = 40;
    return in;
}
} // namespace

void MainControls::layOutControls(int windowHeight) {
    const MainLayout layout = LayOutMainWindow(LayoutInput(*this, windowHeight));
    fretboard->setGeometry(layout.neck);
    btnNewChord->setGeometry(layout.newChord);
    grpEditControls->move(layout.editGroup.topLeft());
    RichEdit1->setGeometry(layout.editor);
    grpPlayControls->move(layout.playGroup.topLeft());
    pnlPlayButtons->move(layout.playButtons.topLeft());
}

int MainControls::minimumClientHeight() const {
    return MinimumClientHeight(LayoutInput(*this, 0));
}

} // namespace fw
