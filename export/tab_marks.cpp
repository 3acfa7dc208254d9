#include "tab_marks.h"

#include "chords/text_rules.h"
#include "chords/tuning.h"

namespace fw {

int ShownFret(int string, int fret, bool neckFrets) {
    if (neckFrets && string == 5 && fret > 0)
        return fret + FifthStringNeckOffset;
    return fret;
}

char HammerMark(int start, int target, bool letterMarks) {
    if (!letterMarks)
        return '/';
    return target < start ? 'p' : 'h';
}

std::array<std::string, 6> StaffStringNames(int tuningCode) {
    const std::string digits = TuningDigits(RepairedTuningCode(tuningCode));
    std::array<std::string, 6> names;
    // The digits run from string 5 to string 1.
    for (int k = 1; k <= 5; ++k) {
        const int digit = digits[static_cast<std::size_t>(5 - k)] - '0';
        names[static_cast<std::size_t>(k)] = TuningNoteName(k, digit);
        if (names[static_cast<std::size_t>(k)] == "?") {
            return {};
        }
    }
    std::string& fifth = names[5];
    if (!fifth.empty() && fifth[0] >= 'A' && fifth[0] <= 'Z')
        fifth[0] = static_cast<char>(fifth[0] - 'A' + 'a');
    return names;
}

bool IsChordName(std::string_view name) {
    const std::string upper = UpperCase(TrimView(name));
    return !upper.empty() && upper != "CHORD" && upper != "REST";
}

std::string_view ShownChordName(std::string_view name) {
    name = TrimView(name);
    // " (n)": a space, an open parenthesis, one or two digits and a closing one.
    const std::size_t open = name.rfind(" (");
    if (open == std::string_view::npos || open == 0 || name.back() != ')')
        return name;
    const std::string_view digits = name.substr(open + 2, name.size() - open - 3);
    if (digits.empty() || digits.size() > 2 ||
        digits.find_first_not_of("0123456789") != std::string_view::npos)
        return name;
    return TrimView(name.substr(0, open));
}

std::string_view ChordNameChanges::Label(const TabItem& chord) {
    if (chord.IsTerminator || chord.IsRest() || !IsChordName(chord.Name))
        return {};
    const std::string_view name = ShownChordName(chord.Name);
    if (name == last_)
        return {};
    last_ = name;
    return name;
}

} // namespace fw
