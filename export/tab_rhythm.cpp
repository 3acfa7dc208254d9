// Durations from spacing within a meter.

#include "tab_rhythm.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <map>
#include <numeric>

namespace fw::tabstaff {

namespace {

struct Value {
    const char* text;
    int length64;
};

constexpr std::array<Value, 14> Values = {{
    {".W", 96},
    {"W", 64},
    {".H", 48},
    {"H", 32},
    {".Q", 24},
    {"Q", 16},
    {".E", 12},
    {"E", 8},
    {".S", 6},
    {"S", 4},
    {".T", 3},
    {"T", 2},
    {"F", 1},
    {".F", 0}, // a dotted sixty-fourth has no whole length: never chosen
}};

// The plain values whose triplets spacing is read as: thirty-second to quarter.
constexpr int MinTripletValue = 2;
constexpr int MaxTripletValue = 16;

// Gaps no further apart than this are taken as even.
constexpr double EvenSpread = 1.5;

bool IsDotted(int length64) {
    const std::optional<std::string> text = DurationOfLength(length64);
    return text && text->front() == '.';
}

std::vector<double> Scaled(const std::vector<double>& gaps, int measure64) {
    const double total = std::accumulate(gaps.begin(), gaps.end(), 0.0);
    std::vector<double> lengths;
    for (const double gap : gaps)
        lengths.push_back(total > 0
                              ? gap / total * measure64
                              : static_cast<double>(measure64) / static_cast<double>(gaps.size()));
    return lengths;
}

// The values nearest to `lengths` that add up to `measure64`, plain values preferred a little.
// `dotCost` in sixty-fourths: how much nearer a dotted value must be to be taken.
std::optional<std::vector<int>> Closest(const std::vector<double>& lengths, int measure64,
                                        double dotCost = 0.25) {
    const std::size_t n = lengths.size();
    if (n == 0 || static_cast<int>(n) > measure64)
        return std::nullopt;
    const double DotCost = dotCost;
    constexpr double LaterCost = 1e-6;
    constexpr double Never = std::numeric_limits<double>::infinity();
    const auto width = static_cast<std::size_t>(measure64) + 1;
    std::vector<double> cost((n + 1) * width, Never);
    std::vector<int> choice((n + 1) * width, 0);
    cost[0] = 0;
    for (std::size_t i = 0; i < n; ++i)
        for (std::size_t used = 0; used < width; ++used) {
            const double here = cost[i * width + used];
            if (here == Never)
                continue;
            for (const Value& v : Values) {
                if (v.length64 == 0)
                    continue;
                const std::size_t next = used + static_cast<std::size_t>(v.length64);
                if (next >= width)
                    continue;
                // Between equal fits the longer values come first.
                const double c =
                    here + std::abs(v.length64 - lengths[i]) + (v.text[0] == '.' ? DotCost : 0.0) +
                    LaterCost * static_cast<double>(i * static_cast<std::size_t>(v.length64));
                if (c < cost[(i + 1) * width + next]) {
                    cost[(i + 1) * width + next] = c;
                    choice[(i + 1) * width + next] = v.length64;
                }
            }
        }
    if (cost[n * width + width - 1] == Never)
        return std::nullopt;
    std::vector<int> result(n);
    std::size_t used = width - 1;
    for (std::size_t i = n; i > 0; --i) {
        result[i - 1] = choice[i * width + used];
        used -= static_cast<std::size_t>(result[i - 1]);
    }
    return result;
}

std::vector<std::string> Texts(const std::vector<int>& lengths) {
    std::vector<std::string> texts;
    for (const int length : lengths)
        texts.push_back(*DurationOfLength(length));
    return texts;
}

} // namespace

std::optional<std::string> DurationOfLength(int length64) {
    for (const Value& v : Values)
        if (v.length64 == length64 && length64 > 0)
            return std::string(v.text);
    return std::nullopt;
}

int LengthOfDuration(std::string_view text) {
    std::string upper(text);
    for (char& c : upper)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    for (const Value& v : Values)
        if (upper == v.text)
            return v.length64;
    return 0;
}

int NearestLength(double length64) {
    int best = 1;
    for (const Value& v : Values) {
        if (v.length64 == 0)
            continue;
        const double distance = std::abs(length64 - v.length64);
        const double bestDistance = std::abs(length64 - best);
        // On a tie the plain value.
        if (distance < bestDistance - 1e-9 ||
            (std::abs(distance - bestDistance) <= 1e-9 && IsDotted(best) && !IsDotted(v.length64)))
            best = v.length64;
    }
    return best;
}

FilledMeasure FillMeasure(const std::vector<double>& gaps, int measure64, bool compound) {
    FilledMeasure filled;
    const std::size_t n = gaps.size();
    if (n == 0)
        return filled;
    const std::vector<double> lengths = Scaled(gaps, measure64);
    std::vector<int> nearest;
    for (const double length : lengths)
        nearest.push_back(NearestLength(length));
    const double shortest = *std::min_element(gaps.begin(), gaps.end());
    const double longest = *std::max_element(gaps.begin(), gaps.end());
    const bool even = longest <= shortest * EvenSpread;
    // Web tabs often give every note the same room whatever its length: where the even value
    // is dotted, plain values that fill the measure are the likelier reading.
    const bool nearestFills = std::accumulate(nearest.begin(), nearest.end(), 0) == measure64;
    if (nearestFills && even && !compound && n > 1 &&
        std::any_of(nearest.begin(), nearest.end(), IsDotted)) {
        const double neverDotted = measure64;
        if (const std::optional<std::vector<int>> plain = Closest(lengths, measure64, neverDotted);
            plain && std::none_of(plain->begin(), plain->end(), IsDotted)) {
            filled.durations = Texts(*plain);
            filled.fill = Fill::PlainValues;
            return filled;
        }
    }
    if (nearestFills) {
        filled.durations = Texts(nearest);
        return filled;
    }
    const int count = static_cast<int>(n);
    const bool equalFits = measure64 % count == 0 && DurationOfLength(measure64 / count);
    // Notes spaced long, short, long, short (or the other way) are dotted pairs unless the
    // spacing is nearly even.
    bool longFirst = true;
    bool shortFirst = n % 2 == 0;
    for (std::size_t i = 0; i + 1 < n; i += 2) {
        longFirst = longFirst && gaps[i] > gaps[i + 1];
        shortFirst = shortFirst && gaps[i] < gaps[i + 1];
    }
    longFirst = longFirst && n % 2 == 0;
    if (equalFits && even) {
        filled.durations.assign(n, *DurationOfLength(measure64 / count));
        filled.fill = Fill::EqualValues;
        return filled;
    }
    if (n % 2 == 0 && measure64 % (count / 2) == 0 && (longFirst || shortFirst)) {
        const int pair = measure64 / (count / 2);
        const int longer = pair * 3 / 4;
        const int shorter = pair / 4;
        if (pair % 4 == 0 && DurationOfLength(longer) && DurationOfLength(shorter)) {
            for (std::size_t i = 0; i < n; i += 2) {
                filled.durations.push_back(*DurationOfLength(longFirst ? longer : shorter));
                filled.durations.push_back(*DurationOfLength(longFirst ? shorter : longer));
            }
            filled.fill = Fill::DottedPairs;
            return filled;
        }
    }
    if (equalFits) {
        filled.durations.assign(n, *DurationOfLength(measure64 / count));
        filled.fill = Fill::EqualValues;
        return filled;
    }
    // Evenly spaced notes in threes, each three in the time of two of a plain value up to a
    // quarter: triplets ("Q3" six times in 4/4), not dotted values.
    if (even && n % 3 == 0 && (measure64 * 3) % (2 * count) == 0) {
        const int value = measure64 * 3 / (2 * count);
        if (value >= MinTripletValue && value <= MaxTripletValue && !IsDotted(value) &&
            DurationOfLength(value)) {
            filled.durations.assign(n, *DurationOfLength(value) + "3");
            filled.fill = Fill::Triplets;
            return filled;
        }
    }
    if (const std::optional<std::vector<int>> closest = Closest(lengths, measure64)) {
        filled.durations = Texts(*closest);
        filled.fill = Fill::Closest;
        return filled;
    }
    filled.durations = Texts(nearest);
    filled.fill = Fill::NotFilled;
    return filled;
}

std::optional<std::size_t> CommonGap(const std::vector<std::size_t>& gaps) {
    std::map<std::size_t, std::size_t> counts;
    for (const std::size_t gap : gaps)
        if (gap > 0)
            ++counts[gap];
    if (counts.empty())
        return std::nullopt;
    std::size_t total = 0;
    for (const auto& [gap, count] : counts)
        total += count;
    for (const auto& [gap, count] : counts)
        if (count >= 2 && count * 4 >= total)
            return gap;
    std::size_t best = counts.begin()->first;
    for (const auto& [gap, count] : counts)
        if (count > counts[best])
            best = gap;
    return best;
}

} // namespace fw::tabstaff
