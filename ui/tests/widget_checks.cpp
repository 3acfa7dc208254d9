#include "widget_checks.h"

#include <QAbstractButton>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QSet>
#include <QWidget>

namespace fw::test {

namespace {

std::string Describe(const QWidget& widget, const char* problem) {
    return widget.objectName().toStdString() + " (\"" +
           widget.property("text").toString().toStdString() + "\") " + problem + "\n";
}

// The height the widget's text needs at its present width.
int NeededHeight(const QWidget& widget) {
    if (const auto* label = qobject_cast<const QLabel*>(&widget); label && label->wordWrap())
        return label->heightForWidth(label->width());
    return widget.sizeHint().height();
}

} // namespace

std::string CutOffTexts(const QWidget& window) {
    std::string problems;
    const QRect inside = window.rect();
    for (const QWidget* widget : window.findChildren<QWidget*>()) {
        const bool isLabel = qobject_cast<const QLabel*>(widget) != nullptr;
        if (!widget->isVisible() || (!isLabel && !qobject_cast<const QAbstractButton*>(widget)))
            continue;
        const QRect place(widget->mapTo(&window, QPoint(0, 0)), widget->size());
        if (!inside.contains(place))
            problems += Describe(*widget, "lies outside the window");
        const auto* label = qobject_cast<const QLabel*>(widget);
        if ((!label || !label->wordWrap()) && widget->width() < widget->sizeHint().width())
            problems += Describe(*widget, "is too narrow");
        if (widget->height() < NeededHeight(*widget))
            problems += Describe(*widget, "is too low");
    }
    return problems;
}

bool SaveShot(QWidget& window, const QString& name) {
    const QString folder = QStringLiteral(FRETWICK_SHOTS_DIR);
    return QDir().mkpath(folder) && window.grab().save(folder + '/' + name + ".png");
}

int SampledColours(QWidget& widget) {
    const QImage picture = widget.grab().toImage();
    QSet<QRgb> colours;
    for (int y = 0; y < picture.height(); y += 4)
        for (int x = 0; x < picture.width(); x += 4)
            colours.insert(picture.pixel(x, y));
    return static_cast<int>(colours.size());
}

} // namespace fw::test
