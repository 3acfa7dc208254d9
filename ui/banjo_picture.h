#pragma once
// A small picture of the banjo, for the About box and the welcome dialog.

#include <QWidget>

namespace fw {

class BanjoPicture : public QWidget {
    Q_OBJECT
public:
    // A fixed square picture `side` pixels wide.
    explicit BanjoPicture(int side, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace fw
