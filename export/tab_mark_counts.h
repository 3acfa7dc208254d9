#pragma once
// What the tablature reader could not take over as written: marks read as something else and
// marks left out, counted so that the import can say so in one notice.

namespace fw {

struct TabMarkCounts {
    // Read as something else.
    int slides = 0;          // "2/4", "2s4", "4\2": read as hammer-ons or pull-offs
    int slidesIntoNotes = 0; // "/4" without a start fret: read as plain notes
    int lowFifthFrets = 0;   // 5th-string frets 1 to 5 in a tab numbered as on the neck
    // Left out.
    int chainedLinks = 0; // the second and later hammer-ons/pull-offs of one pick ("0h2p0")
    int bends = 0;
    int releases = 0;
    int chokes = 0;
    int vibrato = 0;
    int mutedNotes = 0;
    int beyondNeck = 0; // frets the neck does not have

    // Marks left out, all kinds together.
    int LeftOut() const {
        return chainedLinks + bends + releases + chokes + vibrato + mutedNotes + beyondNeck;
    }

    TabMarkCounts& operator+=(const TabMarkCounts& o) {
        slides += o.slides;
        slidesIntoNotes += o.slidesIntoNotes;
        lowFifthFrets += o.lowFifthFrets;
        chainedLinks += o.chainedLinks;
        bends += o.bends;
        releases += o.releases;
        chokes += o.chokes;
        vibrato += o.vibrato;
        mutedNotes += o.mutedNotes;
        beyondNeck += o.beyondNeck;
        return *this;
    }
};

} // namespace fw
