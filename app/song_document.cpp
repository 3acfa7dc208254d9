#include "song_document.h"
#include "ui/qt_text.h"

#include "chords/capo.h"
#include "chords/song_check.h"
#include "chords/song_file.h"
#include "chords/text_bounds.h"
#include "chords/text_file.h"
#include "chords/tuning.h"

#include <QFileInfo>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTimer>

#include <new>
#include <vector>

namespace fw {

SongDocument::SongDocument(std::uint8_t& patch, QObject* parent)
    : QObject(parent), m_text(new QTextDocument(this)), m_patch(patch) {
    connect(m_text, &QTextDocument::contentsChange, this, [this](int, int removed, int added) {
        if (removed != 0 || added != 0)
            setModified(true);
        // Read lazily by whoever needs the pitches, and once typing pauses for the status bar.
        if (!m_capoStale) {
            m_capoStale = true;
            QTimer::singleShot(0, this, [this] { AnnounceCapo(); });
        }
    });
}

void SongDocument::RefreshCapo() const {
    if (!m_capoStale)
        return;
    m_capoStale = false;
    // Only comment lines can be capo lines: the first character says which lines to read.
    m_capo = 0;
    for (QTextBlock block = m_text->begin(); block.isValid(); block = block.next()) {
        if (block.length() < 2 || m_text->characterAt(block.position()) != QLatin1Char('*'))
            continue;
        if (const auto marker = ReadCapoMarker(ToStd(block.text()))) {
            m_capo = marker->capo;
            break;
        }
    }
    m_tuningOffset = CapoOffsets(TuningOffsets(m_tuning), m_capo);
}

void SongDocument::AnnounceCapo() {
    RefreshCapo();
    if (m_capo == m_announcedCapo)
        return;
    m_announcedCapo = m_capo;
    emit capoChanged(m_capo);
}

const std::array<int, 6>& SongDocument::TuningOffset() const {
    RefreshCapo();
    return m_tuningOffset;
}

int SongDocument::Capo() const {
    RefreshCapo();
    return m_capo;
}

void SongDocument::setCapo(int capo) {
    const std::string line = CapoMarkerLine(capo);
    for (QTextBlock block = m_text->begin(); block.isValid(); block = block.next()) {
        if (block.length() < 2 || m_text->characterAt(block.position()) != QLatin1Char('*') ||
            !ReadCapoMarker(ToStd(block.text())))
            continue;
        if (block.text() != FromStd(line)) {
            QTextCursor cursor(block);
            cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
            cursor.insertText(FromStd(line));
        }
        AnnounceCapo();
        return;
    }
    if (capo == 0)
        return;
    QTextCursor cursor(m_text);
    cursor.movePosition(QTextCursor::Start);
    cursor.insertText(FromStd(line) + (m_text->isEmpty() ? QString() : QStringLiteral("\n")));
    AnnounceCapo();
}

QString SongDocument::fileName() const {
    return QFileInfo(m_path).fileName();
}

void SongDocument::setPath(const QString& path) {
    m_path = path.isEmpty() ? path : QFileInfo(path).absoluteFilePath();
    m_identity = FileIdentity(m_path);
    m_pathConfirmed = true;
    emit pathChanged(m_path);
}

void SongDocument::setUnconfirmedPath(const QString& path) {
    m_path = path;
    m_identity.clear();
    m_pathConfirmed = path.isEmpty();
    emit pathChanged(m_path);
}

QString SongDocument::displayName() const {
    const QString name = QFileInfo(m_path).fileName();
    return name.isEmpty() ? QStringLiteral("Untitled") : name;
}

void SongDocument::setModified(bool modified) {
    if (m_modified == modified)
        return;
    m_modified = modified;
    emit modifiedChanged(modified);
}

void SongDocument::setTuning(int code) {
    code = RepairedTuningCode(code);
    m_tuning = code;
    m_tuningOffset = CapoOffsets(TuningOffsets(code), Capo());
}

bool SongDocument::ReadFile(const QString& path, std::string& text, QString& error) {
    std::string reason;
    try {
        if (ReadBoundedTextFile(ToStd(path), text, reason))
            return true;
    } catch (const std::bad_alloc&) {
        std::string().swap(text);
        reason = NotEnoughMemoryToOpen(ToStd(path));
    }
    error = FromStd(reason);
    return false;
}

// Built in one string from views into the text, with no list of lines on the way, so that a
// song of millions of lines takes little more than the editor's own memory.
QString SongDocument::EditorTextOf(std::string_view text) {
    QString joined;
    joined.reserve(static_cast<qsizetype>(text.size())); // UTF-16 units never outnumber bytes
    ForEachEditorLine(text, [&joined](std::string_view line, std::size_t index) {
        if (index > 0)
            joined += QLatin1Char('\n');
        joined += QString::fromUtf8(line.data(), static_cast<qsizetype>(line.size()));
    });
    return joined;
}

std::string SongDocument::SongText() const {
    // Every block, the empty one after a final line break included, so that the text reads
    // back exactly as it was; an empty document has no lines at all.
    std::vector<std::string> lines;
    if (!m_text->isEmpty())
        for (QTextBlock block = m_text->begin(); block.isValid(); block = block.next())
            lines.push_back(ToStd(block.text()));
    return SongFileText(lines, m_patch, m_tuning, m_tempo);
}

bool SongDocument::SaveTo(const QString& path, QString& error) {
    const std::string text = SongText();
    std::string reason;
    if (!WriteFileAtomically(ToStd(path), text, reason)) {
        error = FromStd(reason);
        return false;
    }
    setPath(path);
    setModified(false);
    if (m_recovery) // a document saved before its recovery copy was started has none to remove
        m_recovery->Discard();
    return true;
}

void SongDocument::StartRecovery(const QString& folder, std::chrono::milliseconds interval) {
    SongRecovery::Source source;
    source.modified = [this] { return m_modified; };
    // The document's revision moves with every edit; the settings are written in the copy too.
    source.stamp = [this] {
        return QStringLiteral("%1 %2 %3 %4 %5")
            .arg(m_text->revision())
            .arg(m_patch)
            .arg(m_tuning)
            .arg(m_tempo)
            .arg(m_path);
    };
    source.song = [this] {
        return RecoveredSong{m_path, SongText(),
                             m_pathConfirmed ? m_identity : QStringLiteral("-")};
    };
    const QString where = folder.isEmpty() ? DefaultRecoveryFolder() : folder;
    // A save that has to rewrite a file in place keeps its backup copy beside the recovery
    // copies, where the next start looks for saves cut short.
    SetSaveBackupFolder(ToStd(where));
    m_recovery = new SongRecovery(where, std::move(source), interval, this);
}

} // namespace fw
