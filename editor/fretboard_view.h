#pragma once
// The fretboard at the top of the main window: the neck picture `imgAllFrets` in its black frame
// `shpNeckRect`, the texts of `lblChordName`, `lblFretNumbers01` and `lblFretNumbers02` over it,
// and the 115 fret markers above them all. It only paints what it is told and reports presses;
// what a press means is up to the owner.
//
// Everything is drawn as vector shapes scaled to the widget: NeckArea of the layout
// (fretboard_geometry.h) fills the widget as far as its proportions allow, centred; what is
// left over at the sides is transparent. Presses, hints and the cursor go through the same
// mapping (transform()), so the click areas grow with the picture. The widget prefers the
// height that matches its width (heightForWidth) and never goes below the layout's 100% size.

#include "chords/chord_entry.h"
#include "editor/fret_number_fit.h"
#include "editor/fretboard_geometry.h"

#include <QFont>
#include <QList>
#include <QPixmap>
#include <QWidget>

#include <array>
#include <optional>

namespace fw {

enum class MarkerState { Hidden, Note, HammerTarget };

// One fret marker as it stands.
struct FretMarker {
    QString name; // "DOT_s%.2d_f%.2d"
    MarkerId id;
    QRect rect; // layout coordinates
    MarkerState state = MarkerState::Hidden;
    bool enabled = true;
};

// The picture's hint, shown as tool tip and status tip over the picture and the enabled markers.
extern const char* const FretboardHint;

// The texts over the picture, in layout coordinates: the chord name centred in the strip above
// the fingerboard, the fret numbers under the fret spaces they name.
constexpr QRect ChordNameRect{18, 3, 575, 12};
constexpr QRect FretNumbersRect01{36, 71, 129, 13};
constexpr QRect FretNumbersRect02{248, 82, 335, 13};
extern const char* const FretNumbersText01;
extern const char* const FretNumbersText02;

// 0x00BBGGRR -> colour.
QColor ColorFromBgr(quint32 bgr);

class FretboardView : public QWidget {
    Q_OBJECT
public:
    static constexpr quint32 DefaultMarkerColor = 0xFFFF00; // aqua
    static constexpr quint32 HammerTargetColor = 0xFFFFFF;  // white
    static constexpr int DefaultMarkerShape = ShapeCircle;

    explicit FretboardView(QWidget* parent = nullptr);

    QSize sizeHint() const override;        // NeckArea at 100%
    QSize minimumSizeHint() const override; // the same: smaller, the strings are too close
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;

    // Layout coordinates <-> this view's coordinates at its current size.
    NeckTransform transform() const { return NeckTransform::Fit(QSizeF(size())); }

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

    // The text of `lblChordName`, drawn as plain text (never markup).
    void setChordName(const QString& text);
    QString chordName() const { return chordName_; }

    // Visibility of `lblChordName` (setting ShowChordName) and of both fret-number labels
    // (setting ShowFretNumbers).
    void setShowChordName(bool show);
    void setShowFretNumbers(bool show);
    bool showsChordName() const { return showChordName_; }
    bool showsFretNumbers() const { return showFretNumbers_; }

    // State of one marker; Hidden for an invalid id.
    MarkerState markerState(int string, int position) const;
    // All 115 markers, row by row (string 1 first), positions 0..MaxFret within a row.
    QList<FretMarker> markers() const;

    // The hint at a layout point: FretboardHint over the picture and the enabled markers, empty
    // over the disabled markers and outside.
    QString hintAt(QPoint layoutPoint) const;

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
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    // Only what lies in `dirty` (view coordinates) is drawn: a play repaints a few markers and the
    // chord name for every chord, and shaping the fret numbers each time would cost the most.
    void paintLabels(QPainter& painter, const QRectF& dirty) const;
    void paintMarkers(QPainter& painter, const QRectF& dirty) const;
    void showHintAndCursor(QPoint layoutPoint);
    void setStatusHint(const QString& hint);

    std::array<std::array<MarkerState, PositionCount>, StringCount> states_{};
    quint32 markerColor_ = DefaultMarkerColor;
    int markerShape_ = DefaultMarkerShape;
    QString chordName_;
    bool showChordName_ = true;
    bool showFretNumbers_ = true;
    QPixmap neck_; // frame and picture at the current size and pixel ratio
    // The fit of each fret-number label, worked out at its first paint: the texts, their
    // places and their font never change, and fitting them costs more than drawing them.
    mutable std::array<std::optional<FretNumberFit>, 2> fretNumberFits_;
    QString statusHint_;
    bool pickCursorShown_ = false;
};

} // namespace fw
