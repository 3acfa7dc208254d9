// What a play shows on the window: the Play/Stop button, the controls greyed out while it
// runs, and the play options it reads. The play itself is PlaySession's.

#include "frm_main.h"
#include "practice_controls.h"

#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTextBlock>
#include <QToolButton>

namespace fw {

void TfrmMain::ShowPlayButton(bool stop) {
    btnPlay->setText(stop ? QStringLiteral("Stop") : QStringLiteral("Play"));
    btnPlay->setIcon(style()->standardIcon(stop ? QStyle::SP_MediaStop : QStyle::SP_MediaPlay));
}

void TfrmMain::ShowTrainerTempo(int tempo) {
    lblTrainerTempo->setText(tempo > 0 ? tr("Trainer: %1").arg(tempo) : QString());
}

void TfrmMain::FollowLine(int line) {
    // A play moves down a line at a time. Scrolled a line at a time too, the whole editor would
    // be repainted for every chord; once the line leaves the view it is brought to the top, so
    // the editor turns a page at a time.
    const QTextBlock block = RichEdit1->document()->findBlockByNumber(line);
    if (block.isValid()) {
        const QRect rect = RichEdit1->cursorRect(QTextCursor(block));
        if (rect.top() < 0 || rect.bottom() > RichEdit1->viewport()->height()) {
            QScrollBar* bar = RichEdit1->verticalScrollBar();
            bar->setValue(bar->value() + rect.top() / std::max(1, rect.height()));
        }
    }
    SelectLine(line, true);
}

PlayOptions TfrmMain::playOptions() const {
    return {playOptionGroup->checkedId(), chkLoop->isChecked(), chkTrace->isChecked(),
            PracticeFromSettings(*m_settings)};
}

void TfrmMain::SetPlayingControls(bool enabled) {
    const QString titleColour =
        enabled ? QString() : QStringLiteral("QGroupBox::title { color: #808080; }");
    grpPlayControls->setStyleSheet(titleColour);
    grpEditControls->setStyleSheet(titleColour);
    Start1->setVisible(enabled);
    Stop1->setVisible(!enabled);
    // The tempo stays in reach during a play: a change holds from the next chord. Everything
    // else in the Play group waits until the play has ended.
    for (QWidget* child :
         grpPlayControls->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
        const QString name = child->objectName();
        if (!name.contains(QStringLiteral("Tempo")) && name != QStringLiteral("lblSlower") &&
            name != QStringLiteral("lblFaster"))
            child->setEnabled(enabled);
    }
    const std::initializer_list<QWidget*> widgets = {
        btnNewChord,   grpEditControls, btnPrev,  btnNext,  btnShiftLeft,
        btnShiftRight, btnRest,         btnDup,   btnClear, btnDelete,
        cboDictionary, rdoPlayOptions,  chkTrace, chkLoop,  chkDotted};
    for (QWidget* widget : widgets)
        widget->setEnabled(enabled);
    chkTriplet->setEnabled(enabled);
    for (QToolButton* button : durationButtons)
        button->setEnabled(enabled);
    for (QMenu* menu : {mnuFile, mnuEdit, mnuInstrument, mnuHelp, mnuSpecial, mnuTuning})
        menu->menuAction()->setEnabled(enabled);
}

} // namespace fw
