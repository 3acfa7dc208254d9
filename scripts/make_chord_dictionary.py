#!/usr/bin/env python3
"""Proposes the shipped chord dictionary (app/shell/data/BCHORDS.DCT) for the open G tuning.

For every root and quality it searches the neck for voicings whose notes are all chord tones,
with the root, the third (or the suspended fourth) and the chord's 7th/6th/9th sounding, a
fretting-hand span of at most four frets on strings 1 to 4, and the drone string open when G
is a chord tone (else not played). It keeps a low voicing and one up the neck (for the
commonest chords a third, higher still) and names each "<symbol> (<lowest fret>)".
The file is data: chords/tests/shipped_dictionary_test.cpp is what proves every entry.

Usage: scripts/make_chord_dictionary.py > app/shell/data/BCHORDS.DCT
"""
import itertools
import sys

OPEN = {5: 67, 4: 50, 3: 55, 2: 59, 1: 62}  # open G: g D G B D
NAMES = ["C", "C#", "D", "Eb", "E", "F", "F#", "G", "Ab", "A", "Bb", "B"]
# suffix, tones, optional tones (only a perfect fifth may be left out)
QUALITIES = [
    ("", {0, 4, 7}, {7}),
    ("m", {0, 3, 7}, {7}),
    ("7", {0, 4, 7, 10}, {7}),
    ("m7", {0, 3, 7, 10}, {7}),
    ("maj7", {0, 4, 7, 11}, {7}),
    ("6", {0, 4, 7, 9}, {7}),
    ("m6", {0, 3, 7, 9}, {7}),
    ("9", {0, 2, 4, 7, 10}, {7}),
    ("sus4", {0, 5, 7}, {7}),
    ("7sus4", {0, 5, 7, 10}, {7}),
    ("dim7", {0, 3, 6, 9}, set()),
    ("aug", {0, 4, 8}, set()),
    ("m7b5", {0, 3, 6, 10}, set()),
]
ROOT_ORDER = ["G", "C", "D", "A", "E", "F", "Bb", "Eb", "Ab", "C#", "F#", "B"]
THIRD_POSITION = {("G", ""), ("C", ""), ("D", ""), ("A", ""), ("E", ""), ("F", ""),
                  ("G", "7"), ("C", "7"), ("D", "7"), ("A", "m"), ("E", "m"), ("D", "m")}
# Common slash shapes: symbol, root, suffix, bass.
SLASH = [("G/B", 7, "", 11), ("C/G", 0, "", 7), ("D/F#", 2, "", 6), ("D/A", 2, "", 9),
         ("F/C", 5, "", 0), ("A/C#", 9, "", 1), ("E/G#", 4, "", 8), ("D7/F#", 2, "7", 6)]


def voicings(root, tones, optional, bass=None):
    """Every playable voicing of the chord: (score parts, frets strings 5..1)."""
    tones = {(root + t) % 12 for t in tones}
    required = {(root + t) % 12 for t in tones_required(root, tones, optional)}
    drone = 0 if OPEN[5] % 12 in tones else None
    choices = [None] + list(range(0, 16))
    for f4, f3, f2, f1 in itertools.product(choices, repeat=4):
        frets = {4: f4, 3: f3, 2: f2, 1: f1}
        played = [s for s in frets if frets[s] is not None]
        if len(played) < 3:
            continue
        fretted = [frets[s] for s in played if frets[s] > 0]
        if fretted and max(fretted) - min(fretted) > 3:
            continue
        pitches = [OPEN[s] + frets[s] for s in played]
        if drone is not None:
            pitches.append(OPEN[5])
        pcs = {p % 12 for p in pitches}
        if not pcs <= tones or not required <= pcs or len(pcs) < 3:
            continue
        low = min(pitches) % 12
        if bass is not None and low != bass:
            continue
        position = min(fretted) if fretted else 0
        yield {
            "frets": (drone, f4, f3, f2, f1),
            "position": position,
            "muted": 4 - len(played),
            "missing": len(tones - pcs),
            "root_bass": 0 if low == root else 1,
            "opens": sum(1 for s in played if frets[s] == 0),
            "top": max(fretted) if fretted else 0,
        }


def tones_required(root, tones, optional):
    rel = {(t - root) % 12 for t in tones}
    return rel - optional


def low_choice(v):
    return (v["muted"], v["missing"], v["top"], v["root_bass"], -v["opens"], v["frets"] is None)


def high_choice(v):
    return (v["muted"], v["missing"], v["opens"], v["position"], v["root_bass"])


def cell(f):
    return "x" if f is None else str(f)


def line(name, v):
    return ", ".join([name] + [cell(f) for f in v["frets"]] + ["Q"])


def pick(root, suffix, tones, optional, third):
    """A low voicing (within the first five frets, or the lowest the rules allow) and one up
    the neck, at least four frets higher (three where the rules allow no more); for the
    commonest chords a third, higher still."""
    found = list(voicings(root, tones, optional))
    chosen = []
    lowest = min(v["position"] for v in found)
    low = [v for v in found if v["position"] <= max(5, lowest)]
    chosen.append(min(low, key=low_choice))
    high = []
    for gap in (4, 3):
        floor = chosen[0]["position"] + gap
        high = [v for v in found if floor <= v["position"] <= 15]
        if high:
            break
    if high:
        chosen.append(min(high, key=high_choice))
    if third and high:
        higher = [v for v in found if chosen[-1]["position"] + 3 <= v["position"] <= 15]
        if higher:
            chosen.append(min(higher, key=high_choice))
    return sorted(chosen, key=lambda v: v["position"])


def main():
    lines = []
    for root_name in ROOT_ORDER:
        root = NAMES.index(root_name)
        for suffix, tones, optional in QUALITIES:
            chosen = pick(root, suffix, tones, optional, (root_name, suffix) in THIRD_POSITION)
            symbol = root_name + suffix
            for v in chosen:
                name = symbol if len(chosen) == 1 else f"{symbol} ({v['position']})"
                lines.append(line(name, v))
    for symbol, root, suffix, bass in SLASH:
        _, tones, optional = next(q for q in QUALITIES if q[0] == suffix)
        found = list(voicings(root, tones, optional, bass))
        if found:
            lines.append(line(symbol, min(found, key=low_choice)))
    sys.stdout.buffer.write("".join(l + "\r\n" for l in lines).encode("ascii"))
    print(f"{len(lines)} entries", file=sys.stderr)


if __name__ == "__main__":
    main()
