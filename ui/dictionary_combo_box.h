#pragma once
// The chord dictionary's box: an editable drop-down list of chord lines that narrows as the
// user types ("am7" keeps the entries holding "Am7", any letter case). Only a deliberate pick
// inserts: a click on an entry of either list, or Enter. Wheel steps and arrow keys over the
// closed box never pick (a plain QComboBox picks on both), and leaving the box never picks.

#include <QComboBox>

class QCompleter;

namespace fw {

class DictionaryComboBox : public QComboBox {
    Q_OBJECT
public:
    explicit DictionaryComboBox(QWidget* parent = nullptr);

    // The list of entries that the text typed so far keeps, in list order (all of them when
    // nothing is typed).
    QStringList filteredEntries() const;

    // The lists open as wide as the longest entry (within the screen).
    void showPopup() override;

signals:
    // The user picked `entry`, as written in the list. Emitted once per pick.
    void entryPicked(const QString& entry);

protected:
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void pickRow(int row);
    void pickTyped();
    void fitPopupWidths();
    int longestEntryWidth();

    QCompleter* m_filter = nullptr;
    int m_longest = -1; // the widest entry's text in pixels; -1 until measured
};

} // namespace fw
