#include "tuning.h"

#include "text_rules.h"

namespace fw {

int TuningIndex(int code) {
    for (std::size_t i = 0; i < FixedTunings.size(); ++i)
        if (FixedTunings[i].tag == code)
            return static_cast<int>(i);
    return UserTuningIndex;
}

int RepairedTuningCode(int code) {
    return code < 10000 ? ReferenceTuningCode : code;
}

std::string TuningDigits(int code) {
    return std::to_string(RepairedTuningCode(code)).substr(0, 5);
}

std::array<int, 6> TuningOffsets(int code) {
    const std::string digits = TuningDigits(code);
    std::array<int, 6> offsets{};
    for (int i = 1; i <= 5; ++i)
        offsets[6 - i] = (digits[i - 1] - '0') - 5;
    return offsets;
}

const char* TuningNoteName(int stringNumber, int digit) {
    if (digit < 0 || digit > 9)
        return "?";
    switch (stringNumber) {
    case 5:
    case 3:
        return NoteNamesStrings5And3[digit];
    case 4:
    case 1:
        return NoteNamesStrings4And1[digit];
    case 2:
        return NoteNamesString2[digit];
    default:
        return "?";
    }
}

namespace {
constexpr std::array<const char*, 9> DigitsOneToNine(const std::array<const char*, 10>& names) {
    return {names[1], names[2], names[3], names[4], names[5],
            names[6], names[7], names[8], names[9]};
}
} // namespace

const std::array<const char*, 9>& DialogStringNames(int stringNumber) {
    static constexpr auto strings5And3 = DigitsOneToNine(NoteNamesStrings5And3);
    static constexpr auto strings4And1 = DigitsOneToNine(NoteNamesStrings4And1);
    static constexpr std::array<const char*, 9> string2 = {"G", "G#", "A", "A#", "B",
                                                           "C", "C#", "D", "D#"};
    switch (stringNumber) {
    case 2:
        return string2;
    case 4:
    case 1:
        return strings4And1;
    default:
        return strings5And3;
    }
}

std::string UserTuningCaption(int code) {
    const std::string digits = TuningDigits(code);
    std::string caption = "&Custom Tuning - ";
    for (int i = 1; i <= 5; ++i) {
        if (i > 1)
            caption += ' ';
        caption += TuningNoteName(6 - i, digits[i - 1] - '0');
    }
    return caption;
}

std::string StatusTuningText(std::string_view caption) {
    const std::size_t amp = caption.find('&');
    if (amp == std::string_view::npos)
        return std::string(caption);
    std::string text(caption.substr(0, amp));
    text += FirstCharsView(caption.substr(amp + 1), 100);
    return text;
}

std::string TuningStatusText(int code) {
    code = RepairedTuningCode(code);
    const int index = TuningIndex(code);
    if (index == UserTuningIndex)
        return StatusTuningText(UserTuningCaption(code));
    return StatusTuningText(FixedTunings[static_cast<std::size_t>(index)].caption);
}

} // namespace fw
