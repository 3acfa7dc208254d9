// Finding the rewrites in place that a killed program cut short, and putting their files back
// only where nothing changed them since.

#include "atomic_write.h"
#include "save_journal.h"
#include "save_steps.h"

#ifndef _WIN32

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <string>

#include <fcntl.h>
#include <unistd.h>

namespace fw {

using save::Concat;
using save::Quoted;

namespace {

// For "<name>.saving-<pid>-<n>" and its note "<...>.target": the process id, or 0 when the
// name is not one of ours.
long SavingPid(const std::string& name, bool& isNote) {
    std::string_view rest(name);
    isNote = rest.size() > 7 && rest.substr(rest.size() - 7) == ".target";
    if (isNote)
        rest.remove_suffix(7);
    const std::size_t saving = rest.rfind(".saving-");
    if (saving == std::string_view::npos)
        return 0;
    rest.remove_prefix(saving + 8);
    const std::size_t dash = rest.find('-');
    if (dash == 0 || dash == std::string_view::npos || dash + 1 == rest.size() ||
        rest.find_first_not_of("0123456789-") != std::string_view::npos ||
        rest.find('-', dash + 1) != std::string_view::npos)
        return 0;
    return std::strtol(std::string(rest.substr(0, dash)).c_str(), nullptr, 10);
}

bool IsRunning(long pid) {
    return kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH;
}

// A name in the backup folder for a kept version of `file`: "<name>.<kind>-<n>", the first n
// not taken. Made exclusively by `make` (which returns 0, EEXIST to try the next n, or an errno).
template <typename Make>
int MakeKept(const std::filesystem::path& file, const char* kind, std::filesystem::path& kept,
             Make make) {
    for (unsigned n = 1; n < 10000; ++n) {
        kept = SaveBackupFolder() /
               Concat({file.filename().string(), ".", kind, "-", std::to_string(n)});
        if (const int failure = make(kept); failure != EEXIST)
            return failure;
    }
    return EEXIST;
}

} // namespace

std::vector<InterruptedSave> FindInterruptedSaves() {
    std::vector<InterruptedSave> found;
    std::error_code ec;
    std::filesystem::directory_iterator it(SaveBackupFolder(), ec);
    for (; !ec && it != std::filesystem::directory_iterator(); it.increment(ec)) {
        const std::filesystem::path item = it->path();
        bool isNote = false;
        const long pid = SavingPid(item.filename().string(), isNote);
        // A program still running may still be saving.
        if (pid <= 0 || IsRunning(pid))
            continue;
        std::error_code status;
        if (!isNote) {
            // A copy without its note was cut short while it was made: the file is untouched.
            if (!std::filesystem::exists(save::NoteFor(item), status))
                unlink(item.c_str());
            continue;
        }
        std::filesystem::path copy = item;
        copy.replace_extension();
        if (!std::filesystem::is_regular_file(copy, status)) {
            unlink(item.c_str()); // nothing left to put back
            continue;
        }
        save::JournalNote note;
        if (save::ReadJournal(item, note))
            found.push_back({note.target, copy});
    }
    return found;
}

RestoreResult RestoreInterruptedSave(const InterruptedSave& save, std::string& error) {
    save::JournalNote note;
    if (!save::ReadJournal(save::NoteFor(save.copy), note) || note.target != save.file)
        return RestoreResult::Changed;
    switch (save::CheckInterruptedFile(note, save.copy)) {
    case save::FileState::Untouched:
        save::Finish(save.copy);
        return RestoreResult::Untouched;
    case save::FileState::Changed:
        return RestoreResult::Changed;
    case save::FileState::AsLeft:
        break;
    }
    const int fd = open(save.file.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (fd < 0 || !save::WriteBack(fd, save.copy)) {
        const int failure = errno;
        if (fd >= 0)
            close(fd);
        error = Concat({"Putting back ", Quoted(save.file), " failed: ", save::Reason(failure),
                        ". Its old bytes are kept as ", Quoted(save.copy), "."});
        return RestoreResult::Failed;
    }
    close(fd);
    save::Finish(save.copy);
    return RestoreResult::Restored;
}

bool PutBackOverChangedFile(const InterruptedSave& save, std::filesystem::path& keptAs,
                            std::string& error) {
    keptAs.clear();
    const int now = open(save.file.c_str(), O_RDONLY | O_NOCTTY | O_CLOEXEC | O_NONBLOCK);
    if (now >= 0) {
        const int failure = MakeKept(save.file, "changed", keptAs, [now](const auto& path) {
            const int to = open(path.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0600);
            if (to < 0)
                return errno;
            int result = save::CopyAll(now, to);
            if (result == 0 && fsync(to) != 0)
                result = errno;
            close(to);
            if (result != 0)
                unlink(path.c_str());
            return result;
        });
        close(now);
        if (failure != 0) {
            error = Concat({"Keeping a copy of ", Quoted(save.file),
                            " failed: ", save::Reason(failure), ". Nothing was changed."});
            keptAs.clear();
            return false;
        }
    }
    const int fd = open(save.file.c_str(), O_RDWR | O_CREAT | O_NOCTTY | O_CLOEXEC, 0666);
    if (fd < 0 || !save::WriteBack(fd, save.copy)) {
        const int failure = errno;
        if (fd >= 0)
            close(fd);
        error = Concat({"Putting back ", Quoted(save.file), " failed: ", save::Reason(failure),
                        ". Its old bytes are kept as ", Quoted(save.copy), "."});
        return false;
    }
    close(fd);
    save::Finish(save.copy);
    return true;
}

bool KeepInterruptedCopy(const InterruptedSave& save, std::filesystem::path& keptAs,
                         std::string& error) {
    const int failure = MakeKept(save.file, "before-save", keptAs, [&save](const auto& path) {
        return link(save.copy.c_str(), path.c_str()) == 0 ? 0 : errno;
    });
    if (failure != 0) {
        error = Concat({"Keeping ", Quoted(save.copy), " failed: ", save::Reason(failure), "."});
        keptAs.clear();
        return false;
    }
    save::Finish(save.copy);
    return true;
}

} // namespace fw

#else

namespace fw {

// Elsewhere every save goes through a new file and a rename: none is ever cut short in place.
std::vector<InterruptedSave> FindInterruptedSaves() {
    return {};
}

RestoreResult RestoreInterruptedSave(const InterruptedSave&, std::string&) {
    return RestoreResult::Changed;
}

bool PutBackOverChangedFile(const InterruptedSave&, std::filesystem::path&, std::string& error) {
    error = "Putting back is not supported here.";
    return false;
}

bool KeepInterruptedCopy(const InterruptedSave&, std::filesystem::path&, std::string& error) {
    error = "Keeping the copy is not supported here.";
    return false;
}

} // namespace fw

#endif
