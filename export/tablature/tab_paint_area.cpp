#include "tab_paint_area.h"

#include "tab_printing.h"

#include "chords/text_rules.h"

#include <QImage>
#include <QPaintEvent>
#include <QPainter>

#include <algorithm>

namespace fw {

namespace {

int FloorDiv(int a, int b) {
    return a >= 0 ? a / b : -((-a + b - 1) / b);
}

int CeilDiv(int a, int b) {
    return -FloorDiv(-a, b);
}

} // namespace

bool TabDocument::HasTruncatedMeasure() const {
    return std::any_of(measures.begin(), measures.end(), [this](const TabMeasure& measure) {
        return IsTruncated(MeasureChords(items, measure), options.forms.bars);
    });
}

// A row's drawing reaches half a number above its top line (numbers and arcs) and a line of
// text below the duration letters, 7 pixels under its bottom line.
RowRange RowsMeeting(const TabGeometry& g, int textHeight, int rows, int top, int bottom) {
    const int above = textHeight;
    const int below = g.StaffHeight + g.DurationGap + textHeight;
    RowRange range;
    range.first = std::max(0, CeilDiv(top - g.FirstStaffTop - below, g.RowHeight()));
    range.last = std::min(rows - 1, FloorDiv(bottom - g.FirstStaffTop + above, g.RowHeight()));
    return range;
}

void PaintTablature(QPainter& painter, const TabDocument& document, const QSize& size,
                    const QRect& exposed) {
    const TabGeometry g = ScreenTabGeometry(size.width());
    painter.setClipRect(exposed);
    painter.fillRect(exposed, Qt::white);
    painter.setPen(Qt::black);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(0, 0, size.width() - 1, size.height() - 1);
    painter.setFont(TabNumberFont(TabDevice::Screen));
    DrawScreenTitles(painter, g, document.texts);

    const int textHeight =
        QFontMetrics(TabNumberFont(TabDevice::Screen, true), painter.device()).height();
    TabCanvas canvas(painter, g, document.options, TabDevice::Screen);
    if (document.options.PlainRows()) {
        const int rows = static_cast<int>((document.measures.size() + 1) / 2);
        const RowRange range = RowsMeeting(g, textHeight, rows, exposed.top(), exposed.bottom());
        DrawAllMeasures(canvas, document.items, document.measures, range.first, range.last);
        return;
    }
    canvas.SetSong(document.items);
    const std::vector<PlacedRow> rows = canvas.PlanRows(document.items, document.measures);
    const int pitch = canvas.RowPitch();
    const int firstTop = g.FirstStaffTop + canvas.RoomAbove();
    // A row reaches a row's pitch above its top line at most, and its pitch below.
    const int first = std::max(0, (exposed.top() - firstTop) / pitch - 1);
    for (int r = first; r < static_cast<int>(rows.size()); ++r) {
        const int top = firstTop + r * pitch;
        if (top - pitch > exposed.bottom())
            break;
        canvas.DrawRow(document.items, document.measures, rows[static_cast<std::size_t>(r)], top);
    }
}

int PaintHeight(const TabDocument& document) {
    if (document.options.Engraved())
        return EngravedPaintSize(document, TabView{}, ScreenDpi).height();
    if (document.options.PlainRows())
        return ScreenPaintHeight(static_cast<int>(document.measures.size()));
    // The rows are planned with the screen's fonts on an image of the screen's resolution.
    QImage image(1, 1, QImage::Format_RGB32);
    QPainter painter(&image);
    const TabGeometry g = ScreenTabGeometry();
    TabCanvas canvas(painter, g, document.options, TabDevice::Screen);
    const long long rows =
        static_cast<long long>(canvas.PlanRows(document.items, document.measures).size());
    const long long height = g.FirstStaffTop + canvas.RoomAbove() + rows * canvas.RowPitch();
    return static_cast<int>(std::min<long long>(height, QWIDGETSIZE_MAX));
}

EngravedScreen EngravedScreenOf(const TabView& view, int dpi) {
    EngravedScreen screen;
    const QSize page = EngravedPageArea(PdfPageLayout(false));
    screen.scale = view.zoom * dpi / EngravingDpi;
    screen.geometry = EngravedPageGeometry(page);
    // A margin of a line spacing around the staves.
    screen.margin = screen.geometry.LineSpacing;
    if (!view.pageView)
        screen.geometry.UsableWidth =
            std::max(screen.geometry.LineSpacing * 8,
                     static_cast<int>(view.windowWidth / screen.scale) - 2 * screen.margin);
    return screen;
}

std::vector<PlacedRow> EngravedScreenRows(const TabDocument& document, const TabView& view,
                                          int dpi) {
    QImage image(1, 1, QImage::Format_RGB32);
    QPainter painter(&image);
    TabCanvas canvas(painter, EngravedScreenOf(view, dpi).geometry, document.options);
    canvas.SetSong(document.items);
    return canvas.PlanRows(document.items, document.measures);
}

namespace {

// The titles over engraved tablature on the screen, in fonts sized in EngravingDpi units.
void DrawEngravedTitles(QPainter& painter, const TabGeometry& g, const TabTexts& texts) {
    const auto sized = [](QFont font) {
        font.setPixelSize(qRound(font.pointSizeF() * EngravingDpi / 72.0));
        return font;
    };
    const QFont title = sized(TabTitleFont());
    const QFont small = sized(TabSubtitleFont(TabDevice::Printer));
    painter.setFont(small);
    WriteText(painter, g.LeftMargin, 0, texts.tuning);
    const auto centred = [&](const QFont& font, int y, const QString& text) {
        painter.setFont(font);
        const int width = painter.fontMetrics().horizontalAdvance(text);
        WriteText(painter, g.LeftMargin + std::max(0, (g.UsableWidth - width) / 2), y, text);
    };
    centred(title, g.TitleTop, texts.title);
    if (!Trim(texts.subtitle.toStdString()).empty()) {
        const int height = QFontMetrics(title, painter.device()).height();
        centred(small, g.TitleTop + height + height / 4, texts.subtitle);
    }
}

} // namespace

void TabPaintArea::SetView(const TabView& view) {
    view_ = view;
    Resize();
    update();
}

void TabPaintArea::Resize() {
    if (!document_) {
        setFixedSize(ScreenPaintWidth, std::min(ScreenPaintHeight(0), QWIDGETSIZE_MAX));
        return;
    }
    if (!document_->options.Engraved()) {
        // The plain drawing at its own size, scaled by the zoom.
        const double height = static_cast<double>(PaintHeight(*document_)) * view_.zoom;
        setFixedSize(qRound(ScreenPaintWidth * view_.zoom),
                     static_cast<int>(std::min<double>(height, QWIDGETSIZE_MAX)));
        return;
    }
    setFixedSize(EngravedPaintSize(*document_, view_, logicalDpiX()));
}

QSize EngravedPaintSize(const TabDocument& document, const TabView& view, int dpi) {
    const EngravedScreen screen = EngravedScreenOf(view, dpi);
    QImage image(1, 1, QImage::Format_RGB32);
    QPainter painter(&image);
    TabCanvas canvas(painter, screen.geometry, document.options);
    canvas.SetSong(document.items);
    const double rows =
        static_cast<double>(canvas.PlanRows(document.items, document.measures).size());
    const TabGeometry& g = screen.geometry;
    const double units =
        g.FirstStaffTop + canvas.RoomAbove() + rows * canvas.RowPitch() + 2 * screen.margin;
    return QSize(qRound((g.UsableWidth + 2 * screen.margin) * screen.scale),
                 static_cast<int>(std::min<double>(units * screen.scale, QWIDGETSIZE_MAX)));
}

TabPaintArea::TabPaintArea(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("PaintBox1"));
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TabPaintArea::SetDocument(const TabDocument* document) {
    document_ = document;
    // A widget cannot be taller than QWIDGETSIZE_MAX (about 186,000 rows of tablature); the
    // rows of a longer song past that are printed but not shown.
    Resize();
    update();
}

void TabPaintArea::paintEvent(QPaintEvent* event) {
    if (!document_)
        return;
    QPainter painter(this);
    if (document_->options.Engraved()) {
        painter.fillRect(event->rect(), Qt::white);
        const EngravedScreen screen = EngravedScreenOf(view_, logicalDpiX());
        painter.scale(screen.scale, screen.scale);
        painter.translate(screen.margin, screen.margin);
        // The exposed band in units.
        const double top = event->rect().top() / screen.scale - screen.margin;
        const double bottom = event->rect().bottom() / screen.scale - screen.margin;
        const TabGeometry& g = screen.geometry;
        painter.setPen(Qt::black);
        DrawEngravedTitles(painter, g, document_->texts);
        TabCanvas canvas(painter, g, document_->options);
        canvas.SetSong(document_->items);
        const std::vector<PlacedRow> rows = canvas.PlanRows(document_->items, document_->measures);
        const int pitch = canvas.RowPitch();
        const int firstTop = g.FirstStaffTop + canvas.RoomAbove();
        for (std::size_t r = 0; r < rows.size(); ++r) {
            const int rowTop = firstTop + static_cast<int>(r) * pitch;
            if (rowTop + pitch < top || rowTop - pitch > bottom)
                continue;
            canvas.DrawRow(document_->items, document_->measures, rows[r], rowTop);
        }
        painter.end();
        emit painted();
        return;
    }
    if (view_.zoom != 1) {
        // The plain drawing scaled: the exposed part in its own coordinates.
        painter.scale(view_.zoom, view_.zoom);
        const QRect exposed =
            QRectF(event->rect().x() / view_.zoom, event->rect().y() / view_.zoom,
                   event->rect().width() / view_.zoom + 2, event->rect().height() / view_.zoom + 2)
                .toAlignedRect();
        PaintTablature(painter, *document_,
                       QSize(ScreenPaintWidth, static_cast<int>(height() / view_.zoom)), exposed);
        painter.end();
        emit painted();
        return;
    }
    PaintTablature(painter, *document_, size(), event->rect());
    painter.end();
    emit painted();
}

} // namespace fw
