// Offering the recovery copy a crashed run left, at the next start.

#include "frm_main.h"
#include "qt_text.h"

#include "app/shell/dialog_service.h"

#include <QFileInfo>

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
        m_document->setPath(song.path);
        m_lines.setSelection(0, 0);
        ShowLineStatus(0);
        m_document->setModified(true);
        // The recovered text gets this run's copy before the claimed one is deleted.
        recovery().Adopt(std::move(copy));
        FocusEditor();
        return;
    }
}

} // namespace fw
