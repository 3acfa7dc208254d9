#pragma once
// How stored setting texts read back as integers and Booleans. Every setting is stored as
// text; a missing value takes its default before these are called.

#include <string_view>

namespace fw {

// A text longer than 2 characters that starts with "0x" or "0X" has those two characters
// replaced by "$", the hexadecimal marker; the text is then read with ReadInteger. "0x1F" and
// "$1F" read 31, "12" reads 12, and "12 ", "abc" or "0x" read `defaultValue`.
int ReadSettingIntegerText(std::string_view text, int defaultValue);

// ReadSettingIntegerText(text, 1 or 0) != 0: "1" and "-5" read true, "0" false, and a text
// that is not an integer reads `defaultValue`.
bool ReadSettingBoolText(std::string_view text, bool defaultValue);

// The low 8 bits, 0..255, that the 8-bit setting fields keep: 300 gives 44, -1 gives 255.
int Low8Bits(int value);

} // namespace fw
