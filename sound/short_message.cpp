#include "short_message.h"

namespace fw {

int ShortMessageLength(std::uint8_t status) {
    if (status < 0x80)
        return 0;
    switch (status & 0xF0) {
    case 0xC0:
    case 0xD0:
        return 2;
    case 0xF0:
        break;
    default:
        return 3;
    }
    switch (status) {
    case 0xF1: // time code quarter frame
    case 0xF3: // song select
        return 2;
    case 0xF2: // song position
        return 3;
    case 0xF0: // system exclusive
    case 0xF7:
        return 0;
    default:
        return 1;
    }
}

} // namespace fw
