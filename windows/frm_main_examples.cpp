// File > Examples: the example songs installed with the program.

#include "frm_main.h"

#include "app/shell/example_songs.h"
#include "app/song_document.h"

#include <QAction>
#include <QMenu>

namespace fw {

void TfrmMain::FillExamplesMenu() {
    mnuExamples->clear();
    for (const ExampleSong& song : ExampleSongs()) {
        // The title is the song's text: "&" in it is shown, not taken as an accelerator.
        QString caption = song.title;
        caption.replace(QLatin1Char('&'), QStringLiteral("&&"));
        QAction* item = mnuExamples->addAction(caption);
        item->setData(song.path);
        const QString path = song.path;
        connect(item, &QAction::triggered, this, [this, path] { OpenExample(path); });
    }
    mnuExamples->menuAction()->setVisible(!mnuExamples->isEmpty());
}

void TfrmMain::OpenExample(const QString& path) {
    if (m_document->Modified() && !AskSaveChanges())
        return;
    if (!openSongFile(path))
        return;
    // The installed file belongs to the system: Save asks for a place of the user's own.
    m_document->setUnconfirmedPath(m_document->path());
}

} // namespace fw
