// The Settings dialog's seven pages: their controls, captions and explanations, laid out so that
// every text fits at the default font.

#include "frm_options.h"

#include "chords/patch_names.h"
#include "chords/tuning.h"
#include "editor/fretboard_geometry.h"
#include "editor/neck_picture.h"

#include <QBoxLayout>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>

#include <algorithm>

namespace fw {

namespace {

constexpr int PageWidth = 500; // the width explanations wrap at

QVBoxLayout* PageLayout(QWidget* page) {
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(16, 14, 16, 12);
    layout->setSpacing(6);
    return layout;
}

QGroupBox* Group(const QString& name, const QString& title, QWidget* parent) {
    auto* group = new QGroupBox(title, parent);
    group->setObjectName(name);
    return group;
}

// The part of the neck picture the sample markers sit on: the nut and the first four frets.
class SampleNeck : public QWidget {
public:
    explicit SampleNeck(QWidget* parent) : QWidget(parent) {
        setFixedSize(Width, PictureRect.height());
    }
    static constexpr int Width = 230;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setClipRect(rect());
        PaintNeckPicture(painter);
    }
};

} // namespace

QLabel* TfrmOptions::Explanation(const QString& text) {
    auto* label = new QLabel(text, this);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    label->setForegroundRole(QPalette::PlaceholderText);
    return label;
}

QCheckBox* TfrmOptions::Check(const QString& name, const QString& caption) {
    auto* box = new QCheckBox(caption, this);
    box->setObjectName(name);
    QFont font = box->font();
    font.setBold(true);
    box->setFont(font);
    return box;
}

namespace {
// A setting and the sentence that explains it, the sentence indented under the control.
void AddExplained(QVBoxLayout* layout, QWidget* control, QLabel* explanation) {
    layout->addWidget(control);
    auto* row = new QHBoxLayout;
    row->addSpacing(26);
    row->addWidget(explanation);
    layout->addLayout(row);
    layout->addSpacing(6);
}
} // namespace

void TfrmOptions::FormCreate() {
    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    PageControl1->addTab(BuildGeneralPage(), QStringLiteral("General"));
    PageControl1->addTab(BuildMarkersPage(), QStringLiteral("Markers"));
    PageControl1->addTab(BuildTablaturePage(), QStringLiteral("Tablature"));
    PageControl1->addTab(BuildMidiPage(), QStringLiteral("MIDI"));
    PageControl1->addTab(BuildSoundPage(), QStringLiteral("Sound"));
    PageControl1->addTab(BuildDictionaryPage(), QStringLiteral("Chord Dictionary"));
    PageControl1->addTab(BuildInstrumentPage(), QStringLiteral("Instrument and Tuning"));
    PageControl1->setCurrentIndex(0);
    // Every tab caption in full: no scroll arrows, and pages at least as wide as the tab row.
    PageControl1->tabBar()->setUsesScrollButtons(false);
    PageControl1->tabBar()->setExpanding(false);
    const int width = std::max(PageWidth + 32, PageControl1->tabBar()->sizeHint().width() + 4);
    for (int i = 0; i < PageControl1->count(); ++i)
        PageControl1->widget(i)->setFixedWidth(width);

    btnOK = MakeButton(QStringLiteral("btnOK"), QStringLiteral("OK"), true);
    btnCancel = MakeButton(QStringLiteral("btnCancel"), QStringLiteral("Cancel"));
    connect(btnOK, &QPushButton::clicked, this, [this] { btnOKClick(); });
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnOK);
    buttons->addWidget(btnCancel);
    auto* main = new QVBoxLayout;
    main->addWidget(PageControl1);
    main->addLayout(buttons);
    SetFixedLayout(main);
    layout()->setContentsMargins(12, 12, 12, 12);
}

QWidget* TfrmOptions::BuildGeneralPage() {
    auto* page = new QWidget(this);
    page->setObjectName(QStringLiteral("tabGeneral"));
    QVBoxLayout* layout = PageLayout(page);
    chkSavePrompts =
        Check(QStringLiteral("chkSavePrompts"), QStringLiteral("Warning: \"Save changes to...\" "));
    chkCursorPlays =
        Check(QStringLiteral("chkCursorPlays"), QStringLiteral("Cursor up/down plays chords"));
    chkShowChordName = Check(QStringLiteral("chkShowChordName"), QStringLiteral("Show chord name"));
    chkShowFretNumbers =
        Check(QStringLiteral("chkShowFretNumbers"), QStringLiteral("Show fret numbers"));
    chkAssociateFiles =
        Check(QStringLiteral("chkAssociateFiles"), QStringLiteral("Associate files"));
    chkOpenLastSong =
        Check(QStringLiteral("chkOpenLastSong"), QStringLiteral("Open the last song at start"));
    AddExplained(layout, chkSavePrompts,
                 Explanation(QStringLiteral("Displays message prompts to warn you before you "
                                            "proceed with an operation that will cause you to "
                                            "lose your work.")));
    AddExplained(layout, chkCursorPlays,
                 Explanation(QStringLiteral("Chords are played when up and down keys are used.")));
    AddExplained(
        layout, chkShowChordName,
        Explanation(QStringLiteral("Display the current chord name above the banjo neck. ")));
    AddExplained(layout, chkShowFretNumbers,
                 Explanation(QStringLiteral("Display fret numbers below banjo neck.")));
    AddExplained(layout, chkAssociateFiles,
                 Explanation(QStringLiteral("Open .fwk files with Fretwick when you double-click "
                                            "them in the file manager.")));
    AddExplained(layout, chkOpenLastSong,
                 Explanation(QStringLiteral("When Fretwick starts without a song to open, it "
                                            "opens the song you worked on last.")));
    layout->addStretch();
    return page;
}

QWidget* TfrmOptions::BuildMarkersPage() {
    auto* page = new QWidget(this);
    page->setObjectName(QStringLiteral("tabMarkers"));
    QVBoxLayout* layout = PageLayout(page);
    layout->addWidget(Explanation(QStringLiteral(
        "These options allow you to change the color and shape of the chord fingering markers.")));
    layout->addSpacing(4);

    rdoMarkerShape = Group(QStringLiteral("rdoMarkerShape"), QStringLiteral("Marker Shape"), page);
    markerShapeGroup = new QButtonGroup(this);
    auto* shapes = new QVBoxLayout(rdoMarkerShape);
    const QStringList shapeNames = {QStringLiteral("Rectangle"), QStringLiteral("Square"),
                                    QStringLiteral("Ellipse"), QStringLiteral("Circle")};
    for (int i = 0; i < shapeNames.size(); ++i) {
        auto* radio = new QRadioButton(shapeNames[i], rdoMarkerShape);
        radio->setObjectName(QStringLiteral("rdoMarkerShape%1").arg(i));
        markerShapeGroup->addButton(radio, i);
        shapes->addWidget(radio);
    }
    connect(markerShapeGroup, &QButtonGroup::idClicked, this,
            [this](int position) { rdoMarkerShapeClick(position); });

    auto* colorGroup =
        Group(QStringLiteral("grpMarkerColor"), QStringLiteral("Marker Color"), page);
    auto* colorLayout = new QVBoxLayout(colorGroup);
    Button1 = new QPushButton(QStringLiteral("Select..."), colorGroup);
    Button1->setObjectName(QStringLiteral("Button1"));
    connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
    colorLayout->addWidget(Button1);
    colorLayout->addStretch();

    auto* sample = Group(QStringLiteral("grpSample"), QStringLiteral("Sample"), page);
    auto* sampleLayout = new QVBoxLayout(sample);
    auto* neck = new SampleNeck(sample);
    neck->setObjectName(QStringLiteral("imgSampleNeck"));
    // A C chord's three stopped notes, where the fretboard would show them.
    const std::array<std::pair<int, int>, 3> notes = {{{2, 1}, {4, 2}, {1, 2}}};
    for (std::size_t i = 0; i < notes.size(); ++i) {
        auto* marker = new SampleMarker(neck);
        marker->setObjectName(QStringLiteral("shpSampleMarker%1").arg(i + 1));
        const QRect cell = MarkerRect(notes[i].first, notes[i].second);
        const int height = 11;
        marker->setGeometry(cell.left() - PictureRect.left(),
                            cell.center().y() - height / 2 - PictureRect.top(), cell.width(),
                            height);
        shpSampleMarker[i] = marker;
    }
    auto* caption = Explanation(QStringLiteral("Banjo neck markers"));
    caption->setAlignment(Qt::AlignHCenter);
    sampleLayout->addWidget(neck, 0, Qt::AlignHCenter);
    sampleLayout->addWidget(caption);

    auto* row = new QHBoxLayout;
    row->addWidget(rdoMarkerShape);
    row->addWidget(colorGroup);
    row->addWidget(sample, 1);
    layout->addLayout(row);
    layout->addStretch();
    return page;
}

QWidget* TfrmOptions::BuildTablaturePage() {
    auto* page = new QWidget(this);
    page->setObjectName(QStringLiteral("tabTablature"));
    QVBoxLayout* layout = PageLayout(page);
    chkShowTabPrompt = Check(QStringLiteral("chkShowTabPrompt"),
                             QStringLiteral("Prompt before showing tablature"));
    chkTabFont =
        Check(QStringLiteral("chkTabFont"), QStringLiteral("Use bold font for graphic tab"));
    ChkShowDurations =
        Check(QStringLiteral("ChkShowDurations"), QStringLiteral("Show Note Durations"));
    AddExplained(layout, chkShowTabPrompt,
                 Explanation(QStringLiteral(
                     "Before tablature is shown, a box asks for the titles printed at its top. "
                     "Comment lines beginning \" * Title: \" and \" * Sub: \" in the chord list "
                     "fill them in beforehand.")));
    AddExplained(layout, chkTabFont,
                 Explanation(QStringLiteral("When viewing or printing graphic tablature, show all "
                                            "the tablature numbers in bold font.")));
    AddExplained(layout, ChkShowDurations,
                 Explanation(QStringLiteral(
                     "Show a letter representing the duration beneath each note in the "
                     "tablature.")));

    // The forms beyond the plain tablature; each one's first choice is the plain form.
    auto* forms = new QGroupBox(QStringLiteral("Tablature forms"), page);
    forms->setObjectName(QStringLiteral("grpTabForms"));
    auto* form = new QFormLayout(forms);
    const auto combo = [forms](const char* name, const QStringList& items) {
        auto* box = new QComboBox(forms);
        box->setObjectName(QString::fromLatin1(name));
        box->addItems(items);
        box->setFocusPolicy(Qt::StrongFocus); // no choice changes under a passing wheel
        return box;
    };
    cboTabRhythm = combo("cboTabRhythm", {QStringLiteral("None"), QStringLiteral("Letters"),
                                          QStringLiteral("Stems and beams")});
    cboTabBars = combo("cboTabBars", {QStringLiteral("From blank lines"),
                                      QStringLiteral("From the meter (* Time: 3/4)")});
    cboTabFifthFrets = combo("cboTabFifthFrets", {QStringLiteral("From its own nut (0, 1, 2 ...)"),
                                                  QStringLiteral("As on the neck (0, 6, 7 ...)")});
    cboTabHammerMarks = combo(
        "cboTabHammerMarks", {QStringLiteral("Slash (0/2)"), QStringLiteral("Letters (0h2, 4p2)")});
    chkTabChordNames = new QCheckBox(QStringLiteral("Chord &names above the staff"), forms);
    chkTabChordNames->setObjectName(QStringLiteral("chkTabChordNames"));
    chkTabStringNames =
        new QCheckBox(QStringLiteral("S&tring names at the start of each line"), forms);
    chkTabStringNames->setObjectName(QStringLiteral("chkTabStringNames"));
    form->addRow(QStringLiteral("&Rhythm:"), cboTabRhythm);
    form->addRow(QStringLiteral("&Bars:"), cboTabBars);
    form->addRow(QStringLiteral("&5th string frets:"), cboTabFifthFrets);
    form->addRow(QStringLiteral("&Hammer-on marks:"), cboTabHammerMarks);
    form->addRow(chkTabChordNames);
    form->addRow(chkTabStringNames);
    layout->addWidget(forms);
    // "Show Note Durations" is the rhythm shown at all: the two stay in step.
    connect(ChkShowDurations, &QCheckBox::toggled, this, [this](bool on) {
        if (on && cboTabRhythm->currentIndex() == 0)
            cboTabRhythm->setCurrentIndex(1);
        if (!on)
            cboTabRhythm->setCurrentIndex(0);
    });
    connect(cboTabRhythm, &QComboBox::currentIndexChanged, this,
            [this](int index) { ChkShowDurations->setChecked(index > 0); });
    layout->addStretch();
    return page;
}

QWidget* TfrmOptions::BuildMidiPage() {
    auto* page = new QWidget(this);
    page->setObjectName(QStringLiteral("tabMidi"));
    QVBoxLayout* layout = PageLayout(page);
    chkExternalMIDI = Check(QStringLiteral("chkExternalMIDI"), QStringLiteral("External MIDI"));
    connect(chkExternalMIDI, &QCheckBox::clicked, this, [this] { chkExternalMIDIMouseUp(); });
    AddExplained(layout, chkExternalMIDI,
                 Explanation(QStringLiteral("Check this when using external MIDI devices.")));

    cboChannel = new QComboBox(page);
    cboChannel->setObjectName(QStringLiteral("cboChannel"));
    cboChannel->setMaxVisibleItems(16);
    // A plain row of radio buttons: a frame around them would only repeat the row's label.
    rdoOctave = new QWidget(page);
    rdoOctave->setObjectName(QStringLiteral("rdoOctave"));
    octaveGroup = new QButtonGroup(this);
    auto* octaves = new QHBoxLayout(rdoOctave);
    octaves->setContentsMargins(0, 0, 0, 0);
    const QStringList octaveNames = {QStringLiteral("12 notes lower"),
                                     QStringLiteral("0    (Default)"),
                                     QStringLiteral("12 notes higher")};
    for (int i = 0; i < octaveNames.size(); ++i) {
        auto* radio = new QRadioButton(octaveNames[i], rdoOctave);
        radio->setObjectName(QStringLiteral("rdoOctave%1").arg(i));
        octaveGroup->addButton(radio, i);
        octaves->addWidget(radio);
    }
    octaves->addStretch();
    cboMIDIOutDevice = new QComboBox(page);
    cboMIDIOutDevice->setObjectName(QStringLiteral("cboMIDIOutDevice"));
    cboMIDIOutDevice->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    cboMIDIOutDevice->setMinimumWidth(300);
    connect(cboMIDIOutDevice, &QComboBox::activated, this, [this] { cboMIDIInDeviceChange(); });

    auto* form = new QFormLayout;
    form->setLabelAlignment(Qt::AlignLeft);
    form->setVerticalSpacing(4);
    const auto addRow = [&](const QString& caption, QWidget* field, const QString& text) {
        auto* label = new QLabel(caption, page);
        label->setTextFormat(Qt::PlainText);
        label->setBuddy(field);
        QFont font = label->font();
        font.setBold(true);
        label->setFont(font);
        form->addRow(label, field);
        form->addRow(QString(), Explanation(text));
    };
    addRow(QStringLiteral("Channel"), cboChannel,
           QStringLiteral("Select a channel for MIDI output. (Channel 10 is used for drum "
                          "sounds.)"));
    addRow(QStringLiteral("Octave"), rdoOctave,
           QStringLiteral("Specify whether notes will be played higher or lower than usual."));
    addRow(QStringLiteral("MIDI Out Device"), cboMIDIOutDevice,
           QStringLiteral("Select a driver for your sound card or external MIDI device."));
    form->itemAt(0, QFormLayout::FieldRole)->setAlignment(Qt::AlignLeft);
    layout->addLayout(form);
    layout->addStretch();
    return page;
}

QWidget* TfrmOptions::BuildSoundPage() {
    auto* page = new QWidget(this);
    page->setObjectName(QStringLiteral("tabSound"));
    QVBoxLayout* layout = PageLayout(page);
    chkHammerOnsRing =
        Check(QStringLiteral("chkHammerOnsRing"), QStringLiteral("Hammer-ons ring on"));
    AddExplained(layout, chkHammerOnsRing,
                 Explanation(QStringLiteral(
                     "A hammer-on or pull-off sounds its second note right after the first and "
                     "lets it ring to the end of the chord, as on a banjo. Off: the second note "
                     "is a short grace note. Applies to playing, previews and the MIDI and WAV "
                     "files.")));
    layout->addStretch();
    return page;
}

QWidget* TfrmOptions::BuildDictionaryPage() {
    auto* page = new QWidget(this);
    page->setObjectName(QStringLiteral("tabDictionary"));
    QVBoxLayout* layout = PageLayout(page);
    auto* group =
        Group(QStringLiteral("grpDictionary"), QStringLiteral("Chord Dictionary options"), page);
    auto* inner = new QVBoxLayout(group);
    inner->setSpacing(6);
    chkSortDictionary =
        Check(QStringLiteral("chkSortDictionary"), QStringLiteral("Sort dictionary chords"));
    AddExplained(inner, chkSortDictionary,
                 Explanation(QStringLiteral("Keep chord dictionary arranged in alphabetical "
                                            "order. Chords cannot be unsorted later.")));
    Button2 = new QPushButton(QStringLiteral("Replace chord dictionary"), group);
    Button2->setObjectName(QStringLiteral("Button2"));
    connect(Button2, &QPushButton::clicked, this, [this] { Button2Click(); });
    auto* buttonRow = new QHBoxLayout;
    buttonRow->addWidget(Button2);
    buttonRow->addStretch();
    inner->addLayout(buttonRow);
    auto* replaceText = new QVBoxLayout;
    replaceText->addWidget(Explanation(
        QStringLiteral("Copy all chords in the editor to the Chord Dictionary list box. This "
                       "option can be used to create custom chord dictionaries.")));
    QLabel* note =
        Explanation(QStringLiteral("Note: The Cancel button below will not undo this operation."));
    note->setForegroundRole(QPalette::WindowText);
    QFont font = note->font();
    font.setItalic(true);
    note->setFont(font);
    replaceText->addWidget(note);
    auto* indented = new QHBoxLayout;
    indented->addSpacing(26);
    indented->addLayout(replaceText);
    inner->addLayout(indented);
    layout->addWidget(group);

    auto* names = Group(QStringLiteral("grpChordNames"), QStringLiteral("Chord names"), page);
    auto* namesInner = new QVBoxLayout(names);
    namesInner->setSpacing(6);
    chkNameInversions = Check(QStringLiteral("chkNameInversions"),
                              QStringLiteral("Name inversions (slash chords)"));
    AddExplained(namesInner, chkNameInversions,
                 Explanation(QStringLiteral(
                     "Name Chord from Frets (Ctrl+K) adds the lowest note after a slash when it "
                     "is not the root, as in C/E. Off: the banjo's fourth string is seldom a "
                     "real bass, and C is named C.")));
    layout->addWidget(names);
    layout->addStretch();
    return page;
}

QWidget* TfrmOptions::BuildInstrumentPage() {
    auto* page = new QWidget(this);
    page->setObjectName(QStringLiteral("tabInstrument"));
    QVBoxLayout* layout = PageLayout(page);
    layout->addWidget(Explanation(
        QStringLiteral("The bottom items on the Instrument and Tuning menus are defined here. "
                       "These settings are automatically saved inside song files.")));
    layout->addSpacing(6);

    auto* instrument = Group(QStringLiteral("grpInstrument"), QStringLiteral("Instrument"), page);
    auto* instrumentLayout = new QVBoxLayout(instrument);
    cboPatch = new QComboBox(instrument);
    cboPatch->setObjectName(QStringLiteral("cboPatch"));
    for (const char* name : PatchNames())
        cboPatch->addItem(QString::fromLatin1(name));
    cboPatch->setMaxVisibleItems(20);
    connect(cboPatch, &QComboBox::activated, this, [this] { PatchListChanged = true; });
    auto* patchRow = new QHBoxLayout;
    patchRow->addWidget(cboPatch);
    patchRow->addStretch();
    instrumentLayout->addLayout(patchRow);
    instrumentLayout->addWidget(Explanation(QStringLiteral("Select an alternate instrument.")));
    layout->addWidget(instrument);

    auto* tuning = Group(QStringLiteral("grpTuning"), QStringLiteral("Tuning"), page);
    auto* grid = new QGridLayout;
    for (int s = 5; s >= 1; --s) {
        const int column = 5 - s;
        auto* label = new QLabel(QStringLiteral("String %1").arg(s), tuning);
        label->setTextFormat(Qt::PlainText);
        auto* list = new QComboBox(tuning);
        list->setObjectName(QStringLiteral("cboStr%1").arg(s));
        for (const char* name : DialogStringNames(s))
            list->addItem(QString::fromLatin1(name));
        label->setBuddy(list);
        connect(list, &QComboBox::activated, this, [this] { TuningListsChanged = true; });
        grid->addWidget(label, 0, column);
        grid->addWidget(list, 1, column);
        cboStr[static_cast<std::size_t>(s)] = list;
    }
    auto* tuningLayout = new QVBoxLayout(tuning);
    tuningLayout->addLayout(grid);
    tuningLayout->addWidget(Explanation(QStringLiteral("Set up an alternate tuning.")));
    layout->addWidget(tuning);
    layout->addStretch();
    return page;
}

} // namespace fw
