// The recovery copy of an unsaved song: keeping it up to date, and offering the copy a crashed
// run left at the next start.

#include "frm_main.h"
#include "qt_text.h"

#include "app/shell/dialog_service.h"
#include "app/shell/settings.h"

#include <QFileInfo>
#include <QPlainTextEdit>
#include <QTextDocument>

namespace fw {

void TfrmMain::StartRecovery() {
    SongRecovery::Source source;
    source.modified = [this] { return Modified; };
    // The document's revision moves with every edit; the settings are written in the copy too.
    source.stamp = [this] {
        return QStringLiteral("%1 %2 %3 %4 %5")
            .arg(RichEdit1->document()->revision())
            .arg(settings().Patch)
            .arg(Tuning)
            .arg(tempo())
            .arg(m_songPath);
    };
    source.song = [this] { return RecoveredSong{m_songPath, SongText()}; };
    const QString folder =
        m_deps.recoveryFolder.isEmpty() ? DefaultRecoveryFolder() : m_deps.recoveryFolder;
    m_recovery = new SongRecovery(folder, std::move(source), m_deps.recoveryInterval, this);
}

void TfrmMain::OfferRecovery() {
    // Newest first; No deletes a copy and moves on to the next, Yes opens one and leaves the
    // rest for the next start.
    while (std::unique_ptr<ClaimedCopy> copy = m_recovery->ClaimLeftOver()) {
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
        setSongPath(song.path);
        m_lines.setSelection(0, 0);
        ShowLineStatus(0);
        Modified = true;
        // The recovered text gets this run's copy before the claimed one is deleted.
        m_recovery->Adopt(std::move(copy));
        focusEditor();
        return;
    }
}

} // namespace fw
