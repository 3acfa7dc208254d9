#include "frm_splash.h"

#include "app/shell/program_version.h"
#include "ui/banjo_art.h"
#include "ui/window_placement.h"

#include <QPainter>

namespace fw {

TfrmSplash::TfrmSplash(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("frmSplash"));
    setWindowTitle(QStringLiteral("Fretwick"));
    setFixedSize(Width, Height);
}

void TfrmSplash::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    CentreOnScreen(*this);
}

void TfrmSplash::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    DrawTitleCard(painter, QRectF(rect()), ProgramVersion());
}

} // namespace fw
