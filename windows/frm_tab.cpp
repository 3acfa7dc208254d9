#include "frm_tab.h"

#include "export/tablature/tab_printing.h"

#include "app/shell/file_dialog_start.h"
#include "chords/text_file.h"
#include "export/tab_titles.h"
#include "ui/dialog_service.h"
#include "ui/window_placement.h"

#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QShortcut>
#include <QSignalBlocker>
#include <QTextOption>
#include <QTimer>
#include <QWheelEvent>

#include <cmath>

namespace fw {

namespace {

constexpr int ViewTop = 40;
constexpr int PaintLeft = 12;
constexpr int MemoLeft = 11;

QPushButton* MakeButton(QWidget* parent, const char* name, const char* text, int left) {
    auto* button = new QPushButton(QString::fromLatin1(text), parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoDefault(false);
    button->setGeometry(left, 5, 75, 25);
    return button;
}

QString JoinedText(const std::vector<std::string>& lines) {
    QStringList text;
    text.reserve(static_cast<qsizetype>(lines.size()));
    for (const std::string& line : lines)
        text << QString::fromStdString(line);
    return text.join(QLatin1Char('\n'));
}

// The chosen name with ".tab" as its extension, whatever was typed.
QString WithTabExtension(const QString& path) {
    const QFileInfo info(path);
    return QDir(info.path()).filePath(info.completeBaseName() + QStringLiteral(".tab"));
}

} // namespace

TfrmTab::TfrmTab(DialogService& dialogs, QWidget* parent) : QDialog(parent), dialogs_(dialogs) {
    setObjectName(QStringLiteral("frmTab"));
    setWindowTitle(QStringLiteral("Tablature"));
    setModal(true);
    setSizeGripEnabled(true);
    setMinimumSize(300, 200);

    btnPrint = MakeButton(this, "btnPrint", "Print", 13);
    btnSave = MakeButton(this, "btnSave", "Save", 13);
    btnExit = MakeButton(this, "btnExit", "Exit", 99);
    connect(btnPrint, &QPushButton::clicked, this, [this] { btnPrintClick(); });
    connect(btnSave, &QPushButton::clicked, this, [this] { btnSaveClick(); });
    connect(btnExit, &QPushButton::clicked, this, &QDialog::reject);
    // Ctrl+P prints, as in any desktop program, while the Print button is there (graphic mode).
    auto* print = new QShortcut(QKeySequence::Print, this);
    print->setObjectName(QStringLiteral("shortcutPrint"));
    connect(print, &QShortcut::activated, this, [this] {
        if (btnPrint->isVisible())
            btnPrintClick();
    });

    // Zoom: Ctrl++ and Ctrl+- (Ctrl+= too, the + key without Shift), Ctrl+wheel, "Fit width".
    btnFitWidth = MakeButton(this, "btnFitWidth", "Fit width", 185);
    connect(btnFitWidth, &QPushButton::clicked, this, [this] { FitWidth(); });
    chkPageView = new QCheckBox(QStringLiteral("Page view"), this);
    chkPageView->setObjectName(QStringLiteral("chkPageView"));
    chkPageView->setToolTip(QStringLiteral("Lay tablature out at the printed page's width"));
    chkPageView->setGeometry(271, 5, 100, 25);
    connect(chkPageView, &QCheckBox::toggled, this, [this](bool on) { SetPageView(on); });
    lblZoom = new QLabel(this);
    lblZoom->setObjectName(QStringLiteral("lblZoom"));
    lblZoom->setTextFormat(Qt::PlainText);
    lblZoom->setGeometry(375, 5, 60, 25);
    for (const QKeySequence& keys :
         {QKeySequence(QKeySequence::ZoomIn), QKeySequence(Qt::CTRL | Qt::Key_Equal)}) {
        auto* zoomIn = new QShortcut(keys, this);
        connect(zoomIn, &QShortcut::activated, this, [this] { ZoomBy(1); });
    }
    auto* zoomOut = new QShortcut(QKeySequence::ZoomOut, this);
    connect(zoomOut, &QShortcut::activated, this, [this] { ZoomBy(-1); });

    scrlTab = new QScrollArea(this);
    scrlTab->setObjectName(QStringLiteral("scrlTab"));
    scrlTab->setFrameShape(QFrame::NoFrame);
    scrlTab->setFocusPolicy(Qt::NoFocus);
    auto* page = new QWidget;
    PaintBox1 = new TabPaintArea(page);
    PaintBox1->move(PaintLeft, 0);
    scrlTab->setWidget(page);
    connect(PaintBox1, &TabPaintArea::painted, this, [this] { PaintBox1Painted(); });

    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setReadOnly(true);
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setFocusPolicy(Qt::ClickFocus);
    Memo1->setFont(AsciiTabFont());
    // Every line reads left to right as in the saved file, a right-to-left subtitle included:
    // its centring spaces stay in front of it.
    QTextOption lineDirection = Memo1->document()->defaultTextOption();
    lineDirection.setTextDirection(Qt::LeftToRight);
    Memo1->document()->setDefaultTextOption(lineDirection);
    QPalette palette = Memo1->palette();
    palette.setColor(QPalette::Text, Qt::black);
    palette.setColor(QPalette::Base, Qt::white);
    Memo1->setPalette(palette);

    // The window sees the scrolling keys before its controls do.
    for (QWidget* control :
         std::initializer_list<QWidget*>{btnPrint, btnSave, btnExit, btnFitWidth, chkPageView,
                                         scrlTab, scrlTab->viewport(), Memo1, Memo1->viewport()})
        control->installEventFilter(this);
    resize(628, 415);
}

void TfrmTab::Open(TabMode mode, TabSource source, const TabSettings& settings,
                   const std::optional<ConfirmedTitles>& titles) {
    mode_ = mode;
    source_ = std::move(source);
    settings_ = settings;
    zoom_ = std::clamp(settings.zoomPercent, 25, 400) / 100.0;
    truncationPending_ = false;
    truncationWarned_ = false;

    const QString defaultTitle =
        QString::fromStdString(DefaultTabTitle(source_.songPath.toStdString()));
    TabTexts& texts = document_.texts;
    texts.tuning = source_.tuningText;
    if (titles) {
        texts.title = titles->title;
        texts.subtitle = titles->subtitle;
    } else {
        texts.title = QString::fromStdString(TitleFromComments(source_.lines));
        if (texts.title.isEmpty())
            texts.title = defaultTitle;
        texts.subtitle = QString::fromStdString(SubtitleFromComments(source_.lines));
    }
    const Meter meter = MeterFromComments(source_.lines);
    document_.options = TabDrawOptions(settings.boldNumbers, settings.showDurations);
    document_.options.forms = settings.forms;
    document_.options.meter = meter;
    document_.options.tuningCode = source_.tuningCode;
    document_.items =
        settings.forms.bars == TabBars::BlankLines
            ? BuildTabItems(source_.entries, source_.lines)
            : BuildTabItems(source_.entries, source_.lines, TabBarRule{settings.forms.bars, meter});
    AssignMeasureSizes(document_.items);
    document_.measures = NonEmptyMeasures(document_.items);
    ascii_ = {};

    const bool graphic = mode == TabMode::Graphic;
    if (graphic) {
        setWindowTitle(QStringLiteral("Tablature"));
        PaintBox1->SetDocument(&document_);
        {
            const QSignalBlocker quiet(chkPageView);
            chkPageView->setChecked(settings.pageView);
        }
        truncationPending_ = document_.HasTruncatedMeasure();
    } else {
        PaintBox1->SetDocument(nullptr);
        // ASCII tablature always has a title: the file name stands in for an empty one.
        AsciiTabTitles asciiTitles{texts.tuning.toStdString(), texts.title.toStdString(),
                                   texts.subtitle.toStdString()};
        if (asciiTitles.title.empty())
            asciiTitles.title = defaultTitle.toStdString();
        if (settings.forms == TabOptions{}) {
            ascii_ = BuildAsciiTab(document_.items, asciiTitles, settings.showDurations);
        } else {
            TabOptions forms = settings.forms;
            if (settings.showDurations && !forms.ShowsRhythm())
                forms.rhythm = TabRhythm::Letters;
            ascii_ = BuildAsciiTab(document_.items, asciiTitles, forms, source_.tuningCode);
        }
        setWindowTitle(QStringLiteral("ASCII Tablature"));
        Memo1->setPlainText(JoinedText(ascii_.lines));
        Memo1->moveCursor(QTextCursor::Start);
        if (ascii_.truncated)
            ShowTruncationWarning();
    }
    scrlTab->setVisible(graphic);
    btnPrint->setVisible(graphic);
    btnFitWidth->setVisible(graphic);
    lblZoom->setVisible(graphic);
    // The page view is a matter of engraved tablature only.
    chkPageView->setVisible(graphic && document_.options.Engraved());
    Memo1->setVisible(!graphic);
    btnSave->setVisible(!graphic);
    scrlTab->verticalScrollBar()->setValue(0);
    resize(628, 415);
    LayOutViews();
}

int TfrmTab::zoomPercent() const {
    return qRound(zoom_ * 100);
}

bool TfrmTab::pageView() const {
    return chkPageView->isChecked();
}

void TfrmTab::ZoomBy(int steps) {
    if (mode_ != TabMode::Graphic || steps == 0)
        return;
    zoom_ = std::clamp(zoom_ * std::pow(1.25, steps), 0.25, 4.0);
    ApplyView();
}

void TfrmTab::FitWidth() {
    if (mode_ != TabMode::Graphic)
        return;
    const int room = std::max(50, scrlTab->viewport()->width() - 2 * PaintLeft);
    double natural = ScreenPaintWidth; // the plain drawing's width at 100%
    if (document_.options.Engraved()) {
        // The page's width at 100%: the window then shows the page's rows across its width.
        TabView page;
        page.pageView = true;
        const EngravedScreen screen = EngravedScreenOf(page, PaintBox1->logicalDpiX());
        natural = (screen.geometry.UsableWidth + 2 * screen.margin) * screen.scale;
    }
    zoom_ = std::clamp(room / natural, 0.25, 4.0);
    ApplyView();
}

void TfrmTab::SetPageView(bool on) {
    if (chkPageView->isChecked() != on) {
        chkPageView->setChecked(on); // comes back here through toggled
        return;
    }
    ApplyView();
}

void TfrmTab::ApplyView() {
    lblZoom->setText(QStringLiteral("%1%").arg(zoomPercent()));
    if (mode_ != TabMode::Graphic)
        return;
    TabView view;
    view.zoom = zoom_;
    view.pageView = chkPageView->isChecked();
    view.windowWidth = std::max(50, scrlTab->viewport()->width() - 2 * PaintLeft);
    PaintBox1->SetView(view);
    PaintBox1->parentWidget()->resize(PaintLeft + PaintBox1->width() + 2,
                                      PaintBox1->height() + PaintLeft);
}

void TfrmTab::ShowTruncationWarning() {
    if (truncationWarned_)
        return;
    truncationWarned_ = true;
    dialogs_.Message(QString::fromLatin1(TruncationWarningText), MessageIcon::Warning,
                     MessageButtons::Ok);
}

void TfrmTab::PaintBox1Painted() {
    if (!truncationPending_)
        return;
    truncationPending_ = false;
    // Not from inside the paint: the message box runs its own event loop.
    QTimer::singleShot(0, this, [this] { ShowTruncationWarning(); });
}

void TfrmTab::LayOutViews() {
    const int height = std::max(0, this->height() - ViewTop);
    scrlTab->setGeometry(0, ViewTop, width(), height);
    Memo1->setGeometry(MemoLeft, ViewTop, std::max(0, width() - 2 * MemoLeft),
                       std::max(0, height - MemoLeft));
    // Engraved tablature is laid out again at the window's new width.
    ApplyView();
}

void TfrmTab::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    LayOutViews();
}

void TfrmTab::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    CentreOnParent(*this);
    btnExit->setFocus(Qt::OtherFocusReason);
}

// Graphic tablature scrolls by pixels; the text view by its lines, a line for every started
// line height of the step.
void TfrmTab::ScrollBy(int pixels) {
    QScrollBar* bar = scrlTab->verticalScrollBar();
    int step = pixels;
    if (mode_ == TabMode::Ascii) {
        bar = Memo1->verticalScrollBar();
        const int lineHeight = std::max(1, Memo1->fontMetrics().lineSpacing());
        const int lines = (std::abs(pixels) + lineHeight - 1) / lineHeight;
        step = pixels < 0 ? -lines : lines;
    }
    bar->setValue(std::clamp(bar->value() + step, bar->minimum(), bar->maximum()));
}

bool TfrmTab::FormKeyDown(int key) {
    switch (key) {
    case Qt::Key_Escape:
        reject();
        return true;
    case Qt::Key_Down:
        ScrollBy(10);
        return true;
    case Qt::Key_PageDown:
        ScrollBy(50);
        return true;
    case Qt::Key_Up:
        ScrollBy(-10);
        return true;
    case Qt::Key_PageUp:
        ScrollBy(-50);
        return true;
    default:
        return false;
    }
}

bool TfrmTab::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Wheel && watched == scrlTab->viewport()) {
        const auto* wheel = static_cast<QWheelEvent*>(event);
        if (wheel->modifiers() & Qt::ControlModifier) {
            const int delta = wheel->angleDelta().y();
            ZoomBy(delta > 0 ? 1 : delta < 0 ? -1 : 0);
            return true;
        }
    }
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->modifiers() == Qt::NoModifier || key->modifiers() == Qt::KeypadModifier)
            if (FormKeyDown(key->key()))
                return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TfrmTab::keyPressEvent(QKeyEvent* event) {
    if (!FormKeyDown(event->key()))
        QDialog::keyPressEvent(event);
}

void TfrmTab::btnPrintClick() {
    QPrinter printer(QPrinter::HighResolution);
    // Print dialogs offer the document name as the file name to print to: the song's file
    // name, never a title that may hold a "/".
    printer.setDocName(QString::fromStdString(PrintDocumentName(source_.songPath.toStdString())));
    if (!dialogs_.Print(printer))
        return;
    PrintOn(printer);
}

bool TfrmTab::PrintOn(QPrinter& printer) {
    QPainter painter;
    if (!painter.begin(&printer)) {
        dialogs_.Message(QStringLiteral("Can't print: the printer could not be started."),
                         MessageIcon::Error, MessageButtons::Ok);
        return false;
    }
    PrintTablature(painter, printer, document_.items, document_.measures, document_.texts,
                   document_.options);
    if (!painter.end()) {
        dialogs_.Message(QStringLiteral("Can't print: the printer did not take the tablature."),
                         MessageIcon::Error, MessageButtons::Ok);
        return false;
    }
    return true;
}

void TfrmTab::btnSaveClick() {
    FileDialogRequest request;
    request.title = QStringLiteral("Save As ASCII Tablature");
    // The song's folder (else the last folder, else home) and the song's name, "Untitled.tab"
    // for a new song: a bare ".tab" would be saved as a hidden file.
    request.directory = DialogStartFolder(source_.songPath, settings_.lastDir);
    request.fileName = SuggestedFileName(source_.songPath, QStringLiteral(".tab"));
    request.filter = QStringLiteral("Tab files (*.tab);;All Files (*)");
    request.defaultSuffix = QStringLiteral("tab");
    request.confirmOverwrite = true;
    const std::optional<QString> chosen = dialogs_.SaveFile(request);
    if (!chosen)
        return;
    const QString path = WithTabExtension(*chosen);
    // The dialog asked about the name as typed; a file that only the forced extension hits
    // is not replaced without asking.
    if (QFileInfo(path).absoluteFilePath() != QFileInfo(*chosen).absoluteFilePath() &&
        QFileInfo::exists(path) &&
        dialogs_.Message(QStringLiteral("%1 already exists.\nDo you want to replace it?")
                             .arg(QDir::toNativeSeparators(path)),
                         MessageIcon::Warning, MessageButtons::YesNo) != DialogAnswer::Yes)
        return;
    std::string error;
    if (!WriteFileAtomically(path.toStdString(), JoinLinesCrLf(ascii_.lines), error))
        dialogs_.Message(QString::fromStdString(error), MessageIcon::Error, MessageButtons::Ok);
}

} // namespace fw
