#include "editor/fret_number_fit.h"
#include "editor/fretboard_geometry.h"
#include "editor/fretboard_view.h"

#include <gtest/gtest.h>

#include <QFontMetricsF>
#include <QImage>
#include <QPainter>

#include <vector>

namespace fw {
namespace {

struct Span {
    qreal left, right; // layout x
};

// The horizontal extents, in layout x, of the groups of view pixel columns inside `rect` that
// change when the fret numbers are hidden; digits of one number lie closer together than a blank.
std::vector<Span> DrawnNumbers(FretboardView& view, const QRect& rect) {
    view.setShowFretNumbers(true);
    const QImage shown = view.grab().toImage();
    view.setShowFretNumbers(false);
    const QImage hidden = view.grab().toImage();
    const NeckTransform t = view.transform();
    const QRect area = t.toView(QRectF(rect)).toAlignedRect();
    std::vector<Span> spans;
    int lastLit = -100;
    for (int x = area.left(); x <= area.right(); ++x) {
        bool lit = false;
        for (int y = area.top(); y <= area.bottom() && !lit; ++y)
            lit = shown.pixel(x, y) != hidden.pixel(x, y);
        if (!lit)
            continue;
        const qreal layoutLeft = (x - t.toView(QPointF(0, 0)).x()) / t.scale();
        if (x - lastLit > 2 * t.scale())
            spans.push_back({layoutLeft, layoutLeft});
        spans.back().right = layoutLeft + 1 / t.scale();
        lastLit = x;
    }
    return spans;
}

struct LabelCase {
    const char* name;
    QRect rect;
    std::vector<int> positions;
};

TEST(FretNumbers, DrawnUnderTheirFretSpacesAtEverySize) {
    const LabelCase cases[] = {
        {"lblFretNumbers01", FretNumbersRect01, {1, 3}},
        {"lblFretNumbers02", FretNumbersRect02, {7, 10, 12, 15, 17, 19, 22}},
    };
    for (QSize size : {QSize(581, 127), QSize(1162, 254), QSize(1500, 200)}) {
        FretboardView view;
        view.resize(size);
        for (const auto& c : cases) {
            const std::vector<Span> spans = DrawnNumbers(view, c.rect);
            ASSERT_EQ(spans.size(), c.positions.size()) << c.name << " at " << size.width();
            for (std::size_t i = 0; i < spans.size(); ++i) {
                const int position = c.positions[i];
                const qreal centre = (spans[i].left + spans[i].right) / 2.0;
                EXPECT_GE(centre, MarkerColumnLeft(position)) << c.name << " " << position;
                EXPECT_LE(centre, MarkerColumnLeft(position) + MarkerColumnWidth(position))
                    << c.name << " " << position;
                EXPECT_LE(spans[i].right, c.rect.right() + 1) << c.name << " " << position;
            }
        }
    }
}

struct FitCase {
    QString text;
    int left, width;
};

// Where the fit puts the centre of each number, measured with the fitted font.
std::vector<qreal> FittedCentres(const FitCase& c, const QFont& font, const FretNumberFit& fit) {
    QFont spaced = font;
    spaced.setLetterSpacing(QFont::AbsoluteSpacing, fit.letterSpacing);
    const QFontMetricsF metrics(spaced);
    std::vector<qreal> centres;
    for (qsizetype i = 0; i < c.text.size(); ++i) {
        if (c.text[i] == QLatin1Char(' ') || (i > 0 && c.text[i - 1] != QLatin1Char(' ')))
            continue;
        qsizetype end = i;
        while (end < c.text.size() && c.text[end] != QLatin1Char(' '))
            ++end;
        const qreal from = metrics.horizontalAdvance(c.text.left(i));
        const qreal to = metrics.horizontalAdvance(c.text.left(end)) - fit.letterSpacing;
        centres.push_back(c.left + fit.indent + (from + to) / 2);
    }
    return centres;
}

TEST(FretNumbers, FitCentresNumbersInTheirColumnsForOtherFonts) {
    const FitCase cases[] = {
        {QStringLiteral("1 3"), 36, 200},
        {QStringLiteral("7  8  9"), 240, 120},
        {QStringLiteral("13  14  15  16"), 400, 200},
        {QStringLiteral("16    18    20"), 440, 140},
    };
    for (const char* family : {"DejaVu Sans", "Liberation Serif", "DejaVu Sans Mono"}) {
        QFont font(QString::fromLatin1(family));
        font.setPointSize(8);
        for (const auto& c : cases) {
            const FretNumberFit fit = FitFretNumbers(c.text, font, c.left, c.width);
            EXPECT_GE(fit.indent, 0);
            const QStringList numbers = c.text.split(QLatin1Char(' '), Qt::SkipEmptyParts);
            const std::vector<qreal> centres = FittedCentres(c, font, fit);
            ASSERT_EQ(centres.size(), std::size_t(numbers.size()));
            for (std::size_t i = 0; i < centres.size(); ++i) {
                const int position = numbers[qsizetype(i)].toInt();
                const qreal target = MarkerColumnLeft(position) + MarkerColumnWidth(position) / 2.0;
                EXPECT_NEAR(centres[i], target, 2.0) << family << " " << position;
            }
        }
    }
}

TEST(FretNumbers, TextIsKeptInsideTheLabel) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSize(8);
    const FitCase cases[] = {
        {QStringLiteral("1        3"), 80, 200}, // "1" would start left of the label
        {QStringLiteral("1        3"), 30, 100}, // "3" would end right of it
    };
    for (const auto& c : cases) {
        const FretNumberFit fit = FitFretNumbers(c.text, font, c.left, c.width);
        QFont spaced = font;
        spaced.setLetterSpacing(QFont::AbsoluteSpacing, fit.letterSpacing);
        EXPECT_GE(fit.indent, 0) << c.left;
        EXPECT_LE(fit.indent + QFontMetricsF(spaced).horizontalAdvance(c.text), c.width) << c.left;
    }
}

} // namespace
} // namespace fw
