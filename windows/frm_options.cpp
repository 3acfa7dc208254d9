// The Settings dialog's behaviour: filling the controls at every showing, the handlers of the
// Markers, MIDI and Chord Dictionary pages, and storing everything on OK.

#include "frm_options.h"

#include "app/shell/settings.h"
#include "chords/patch_names.h"
#include "chords/setting_values.h"
#include "chords/text_rules.h"
#include "chords/tuning.h"
#include "editor/fretboard_geometry.h"
#include "ui/dialog_service.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>

namespace fw {

namespace {

constexpr std::array<int, 4> ShapeOfPosition = {0, 1, 4, 5};
constexpr std::array<int, 3> OctaveOfPosition = {-12, 0, 12};

// Checks button `id` of an exclusive group, or none when no button has that id.
void CheckOnly(QButtonGroup* group, int id) {
    if (QAbstractButton* button = group->button(id)) {
        button->setChecked(true);
        return;
    }
    group->setExclusive(false);
    for (QAbstractButton* button : group->buttons())
        button->setChecked(false);
    group->setExclusive(true);
}

// Selects `index` when the list has it, else shows no selection.
void SelectIndex(QComboBox* list, int index) {
    list->setCurrentIndex(index >= 0 && index < list->count() ? index : -1);
}

} // namespace

SampleMarker::SampleMarker(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void SampleMarker::setColor(const QColor& color) {
    color_ = color;
    update();
}

void SampleMarker::setShape(int shape) {
    shape_ = shape;
    update();
}

void SampleMarker::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(color_);
    const QRectF area = MarkerShapeRect(rect(), shape_);
    if (shape_ == ShapeRectangle || shape_ == ShapeSquare)
        painter.drawRect(area);
    else
        painter.drawEllipse(area);
}

int TfrmOptions::ColorValue(const QColor& color) {
    return color.red() | (color.green() << 8) | (color.blue() << 16);
}

QColor TfrmOptions::ValueColor(int value) {
    return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}

TfrmOptions::TfrmOptions(Settings& settings, DialogService& dialogs, OptionsHost host,
                         QWidget* parent)
    : FixedDialog(QStringLiteral("frmOptions"), QStringLiteral("Settings"), parent),
      settings_(settings), dialogs_(dialogs), host_(std::move(host)) {
    FormCreate();
}

void TfrmOptions::showEvent(QShowEvent* event) {
    FormActivate();
    FixedDialog::showEvent(event);
}

void TfrmOptions::FormActivate() {
    chkSavePrompts->setChecked(settings_.Prompts);
    chkTabFont->setChecked(settings_.TabFont);
    ChkShowDurations->setChecked(settings_.ShowTabNoteDurations);
    cboTabRhythm->setCurrentIndex(!settings_.ShowTabNoteDurations ? 0 : settings_.TabStems ? 2 : 1);
    cboTabBars->setCurrentIndex(settings_.TabBarsFromMeter ? 1 : 0);
    cboTabFifthFrets->setCurrentIndex(settings_.TabNeckFrets ? 1 : 0);
    cboTabHammerMarks->setCurrentIndex(settings_.TabHpMarks ? 1 : 0);
    chkTabChordNames->setChecked(settings_.TabChordNames);
    chkTabStringNames->setChecked(settings_.TabStringNames);
    chkAssociateFiles->setChecked(settings_.Associate);
    chkShowTabPrompt->setChecked(settings_.TabPrompt);
    chkSortDictionary->setChecked(settings_.SortDictionary);
    chkCursorPlays->setChecked(settings_.CursorPlays);
    chkNameInversions->setChecked(settings_.NameInversions);
    chkHammerOnsRing->setChecked(settings_.HammerOnsRing);
    chkOpenLastSong->setChecked(settings_.OpenLastSong);
    chkShowChordName->setChecked(settings_.ShowChordName);
    chkShowFretNumbers->setChecked(settings_.ShowFretNumbers);

    shapeValue = settings_.MarkerShape;
    CheckOnly(markerShapeGroup, shapeValue > 1 ? shapeValue - 2 : shapeValue);
    for (SampleMarker* marker : shpSampleMarker) {
        marker->setColor(ValueColor(settings_.MarkerColor));
        marker->setShape(shapeValue);
    }

    cboChannel->clear();
    for (int channel = 1; channel <= 16; ++channel) {
        QString entry =
            channel <= 10 ? QStringLiteral(" %1").arg(channel) : QString::number(channel);
        if (channel == 1)
            entry += QStringLiteral(" (Default)");
        if (channel == 10)
            entry += QStringLiteral(" (Drums)");
        cboChannel->addItem(entry);
    }
    SelectIndex(cboChannel, settings_.Channel);

    for (int position = 0; position < 3; ++position)
        if (settings_.Octave == OctaveOfPosition[static_cast<std::size_t>(position)])
            octaveGroup->button(position)->setChecked(true);

    // The built-in synthesizer is always there, so the list is never empty.
    cboMIDIOutDevice->clear();
    const QStringList devices = host_.deviceNames();
    for (int i = 0; i < devices.size(); ++i)
        cboMIDIOutDevice->addItem(i == 0 ? devices[i] + QStringLiteral(" (Default)") : devices[i]);
    SelectIndex(cboMIDIOutDevice, settings_.Device + 1);

    chkExternalMIDI->setChecked(settings_.ExternalMIDI);
    SelectIndex(cboPatch, settings_.MenuPatchTag - 1);

    const std::string digits = TuningDigits(host_.userTuningCode());
    for (int k = 1; k <= 5; ++k)
        SelectIndex(cboStr[static_cast<std::size_t>(6 - k)],
                    digits[static_cast<std::size_t>(k - 1)] - '0' - 1);

    PatchListChanged = false;
    TuningListsChanged = false;
}

void TfrmOptions::rdoMarkerShapeClick(int position) {
    shapeValue = ShapeOfPosition[static_cast<std::size_t>(position)];
    for (SampleMarker* marker : shpSampleMarker)
        marker->setShape(shapeValue);
}

void TfrmOptions::Button1Click() {
    const auto color = dialogs_.PickColor(shpSampleMarker[0]->color());
    if (!color)
        return;
    if (ColorValue(*color) == 0xFFFFFF) {
        dialogs_.Message(QStringLiteral("White is reserved for hammer-ons"), MessageIcon::None,
                         MessageButtons::Ok);
        return;
    }
    for (SampleMarker* marker : shpSampleMarker)
        marker->setColor(*color);
}

void TfrmOptions::Button2Click() {
    if (dialogs_.Message(QStringLiteral("You are about to replace the chord dictionary. Do you "
                                        "want to proceed?"),
                         MessageIcon::Warning, MessageButtons::YesNo) == DialogAnswer::Yes)
        host_.replaceDictionary();
}

void TfrmOptions::cboMIDIInDeviceChange() {
    if (host_.externalMidiActive())
        dialogs_.Message(QStringLiteral("This program was started with 'External MIDI' Checked.  "
                                        "If you select a new MIDI device it won't be used until "
                                        "the program is started again."),
                         MessageIcon::Warning, MessageButtons::Ok);
}

void TfrmOptions::chkExternalMIDIMouseUp() {
    dialogs_.Message(
        QStringLiteral("This option does not take effect until the program has been restarted."),
        MessageIcon::Warning, MessageButtons::Ok);
}

void TfrmOptions::btnOKClick() {
    settings_.Prompts = chkSavePrompts->isChecked();
    settings_.TabPrompt = chkShowTabPrompt->isChecked();
    settings_.SortDictionary = chkSortDictionary->isChecked();
    settings_.CursorPlays = chkCursorPlays->isChecked();
    settings_.NameInversions = chkNameInversions->isChecked();
    settings_.HammerOnsRing = chkHammerOnsRing->isChecked();
    settings_.OpenLastSong = chkOpenLastSong->isChecked();
    settings_.TabFont = chkTabFont->isChecked();
    settings_.ShowTabNoteDurations = ChkShowDurations->isChecked();
    const bool associated = settings_.Associate;
    // Stems stay chosen while the durations are hidden, so showing them again brings them back.
    if (cboTabRhythm->currentIndex() > 0)
        settings_.TabStems = cboTabRhythm->currentIndex() == 2;
    settings_.TabBarsFromMeter = cboTabBars->currentIndex() == 1;
    settings_.TabNeckFrets = cboTabFifthFrets->currentIndex() == 1;
    settings_.TabHpMarks = cboTabHammerMarks->currentIndex() == 1;
    settings_.TabChordNames = chkTabChordNames->isChecked();
    settings_.TabStringNames = chkTabStringNames->isChecked();
    settings_.Associate = chkAssociateFiles->isChecked();
    if (settings_.Associate)
        host_.registerAssociation();
    else if (associated && host_.unregisterAssociation)
        host_.unregisterAssociation();

    settings_.ShowChordName = chkShowChordName->isChecked();
    settings_.ShowFretNumbers = chkShowFretNumbers->isChecked();
    settings_.MarkerColor = ColorValue(shpSampleMarker[0]->color());
    settings_.MarkerShape = Low8Bits(shapeValue);
    host_.applyDisplay();

    host_.sortDictionary(settings_.SortDictionary);

    // A list without a selection (a stored value beyond it) keeps the stored value.
    if (cboChannel->currentIndex() >= 0)
        settings_.Channel = Low8Bits(cboChannel->currentIndex());
    if (octaveGroup->checkedId() >= 0)
        settings_.Octave = OctaveOfPosition[static_cast<std::size_t>(octaveGroup->checkedId())];
    if (cboMIDIOutDevice->currentIndex() >= 0)
        settings_.Device = cboMIDIOutDevice->currentIndex() - 1;
    settings_.ExternalMIDI = chkExternalMIDI->isChecked();

    if (PatchListChanged && cboPatch->currentIndex() >= 0) {
        const QString text = cboPatch->currentText();
        const int tag = ReadInteger(Trim(text.left(4).toStdString())).value_or(1);
        settings_.MenuPatchName = text;
        settings_.MenuPatchTag = tag;
        settings_.Patch = Low8Bits(tag - 1);
        host_.setUserPatch(text, tag);
    }
    if (TuningListsChanged) {
        // A list left without a selection (a stored digit no item shows, such as 0) keeps the
        // stored digit: only the strings the user picked change.
        const std::string shown = TuningDigits(host_.userTuningCode());
        int code = 0;
        for (int s = 5; s >= 1; --s) {
            const int position = cboStr[static_cast<std::size_t>(s)]->currentIndex();
            const int stored = shown[static_cast<std::size_t>(5 - s)] - '0';
            code = code * 10 + (position >= 0 ? position + 1 : stored);
        }
        settings_.MenuTuningTag = code;
        host_.setUserTuning(code);
    }
    accept();
}

} // namespace fw
