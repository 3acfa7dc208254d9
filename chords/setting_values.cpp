#include "setting_values.h"

#include "text_rules.h"

#include <string>

namespace fw {

int ReadSettingIntegerText(std::string_view text, int defaultValue) {
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        std::string hex = "$";
        hex += text.substr(2);
        return ReadInteger(hex).value_or(defaultValue);
    }
    return ReadInteger(text).value_or(defaultValue);
}

bool ReadSettingBoolText(std::string_view text, bool defaultValue) {
    return ReadSettingIntegerText(text, defaultValue ? 1 : 0) != 0;
}

int Low8Bits(int value) {
    return value & 0xFF;
}

} // namespace fw
