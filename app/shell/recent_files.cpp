#include "recent_files.h"

#include <QFileInfo>

#include <algorithm>

namespace fw {

void AddRecentFile(RecentFiles& recent, const QString& path) {
    std::shift_right(recent.begin(), recent.end(), 1);
    // Kept absolute: the list outlives the folder the program was started in.
    recent.front() = path.isEmpty() ? path : QFileInfo(path).absoluteFilePath();
}

RecentMenu RecentMenuFor(const RecentFiles& recent) {
    RecentMenu menu;
    for (std::size_t i = 0; i < recent.size(); ++i) {
        const QString& path = recent[i];
        const auto earlier = recent.begin() + static_cast<std::ptrdiff_t>(i);
        menu.items[i].caption = path;
        menu.items[i].visible =
            !path.isEmpty() && std::find(recent.begin(), earlier, path) == earlier;
        menu.separatorVisible = menu.separatorVisible || menu.items[i].visible;
    }
    return menu;
}

} // namespace fw
