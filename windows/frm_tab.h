#pragma once
// The tablature window: the chord list as graphic tablature, which can be printed, or as ASCII
// tablature, which can be saved as a ".tab" file. It is shown modally; Escape closes it, and
// the arrow and page keys scroll it whichever control has the focus.

#include "export/tablature/tab_paint_area.h"

#include "chords/chord_entry.h"
#include "export/ascii_tab.h"

#include <QDialog>

#include <optional>
#include <string>
#include <vector>

class QCheckBox;
class QLabel;
class QPlainTextEdit;
class QPrinter;
class QPushButton;
class QScrollArea;
class QScrollBar;

namespace fw {

class DialogService;

enum class TabMode { Graphic, Ascii };

// What one showing of the window reads from the main window.
struct TabSource {
    std::vector<std::string> lines;       // the editor's lines
    std::vector<ChordEntry> entries;      // every line parsed, plus the blank entry after the last
    QString songPath;                     // full path; empty for an untitled song
    QString tuningText;                   // the tuning as the status bar shows it
    int tuningCode = ReferenceTuningCode; // names the strings
};

// The settings the window reads.
struct TabSettings {
    bool tabPrompt = true;      // the titles were confirmed in the titles box
    bool showDurations = false; // duration letters under the chords
    bool boldNumbers = false;   // graphic tablature's numbers in bold
    QString lastDir;            // where the save dialog starts when the song has no folder
    TabOptions forms;           // rhythm, bars, neck frets, h/p marks, names
    int zoomPercent = 100;      // graphic tablature's zoom, 25..400
    bool pageView = false;      // engraved tablature laid out at the printed page's width
};

// Titles as confirmed in the titles box.
struct ConfirmedTitles {
    QString title;
    QString subtitle;
};

class TfrmTab : public QDialog {
    Q_OBJECT
public:
    explicit TfrmTab(DialogService& dialogs, QWidget* parent = nullptr);

    // Prepares a showing: the titles (those confirmed in the titles box, or with `titles` empty
    // those of the comment lines with the file name for a missing title), the measures, and
    // the view of `mode`. In ASCII mode a measure of more than 24 chords is reported here; in
    // graphic mode after the first paint.
    void Open(TabMode mode, TabSource source, const TabSettings& settings,
              const std::optional<ConfirmedTitles>& titles);

    TabMode mode() const { return mode_; }
    const TabDocument& document() const { return document_; }
    // The ASCII text, one entry per line of the text view.
    const std::vector<std::string>& asciiLines() const { return ascii_.lines; }

    // Print: the print dialog, then the tablature on the chosen printer.
    void btnPrintClick();
    // Save (ASCII): the save dialog, then the text with ".tab" as the file's extension.
    void btnSaveClick();
    // The zoom (percent) and the page view as the user left them, for the settings.
    int zoomPercent() const;
    bool pageView() const;
    // Zooms graphic tablature in (`steps` > 0) or out by steps of a quarter; 25% to 400%.
    void ZoomBy(int steps);
    // The zoom at which the page (or the plain drawing) fills the window's width.
    void FitWidth();
    void SetPageView(bool on);

    // Prints on a printer that is set up. False (after telling the user) when printing could
    // not start.
    bool PrintOn(QPrinter& printer);

    QPushButton* btnPrint = nullptr;
    QPushButton* btnSave = nullptr;
    QPushButton* btnExit = nullptr;
    QPushButton* btnFitWidth = nullptr; // "Fit width"
    QCheckBox* chkPageView = nullptr;   // "Page view"
    QLabel* lblZoom = nullptr;          // "100%"
    QScrollArea* scrlTab = nullptr;     // holds the paint area
    TabPaintArea* PaintBox1 = nullptr;
    QPlainTextEdit* Memo1 = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    // Handles the window's own keys; true when `key` was one of them.
    bool FormKeyDown(int key);
    void ScrollBy(int pixels);
    void LayOutViews();
    void ShowTruncationWarning();
    void PaintBox1Painted();
    void ApplyView();

    DialogService& dialogs_;
    TabMode mode_ = TabMode::Graphic;
    TabSource source_;
    TabSettings settings_;
    TabDocument document_;
    AsciiTab ascii_;
    bool truncationPending_ = false; // graphic: warn after the first paint
    bool truncationWarned_ = false;
    double zoom_ = 1;
};

} // namespace fw
