#include "fretboard_view.h"

#include "fret_number_fit.h"
#include "neck_picture.h"
#include "pick_cursor.h"

#include <QCoreApplication>
#include <QHelpEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QStatusTipEvent>
#include <QToolTip>

#include <functional>
#include <utility>

namespace fw {

const char* const FretboardHint = "Left button places and removes notes. Right button for "
                                  "hammer-ons.";

QColor ColorFromBgr(quint32 bgr) {
    return QColor(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF));
}

namespace {

// Paints the markers above the labels and lets every mouse event through to the view.
class MarkerLayer : public QWidget {
public:
    MarkerLayer(QWidget* parent, std::function<void(QPainter&)> paint)
        : QWidget(parent), paint_(std::move(paint)) {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAttribute(Qt::WA_NoSystemBackground);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        paint_(painter);
    }

private:
    std::function<void(QPainter&)> paint_;
};

QFont LabelFont() {
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setStyleHint(QFont::SansSerif);
    font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"),
                      QStringLiteral("DejaVu Sans")});
    font.setPointSize(8);
    return font;
}

QLabel* MakeLabel(QWidget* parent, const char* name, const QRect& rect, const QString& text,
                  Qt::Alignment alignment) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->setTextFormat(Qt::PlainText); // a chord name is never markup
    label->setGeometry(rect);
    label->setAlignment(alignment);
    label->setFont(LabelFont());
    label->setAttribute(Qt::WA_TransparentForMouseEvents);
    label->setAutoFillBackground(false);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, Qt::white);
    label->setPalette(palette);
    return label;
}

QLabel* MakeFretNumberLabel(QWidget* parent, const char* name, const QRect& rect,
                            const QString& text) {
    QLabel* label = MakeLabel(parent, name, rect, text, Qt::AlignLeft | Qt::AlignVCenter);
    const FretNumberFit fit = FitFretNumbers(text, label->font(), rect.left(), rect.width());
    QFont font = label->font();
    font.setLetterSpacing(QFont::AbsoluteSpacing, fit.letterSpacing);
    label->setFont(font);
    label->setIndent(fit.indent);
    return label;
}

} // namespace

FretboardView::FretboardView(QWidget* parent) : QWidget(parent) {
    setFixedSize(sizeHint());
    setMouseTracking(true);
    for (auto& row : states_)
        row.fill(MarkerState::Hidden);

    chordName_ = MakeLabel(this, "lblChordName", QRect(18, 4, 575, 17), QString(),
                           Qt::AlignHCenter | Qt::AlignVCenter);
    fretNumbers01_ = MakeFretNumberLabel(this, "lblFretNumbers01", QRect(36, 71, 129, 13),
                                         QStringLiteral("    1                       3"));
    fretNumbers02_ = MakeFretNumberLabel(
        this, "lblFretNumbers02", QRect(248, 82, 335, 13),
        QStringLiteral("7                       10             12               15        17   "
                       "     19              22"));
    markerLayer_ = new MarkerLayer(this, [this](QPainter& painter) { paintMarkers(painter); });
    markerLayer_->setGeometry(rect());
    markerLayer_->raise();
}

QSize FretboardView::sizeHint() const {
    QRect area = NeckFrameRect.united(MarkerRect(1, 0)).united(MarkerRect(1, MaxFret));
    return {area.right() + 1, area.bottom() + 1};
}

void FretboardView::ShowChordMarkers(const FretArray& frets, const FretArray& hammerFrets) {
    for (int string = 1; string <= StringCount; ++string)
        ShowStringMarkers(string, frets[std::size_t(string)], hammerFrets[std::size_t(string)]);
}

void FretboardView::ShowStringMarkers(int string, int fret, int hammerFret) {
    if (string < 1 || string > StringCount)
        return;
    auto& row = states_[std::size_t(string - 1)];
    row.fill(MarkerState::Hidden);
    const auto show = [&](int value, MarkerState state) {
        const int position = MarkerPosition(string, value);
        if (MarkerEnabled(string, position))
            row[std::size_t(position)] = state;
    };
    show(fret, MarkerState::Note);
    show(hammerFret, MarkerState::HammerTarget);
    markerLayer_->update();
}

void FretboardView::setMarkerColor(quint32 bgr) {
    markerColor_ = bgr & 0xFFFFFF;
    markerLayer_->update();
}

void FretboardView::setMarkerShape(int shape) {
    markerShape_ = shape;
    markerLayer_->update();
}

void FretboardView::setChordName(const QString& text) {
    chordName_->setText(text);
}

QString FretboardView::chordName() const {
    return chordName_->text();
}

void FretboardView::setShowChordName(bool show) {
    chordName_->setVisible(show);
}

void FretboardView::setShowFretNumbers(bool show) {
    fretNumbers01_->setVisible(show);
    fretNumbers02_->setVisible(show);
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
        const QString hint = hintAt(help->pos());
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

void FretboardView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const qreal ratio = devicePixelRatioF();
    if (picture_.isNull() || picture_.devicePixelRatio() != ratio)
        picture_ = RenderNeckPicture(ratio);
    painter.fillRect(NeckFrameRect, Qt::black);
    painter.drawPixmap(PictureRect.topLeft(), picture_);
}

void FretboardView::paintMarkers(QPainter& painter) const {
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    const QColor noteColour = ColorFromBgr(markerColor_);
    const QColor hammerColour = ColorFromBgr(HammerTargetColor);
    for (const FretMarker& marker : markers()) {
        if (marker.state == MarkerState::Hidden)
            continue;
        painter.setBrush(marker.state == MarkerState::Note ? noteColour : hammerColour);
        const QRectF area = MarkerShapeRect(marker.rect, markerShape_);
        if (markerShape_ == ShapeRectangle || markerShape_ == ShapeSquare)
            painter.drawRect(area);
        else
            painter.drawEllipse(area);
    }
}

void FretboardView::mousePressEvent(QMouseEvent* event) {
    const QPoint point = event->position().toPoint();
    const FretboardHit hit = HitTest(point);
    if (hit.kind == FretboardHit::Marker)
        emit markerPressed(hit.marker.string, hit.marker.position, event->button());
    else if (hit.kind == FretboardHit::Peg && event->button() == Qt::LeftButton)
        emit pegPressed();
}

void FretboardView::mouseReleaseEvent(QMouseEvent* event) {
    if (EnabledMarkerAt(event->position().toPoint()))
        emit markerReleased();
}

void FretboardView::mouseMoveEvent(QMouseEvent* event) {
    showHintAndCursor(event->position().toPoint());
}

void FretboardView::leaveEvent(QEvent*) {
    setStatusHint(QString());
    if (pickCursorShown_) {
        unsetCursor();
        pickCursorShown_ = false;
    }
}

void FretboardView::showHintAndCursor(QPoint point) {
    setStatusHint(hintAt(point));
    const bool overMarker = EnabledMarkerAt(point).has_value();
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
