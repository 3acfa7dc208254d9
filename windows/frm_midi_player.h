#pragma once
// The window "Midi Player": plays any MIDI file through a device of its own, not the main
// window's port. The device is open while the window is active and closed while it is not, so
// switching away stops playback and coming back reopens the loaded file, not playing. The
// window shows where playback is ("m:ss / m:ss" and a bar) and what the device is doing.

#include "ui/fixed_dialog.h"

#include <functional>

class QLabel;
class QProgressBar;
class QPushButton;
class QTimer;

namespace fw {

class DialogService;
class MidiFilePlayer;

// "m:ss" for a time in milliseconds, cut to whole seconds; minutes do not stop at 59
// (75:03). A negative time shows as 0:00.
QString FormatPlayTime(long long ms);

class TfrmMidiPlayer : public FixedDialog {
    Q_OBJECT
public:
    // `player`, `dialogs` must outlive the window; `lastDir` gives the LastDir setting, the
    // folder the Open dialog starts in (read only).
    TfrmMidiPlayer(MidiFilePlayer& player, DialogService& dialogs, std::function<QString()> lastDir,
                   QWidget* parent = nullptr);
    ~TfrmMidiPlayer() override;

    // The loaded file: the empty text until one has been chosen. Kept between showings.
    const QString& FileName() const { return fileName_; }

    // The handlers, public so tests can drive them as the window system and the user do.
    void FormActivate();   // open the device, with the loaded file when there is one
    void FormDeactivate(); // close the device, which stops playback
    void BitBtnOpenClick();
    void BitBtnPlayClick();
    void BitBtnStopClick();
    void BitBtnPauseClick();
    // Shows the device's position and state.
    void RefreshPosition();
    // What the timer does while the window is shown: opens the device once its sounds have
    // loaded, if an activation or Open is waiting for that, and refreshes the display.
    void TimerTick();

    QLabel* Label1; // the loaded file's full path ("No file loaded" is drawn while empty)
    QPushButton* BitBtnOpen;
    QPushButton* BitBtnPlay;
    QPushButton* BitBtnStop;
    QPushButton* BitBtnPause;
    QPushButton* BitBtnOK; // default and Escape button: closes the window
    QLabel* lblPosition;   // "m:ss / m:ss"
    QProgressBar* prgPosition;
    // "Playing", "Paused", "Stopped", "Loading sounds..." at first, or why the device cannot
    // play at all ("No audio output was found."), which is never shown in a message box.
    QLabel* lblState;

    // How often the position is read while the window is shown.
    static constexpr int RefreshIntervalMs = 100;

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    enum class Pending { None, Open, OpenAndPlay };

    // Opens the device with the loaded file, saying why when it cannot.
    void OpenDevice();
    // Gives the device `path` and plays it from the start. False (after saying why) when the
    // device refuses it; its loaded file is then as it was.
    bool LoadAndPlay(const QString& path);
    void ShowError(const QString& text);
    // Whether an Open failure is the device's own (no audio output...), not the file's.
    bool IsDeviceProblem(const QString& error);
    // `path` becomes the loaded file, shown in Label1.
    void ShowFile(const QString& path);

    MidiFilePlayer& player_;
    DialogService& dialogs_;
    std::function<QString()> lastDir_;
    QString fileName_;
    QTimer* timer_;
    // True from showing until the first activation, and after each deactivation: the next
    // activation opens the device.
    bool deactivated_ = true;
    // The window's own file dialog or message box is up. The window system deactivates the
    // window for them, but the user has not left it: the device stays as it is.
    int ownDialogs_ = 0;
    // What waits for the device to become ready (its sounds load in the background).
    Pending pending_ = Pending::None;
    QString pendingFile_; // what Open chose while the sounds loaded
};

} // namespace fw
