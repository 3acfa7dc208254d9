#pragma once
// Crossing between the editor's QString lines and the chord core's UTF-8 texts.

#include "chords/chord_parser.h"
#include "chords/text_rules.h"

#include <QString>

namespace fw {

inline std::string ToStd(const QString& text) {
    return text.toStdString();
}
inline QString FromStd(const std::string& text) {
    return QString::fromStdString(text);
}

// Empty once characters of code 0 to 32 are trimmed from both ends.
inline bool IsBlankText(const QString& text) {
    return Trim(ToStd(text)).empty();
}
inline bool IsCommentText(const QString& text) {
    return IsCommentLine(ToStd(text));
}

} // namespace fw
