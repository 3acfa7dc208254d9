#include "chord_shapes.h"

#include "chord_composer.h"

#include <algorithm>
#include <bit>
#include <tuple>

namespace fw {

namespace {

int Mod12(int n) {
    return ((n % 12) + 12) % 12;
}

// The pitch classes of `intervals` (bit n = n semitones) above `root`.
unsigned ClassesAbove(int root, unsigned intervals) {
    unsigned classes = 0;
    for (int i = 0; i < 12; ++i)
        if (intervals & (1u << i))
            classes |= 1u << Mod12(root + i);
    return classes;
}

// The tones a shape must sound: those the chord may not leave out, and its third (or, in a
// suspended chord, the second or fourth that stands for it), which the namer lets a seventh
// chord leave out but a shape keeps.
unsigned RequiredClasses(const ChordSymbol& chord) {
    const QualityRule& rule = RuleOf(chord.quality);
    constexpr unsigned Thirds = (1u << 3) | (1u << 4);
    return ClassesAbove(chord.root, (rule.tones & ~rule.optional) | (rule.tones & Thirds) | 1u);
}

struct Candidate {
    ChordShape shape;
    int bassRank; // 0 when the root is the lowest note
};

// The string frets worth trying on each of strings 1 to 4: open or stopped on a chord tone.
std::array<std::vector<int>, 5> ChordFrets(unsigned tones, const std::array<int, 6>& offsets) {
    std::array<std::vector<int>, 5> frets;
    for (int s = 1; s <= 4; ++s)
        for (int f = 0; f <= ShapeTopFret; ++f)
            if (tones & (1u << Mod12(OpenPitch[s] + offsets[s] + f)))
                frets[s].push_back(f);
    return frets;
}

// Whether string `s`, left out, could have sounded a chord tone without stretching the hand
// past [low, high] (the stopped frets of the other strings; low > high when none is stopped).
bool CouldRing(const std::vector<int>& frets, int low, int high) {
    for (const int f : frets) {
        if (f == 0 || low > high)
            return true;
        if (std::max(high, f) - std::min(low, f) < ShapeHandSpan)
            return true;
    }
    return false;
}

// Up the neck a teacher shows the movable forms first (the full barre, the F, D and C shapes):
// strings 1 to 4 all stopped. Near the nut the open-string shapes are the standard ones.
int MovableRank(const ChordShape& shape) {
    if (shape.position < MovableFromFret)
        return 0;
    for (int s = 1; s <= 4; ++s)
        if (shape.fret[static_cast<std::size_t>(s)] <= 0)
            return 1;
    return 0;
}

// A muted 2nd or 3rd string is harder to play cleanly than a full shape.
int MutedInner(const ChordShape& shape) {
    return shape.fret[2] == NoFret || shape.fret[3] == NoFret ? 1 : 0;
}

} // namespace

std::vector<ChordShape> ChordShapes(const ChordSymbol& chord, const std::array<int, 6>& offsets) {
    const QualityRule& rule = RuleOf(chord.quality);
    const unsigned tones = ClassesAbove(chord.root, rule.tones);
    const unsigned required = RequiredClasses(chord);
    const std::array<std::vector<int>, 5> frets = ChordFrets(tones, offsets);
    const int dronePitch = OpenPitch[5] + offsets[5];
    const bool drone = (tones & (1u << Mod12(dronePitch))) != 0;

    std::vector<Candidate> found;
    std::array<int, 5> f{}; // strings 1..4 at f[1..4]; NoFret for a string left out
    const auto options = [&](int s) {
        std::vector<int> o = frets[static_cast<std::size_t>(s)];
        o.insert(o.begin(), NoFret);
        return o;
    };
    const std::array<std::vector<int>, 5> choices = {
        {{}, options(1), options(2), options(3), options(4)}};
    for (const int f1 : choices[1])
        for (const int f2 : choices[2])
            for (const int f3 : choices[3])
                for (const int f4 : choices[4]) {
                    f = {0, f1, f2, f3, f4};
                    int low = ShapeTopFret + 1, high = 0, sounding = 0, lowestPitch = 1000;
                    unsigned classes = 0;
                    for (int s = 1; s <= 4; ++s) {
                        if (f[s] == NoFret)
                            continue;
                        ++sounding;
                        const int pitch = OpenPitch[s] + offsets[s] + f[s];
                        classes |= 1u << Mod12(pitch);
                        lowestPitch = std::min(lowestPitch, pitch);
                        if (f[s] > 0) {
                            low = std::min(low, f[s]);
                            high = std::max(high, f[s]);
                        }
                    }
                    if (sounding < 3 || (high > 0 && high - low >= ShapeHandSpan))
                        continue;
                    // An added fourth is stopped: the open drone alone is no add4.
                    if (chord.quality == ChordQuality::Add4 &&
                        !(classes & (1u << Mod12(chord.root + 5))))
                        continue;
                    if (drone) {
                        classes |= 1u << Mod12(dronePitch);
                        lowestPitch = std::min(lowestPitch, dronePitch);
                    }
                    // Root and third alone (C# F F F) are no chord to the ear or the namer.
                    if ((classes & required) != required || std::popcount(classes) < 3)
                        continue;
                    if (chord.bass >= 0 && Mod12(lowestPitch) != chord.bass)
                        continue;
                    bool needless = false; // a string left out that a finger could sound
                    for (int s = 1; s <= 4; ++s)
                        if (f[s] == NoFret)
                            needless = needless ||
                                       CouldRing(frets[static_cast<std::size_t>(s)], low, high);
                    if (needless)
                        continue;
                    Candidate c;
                    for (int s = 1; s <= 4; ++s)
                        c.shape.fret[static_cast<std::size_t>(s)] = f[s];
                    c.shape.fret[5] = drone ? 0 : NoFret;
                    c.shape.position = high > 0 ? low : 0;
                    c.shape.ringing = sounding + (drone ? 1 : 0);
                    c.shape.span = high > 0 ? high - low : 0;
                    c.shape.missing = std::popcount(tones & ~classes);
                    c.bassRank = Mod12(lowestPitch) == chord.root ? 0 : 1;
                    if (chord.position >= 0 && c.shape.position != chord.position)
                        continue;
                    found.push_back(c);
                }

    std::sort(found.begin(), found.end(), [](const Candidate& a, const Candidate& b) {
        const auto key = [](const Candidate& c) {
            const FretArray& r = c.shape.fret;
            return std::make_tuple(c.shape.position, MovableRank(c.shape), MutedInner(c.shape),
                                   -c.shape.ringing, c.shape.span, c.shape.missing, c.bassRank,
                                   r[4], r[3], r[2], r[1]);
        };
        return key(a) < key(b);
    });
    std::vector<ChordShape> shapes;
    shapes.reserve(found.size());
    for (const Candidate& c : found)
        shapes.push_back(c.shape);
    return shapes;
}

std::string ChordShapeLine(const ChordSymbol& chord, const ChordShape& shape) {
    const std::string name = SymbolText(chord.root, chord.quality, chord.bass) + " (" +
                             std::to_string(shape.position) + ")";
    return ComposeNamedChordText(name, shape.fret, AllNoFrets(), "Q");
}

} // namespace fw
