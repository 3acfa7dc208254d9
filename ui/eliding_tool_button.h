#pragma once
// A tool button whose text, when wider than the button, is drawn cut short with "…"; text()
// keeps the whole text, and the tool tip shows it.

#include <QStyleOptionToolButton>
#include <QStylePainter>
#include <QToolButton>

namespace fw {

class ElidingToolButton : public QToolButton {
public:
    using QToolButton::QToolButton;

protected:
    void paintEvent(QPaintEvent*) override {
        QStylePainter painter(this);
        QStyleOptionToolButton option;
        initStyleOption(&option);
        // Room for the frame's margins and the menu arrow of a button with a menu.
        const int room = option.rect.width() - (menu() ? 24 : 12);
        option.text = fontMetrics().elidedText(option.text, Qt::ElideRight, room);
        painter.drawComplexControl(QStyle::CC_ToolButton, option);
    }
};

} // namespace fw
