#pragma once
// The Settings dialog: seven pages of controls over the in-memory settings. Every showing fills
// the controls from the settings (FormActivate); OK writes them back in a fixed order and
// applies them through the host; Cancel, Escape and the close box apply nothing. Only
// "Replace chord dictionary" acts at once.

#include "ui/fixed_dialog.h"

#include <QColor>
#include <QStringList>
#include <QWidget>

#include <array>
#include <functional>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QTabWidget;

namespace fw {

class DialogService;
struct Settings;

// What the dialog needs from the program around it. Every member must be set.
struct OptionsHost {
    // The output devices: the built-in synthesizer (device -1) first, then ports 0..n-1.
    std::function<QStringList()> deviceNames;
    // The External MIDI mode is in force in this run.
    std::function<bool()> externalMidiActive;
    // The TuningCode of the user tuning item.
    std::function<int()> userTuningCode;
    // Registers the song-file association for the running program.
    std::function<void()> registerAssociation;
    // Removes it, when the user turned "Associate files" off.
    std::function<void()> unregisterAssociation;
    // Asked and confirmed: the dictionary becomes the chord list's valid lines.
    std::function<void()> replaceDictionary;
    // The display settings (chord name, fret numbers, marker colour and shape) changed.
    std::function<void()> applyDisplay;
    // Sorting is on or off now.
    std::function<void(bool sorted)> sortDictionary;
    // The user instrument item becomes `caption` with program `tag` (counted from 1), checked.
    std::function<void(const QString& caption, int tag)> setUserPatch;
    // The user tuning item becomes `code`, checked, and the tuning is applied.
    std::function<void(int code)> setUserTuning;
};

// One of the three markers on the Markers page's sample neck.
class SampleMarker : public QWidget {
    Q_OBJECT
public:
    explicit SampleMarker(QWidget* parent);
    QColor color() const { return color_; }
    int shape() const { return shape_; }
    void setColor(const QColor& color);
    void setShape(int shape);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor color_ = Qt::cyan;
    int shape_ = 5;
};

class TfrmOptions : public FixedDialog {
    Q_OBJECT
public:
    // `settings`, `dialogs` and the host's targets must outlive the dialog.
    TfrmOptions(Settings& settings, DialogService& dialogs, OptionsHost host,
                QWidget* parent = nullptr);

    // The MarkerColor value (0x00BBGGRR) of a colour, and back.
    static int ColorValue(const QColor& color);
    static QColor ValueColor(int value);

    // --- Handlers ---------------------------------------------------------------------------
    void FormActivate();
    void rdoMarkerShapeClick(int position);
    void Button1Click();
    void Button2Click();
    void cboMIDIInDeviceChange();
    void chkExternalMIDIMouseUp();
    void btnOKClick();

    // --- Dialog state -----------------------------------------------------------------------
    int shapeValue = 5;
    bool PatchListChanged = false;
    bool TuningListsChanged = false;

    // --- Controls ---------------------------------------------------------------------------
    QTabWidget* PageControl1 = nullptr;
    QCheckBox* chkSavePrompts = nullptr;
    QCheckBox* chkCursorPlays = nullptr;
    QCheckBox* chkShowChordName = nullptr;
    QCheckBox* chkShowFretNumbers = nullptr;
    QCheckBox* chkAssociateFiles = nullptr;
    QCheckBox* chkOpenLastSong = nullptr; // setting OpenLastSong
    QGroupBox* rdoMarkerShape = nullptr;
    QButtonGroup* markerShapeGroup = nullptr;
    QPushButton* Button1 = nullptr;
    std::array<SampleMarker*, 3> shpSampleMarker{};
    QCheckBox* chkShowTabPrompt = nullptr;
    QCheckBox* chkTabFont = nullptr;
    QCheckBox* ChkShowDurations = nullptr;
    // Forms of tablature beyond the plain one.
    QComboBox* cboTabRhythm = nullptr;     // none, letters, stems (kept in step with the box above)
    QComboBox* cboTabBars = nullptr;       // from blank lines, from the meter
    QComboBox* cboTabFifthFrets = nullptr; // from its own nut, as on the neck
    QComboBox* cboTabHammerMarks = nullptr; // slash, letters
    QCheckBox* chkTabChordNames = nullptr;
    QCheckBox* chkTabStringNames = nullptr;
    QCheckBox* chkExternalMIDI = nullptr;
    QCheckBox* chkHammerOnsRing = nullptr; // setting HammerOnsRing
    QComboBox* cboChannel = nullptr;
    QWidget* rdoOctave = nullptr;
    QButtonGroup* octaveGroup = nullptr;
    QComboBox* cboMIDIOutDevice = nullptr;
    QCheckBox* chkSortDictionary = nullptr;
    QCheckBox* chkNameInversions = nullptr;
    QPushButton* Button2 = nullptr;
    QComboBox* cboPatch = nullptr;
    std::array<QComboBox*, 6> cboStr{}; // cboStr[1..5]: the lists of strings 1 to 5
    QPushButton* btnOK = nullptr;
    QPushButton* btnCancel = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormCreate();
    QWidget* BuildGeneralPage();
    QWidget* BuildMarkersPage();
    QWidget* BuildTablaturePage();
    QWidget* BuildMidiPage();
    QWidget* BuildSoundPage();
    QWidget* BuildDictionaryPage();
    QWidget* BuildInstrumentPage();
    QLabel* Explanation(const QString& text);
    QCheckBox* Check(const QString& name, const QString& caption);

    Settings& settings_;
    DialogService& dialogs_;
    OptionsHost host_;
};

} // namespace fw
