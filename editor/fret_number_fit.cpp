#include "fret_number_fit.h"

#include "fretboard_geometry.h"

#include <QFontMetricsF>

#include <algorithm>
#include <cmath>
#include <vector>

namespace fw {

namespace {

// Where a number must start, as a line over the letter spacing: start + chars * spacing.
struct Aim {
    qreal chars;    // characters before the number's centre, counting its own half
    qreal required; // the text start that centres the number with no letter spacing
};

} // namespace

FretNumberFit FitFretNumbers(const QString& text, const QFont& font, int labelLeft,
                             int labelWidth) {
    QFont plain = font;
    plain.setLetterSpacing(QFont::AbsoluteSpacing, 0);
    plain.setWordSpacing(0);
    const QFontMetricsF metrics(plain);
    const auto advance = [&](qsizetype chars) {
        return metrics.horizontalAdvance(text.left(chars));
    };

    // With letter spacing L, character i starts at start + advance(i) + i * L; a number from
    // `begin` to `end` is centred at start + (advance(begin) + advance(end)) / 2
    // + (begin + end - 1) / 2 * L.
    std::vector<Aim> aims;
    for (qsizetype begin = 0; begin < text.size();) {
        if (text[begin] == QLatin1Char(' ')) {
            ++begin;
            continue;
        }
        qsizetype end = begin;
        while (end < text.size() && text[end] != QLatin1Char(' '))
            ++end;
        bool ok = false;
        const int position = text.mid(begin, end - begin).toInt(&ok);
        if (ok && position >= 0 && position <= MaxFret) {
            const qreal target = MarkerColumnLeft(position) + MarkerColumnWidth(position) / 2.0;
            aims.push_back({(begin + end - 1) / 2.0, target - (advance(begin) + advance(end)) / 2});
        }
        begin = end;
    }

    qreal spacing = 0;
    qreal start = labelLeft;
    if (!aims.empty()) {
        qreal meanChars = 0, meanRequired = 0;
        for (const Aim& a : aims) {
            meanChars += a.chars;
            meanRequired += a.required;
        }
        meanChars /= qreal(aims.size());
        meanRequired /= qreal(aims.size());
        qreal sxx = 0, sxy = 0;
        for (const Aim& a : aims) {
            sxx += (a.chars - meanChars) * (a.chars - meanChars);
            sxy += (a.chars - meanChars) * (a.required - meanRequired);
        }
        // Keep blanks visible as gaps however the numbers are spaced.
        const qreal least = -metrics.horizontalAdvance(QLatin1Char(' ')) * 0.75;
        if (sxx > 0)
            spacing = std::max(sxy / sxx, least);
        start = meanRequired - spacing * meanChars;
    }

    QFont spaced = plain;
    spaced.setLetterSpacing(QFont::AbsoluteSpacing, spacing);
    const qreal textWidth = QFontMetricsF(spaced).horizontalAdvance(text);
    start = std::min(start, labelLeft + labelWidth - textWidth);
    start = std::max(start, qreal(labelLeft));
    return {int(std::floor(start - labelLeft)), spacing};
}

} // namespace fw
