// The settings value reader against an independent reading of the integer rule: optional
// spaces, an optional sign, decimal digits or "$" (or a leading "0x") and hexadecimal digits,
// nothing after them, within 32 bits, 2147483647 meaning "no number".

#include "fuzz_support.h"

#include "chords/setting_values.h"
#include "chords/text_rules.h"

#include <charconv>
#include <climits>
#include <cstring>
#include <optional>

using namespace fw;
using namespace fw::fuzz;

namespace {

std::optional<long long> ReferenceInteger(std::string_view text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return std::nullopt;
    text.remove_prefix(first);
    bool negative = false;
    if (text.front() == '+' || text.front() == '-') {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    int base = 10;
    if (!text.empty() && text.front() == '$') {
        base = 16;
        text.remove_prefix(1);
    }
    if (text.empty() || text.front() == '-' || text.front() == '+')
        return std::nullopt;
    unsigned long long magnitude = 0;
    const auto [end, error] =
        std::from_chars(text.data(), text.data() + text.size(), magnitude, base);
    if (error == std::errc::result_out_of_range && end == text.data() + text.size())
        return std::nullopt; // far too big
    if (error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    if (magnitude > (negative ? 2147483648ULL : 2147483647ULL))
        return std::nullopt;
    const long long value =
        negative ? -static_cast<long long>(magnitude) : static_cast<long long>(magnitude);
    if (value == INT_MAX)
        return std::nullopt;
    return value;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text = AsText(data, size);
    const std::optional<int> read = ReadInteger(text);
    const std::optional<long long> expected = ReferenceInteger(text);
    FUZZ_CHECK(read.has_value() == expected.has_value(), "the same texts are numbers");
    if (read)
        FUZZ_CHECK(*read == *expected, "the same value");

    // Settings texts: "0x" stands for "$" when something follows it.
    const int fallback = -77;
    std::string asRule(text);
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X'))
        asRule = "$" + std::string(text.substr(2));
    const std::optional<long long> setting = ReferenceInteger(asRule);
    const int got = ReadSettingIntegerText(text, fallback);
    FUZZ_CHECK(got == (setting ? *setting : fallback), "a setting reads by the integer rule");
    FUZZ_CHECK(ReadSettingBoolText(text, true) == (setting ? *setting != 0 : true),
               "a Boolean setting is a non-zero integer");
    FUZZ_CHECK(Low8Bits(got) >= 0 && Low8Bits(got) <= 255, "eight bits are 0..255");

    // Every number but the "no number" one reads back from its decimal text.
    if (size >= 4) {
        int value = 0;
        std::memcpy(&value, data, sizeof value);
        const std::optional<int> back = ReadInteger(std::to_string(value));
        FUZZ_CHECK(value == INT_MAX ? !back : back && *back == value, "decimal texts read back");
    }
    return 0;
}
