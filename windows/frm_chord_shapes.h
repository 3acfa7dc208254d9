#pragma once
// The Chord Shapes window (Edit > Chord Shapes...): the user types a chord name and sees every
// playable shape of it in the current tuning, best first, each as a small chord diagram. A
// click or an arrow key onto a shape sounds it; Insert (or Enter) adds its chord line, named
// like "Cm (3)", to the song after the cursor. The window does neither itself: it asks through
// its signals, so the sound and the insertion take the main window's paths.

#include <QDialog>

#include <array>

class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace fw {

class TfrmChordShapes : public QDialog {
    Q_OBJECT
public:
    explicit TfrmChordShapes(QWidget* parent = nullptr);

    // The tuning the shapes are found for (a TuningCode; 55555 at the start) and the capo
    // (0 to 12): shapes are found at the sounding pitch, their frets counted from the capo.
    // The list is found again at once.
    void SetTuning(int tuningCode, int capo = 0);
    int Tuning() const { return m_tuning; }
    int Capo() const { return m_capo; }

    // The chord lines of the listed shapes, best first ("Cm (3), 0, 5, 3, 4, 5, Q").
    QStringList ShapeLines() const;
    // The line of the chosen shape; empty when none is chosen.
    QString CurrentLine() const;

    QLabel* lblChord;    // "Chord &name:"
    QLineEdit* edtChord; // the chord name typed
    QLabel* lblTuning;   // the tuning the shapes are for
    QLabel* lblStatus;   // how many shapes, or why there are none
    QListWidget* lstShapes;
    QCheckBox* chkShowAll;  // "Show &all": every shape, not only the first twelve
    QPushButton* btnPlay;   // "&Play": sounds the chosen shape
    QPushButton* btnInsert; // "&Insert": the default button
    QPushButton* btnClose;

signals:
    // The user wants to hear `chordLine`.
    void previewRequested(const QString& chordLine);
    // The user wants `chordLine` inserted into the song after the current line.
    void insertRequested(const QString& chordLine);

protected:
    // Every showing starts in the name box with its text selected, ready for the next chord.
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void edtChordChange();
    void ShowShapes();
    void SoundRow(int row);
    void btnInsertClick();

    int m_tuning = 55555;
    int m_capo = 0;
    int m_rowAtPress = -1; // the chosen row when a mouse button went down on the list
};

} // namespace fw
