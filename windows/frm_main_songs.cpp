// Songs: New, Open, the recent files, dropped files, Save and Save As, the question that guards
// unsaved changes, and loading a song file into the editor and the song settings.

#include "app/extension_case.h"
#include "app/song_paths.h"
#include "frm_main.h"
#include "ui/qt_text.h"

#include "app/shell/file_dialog_start.h"
#include "app/shell/recent_files.h"
#include "app/shell/settings.h"
#include "app/shell/settings_store.h"
#include "chords/patch_names.h"
#include "chords/regular_file.h"
#include "chords/song_check.h"
#include "chords/song_file.h"
#include "chords/text_bounds.h"
#include "chords/tuning.h"
#include "ui/dialog_service.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QPlainTextEdit>
#include <QScrollBar>

#include <cstdlib>
#include <new>

namespace fw {

namespace {
const QString SongFilter = QStringLiteral("Fretwick files (*.fwk);;All Files (*)");

// Why a path that is not a regular file is not opened: what it is when it names a folder, a
// named pipe, a device or a socket (never read, so never waited on), else that it is missing.
QString NotAFileMessage(const QString& path, const QString& shownPath) {
    const std::string special = SpecialFileError(ToStd(path));
    return special.empty() ? shownPath + QStringLiteral(" doesn't exist!") : FromStd(special);
}
} // namespace

QString TfrmMain::songFileName() const {
    return m_document->fileName();
}

void TfrmMain::ShowSongPath(const QString&) {
    lblFilename->setText(songFileName());
    setWindowTitle(QStringLiteral("Fretwick - %1[*]").arg(m_document->displayName()));
}

namespace {
// Reads a song file; false, after telling the user, when it cannot be read.
bool ReadSong(TfrmMain& main, const QString& path, std::string& text) {
    QString error;
    if (SongDocument::ReadFile(path, text, error))
        return true;
    main.dialogs().Message(error, MessageIcon::Error, MessageButtons::Ok);
    return false;
}
} // namespace

bool TfrmMain::LoadSong(const QString& path) {
    std::string text;
    if (!ReadSong(*this, path, text))
        return false;
    return LoadSongTextOrTell(path, std::move(text));
}

bool TfrmMain::LoadSongTextOrTell(const QString& path, std::string text) {
    try {
        LoadSongText(std::move(text));
        return true;
    } catch (const std::bad_alloc&) {
        // What the editor took of the song is let go; the user is told instead of a crash.
        ResetToEmptyDocument();
        ShowError(FromStd(NotEnoughMemoryToOpen(ToStd(path))));
        return false;
    }
}

namespace {

// The editor lays its lines out when it shows them, later and outside any guard, where running
// out of memory ends the program. So room for that is made sure of while the song is still
// being opened (measured: the layout of 1.9 million lines grows by more than 400 bytes a line
// after the window shows): an address space too small for it fails here, as not enough memory to
// open the song. The room is only reserved, never touched, so an ordinary machine spends nothing on
// it.
void RequireRoomToShow(qsizetype characters, int lines) {
    const auto room = static_cast<std::size_t>(characters) * 4 +
                      static_cast<std::size_t>(lines) * 768 + (std::size_t{64} << 20);
    void* volatile reserved = std::malloc(room);
    if (!reserved)
        throw std::bad_alloc();
    std::free(reserved);
}

} // namespace

void TfrmMain::LoadSongText(std::string text) {
    const SongHeader header = ReadSongHeaderOfText(text);
    QString editorText = SongDocument::EditorTextOf(text);
    // The editor keeps its own copy: the file's text goes before the editor takes the song,
    // so that a big song is never held three times over.
    std::string().swap(text);
    RichEdit1->setPlainText(editorText);
    RequireRoomToShow(editorText.size(), RichEdit1->document()->blockCount());

    // A patch above 127 ("*Info 2:-1" reads 255) plays as the MIDI file writer writes it, and
    // the user item then names that instrument.
    if (header.hasPatch)
        m_document->setPatch(static_cast<std::uint8_t>(PlayablePatch(header.patch)));
    if (m_document->Patch() == BanjoPatch) {
        AcousticNylonStringGuitar1->setChecked(true);
    } else {
        MIDIPatch1->setChecked(true);
        MIDIPatch1->setText(FromStd(PatchName(m_document->Patch())));
        MIDIPatch1->setData(m_document->Patch() + 1);
        settings().MenuPatchName = MIDIPatch1->text();
        settings().MenuPatchTag = m_document->Patch() + 1;
    }

    int tuning = m_document->Tuning();
    if (header.hasTuning)
        tuning = RepairedTuningCode(header.tuning);
    if (TuningIndex(tuning) == UserTuningIndex)
        tuningItems[UserTuningIndex]->setData(tuning);
    ApplyTuning(tuning);

    if (header.hasTempo) {
        setTempo(header.tempo);
        lblTempo->setText(QString::number(tempo()));
    }
}

bool TfrmMain::AskSaveChanges() {
    if (!settings().Prompts)
        return true;
    const QString name = songFileName();
    const QString question = name.isEmpty() ? QStringLiteral(" Save changes?")
                                            : QStringLiteral(" Save changes to \"%1\"?").arg(name);
    switch (dialogs().Message(question, MessageIcon::Warning, MessageButtons::YesNoCancel)) {
    case DialogAnswer::Yes:
        Save1Click();
        // Only a song that really reached the disk lets the work go.
        return !m_document->Modified();
    case DialogAnswer::No:
        return true;
    default:
        return false;
    }
}

void TfrmMain::New1Click() {
    if (m_document->Modified() && !AskSaveChanges())
        return;
    ResetToEmptyDocument();
    m_lines.setSelection(0, 0);
    ShowLineStatus(0);
    FocusEditor();
    m_document->setModified(false);
    recovery().Discard();
}

bool TfrmMain::openSongFile(const QString& path) {
    // The file is read before anything changes: a song that cannot be read leaves the
    // document, its name, settings and the recent files exactly as they were.
    std::string text;
    if (!ReadSong(*this, path, text))
        return false;
    ResetToEmptyDocument();
    if (!LoadSongTextOrTell(path, std::move(text)))
        return false;
    m_document->setPath(path);
    // The changes were saved or declined before this song replaced them.
    recovery().Discard();
    m_lines.setSelection(0, 0);
    ShowLineStatus(0);
    m_document->setModified(false);
    FocusEditor();
    return true;
}

void TfrmMain::Open1Click() {
    if (m_document->Modified() && !AskSaveChanges())
        return;
    FileDialogRequest request;
    request.title = tr("Open");
    request.directory = DialogStartFolder(m_document->path(), settings().LastDir);
    request.filter = SongFilter;
    request.defaultSuffix = QStringLiteral("fwk");
    const std::optional<QString> chosen = dialogs().OpenFile(request);
    if (!chosen) {
        FocusEditor();
        return;
    }
    const QFileInfo info(*chosen);
    if (info.fileName().toUpper() == QLatin1String("BCHORDS.DCT")) {
        dialogs().Message(QStringLiteral("BCHORDS.DCT can't be edited while Fretwick is running."),
                          MessageIcon::Warning, MessageButtons::CancelOnly);
        return;
    }
    // Whatever was picked, the song of the same name is opened.
    const QString path = ExistingSongFile(*chosen);
    if (path.isEmpty()) {
        const QString wanted = SongPathFor(*chosen);
        ShowError(NotAFileMessage(wanted, QDir::toNativeSeparators(wanted)));
        return;
    }
    if (!openSongFile(path))
        return;
    settings().LastDir = QFileInfo(path).absolutePath();
    AddRecentFile(path);
}

void TfrmMain::OpenRecentFile(const QString& recent) {
    if (m_document->Modified() && !AskSaveChanges())
        return;
    // A song renamed only in the letter case of its extension is still the same song.
    const QString path = ExistingFileIgnoringExtensionCase(recent);
    if (path.isEmpty()) {
        ShowError(NotAFileMessage(recent, recent));
        return;
    }
    openSongFile(path);
}

void TfrmMain::DropFiles(const QStringList& paths) {
    if (paths.isEmpty())
        return;
    // Only the first dropped file counts; its whole path is kept.
    const QString path = paths.first();
    const QFileInfo info(path);
    if (!info.isFile() || info.suffix().toUpper() != QLatin1String("FWK"))
        return;
    const bool ok = !m_document->Modified() || AskSaveChanges();
    if (ok && !IsPlaying() && openSongFile(path))
        AddRecentFile(path);
}

bool TfrmMain::SaveSongTo(const QString& path) {
    QString error;
    if (!m_document->SaveTo(path, error)) {
        ShowError(error);
        return false;
    }
    return true;
}

void TfrmMain::Save1Click() {
    if (m_document->path().isEmpty() || !m_document->pathConfirmed()) {
        SaveAs1Click();
        return;
    }
    SaveSongTo(m_document->path());
    FocusEditor();
}

void TfrmMain::SaveAs1Click() {
    FileDialogRequest request;
    request.title = tr("Save As");
    request.directory = DialogStartFolder(m_document->path(), settings().LastDir);
    request.fileName = SuggestedFileName(m_document->path(), QStringLiteral(".fwk"));
    request.filter = SongFilter;
    request.defaultSuffix = QStringLiteral("fwk");
    const std::optional<QString> chosen = dialogs().SaveFile(request);
    if (!chosen) {
        FocusEditor();
        return;
    }
    // Songs always carry the ".fwk" extension, which every open path asks for.
    QString path = *chosen;
    if (QFileInfo(path).suffix().toLower() != QLatin1String("fwk"))
        path += QStringLiteral(".fwk");
    if (SaveSongTo(path))
        settings().LastDir = QFileInfo(path).absolutePath();
    FocusEditor();
}

void TfrmMain::AddRecentFile(const QString& path) {
    fw::AddRecentFile(settings().RecentFile, path);
    RefreshRecentMenu();
}

void TfrmMain::RefreshRecentMenu() {
    const RecentMenu menu = RecentMenuFor(settings().RecentFile);
    FilenameSep->setVisible(menu.separatorVisible);
    for (std::size_t i = 0; i < mnuFilename.size(); ++i) {
        if (!menu.items[i].caption.isEmpty())
            mnuFilename[i]->setText(menu.items[i].caption);
        mnuFilename[i]->setVisible(menu.items[i].visible);
    }
}

} // namespace fw
