#pragma once
// Helpers of the tablature window tests: documents of chord lists parsed as the program parses
// them (the parsing itself is shared with the tablature text tests), and looking at drawn pixels.

#include "export/tablature/tab_paint_area.h"
#include "export/tests/tab_test_support.h"

#include <QImage>

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace fw::test {

// A document of the chord list `lines`, as the window makes it.
inline TabDocument DocumentOf(const std::vector<std::string>& lines, TabTexts texts = {},
                              TabDrawOptions options = {}) {
    TabDocument document;
    document.items = ItemsOf(lines);
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
        // Appended, not "m" + ...: GCC 12 at -O3 takes that for an overlapping copy.
        std::string line = "m";
        line += std::to_string(i) + ", 0, 0, 0, 0, " + std::to_string(i % 23) + ", Q";
        lines.push_back(line);
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
