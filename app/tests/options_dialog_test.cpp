// The Settings dialog: what each control stores on OK, what Cancel keeps, the warnings, and the
// main window's side of OK (instrument and tuning items, sorting, the dictionary replacement).

#include "main_window_fixture.h"

#include "ui/tests/widget_checks.h"

#include "app/shell/settings.h"
#include "chords/tuning.h"
#include "editor/fretboard_view.h"
#include "windows/frm_options.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>

#include <functional>

namespace fw::testing {
namespace {

// Every setting as text, so that a failing comparison names the fields that differ.
QString Dump(const Settings& s) {
    return QStringLiteral("Prompts=%1 TabPrompt=%2 TabFont=%3 Durations=%4 Associate=%5 "
                          "ChordName=%6 FretNumbers=%7 Sort=%8 CursorPlays=%9 Inversions=")
               .arg(s.Prompts)
               .arg(s.TabPrompt)
               .arg(s.TabFont)
               .arg(s.ShowTabNoteDurations)
               .arg(s.Associate)
               .arg(s.ShowChordName)
               .arg(s.ShowFretNumbers)
               .arg(s.SortDictionary)
               .arg(s.CursorPlays) +
           QString::number(s.NameInversions) + QStringLiteral(" Ring=") +
           QString::number(s.HammerOnsRing) + QLatin1Char(' ') +
           QStringLiteral("Color=%1 Shape=%2 External=%3 Device=%4 Octave=%5 Channel=%6 "
                          "Patch=%7 PatchName='%8' PatchTag=%9 ")
               .arg(s.MarkerColor, 6, 16, QLatin1Char('0'))
               .arg(s.MarkerShape)
               .arg(s.ExternalMIDI)
               .arg(s.Device)
               .arg(s.Octave)
               .arg(s.Channel)
               .arg(s.Patch)
               .arg(s.MenuPatchName)
               .arg(s.MenuPatchTag) +
           QStringLiteral("TuningName='%1' TuningTag=%2 ")
               .arg(s.MenuTuningName)
               .arg(s.MenuTuningTag) +
           QStringLiteral("Stems=%1 Meter=%2 NeckFrets=%3 Hp=%4 ChordNames=%5 StringNames=%6")
               .arg(s.TabStems)
               .arg(s.TabBarsFromMeter)
               .arg(s.TabNeckFrets)
               .arg(s.TabHpMarks)
               .arg(s.TabChordNames)
               .arg(s.TabStringNames);
}

// A host that records what the dialog asks of the program.
struct RecordingHost {
    QStringList calls;
    bool externalActive = false;
    int userTuning = 55555;

    OptionsHost Make() {
        OptionsHost host;
        host.deviceNames = [] {
            return QStringList{QStringLiteral("Fretwick Synthesizer"), QStringLiteral("Port A"),
                               QStringLiteral("Port B")};
        };
        host.externalMidiActive = [this] { return externalActive; };
        host.userTuningCode = [this] { return userTuning; };
        host.registerAssociation = [this] { calls << QStringLiteral("associate"); };
        host.unregisterAssociation = [this] { calls << QStringLiteral("unassociate"); };
        host.replaceDictionary = [this] { calls << QStringLiteral("replace"); };
        host.applyDisplay = [this] { calls << QStringLiteral("display"); };
        host.sortDictionary = [this](bool sorted) {
            calls << QStringLiteral("sort %1").arg(sorted);
        };
        host.setUserPatch = [this](const QString& caption, int tag) {
            calls << QStringLiteral("patch '%1' %2").arg(caption).arg(tag);
        };
        host.setUserTuning = [this](int code) { calls << QStringLiteral("tuning %1").arg(code); };
        return host;
    }
};

// A dialog over its own settings, host and scripted dialogs.
struct DialogUnderTest {
    Settings settings;
    RecordingHost host;
    ScriptedDialogService dialogs;
    TfrmOptions dialog{settings, dialogs, host.Make()};
};

void Pick(QComboBox* list, int index) {
    list->setCurrentIndex(index);
    emit list->activated(index);
}

struct OptionsCase {
    const char* name;
    std::function<void(Settings&, RecordingHost&)> given; // the settings before
    std::function<void(TfrmOptions&, ScriptedDialogService&)> act;
    bool ok;                               // OK, else Cancel
    std::function<void(Settings&)> expect; // the change OK makes
    QStringList calls;                     // the host calls, in order
    QStringList messages;                  // message box texts
};

void PrintTo(const OptionsCase& c, std::ostream* os) {
    *os << c.name;
}

const QStringList Plain = {QStringLiteral("associate"), QStringLiteral("display"),
                           QStringLiteral("sort 0")};

QStringList PlainAnd(const QStringList& more) {
    return Plain + more;
}

const auto Nothing = [](auto&...) {};

class OptionsDialog : public ::testing::TestWithParam<OptionsCase> {};

TEST_P(OptionsDialog, StoresWhatTheControlsSay) {
    const OptionsCase& c = GetParam();
    Settings settings;
    RecordingHost host;
    c.given(settings, host);
    Settings expected = settings;
    if (c.ok)
        c.expect(expected);

    ScriptedDialogService dialogs;
    TfrmOptions dialog(settings, dialogs, host.Make());
    dialogs.AnswerModal([&](QDialog&) {
        c.act(dialog, dialogs);
        if (c.ok)
            dialog.btnOK->click();
        else
            dialog.btnCancel->click();
    });
    const int result = dialogs.ShowModal(dialog);
    EXPECT_EQ(result, c.ok ? QDialog::Accepted : QDialog::Rejected);
    EXPECT_EQ(Dump(settings), Dump(expected));
    EXPECT_EQ(settings, expected);
    EXPECT_EQ(host.calls, c.ok ? c.calls : QStringList()) << host.calls.join(", ").toStdString();
    EXPECT_EQ(dialogs.MessageTexts(), c.messages);
}

// clang-format off
// Turns every check box of the dialog over once.
void ClickEveryCheckBox(TfrmOptions& d) {
    for (QCheckBox* box : {d.chkSavePrompts, d.chkCursorPlays, d.chkShowChordName,
                           d.chkShowFretNumbers, d.chkAssociateFiles, d.chkShowTabPrompt,
                           d.chkTabFont, d.ChkShowDurations, d.chkSortDictionary,
                           d.chkNameInversions, d.chkHammerOnsRing})
        box->click();
}

INSTANTIATE_TEST_SUITE_P(Cases, OptionsDialog, ::testing::Values(
    OptionsCase{"OkUntouchedStoresTheSame", Nothing, Nothing, true, Nothing, Plain, {}},
    OptionsCase{"OkWithoutAssociateRegistersNothing",
        [](Settings& s, RecordingHost&) { s.Associate = false; }, Nothing, true, Nothing,
        {"display", "sort 0"}, {}},
    OptionsCase{"EveryCheckBoxThenCancelKeepsAll", Nothing,
        [](TfrmOptions& d, ScriptedDialogService&) {
            ClickEveryCheckBox(d);
            d.markerShapeGroup->button(0)->click();
            Pick(d.cboChannel, 5);
            Pick(d.cboPatch, 40);
            Pick(d.cboStr[3], 0);
        },
        false, Nothing, {}, {}},
    OptionsCase{"EveryCheckBoxThenOk", Nothing,
        [](TfrmOptions& d, ScriptedDialogService&) {
            ClickEveryCheckBox(d);
        },
        true,
        [](Settings& s) {
            s.Prompts = false; s.CursorPlays = true; s.ShowChordName = false;
            s.ShowFretNumbers = false; s.Associate = false; s.TabPrompt = false;
            s.TabFont = true; s.ShowTabNoteDurations = true; s.SortDictionary = true;
            s.NameInversions = true; s.HammerOnsRing = true;
        },
        {"unassociate", "display", "sort 1"}, {}},
    OptionsCase{"TablatureFormsStoreEveryChoice", Nothing,
        [](TfrmOptions& d, ScriptedDialogService&) {
            Pick(d.cboTabRhythm, 2);
            Pick(d.cboTabBars, 1);
            Pick(d.cboTabFifthFrets, 1);
            Pick(d.cboTabHammerMarks, 1);
            d.chkTabChordNames->click();
            d.chkTabStringNames->click();
        },
        true,
        [](Settings& s) {
            s.ShowTabNoteDurations = true; s.TabStems = true; s.TabBarsFromMeter = true;
            s.TabNeckFrets = true; s.TabHpMarks = true; s.TabChordNames = true;
            s.TabStringNames = true;
        },
        Plain, {}},
    OptionsCase{"TablatureFormsShownAndPutBack",
        [](Settings& s, RecordingHost&) {
            s.ShowTabNoteDurations = true; s.TabStems = true; s.TabBarsFromMeter = true;
            s.TabNeckFrets = true; s.TabHpMarks = true; s.TabChordNames = true;
            s.TabStringNames = true;
        },
        [](TfrmOptions& d, ScriptedDialogService&) {
            EXPECT_EQ(d.cboTabRhythm->currentIndex(), 2);
            EXPECT_EQ(d.cboTabBars->currentIndex(), 1);
            EXPECT_EQ(d.cboTabFifthFrets->currentIndex(), 1);
            EXPECT_EQ(d.cboTabHammerMarks->currentIndex(), 1);
            Pick(d.cboTabBars, 0);
            Pick(d.cboTabFifthFrets, 0);
            Pick(d.cboTabHammerMarks, 0);
            d.chkTabChordNames->click();
            d.chkTabStringNames->click();
        },
        true,
        [](Settings& s) {
            s.TabBarsFromMeter = false; s.TabNeckFrets = false; s.TabHpMarks = false;
            s.TabChordNames = false; s.TabStringNames = false;
        },
        Plain, {}},
    // Rhythm "None" is the durations box unticked: stems stay chosen for when they come back.
    OptionsCase{"RhythmNoneHidesDurationsAndKeepsStems",
        [](Settings& s, RecordingHost&) { s.ShowTabNoteDurations = true; s.TabStems = true; },
        [](TfrmOptions& d, ScriptedDialogService&) {
            Pick(d.cboTabRhythm, 0);
            EXPECT_FALSE(d.ChkShowDurations->isChecked());
        },
        true, [](Settings& s) { s.ShowTabNoteDurations = false; }, Plain, {}},
    OptionsCase{"DurationsBoxPicksLetters", Nothing,
        [](TfrmOptions& d, ScriptedDialogService&) {
            d.ChkShowDurations->click();
            EXPECT_EQ(d.cboTabRhythm->currentIndex(), 1);
        },
        true, [](Settings& s) { s.ShowTabNoteDurations = true; }, Plain, {}},
    OptionsCase{"RectangleStores0", Nothing,
        [](TfrmOptions& d, ScriptedDialogService&) { d.markerShapeGroup->button(0)->click(); },
        true, [](Settings& s) { s.MarkerShape = 0; }, Plain, {}},
    OptionsCase{"SquareStores1", Nothing,
        [](TfrmOptions& d, ScriptedDialogService&) { d.markerShapeGroup->button(1)->click(); },
        true, [](Settings& s) { s.MarkerShape = 1; }, Plain, {}},
    OptionsCase{"EllipseStores4", Nothing,
        [](TfrmOptions& d, ScriptedDialogService&) { d.markerShapeGroup->button(2)->click(); },
        true, [](Settings& s) { s.MarkerShape = 4; }, Plain, {}},
    OptionsCase{"CircleStores5", [](Settings& s, RecordingHost&) { s.MarkerShape = 0; },
        [](TfrmOptions& d, ScriptedDialogService&) { d.markerShapeGroup->button(3)->click(); },
        true, [](Settings& s) { s.MarkerShape = 5; }, Plain, {}},
    // Red is 0x0000FF in the stored blue-green-red order.
    OptionsCase{"AColourIsStoredBlueGreenRed", Nothing,
        [](TfrmOptions& d, ScriptedDialogService& dialogs) {
            dialogs.AnswerColor(QColor(255, 0, 0));
            d.Button1->click();
        },
        true, [](Settings& s) { s.MarkerColor = 0x0000FF; }, Plain, {}},
    OptionsCase{"WhiteIsRefused", Nothing,
        [](TfrmOptions& d, ScriptedDialogService& dialogs) {
            dialogs.AnswerColor(QColor(255, 255, 255));
            d.Button1->click();
        },
        true, Nothing, Plain, {"White is reserved for hammer-ons"}},
    OptionsCase{"ACancelledColourDialogChangesNothing", Nothing,
        [](TfrmOptions& d, ScriptedDialogService& dialogs) {
            dialogs.AnswerColor(std::nullopt);
            d.Button1->click();
        },
        true, Nothing, Plain, {}},
    OptionsCase{"Channel10", Nothing,
        [](TfrmOptions& d, ScriptedDialogService&) { Pick(d.cboChannel, 9); }, true,
        [](Settings& s) { s.Channel = 9; }, Plain, {}},
    OptionsCase{"AChannelBeyondTheListIsKept", [](Settings& s, RecordingHost&) { s.Channel = 44; },
        Nothing, true, Nothing, Plain, {}},
    OptionsCase{"OctaveHigher", Nothing,
        [](TfrmOptions& d, ScriptedDialogService&) { d.octaveGroup->button(2)->click(); }, true,
        [](Settings& s) { s.Octave = 12; }, Plain, {}},
    OptionsCase{"OctaveLower", Nothing,
        [](TfrmOptions& d, ScriptedDialogService&) { d.octaveGroup->button(0)->click(); }, true,
        [](Settings& s) { s.Octave = -12; }, Plain, {}},
    OptionsCase{"AnOddOctaveIsKept", [](Settings& s, RecordingHost&) { s.Octave = 5; }, Nothing,
        true, Nothing, Plain, {}},
    OptionsCase{"ASecondPort", Nothing,
        [](TfrmOptions& d, ScriptedDialogService&) { Pick(d.cboMIDIOutDevice, 2); }, true,
        [](Settings& s) { s.Device = 1; }, Plain, {}},
    OptionsCase{"TheSynthesizer", [](Settings& s, RecordingHost&) { s.Device = 1; },
        [](TfrmOptions& d, ScriptedDialogService&) { Pick(d.cboMIDIOutDevice, 0); }, true,
        [](Settings& s) { s.Device = -1; }, Plain, {}},
    // No selection keeps the stored device rather than storing -2, which no device answers.
    OptionsCase{"ADeviceBeyondTheListIsKept", [](Settings& s, RecordingHost&) { s.Device = 5; },
        Nothing, true, Nothing, Plain, {}},
    OptionsCase{"ADeviceChangeWarnsInExternalMode",
        [](Settings&, RecordingHost& h) { h.externalActive = true; },
        [](TfrmOptions& d, ScriptedDialogService&) { Pick(d.cboMIDIOutDevice, 1); }, true,
        [](Settings& s) { s.Device = 0; }, Plain,
        {"This program was started with 'External MIDI' Checked.  If you select a new MIDI "
         "device it won't be used until the program is started again."}},
    OptionsCase{"ExternalMidiWarnsAtEveryClick", Nothing,
        [](TfrmOptions& d, ScriptedDialogService&) {
            d.chkExternalMIDI->click();
            d.chkExternalMIDI->click();
            d.chkExternalMIDI->click();
        },
        true, [](Settings& s) { s.ExternalMIDI = true; }, Plain,
        {"This option does not take effect until the program has been restarted.",
         "This option does not take effect until the program has been restarted.",
         "This option does not take effect until the program has been restarted."}},
    OptionsCase{"BanjoInstrument", Nothing,
        [](TfrmOptions& d, ScriptedDialogService&) { Pick(d.cboPatch, 105); }, true,
        [](Settings& s) { s.MenuPatchName = "106 Banjo"; s.MenuPatchTag = 106; s.Patch = 105; },
        PlainAnd({"patch '106 Banjo' 106"}), {}},
    OptionsCase{"FirstInstrument", [](Settings& s, RecordingHost&) { s.MenuPatchTag = 50; },
        [](TfrmOptions& d, ScriptedDialogService&) { Pick(d.cboPatch, 0); }, true,
        [](Settings& s) {
            s.MenuPatchName = "  1 Acoustic Grand"; s.MenuPatchTag = 1; s.Patch = 0;
        },
        PlainAnd({"patch '  1 Acoustic Grand' 1"}), {}},
    OptionsCase{"ReferenceNotesMake55555",
        [](Settings&, RecordingHost& h) { h.userTuning = 45435; },
        [](TfrmOptions& d, ScriptedDialogService&) {
            for (int s = 1; s <= 5; ++s)
                Pick(d.cboStr[static_cast<std::size_t>(s)], 4);
        },
        true, [](Settings& s) { s.MenuTuningTag = 55555; }, PlainAnd({"tuning 55555"}), {}},
    // Digits run from string 5 to string 1: string 4 down to C gives 53555.
    OptionsCase{"StringFourToC", Nothing,
        [](TfrmOptions& d, ScriptedDialogService&) { Pick(d.cboStr[4], 2); }, true,
        [](Settings& s) { s.MenuTuningTag = 53555; }, PlainAnd({"tuning 53555"}), {}},
    // Every list keeps a stored value it cannot show unless the user picks in that list.
    OptionsCase{"AnUnshownShapeIsKept", [](Settings& s, RecordingHost&) { s.MarkerShape = 2; },
        Nothing, true, Nothing, Plain, {}},
    OptionsCase{"AnUnshownInstrumentIsKept",
        [](Settings& s, RecordingHost&) { s.MenuPatchTag = 200; s.MenuPatchName = "mine"; },
        [](TfrmOptions& d, ScriptedDialogService&) { Pick(d.cboStr[1], 4); }, true,
        [](Settings& s) { s.MenuTuningTag = 55555; }, PlainAnd({"tuning 55555"}), {}},
    OptionsCase{"AnUnshownInstrumentGivesWayToAPick",
        [](Settings& s, RecordingHost&) { s.MenuPatchTag = 200; },
        [](TfrmOptions& d, ScriptedDialogService&) { Pick(d.cboPatch, 105); }, true,
        [](Settings& s) { s.MenuPatchName = "106 Banjo"; s.MenuPatchTag = 106; s.Patch = 105; },
        PlainAnd({"patch '106 Banjo' 106"}), {}},
    // String 4 down a fourth (digit 0) shows no note; changing string 1 keeps it.
    OptionsCase{"AnUnshownTuningDigitIsKept",
        [](Settings&, RecordingHost& h) { h.userTuning = 50555; },
        [](TfrmOptions& d, ScriptedDialogService&) { Pick(d.cboStr[1], 6); }, true,
        [](Settings& s) { s.MenuTuningTag = 50557; }, PlainAnd({"tuning 50557"}), {}},
    OptionsCase{"AnUnshownTuningDigitGivesWayToAPick",
        [](Settings&, RecordingHost& h) { h.userTuning = 50555; },
        [](TfrmOptions& d, ScriptedDialogService&) { Pick(d.cboStr[4], 2); }, true,
        [](Settings& s) { s.MenuTuningTag = 53555; }, PlainAnd({"tuning 53555"}), {}},
    OptionsCase{"AnUnshownChannelGivesWayToAPick",
        [](Settings& s, RecordingHost&) { s.Channel = 44; },
        [](TfrmOptions& d, ScriptedDialogService&) { Pick(d.cboChannel, 2); }, true,
        [](Settings& s) { s.Channel = 2; }, Plain, {}},
    OptionsCase{"AnUnshownDeviceGivesWayToAPick",
        [](Settings& s, RecordingHost&) { s.Device = 5; },
        [](TfrmOptions& d, ScriptedDialogService&) { Pick(d.cboMIDIOutDevice, 0); }, true,
        [](Settings& s) { s.Device = -1; }, Plain, {}},
    OptionsCase{"AnUnshownOctaveGivesWayToAPick",
        [](Settings& s, RecordingHost&) { s.Octave = 5; },
        [](TfrmOptions& d, ScriptedDialogService&) { d.octaveGroup->button(1)->click(); }, true,
        [](Settings& s) { s.Octave = 0; }, Plain, {}},
    OptionsCase{"ReplaceAnsweredNo", Nothing,
        [](TfrmOptions& d, ScriptedDialogService& dialogs) {
            dialogs.AnswerMessage(DialogAnswer::No);
            d.Button2->click();
        },
        true, Nothing, Plain,
        {"You are about to replace the chord dictionary. Do you want to proceed?"}},
    OptionsCase{"ReplaceAnsweredYes", Nothing,
        [](TfrmOptions& d, ScriptedDialogService& dialogs) {
            dialogs.AnswerMessage(DialogAnswer::Yes);
            d.Button2->click();
        },
        true, Nothing, QStringList{"replace"} + Plain,
        {"You are about to replace the chord dictionary. Do you want to proceed?"}}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

TEST(OptionsDialogLists, HoldTheirEntriesAndFollowTheSettings) {
    Settings settings;
    settings.Channel = 9;
    settings.Device = 0;
    settings.MarkerShape = 4;
    settings.MenuPatchTag = 106;
    RecordingHost host;
    host.userTuning = 45435;
    ScriptedDialogService dialogs;
    TfrmOptions dialog(settings, dialogs, host.Make());
    dialogs.AnswerModal([](QDialog&) {});
    dialogs.ShowModal(dialog);

    QStringList channels;
    for (int i = 0; i < dialog.cboChannel->count(); ++i)
        channels << dialog.cboChannel->itemText(i);
    EXPECT_EQ(channels, (QStringList{" 1 (Default)", " 2", " 3", " 4", " 5", " 6", " 7", " 8", " 9",
                                     " 10 (Drums)", "11", "12", "13", "14", "15", "16"}));
    EXPECT_EQ(dialog.cboChannel->currentIndex(), 9);
    EXPECT_EQ(dialog.cboMIDIOutDevice->itemText(0),
              QStringLiteral("Fretwick Synthesizer (Default)"));
    EXPECT_EQ(dialog.cboMIDIOutDevice->currentText(), QStringLiteral("Port A"));
    EXPECT_EQ(dialog.markerShapeGroup->checkedId(), 2);
    EXPECT_EQ(dialog.shpSampleMarker[0]->shape(), 4);
    EXPECT_EQ(dialog.cboPatch->count(), 128);
    EXPECT_EQ(dialog.cboPatch->currentText(), QStringLiteral("106 Banjo"));
    EXPECT_EQ(dialog.cboPatch->itemText(127), QStringLiteral("128 Gunshot"));
    // 45435 (open D): string 5 F#, string 4 D, string 3 F#, string 2 A, string 1 D.
    const std::array<const char*, 6> notes = {"", "D", "A", "F#", "D", "F#"};
    for (int s = 1; s <= 5; ++s)
        EXPECT_EQ(dialog.cboStr[static_cast<std::size_t>(s)]->currentText(),
                  QString::fromLatin1(notes[static_cast<std::size_t>(s)]))
            << "string " << s;
    EXPECT_EQ(dialog.cboStr[2]->itemText(8), QStringLiteral("D#"));
    QStringList tabs;
    for (int i = 0; i < dialog.PageControl1->count(); ++i)
        tabs << dialog.PageControl1->tabText(i);
    EXPECT_EQ(tabs, (QStringList{"General", "Markers", "Tablature", "MIDI", "Sound",
                                 "Chord Dictionary", "Instrument and Tuning"}));
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Settings"));
}

// The page last shown is shown again; Escape applies nothing.
TEST(OptionsDialogLists, TheLastPageStaysAndEscapeAppliesNothing) {
    DialogUnderTest t;
    auto& [settings, host, dialogs, dialog] = t;
    dialogs.AnswerModal([&](QDialog&) {
        dialog.PageControl1->setCurrentIndex(3);
        dialog.chkSavePrompts->click();
        QTest::keyClick(&dialog, Qt::Key_Escape);
    });
    EXPECT_EQ(dialogs.ShowModal(dialog), QDialog::Rejected);
    EXPECT_TRUE(settings.Prompts);
    dialogs.AnswerModal([&](QDialog&) { EXPECT_EQ(dialog.PageControl1->currentIndex(), 3); });
    dialogs.ShowModal(dialog);
    EXPECT_TRUE(host.calls.isEmpty());
}

// Through the main window: the instrument and tuning items, sorting and the replacement.
class OptionsFromMainWindow : public MainWindowTest {
protected:
    void RunDialog(const std::function<void(TfrmOptions&)>& act, bool ok) {
        dialogs.AnswerModal([act, ok](QDialog& d) {
            auto& options = static_cast<TfrmOptions&>(d);
            act(options);
            if (ok)
                options.btnOK->click();
            else
                options.btnCancel->click();
        });
        main->ui().Options1->trigger();
    }
};

TEST_F(OptionsFromMainWindow, BanjoInstrumentBecomesTheUserItem) {
    TfrmMain& window = Start();
    EXPECT_TRUE(window.ui().Options1->isEnabled());
    RunDialog([](TfrmOptions& d) { Pick(d.cboPatch, 105); }, true);
    EXPECT_EQ(window.ui().MIDIPatch1->text(), QStringLiteral("106 Banjo"));
    EXPECT_EQ(window.ui().MIDIPatch1->data().toInt(), 106);
    EXPECT_TRUE(window.ui().MIDIPatch1->isChecked());
    EXPECT_FALSE(window.ui().AcousticNylonStringGuitar1->isChecked());
    EXPECT_EQ(window.settings().Patch, 105);
}

TEST_F(OptionsFromMainWindow, ReferenceNotesBecomeTheUserAndCurrentTuning) {
    ResetSettingsFile(QStringLiteral("[Midi]\nMenuTuningTag=45435\n"));
    TfrmMain& window = Start();
    RunDialog(
        [](TfrmOptions& d) {
            for (int s = 1; s <= 5; ++s)
                Pick(d.cboStr[static_cast<std::size_t>(s)], 4);
        },
        true);
    QAction* user = window.ui().tuningItems[UserTuningIndex];
    EXPECT_EQ(window.document().Tuning(), 55555);
    EXPECT_EQ(user->data().toInt(), 55555);
    EXPECT_TRUE(user->isChecked());
    EXPECT_EQ(user->text(), QStringLiteral("&Custom Tuning - G D G B D"));
    EXPECT_EQ(window.settings().MenuTuningName, user->text());
    EXPECT_EQ(window.settings().MenuTuningTag, 55555);
}

TEST_F(OptionsFromMainWindow, OkUntouchedLeavesPatchAndTuningAlone) {
    TfrmMain& window = Start();
    window.ApplyTuning(55545);
    window.settings().Patch = 20;
    const Settings before = window.settings();
    RunDialog([](TfrmOptions&) {}, true);
    EXPECT_EQ(window.settings(), before);
    EXPECT_EQ(window.document().Tuning(), 55545);
    EXPECT_TRUE(window.statusHints());
}

TEST_F(OptionsFromMainWindow, ReplacedDictionaryStaysReplacedAfterCancel) {
    TfrmMain& window = Start();
    SetText(QStringLiteral("G, 0, 0, 0, 0, 0, Q\n* verse\nC, 0, 2, 0, 1, 2, Q"));
    dialogs.AnswerModal([this](QDialog& d) {
        auto& options = static_cast<TfrmOptions&>(d);
        dialogs.AnswerMessage(DialogAnswer::Yes);
        options.Button2->click();
        options.btnCancel->click();
    });
    window.ui().Options1->trigger();
    EXPECT_EQ(window.dictionaryEntries(),
              (QStringList{"G, 0, 0, 0, 0, 0, Q", "C, 0, 2, 0, 1, 2, Q"}));
}

TEST_F(OptionsFromMainWindow, SortingTurnedOnSortsAtOnce) {
    TfrmMain& window = Start();
    SetText(QStringLiteral("G, 0, 0, 0, 0, 0, Q\nC, 0, 2, 0, 1, 2, Q\nA, x, 2, 2, 2, 2, Q"));
    window.ReplaceChordDictionary();
    RunDialog([](TfrmOptions& d) { d.chkSortDictionary->click(); }, true);
    EXPECT_EQ(window.dictionaryEntries(),
              (QStringList{"A, x, 2, 2, 2, 2, Q", "C, 0, 2, 0, 1, 2, Q", "G, 0, 0, 0, 0, 0, Q"}));
    EXPECT_TRUE(window.settings().SortDictionary);
}

TEST_F(OptionsFromMainWindow, DisplaySettingsReachTheFretboard) {
    TfrmMain& window = Start();
    RunDialog(
        [this](TfrmOptions& d) {
            dialogs.AnswerColor(QColor(0, 128, 255));
            d.markerShapeGroup->button(0)->click();
            d.Button1->click();
        },
        true);
    EXPECT_EQ(window.fretboard()->markerShape(), 0);
    EXPECT_EQ(window.settings().MarkerColor, 0xFF8000);
    EXPECT_EQ(window.fretboard()->markerColor(), 0xFF8000u);
}

} // namespace
} // namespace fw::testing

namespace fw::testing {
namespace {

// Every page shows its texts whole, with every tab caption in full (no scroll arrows).
class OptionsPages : public ::testing::TestWithParam<int> {};

TEST_P(OptionsPages, FitTheirTexts) {
    DialogUnderTest t;
    auto& [settings, host, dialogs, dialog] = t;
    dialogs.AnswerModal([&](QDialog&) {
        dialog.PageControl1->setCurrentIndex(GetParam());
        QApplication::processEvents();
        EXPECT_EQ(test::CutOffTexts(dialog), "");
        const QTabBar* tabs = dialog.PageControl1->tabBar();
        for (int i = 0; i < tabs->count(); ++i)
            EXPECT_TRUE(tabs->rect().contains(tabs->tabRect(i))) << tabs->tabText(i).toStdString();
        test::SaveShot(dialog, QStringLiteral("settings_page%1").arg(GetParam()));
    });
    dialogs.ShowModal(dialog);
}

std::string PageName(const ::testing::TestParamInfo<int>& info) {
    static const char* const names[] = {"General", "Markers",         "Tablature",
                                        "Midi",    "ChordDictionary", "InstrumentAndTuning"};
    return names[info.param];
}

INSTANTIATE_TEST_SUITE_P(Pages, OptionsPages, ::testing::Range(0, 6), PageName);

} // namespace
} // namespace fw::testing
