#pragma once
// The fretboard at the top of the main window: the neck picture `imgAllFrets` in its black frame
// `shpNeckRect`, the labels `lblChordName`, `lblFretNumbers01` and `lblFretNumbers02` over it,
// and the 115 fret markers above them all. It only paints what it is told and reports presses;
// what a press means is up to the owner.
//
// The view's own coordinates are the main window's client coordinates: place it at (0, 0) of
// the client area (it keeps its fixed size, sizeHint()). Outside the frame it is transparent.

#include "chords/chord_entry.h"
#include "editor/fretboard_geometry.h"

#include <QList>
#include <QPixmap>
#include <QWidget>

#include <array>

class QLabel;

namespace fw {

enum class MarkerState { Hidden, Note, HammerTarget };

// One fret marker as it stands.
struct FretMarker {
    QString name; // "DOT_s%.2d_f%.2d"
    MarkerId id;
    QRect rect;
    MarkerState state = MarkerState::Hidden;
    bool enabled = true;
};

// The picture's hint, shown as tool tip and status tip over the picture and the enabled markers.
extern const char* const FretboardHint;

// 0x00BBGGRR -> colour.
QColor ColorFromBgr(quint32 bgr);

class FretboardView : public QWidget {
    Q_OBJECT
public:
    static constexpr quint32 DefaultMarkerColor = 0xFFFF00; // aqua
    static constexpr quint32 HammerTargetColor = 0xFFFFFF;  // white
    static constexpr int DefaultMarkerShape = ShapeCircle;

    explicit FretboardView(QWidget* parent = nullptr);

    QSize sizeHint() const override;

    // Shows a chord: ShowStringMarkers for strings 1..5 in order with frets[s] and
    // hammerFrets[s] (index 0 unused). All NoFret clears the fretboard.
    void ShowChordMarkers(const FretArray& frets, const FretArray& hammerFrets);

    // Redraws one row from fret values (not positions), NoFret for none: the row is cleared,
    // the fret's marker shows the marker colour and the hammer-on target's marker white (white
    // wins when both are the same). For string 5 the values are shifted to positions first.
    // Positions outside 0..MaxFret, and the disabled string-5 positions, show nothing; the row
    // is cleared all the same. An invalid string number changes nothing.
    void ShowStringMarkers(int string, int fret, int hammerFret);

    // Marker colour in 0x00BBGGRR form and marker shape (ShapeRectangle, ShapeSquare,
    // ShapeEllipse, ShapeCircle; any other value draws as a circle). Both repaint at once.
    void setMarkerColor(quint32 bgr);
    quint32 markerColor() const { return markerColor_; }
    void setMarkerShape(int shape);
    int markerShape() const { return markerShape_; }

    // The text of `lblChordName`.
    void setChordName(const QString& text);
    QString chordName() const;

    // Visibility of `lblChordName` (setting ShowChordName) and of both fret-number labels
    // (setting ShowFretNumbers).
    void setShowChordName(bool show);
    void setShowFretNumbers(bool show);

    // State of one marker; Hidden for an invalid id.
    MarkerState markerState(int string, int position) const;
    // All 115 markers, row by row (string 1 first), positions 0..MaxFret within a row.
    QList<FretMarker> markers() const;

    // The hint at a point: FretboardHint over the picture and the enabled markers, empty over
    // the disabled markers and outside.
    QString hintAt(QPoint point) const;

signals:
    // A press with any button on an enabled marker.
    void markerPressed(int string, int position, Qt::MouseButton button);
    // A left press on the peg rectangle of string 5 that is not on an enabled marker.
    void pegPressed();
    // A button released over an enabled marker.
    void markerReleased();

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void paintMarkers(QPainter& painter) const;
    void showHintAndCursor(QPoint point);
    void setStatusHint(const QString& hint);

    std::array<std::array<MarkerState, PositionCount>, StringCount> states_{};
    quint32 markerColor_ = DefaultMarkerColor;
    int markerShape_ = DefaultMarkerShape;
    QLabel* chordName_ = nullptr;
    QLabel* fretNumbers01_ = nullptr;
    QLabel* fretNumbers02_ = nullptr;
    QWidget* markerLayer_ = nullptr;
    QPixmap picture_;
    QString statusHint_;
    bool pickCursorShown_ = false;
};

} // namespace fw
