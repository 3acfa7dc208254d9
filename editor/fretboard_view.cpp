#include "fretboard_view.h"

#include "fret_number_fit.h"
#include "neck_picture.h"
#include "pick_cursor.h"

#include <QCoreApplication>
#include <QFontMetricsF>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStatusTipEvent>
#include <QToolTip>

namespace fw {

const char* const FretboardHint = "Left button places and removes notes. Right button for "
                                  "hammer-ons.";

QColor ColorFromBgr(quint32 bgr) {
    return QColor(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF));
}

const char* const FretNumbersText01 = "    1                       3";
const char* const FretNumbersText02 =
    "7                       10             12               15        17        19              "
    "22";

namespace {

// The label texts: sans serif, white, at a size given in layout pixels so that they scale with
// the picture; unhinted, so that their advances scale exactly and the fret numbers stay over
// their fret spaces.
QFont LabelFont(int layoutPixels) {
    QFont font(QStringLiteral("Liberation Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setFamilies({QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
    font.setPixelSize(layoutPixels);
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

constexpr int ChordNamePixels = 10;  // fits the strip above the fingerboard
constexpr int FretNumberPixels = 11; // 8 points on a 96 dpi screen

void DrawFretNumbers(QPainter& painter, const QRect& rect, const QString& text,
                     std::optional<FretNumberFit>& fitted) {
    QFont font = LabelFont(FretNumberPixels);
    if (!fitted)
        fitted = FitFretNumbers(text, font, rect.left(), rect.width());
    const FretNumberFit fit = *fitted;
    font.setLetterSpacing(QFont::AbsoluteSpacing, fit.letterSpacing);
    painter.setFont(font);
    painter.drawText(QRectF(rect).adjusted(fit.indent, 0, 0, 0),
                     Qt::AlignLeft | Qt::AlignVCenter | Qt::TextDontClip, text);
}

} // namespace

FretboardView::FretboardView(QWidget* parent) : QWidget(parent) {
    QSizePolicy policy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
    resize(sizeHint());
    setMouseTracking(true);
    for (auto& row : states_)
        row.fill(MarkerState::Hidden);
}

QSize FretboardView::sizeHint() const {
    return NeckArea.size();
}

QSize FretboardView::minimumSizeHint() const {
    return NeckArea.size();
}

int FretboardView::heightForWidth(int width) const {
    return NeckHeightForWidth(width);
}

void FretboardView::ShowChordMarkers(const FretArray& frets, const FretArray& hammerFrets) {
    for (int string = 1; string <= StringCount; ++string)
        ShowStringMarkers(string, frets[std::size_t(string)], hammerFrets[std::size_t(string)]);
}

void FretboardView::ShowStringMarkers(int string, int fret, int hammerFret) {
    if (string < 1 || string > StringCount)
        return;
    auto& row = states_[std::size_t(string - 1)];
    const auto before = row;
    row.fill(MarkerState::Hidden);
    const auto show = [&](int value, MarkerState state) {
        const int position = MarkerPosition(string, value);
        if (MarkerEnabled(string, position))
            row[std::size_t(position)] = state;
    };
    show(fret, MarkerState::Note);
    show(hammerFret, MarkerState::HammerTarget);
    // Only the markers that changed are painted again: a play changes a few for every chord.
    const NeckTransform view = transform();
    for (std::size_t position = 0; position < row.size(); ++position)
        if (row[position] != before[position])
            update(view.toView(QRectF(MarkerRect(string, int(position))))
                       .toAlignedRect()
                       .adjusted(-1, -1, 1, 1));
}

void FretboardView::setMarkerColor(quint32 bgr) {
    markerColor_ = bgr & 0xFFFFFF;
    update();
}

void FretboardView::setMarkerShape(int shape) {
    markerShape_ = shape;
    update();
}

void FretboardView::setChordName(const QString& text) {
    if (text == chordName_)
        return;
    chordName_ = text;
    update(transform().toView(QRectF(ChordNameRect.adjusted(-3, -3, 3, 3))).toAlignedRect());
}

void FretboardView::setShowChordName(bool show) {
    showChordName_ = show;
    update();
}

void FretboardView::setShowFretNumbers(bool show) {
    showFretNumbers_ = show;
    update();
}

MarkerState FretboardView::markerState(int string, int position) const {
    if (!IsMarkerId(string, position))
        return MarkerState::Hidden;
    return states_[std::size_t(string - 1)][std::size_t(position)];
}

QList<FretMarker> FretboardView::markers() const {
    QList<FretMarker> list;
    list.reserve(MarkerCount);
    for (int string = 1; string <= StringCount; ++string) {
        for (int position = 0; position <= MaxFret; ++position) {
            list.append({MarkerName(string, position), MarkerId{string, position},
                         MarkerRect(string, position), markerState(string, position),
                         MarkerEnabled(string, position)});
        }
    }
    return list;
}

QString FretboardView::hintAt(QPoint point) const {
    if (EnabledMarkerAt(point))
        return QString::fromLatin1(FretboardHint);
    for (int position = 0; position < FifthStringShift; ++position) {
        if (MarkerRect(StringCount, position).contains(point))
            return {};
    }
    return PictureRect.contains(point) ? QString::fromLatin1(FretboardHint) : QString();
}

bool FretboardView::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const QString hint = hintAt(transform().toLayout(help->pos()));
        if (hint.isEmpty()) {
            QToolTip::hideText();
            event->ignore();
        } else {
            QToolTip::showText(help->globalPos(), hint, this);
        }
        return true;
    }
    return QWidget::event(event);
}

void FretboardView::paintEvent(QPaintEvent* event) {
    const qreal ratio = devicePixelRatioF();
    const NeckTransform t = transform();
    // The picture is drawn once per size and pixel ratio, at the screen's own resolution.
    if (neck_.isNull() || neck_.devicePixelRatio() != ratio || neck_.size() != size() * ratio) {
        neck_ = QPixmap(size() * ratio);
        neck_.setDevicePixelRatio(ratio);
        neck_.fill(Qt::transparent);
        QPainter picture(&neck_);
        picture.setRenderHint(QPainter::Antialiasing);
        picture.setTransform(t.transform());
        picture.fillRect(NeckFrameRect, Qt::black);
        picture.translate(PictureRect.topLeft());
        PaintNeckPicture(picture);
    }
    QPainter painter(this);
    painter.drawPixmap(0, 0, neck_);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setTransform(t.transform());
    const QRectF dirty(event->rect());
    paintLabels(painter, dirty);
    paintMarkers(painter, dirty); // above the labels, as the markers lay over them
}

void FretboardView::resizeEvent(QResizeEvent* event) {
    neck_ = QPixmap();
    QWidget::resizeEvent(event);
}

void FretboardView::paintLabels(QPainter& painter, const QRectF& dirty) const {
    painter.setPen(Qt::white);
    const NeckTransform t = transform();
    // With a margin for glyphs that reach out of their box.
    const auto inDirty = [&](const QRect& layout) {
        return t.toView(QRectF(layout.adjusted(-3, -3, 3, 3))).intersects(dirty);
    };
    if (showChordName_ && !chordName_.isEmpty() && inDirty(ChordNameRect)) {
        painter.setFont(LabelFont(ChordNamePixels));
        const QFontMetricsF metrics(painter.font());
        // A long name is cut with an ellipsis rather than run off the neck.
        painter.drawText(QRectF(ChordNameRect), Qt::AlignCenter | Qt::TextSingleLine,
                         metrics.elidedText(chordName_, Qt::ElideRight, ChordNameRect.width()));
    }
    if (showFretNumbers_ && inDirty(FretNumbersRect01))
        DrawFretNumbers(painter, FretNumbersRect01, QString::fromLatin1(FretNumbersText01),
                        fretNumberFits_[0]);
    if (showFretNumbers_ && inDirty(FretNumbersRect02))
        DrawFretNumbers(painter, FretNumbersRect02, QString::fromLatin1(FretNumbersText02),
                        fretNumberFits_[1]);
}

void FretboardView::paintMarkers(QPainter& painter, const QRectF& dirty) const {
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    const QColor noteColour = ColorFromBgr(markerColor_);
    const QColor hammerColour = ColorFromBgr(HammerTargetColor);
    // Straight from the states: a repaint during a play names no markers.
    for (int string = 1; string <= StringCount; ++string) {
        for (int position = 0; position <= MaxFret; ++position) {
            const MarkerState state = markerState(string, position);
            if (state == MarkerState::Hidden)
                continue;
            const QRect rect = MarkerRect(string, position);
            if (!transform().toView(QRectF(rect.adjusted(-1, -1, 1, 1))).intersects(dirty))
                continue;
            painter.setBrush(state == MarkerState::Note ? noteColour : hammerColour);
            const QRectF area = MarkerShapeRect(rect, markerShape_);
            if (markerShape_ == ShapeRectangle || markerShape_ == ShapeSquare)
                painter.drawRect(area);
            else
                painter.drawEllipse(area);
        }
    }
}

void FretboardView::mousePressEvent(QMouseEvent* event) {
    const QPoint point = transform().toLayout(event->position());
    const FretboardHit hit = HitTest(point);
    if (hit.kind == FretboardHit::Marker)
        emit markerPressed(hit.marker.string, hit.marker.position, event->button());
    else if (hit.kind == FretboardHit::Peg && event->button() == Qt::LeftButton)
        emit pegPressed();
}

void FretboardView::mouseReleaseEvent(QMouseEvent* event) {
    if (EnabledMarkerAt(transform().toLayout(event->position())))
        emit markerReleased();
}

void FretboardView::mouseMoveEvent(QMouseEvent* event) {
    showHintAndCursor(transform().toLayout(event->position()));
}

void FretboardView::leaveEvent(QEvent*) {
    setStatusHint(QString());
    if (pickCursorShown_) {
        unsetCursor();
        pickCursorShown_ = false;
    }
}

void FretboardView::showHintAndCursor(QPoint layoutPoint) {
    setStatusHint(hintAt(layoutPoint));
    const bool overMarker = EnabledMarkerAt(layoutPoint).has_value();
    if (overMarker == pickCursorShown_)
        return;
    pickCursorShown_ = overMarker;
    if (overMarker)
        setCursor(PickCursor(devicePixelRatioF()));
    else
        unsetCursor();
}

// Status tips follow the point, so they are sent by hand instead of through setStatusTip.
void FretboardView::setStatusHint(const QString& hint) {
    if (hint == statusHint_)
        return;
    statusHint_ = hint;
    QStatusTipEvent tip(hint);
    QCoreApplication::sendEvent(this, &tip);
}

} // namespace fw
