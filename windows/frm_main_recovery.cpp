// Offering the recovery copy a crashed run left, at the next start.

#include "frm_main.h"
#include "ui/qt_text.h"

#include "chords/atomic_write.h"
#include "ui/dialog_service.h"

#include <QFileInfo>
#include <QStatusBar>

namespace fw {

void TfrmMain::OfferRecovery() {
    // Newest first; No deletes a copy and moves on to the next, Yes opens one and leaves the
    // rest for the next start.
    while (std::unique_ptr<ClaimedCopy> copy = recovery().ClaimLeftOver()) {
        const RecoveredSong& song = copy->song();
        const QString name =
            song.path.isEmpty() ? QStringLiteral("Untitled") : QFileInfo(song.path).fileName();
        const QString question =
            QStringLiteral("Fretwick closed unexpectedly. Recover the unsaved song '%1'?")
                .arg(name);
        if (dialogs().Message(question, MessageIcon::Warning, MessageButtons::YesNo) !=
            DialogAnswer::Yes) {
            // A copy that cannot be deleted is passed over in this run and offered again at the
            // next start: nothing is lost, and there is nothing the user could do about it now.
            if (!copy->Remove())
                qWarning("The recovery copy %s could not be deleted.", qPrintable(copy->path()));
            continue;
        }
        ResetToEmptyDocument();
        LoadSongText(song.songText);
        // Saving goes back to the song's own file only when its path still names it; a
        // relative path (of an older version), a file gone or replaced since asks Save As.
        if (RecoveredPathHoldsSong(song))
            m_document->setPath(song.path);
        else
            m_document->setUnconfirmedPath(song.path);
        m_lines.setSelection(0, 0);
        ShowLineStatus(0);
        m_document->setModified(true);
        // The recovered text gets this run's copy before the claimed one is deleted.
        recovery().Adopt(std::move(copy));
        FocusEditor();
        return;
    }
}

// A save killed part-way leaves a file that is neither its old nor its new content, and its
// complete old bytes in the backup folder. Nothing anyone wrote is in the half-written file, so
// the old bytes go back at once rather than waiting on a question the user may answer No, which
// would leave the song cut short. This runs before any song is read, so that nothing half
// written is ever opened. A file that changed since the save (someone wrote or replaced it) is
// never overwritten without asking, and both versions are kept whatever the answer.
void TfrmMain::RestoreInterruptedSaves() {
    const QString folder = FromStd(SaveBackupFolder().string());
    for (const InterruptedSave& save : FindInterruptedSaves()) {
        const QString file = FromStd(save.file.string());
        std::string error;
        switch (RestoreInterruptedSave(save, error)) {
        case RestoreResult::Restored:
            dialogs().Message(QStringLiteral("Saving \"%1\" was interrupted. Its content "
                                             "before that save has been put back.")
                                  .arg(file),
                              MessageIcon::Information, MessageButtons::Ok);
            continue;
        case RestoreResult::Untouched:
            continue;
        case RestoreResult::Failed:
            ShowError(QStringLiteral("Saving \"%1\" was interrupted, and its previous content "
                                     "could not be put back. %2")
                          .arg(file, FromStd(error)));
            continue;
        case RestoreResult::Changed:
            break;
        }
        const bool putBack =
            dialogs().Message(QStringLiteral("Saving \"%1\" was interrupted, and the file has "
                                             "changed since. Put back its content from before "
                                             "that save?\n\nBoth versions are kept: the one not "
                                             "in place is kept in \"%2\".")
                                  .arg(file, folder),
                              MessageIcon::Warning, MessageButtons::YesNo) == DialogAnswer::Yes;
        std::filesystem::path kept;
        const bool done = putBack ? PutBackOverChangedFile(save, kept, error)
                                  : KeepInterruptedCopy(save, kept, error);
        if (!done)
            ShowError(FromStd(error));
        else if (!kept.empty())
            statusBar()->showMessage(
                QStringLiteral("%1 is kept as \"%2\".")
                    .arg(putBack ? QStringLiteral("The changed file")
                                 : QStringLiteral("The content before the interrupted save"),
                         FromStd(kept.string())));
    }
}

} // namespace fw
