#pragma once
// The example songs installed with the program (share/fretwick/examples, data_dir.h), listed
// by their titles for File > Examples.

#include <QString>

#include <vector>

namespace fw {

struct ExampleSong {
    QString title; // the song's "* Title:" comment line, else its file name without ".fwk"
    QString path;
};

// The ".fwk" files (any letter case) directly in `folder`, sorted by title (ignoring letter
// case); empty when the folder is missing or holds none. Only the first lines of each file are
// read for its title.
std::vector<ExampleSong> ExampleSongsIn(const QString& folder);

// The examples installed with the running program; empty when none are installed.
std::vector<ExampleSong> ExampleSongs();

} // namespace fw
