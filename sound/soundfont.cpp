#include "soundfont.h"

#include <filesystem>
#include <fstream>
#include <string_view>

namespace fw {

const std::vector<std::string>& StandardSoundFonts() {
    static const std::vector<std::string> paths = {
        "/usr/share/sounds/sf2/default-GM.sf2",
        "/usr/share/sounds/sf2/FluidR3_GM.sf2",
        "/usr/share/sounds/sf2/TimGM6mb.sf2",
    };
    return paths;
}

namespace {

// A readable RIFF file of a kind the synthesizer loads: a soundfont ("sfbk", SF2 and SF3) or
// a downloadable sound bank ("DLS "). Anything else is not handed to the synthesizer, whose
// loaders complain about it on stderr.
bool IsSoundBank(const std::string& path) {
    std::error_code error;
    if (path.empty() || !std::filesystem::is_regular_file(path, error))
        return false;
    std::ifstream probe(path, std::ios::binary);
    char head[12] = {};
    if (!probe.read(head, sizeof head))
        return false;
    const std::string_view riff(head, 4);
    const std::string_view form(head + 8, 4);
    return riff == "RIFF" && (form == "sfbk" || form == "DLS ");
}

} // namespace

std::string FindSoundFont(const std::string& preferred,
                          const std::vector<std::string>& candidates) {
    if (IsSoundBank(preferred))
        return preferred;
    for (const std::string& path : candidates) {
        if (IsSoundBank(path))
            return path;
    }
    return {};
}

} // namespace fw
