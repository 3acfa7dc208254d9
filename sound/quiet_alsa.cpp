#include "quiet_alsa.h"

#include <mutex>

#ifdef __linux__
#include <alsa/asoundlib.h>
#endif

namespace fw {

#ifdef __linux__
namespace {

void DropAlsaError(const char*, int, const char*, int, const char*, ...) {}

} // namespace
#endif

void QuietAlsaErrors() {
#ifdef __linux__
    static std::once_flag once;
    std::call_once(once, [] {
        // Fails only for a handler ALSA cannot take; then its default printing stays, which
        // is harmless.
        if (snd_lib_error_set_handler(DropAlsaError) < 0)
            return;
    });
#endif
}

} // namespace fw
