#pragma once
// Helpers of the tablature window tests: chord lists parsed as the program parses them, and
// looking at drawn pixels.

#include "export/tablature/tab_paint_area.h"

#include "chords/chord_parser.h"

#include <QImage>

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace fw::test {

inline std::vector<ChordEntry> ParseLines(const std::vector<std::string>& lines) {
    std::vector<ChordEntry> entries;
    for (std::size_t i = 0; i <= lines.size(); ++i) {
        ParsedLine parsed = ParseChordText(i < lines.size() ? lines[i] : "", static_cast<int>(i));
        EXPECT_TRUE(parsed.ok()) << "line " << i << ": " << parsed.error;
        entries.push_back(std::move(parsed.entry));
    }
    return entries;
}

// A document of the chord list `lines`, as the window makes it.
inline TabDocument DocumentOf(const std::vector<std::string>& lines, TabTexts texts = {},
                              TabDrawOptions options = {}) {
    TabDocument document;
    document.items = BuildTabItems(ParseLines(lines), lines);
    AssignMeasureSizes(document.items);
    document.measures = NonEmptyMeasures(document.items);
    document.texts = std::move(texts);
    document.options = options;
    return document;
}

// A chord list of `count` one-chord measures; measure i (from 1) plays fret i % 23 on string 1.
inline std::vector<std::string> NumberedMeasures(int count) {
    std::vector<std::string> lines;
    for (int i = 1; i <= count; ++i) {
        if (i > 1)
            lines.emplace_back();
        lines.push_back("m" + std::to_string(i) + ", 0, 0, 0, 0, " + std::to_string(i % 23) +
                        ", Q");
    }
    return lines;
}

inline QImage WhiteImage(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

inline bool IsInk(const QImage& image, int x, int y) {
    return x >= 0 && y >= 0 && x < image.width() && y < image.height() &&
           qGray(image.pixel(x, y)) < 160;
}

// The smallest rectangle holding every ink pixel of `area`, if there is any.
inline std::optional<QRect> InkBox(const QImage& image, const QRect& area) {
    QRect box;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (IsInk(image, x, y))
                box = box.united(QRect(x, y, 1, 1));
    if (box.isNull())
        return std::nullopt;
    return box;
}

} // namespace fw::test
