// The Special menu's file exports (SongExports does the work), and printing the chord list.

#include "frm_main.h"
#include "ui/qt_text.h"

#include "app/song_exports.h"
#include "ui/dialog_service.h"

#include <QPainter>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QTextDocument>

namespace fw {

void TfrmMain::SaveAsMidiFile1Click() {
    m_exports->SaveAsMidiFile();
}

void TfrmMain::SaveAsMusicXmlFile1Click() {
    m_exports->SaveAsMusicXmlFile();
}

void TfrmMain::Print1Click() {
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(songFileName());
    if (!dialogs().Print(printer))
        return;
    RichEdit1->document()->print(&printer);
}

} // namespace fw
