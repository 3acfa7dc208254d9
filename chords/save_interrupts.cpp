#include "save_interrupts.h"

#include <atomic>
#include <csignal>

namespace fw {

namespace {

// Lock-free atomics: safe to use in a signal handler.
std::atomic<int> savesRunning{0};
std::atomic<int> stopSignal{0};

void EndWith(int signal) {
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

extern "C" void OnStopSignal(int signal) {
    if (savesRunning.load() == 0)
        return EndWith(signal);
    stopSignal.store(signal);
    // The save may have ended between the look and the store: then nobody would raise it.
    if (savesRunning.load() == 0)
        EndWith(signal);
}

} // namespace

void StopSavesCleanlyOnSignals() {
#ifndef _WIN32
    struct sigaction action {};
    action.sa_handler = OnStopSignal;
    action.sa_flags = SA_RESTART;
    sigemptyset(&action.sa_mask);
    for (const int signal : {SIGINT, SIGTERM, SIGHUP})
        sigaction(signal, &action, nullptr);
#endif
}

namespace save {

bool StopRequested() {
    return stopSignal.load() != 0;
}

SavingScope::SavingScope() {
    savesRunning.fetch_add(1);
}

SavingScope::~SavingScope() {
    if (savesRunning.fetch_sub(1) == 1)
        if (const int signal = stopSignal.load(); signal != 0)
            EndWith(signal);
}

} // namespace save
} // namespace fw
