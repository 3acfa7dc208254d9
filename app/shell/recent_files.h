#pragma once
// The recent-files list of the File menu: three paths, the most recent first, shown below a
// separator as the items mnuFilename0..2.

#include <QString>

#include <array>

namespace fw {

using RecentFiles = std::array<QString, 3>;

// Shifts the list down by one (the oldest path drops out) and puts `path` first, made absolute
// against the working folder. Duplicates are
// kept: opening A, B, A stores A, B, A.
void AddRecentFile(RecentFiles& recent, const QString& path);

struct RecentMenuItem {
    bool visible = false;
    QString caption; // the path; empty for an empty entry
};

struct RecentMenu {
    bool separatorVisible = false;
    std::array<RecentMenuItem, 3> items;
};

// What the three menu items show. Item i is visible when entry i is not empty and differs from
// every earlier entry (exact, case-sensitive comparison), so A, B, A shows A and B and hides
// the third item. The separator is visible when any item is.
RecentMenu RecentMenuFor(const RecentFiles& recent);

} // namespace fw
