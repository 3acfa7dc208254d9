#include "frm_midi_player.h"

#include "app/extension_case.h"

#include "app/shell/file_dialog_start.h"
#include "chords/regular_file.h"
#include "sound/midi_file_player.h"
#include "ui/dialog_service.h"
#include "ui/qt_text.h"

#include <QApplication>
#include <QBoxLayout>
#include <QDir>
#include <QEvent>
#include <QLabel>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QStyle>
#include <QTimer>

#include <algorithm>
#include <limits>

namespace fw {

namespace {

// Shows a path in a fixed width: a long one loses its middle ("/home/…/song.mid"), the full
// path is in text() and in the tooltip.
class PathLabel : public QLabel {
public:
    explicit PathLabel(QWidget* parent) : QLabel(parent) {
        setTextFormat(Qt::PlainText);
        setObjectName(QStringLiteral("Label1"));
        setFixedWidth(fontMetrics().averageCharWidth() * 60);
        setMinimumHeight(fontMetrics().height());
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        const QRect area = contentsRect();
        if (text().isEmpty()) {
            // The line is never blank, so the window always says what it holds.
            style()->drawItemText(&painter, area, Qt::AlignLeft | Qt::AlignVCenter, palette(),
                                  false, NoFileText, foregroundRole());
            return;
        }
        const QString shown = fontMetrics().elidedText(text(), Qt::ElideMiddle, area.width());
        style()->drawItemText(&painter, area, Qt::AlignLeft | Qt::AlignVCenter, palette(),
                              isEnabled(), shown, foregroundRole());
    }

public:
    static inline const QString NoFileText = QStringLiteral("No file loaded");
};

const QString MidiExtension = QStringLiteral(".mid");

} // namespace

QString FormatPlayTime(long long ms) {
    const long long seconds = std::max(ms, 0LL) / 1000;
    return QStringLiteral("%1:%2").arg(seconds / 60).arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

TfrmMidiPlayer::TfrmMidiPlayer(MidiFilePlayer& player, DialogService& dialogs,
                               std::function<QString()> lastDir, QWidget* parent)
    : FixedDialog(QStringLiteral("frmMidiPlayer"), QStringLiteral("Midi Player"), parent),
      player_(player), dialogs_(dialogs), lastDir_(std::move(lastDir)), timer_(new QTimer(this)) {
    // A title bar without a close box: the window closes with OK or Escape.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);

    Label1 = new PathLabel(this);
    lblPosition = MakeLabel(QStringLiteral("lblPosition"), FormatPlayTime(0));
    lblState = MakeLabel(QStringLiteral("lblState"), QString());
    for (QLabel* label : {lblPosition, lblState})
        label->setTextFormat(Qt::PlainText);
    lblState->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    prgPosition = new QProgressBar(this);
    prgPosition->setObjectName(QStringLiteral("prgPosition"));
    prgPosition->setTextVisible(false);
    prgPosition->setRange(0, 1);
    prgPosition->setValue(0);

    BitBtnOpen = MakeButton(QStringLiteral("BitBtnOpen"), QStringLiteral("Open"));
    BitBtnPlay = MakeButton(QStringLiteral("BitBtnPlay"), QStringLiteral("Play"));
    BitBtnStop = MakeButton(QStringLiteral("BitBtnStop"), QStringLiteral("Stop"));
    BitBtnPause = MakeButton(QStringLiteral("BitBtnPause"), QStringLiteral("Pause/Resume"));
    BitBtnOK = MakeButton(QStringLiteral("BitBtnOK"), QStringLiteral("OK"), true);
    const std::pair<QPushButton*, QStyle::StandardPixmap> icons[] = {
        {BitBtnOpen, QStyle::SP_DialogOpenButton},
        {BitBtnPlay, QStyle::SP_MediaPlay},
        {BitBtnStop, QStyle::SP_MediaStop},
        {BitBtnPause, QStyle::SP_MediaPause},
        {BitBtnOK, QStyle::SP_DialogOkButton}};
    for (const auto& [button, icon] : icons)
        button->setIcon(style()->standardIcon(icon));

    auto* status = new QHBoxLayout;
    status->addWidget(lblPosition);
    status->addStretch();
    status->addWidget(lblState);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* button : {BitBtnOpen, BitBtnPlay, BitBtnStop, BitBtnPause})
        buttons->addWidget(button);
    buttons->addSpacing(24);
    buttons->addStretch();
    buttons->addWidget(BitBtnOK);
    auto* main = new QVBoxLayout;
    main->addWidget(Label1);
    main->addLayout(status);
    main->addWidget(prgPosition);
    main->addSpacing(4);
    main->addLayout(buttons);
    SetFixedLayout(main);

    connect(BitBtnOpen, &QPushButton::clicked, this, [this] { BitBtnOpenClick(); });
    connect(BitBtnPlay, &QPushButton::clicked, this, [this] { BitBtnPlayClick(); });
    connect(BitBtnStop, &QPushButton::clicked, this, [this] { BitBtnStopClick(); });
    connect(BitBtnPause, &QPushButton::clicked, this, [this] { BitBtnPauseClick(); });
    connect(BitBtnOK, &QPushButton::clicked, this, &QDialog::accept);
    timer_->setInterval(RefreshIntervalMs);
    connect(timer_, &QTimer::timeout, this, [this] { TimerTick(); });

    // FormCreate: no file yet.
    Label1->clear();
    RefreshPosition();
}

TfrmMidiPlayer::~TfrmMidiPlayer() {
    player_.Close();
}

void TfrmMidiPlayer::showEvent(QShowEvent* event) {
    FixedDialog::showEvent(event);
    deactivated_ = true;
    player_.Prepare(); // the sounds load while the window appears
    timer_->start();
    // Some desktops (and a bare X server) never activate a new window; its showing counts.
    QTimer::singleShot(0, this, [this] {
        if (isVisible())
            FormActivate();
    });
    RefreshPosition();
}

void TfrmMidiPlayer::hideEvent(QHideEvent* event) {
    FormDeactivate();
    timer_->stop();
    player_.Release(); // the sounds take memory; they load again at the next showing
    FixedDialog::hideEvent(event);
}

void TfrmMidiPlayer::changeEvent(QEvent* event) {
    FixedDialog::changeEvent(event);
    if (event->type() != QEvent::ActivationChange || !isVisible())
        return;
    if (isActiveWindow())
        FormActivate();
    else if (ownDialogs_ == 0)
        FormDeactivate();
}

void TfrmMidiPlayer::FormActivate() {
    if (!deactivated_)
        return; // back from the window's own dialog: still active
    deactivated_ = false;
    if (player_.IsOpen())
        return; // Open has opened and started a file meanwhile
    if (!player_.IsReady()) {
        player_.Prepare();
        pending_ = std::max(pending_, Pending::Open);
        RefreshPosition();
        return;
    }
    OpenDevice();
}

void TfrmMidiPlayer::FormDeactivate() {
    deactivated_ = true;
    pending_ = Pending::None; // what waited for the sounds is dropped
    player_.Close();
    RefreshPosition();
}

bool TfrmMidiPlayer::IsDeviceProblem(const QString& error) {
    return !error.isEmpty() && error == player_.DeviceProblem();
}

void TfrmMidiPlayer::OpenDevice() {
    const QString error = player_.Open(fileName_);
    RefreshPosition();
    // A device that cannot sound at all is said once, on the state line, not in a box at every
    // activation and every file.
    if (!error.isEmpty() && !IsDeviceProblem(error))
        ShowError(error);
}

void TfrmMidiPlayer::ShowError(const QString& text) {
    ++ownDialogs_;
    dialogs_.Message(text, MessageIcon::Error, MessageButtons::Ok);
    --ownDialogs_;
}

void TfrmMidiPlayer::BitBtnOpenClick() {
    FileDialogRequest request;
    request.title = QStringLiteral("Open");
    // The last folder used, else home; never the folder the program was started from.
    request.directory = DialogStartFolder(QString(), lastDir_ ? lastDir_() : QString());
    request.filter = QStringLiteral("MIDI files (*.mid *.MID *.midi)");
    request.defaultSuffix = QStringLiteral("mid");
    ++ownDialogs_;
    const std::optional<QString> chosen = dialogs_.OpenFile(request);
    --ownDialogs_;
    if (!chosen)
        return;
    // Whatever extension was typed or picked, the ".mid" file of that name is played
    // ("song.MIDI" asks for "song.mid"). File names are case-sensitive here, and files exported
    // as "<song>.MID" must still open: the same name with ".MID" (or any other letter case of
    // the extension) is taken when "song.mid" itself does not exist.
    const QString wanted = ChangeFileExt(*chosen, MidiExtension);
    const QString path = ExistingFileIgnoringExtensionCase(wanted);
    if (path.isEmpty()) {
        // A folder or a named pipe of that name is named for what it is.
        const std::string special = SpecialFileError(ToStd(wanted));
        ShowError(special.empty()
                      ? QDir::toNativeSeparators(wanted) + QStringLiteral(" doesn't exist!")
                      : FromStd(special));
        return;
    }
    if (!player_.IsReady()) {
        // The sounds are still loading: the file opens and plays as soon as they are there.
        pendingFile_ = path;
        pending_ = Pending::OpenAndPlay;
        RefreshPosition();
        return;
    }
    LoadAndPlay(path);
}

bool TfrmMidiPlayer::LoadAndPlay(const QString& path) {
    // The device takes the new file in place of the old one; a file it cannot load leaves the
    // old one loaded (and playing) rather than closing the device over nothing.
    const QString error = player_.Open(path);
    if (IsDeviceProblem(error)) {
        // The file is fine; the device cannot play anything. It is the file chosen, shown as
        // such, and it opens once the device can (at the next showing).
        ShowFile(path);
        RefreshPosition();
        return false;
    }
    if (!error.isEmpty()) {
        RefreshPosition();
        ShowError(error);
        return false;
    }
    ShowFile(path);
    player_.SeekToStart();
    player_.Play();
    RefreshPosition();
    return true;
}

void TfrmMidiPlayer::ShowFile(const QString& path) {
    fileName_ = path;
    Label1->setText(path);
    Label1->setToolTip(QDir::toNativeSeparators(path));
}

void TfrmMidiPlayer::BitBtnPlayClick() {
    if (!player_.IsOpen() && !player_.DeviceProblem().isEmpty()) {
        // Nothing can play: the state line says why, and the press is heard as refused.
        QApplication::beep();
        RefreshPosition();
        return;
    }
    player_.SeekToStart();
    player_.Play();
    RefreshPosition();
}

void TfrmMidiPlayer::BitBtnStopClick() {
    player_.Stop();
    RefreshPosition();
}

void TfrmMidiPlayer::BitBtnPauseClick() {
    if (!player_.IsOpen()) {
        if (!player_.DeviceProblem().isEmpty()) {
            QApplication::beep(); // the state line says why already
            RefreshPosition();
            return;
        }
        ShowError(QStringLiteral("No MCI device open"));
        return;
    }
    switch (player_.Mode()) {
    case PlayerMode::Playing:
        player_.Pause();
        break;
    case PlayerMode::Paused:
        if (!player_.Resume())
            player_.Play();
        break;
    case PlayerMode::Stopped:
        break;
    }
    RefreshPosition();
}

void TfrmMidiPlayer::TimerTick() {
    if (pending_ != Pending::None && player_.IsReady() && !deactivated_) {
        const Pending waiting = pending_;
        pending_ = Pending::None;
        if (waiting == Pending::OpenAndPlay)
            LoadAndPlay(pendingFile_); // refused: said so, and the device stays closed
        else
            OpenDevice();
        return;
    }
    RefreshPosition();
}

void TfrmMidiPlayer::RefreshPosition() {
    const bool loading = pending_ != Pending::None;
    for (QPushButton* button : {BitBtnPlay, BitBtnStop, BitBtnPause})
        button->setEnabled(!loading);
    const PlayerPosition at = player_.Position();
    lblPosition->setText(FormatPlayTime(at.positionMs) + QStringLiteral(" / ") +
                         FormatPlayTime(at.lengthMs));
    constexpr long long most = std::numeric_limits<int>::max();
    prgPosition->setRange(0, static_cast<int>(std::clamp(at.lengthMs, 1LL, most)));
    prgPosition->setValue(static_cast<int>(std::clamp(at.positionMs, 0LL, most)));
    QString state = QStringLiteral("Stopped");
    const QString problem = player_.DeviceProblem();
    if (loading)
        state = QStringLiteral("Loading sounds...");
    else if (!problem.isEmpty() && !player_.IsOpen())
        state = problem;
    else if (player_.Mode() == PlayerMode::Playing)
        state = QStringLiteral("Playing");
    else if (player_.Mode() == PlayerMode::Paused)
        state = QStringLiteral("Paused");
    lblState->setText(state);
}

} // namespace fw
