#pragma once
// The splash window: a borderless 561 x 296 title card, centred on the screen whenever it is
// shown, while the program starts. The caller keeps it up for as long as it wants (1.5
// seconds, letting events run so that it paints) and then deletes it.

#include <QWidget>

namespace fw {

class TfrmSplash : public QWidget {
    Q_OBJECT
public:
    static constexpr int Width = 561;
    static constexpr int Height = 296;

    explicit TfrmSplash(QWidget* parent = nullptr);

protected:
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
};

} // namespace fw
