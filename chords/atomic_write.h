#pragma once
// Saving a file so that a failed or interrupted save never loses the old one, and so that the
// saved file stays the file it was: same owner, group, permission bits and hard links.

#include <chrono>
#include <filesystem>
#include <functional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace fw {

// The folder where a save that has to rewrite a file in place keeps a complete copy of the old
// file until the new bytes are on disk. An empty folder (the default) means
// $XDG_STATE_HOME/Fretwick/recovery, or ~/.local/state/Fretwick/recovery when XDG_STATE_HOME is
// unset or relative: the folder of the program's recovery copies.
void SetSaveBackupFolder(std::filesystem::path folder);
std::filesystem::path SaveBackupFolder();

// A rewrite in place cut short (the program was killed while saving) leaves the backup copy
// and a note beside it that names the file and records how far the rewrite got; the file may
// then be half written.
struct InterruptedSave {
    std::filesystem::path file; // the file being rewritten, absolute
    std::filesystem::path copy; // its complete old bytes
};
// The interrupted saves in SaveBackupFolder() of programs no longer running. Also removes what
// such programs left that holds nothing to put back: a backup copy without its note (a kill
// while the copy was made), a note without its copy.
std::vector<InterruptedSave> FindInterruptedSaves();

enum class RestoreResult {
    Restored,  // the file was exactly what the cut-short save left: its old bytes are back
    Untouched, // the save was stopped before it wrote anything: its copy and note are removed
    Changed,   // the file changed (or went) since, or the note is an older kind: nothing written
    Failed,    // putting back failed: `error` names the copy, which is kept with its note
};
// Puts the copy's bytes back into the file (in place: owner, group and links stay) and removes
// the copy and its note, but only when the file is still exactly what the save left: the same
// device and inode, the new bytes the note records in place, then part of the chunk being
// written, then the old bytes (or, once cut, the new bytes alone). Anything else is Changed.
RestoreResult RestoreInterruptedSave(const InterruptedSave& save, std::string& error);
// For a Changed one, at the user's word, keeping both versions:
// - PutBackOverChangedFile copies the file as it is now into SaveBackupFolder() (`keptAs`),
//   then puts the old bytes back into it (making it again when it is gone);
// - KeepInterruptedCopy leaves the file alone and keeps the old bytes as `keptAs` in
//   SaveBackupFolder(), no longer an interrupted save.
// On failure both return false with `error` saying why, and the interrupted save stays as it
// was.
bool PutBackOverChangedFile(const InterruptedSave& save, std::filesystem::path& keptAs,
                            std::string& error);
bool KeepInterruptedCopy(const InterruptedSave& save, std::filesystem::path& keptAs,
                         std::string& error);

// A temporary file of ours (".<name>.tmp-<16 hex digits>") left by a save that was killed is
// removed by the next save into its folder once it is older than this.
inline constexpr std::chrono::hours StaleTemporaryAge{24};

// Replaces the file at `path` with `bytes`. Every step is checked.
// - A regular file is replaced atomically: the bytes go to a new file in the same folder (an
//   unnamed one where the file system allows it, so that a killed save leaves nothing), which is
//   flushed, forced to disk, given the old file's owner, group and permission bits, and renamed
//   over the target.
// - When the new file cannot be given the old owner and group (another user's file), when the
//   file has more than one hard link, or when the folder takes no new files, the file is
//   rewritten in place instead: first a complete, flushed copy of the old file is made in
//   SaveBackupFolder(), then the file is rewritten, then the copy is removed. When the rewrite
//   fails, the old bytes are written back and the copy is kept; the message names it. When no
//   copy can be made, nothing is written. A save killed half-way is put back by
//   RestoreInterruptedSave.
// - A character device or a named pipe is written straight into (no temporary file, no
//   rename). A named pipe that no program reads is refused after two seconds.
// - A folder, a socket or a block device is refused ("it is a folder, not a file").
// - A symbolic link is followed: the file it points to is replaced and the link stays a link.
// - A file the process may not write is refused with the system's reason ("Permission denied").
// - The temporary name is kept within the folder's limit on name length.
// On failure returns false, the old file is untouched (or written back), no temporary file is
// left, and `error` names the file, the step that failed and why.
bool WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes,
                         std::string& error);

// Writes the text `write` puts into the stream it is given to the file at `path`, with every
// promise of WriteFileAtomically, without holding the whole text in memory. `write` returns
// false when it or the stream failed; the old file is then untouched, no temporary file is
// left, and `error` says "Writing the temporary file ... failed: <reason>. ... was not changed.".
bool WriteFileAtomicallyFrom(const std::filesystem::path& path,
                             const std::function<bool(std::ostream&)>& write, std::string& error);

} // namespace fw
