#pragma once
// A command-line run stopped while it saves (Ctrl+C, SIGTERM, SIGHUP) first finishes its own
// clean-up: a rewrite in place gets its old bytes back, a temporary file goes, and only then
// does the signal end the program as it would have. Without a save in progress the signal acts
// at once, as usual.

namespace fw {

// Installs the handlers for SIGINT, SIGTERM and SIGHUP (the window does not: its saves are put
// back at the next start). Call once, before any thread is started.
void StopSavesCleanlyOnSignals();

namespace save {

// True once such a signal arrived while a save was in progress; the save stops at its next
// write and cleans up.
bool StopRequested();

// Marks a save in progress for as long as it lives. When the last one ends and a signal came
// meanwhile, the signal is raised again with its usual action (ending the program).
class SavingScope {
public:
    SavingScope();
    ~SavingScope();
    SavingScope(const SavingScope&) = delete;
    SavingScope& operator=(const SavingScope&) = delete;
};

} // namespace save
} // namespace fw
