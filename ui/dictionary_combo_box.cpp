#include "dictionary_combo_box.h"

#include <QAbstractItemView>
#include <QAbstractProxyModel>
#include <QCompleter>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QScreen>
#include <QStyle>
#include <QTimer>
#include <QWheelEvent>

#include <algorithm>

namespace fw {

DictionaryComboBox::DictionaryComboBox(QWidget* parent) : QComboBox(parent) {
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    setMaxVisibleItems(20);
    // A scrolling list of twenty rows rather than one as tall as the screen.
    setStyleSheet(QStringLiteral("QComboBox { combobox-popup: 0; }"));
    lineEdit()->setPlaceholderText(tr("Chord dictionary"));
    lineEdit()->setClearButtonEnabled(false);

    // The box's own completer would pick through `activated`, and the box would pick again when
    // the typed text matches an entry as the focus leaves: both are replaced by one filter
    // whose pick is handled here.
    setCompleter(nullptr);
    disconnect(lineEdit(), &QLineEdit::editingFinished, this, nullptr);
    disconnect(lineEdit(), &QLineEdit::returnPressed, this, nullptr);
    m_filter = new QCompleter(model(), this);
    m_filter->setFilterMode(Qt::MatchContains);
    m_filter->setCaseSensitivity(Qt::CaseInsensitive);
    m_filter->setCompletionMode(QCompleter::PopupCompletion);
    m_filter->setMaxVisibleItems(20);
    lineEdit()->setCompleter(m_filter);

    // Only the box's own list emits `activated` now: wheel steps and arrow keys are stopped below.
    connect(this, &QComboBox::activated, this, [this](int row) { pickRow(row); });
    connect(m_filter, qOverload<const QModelIndex&>(&QCompleter::activated), this,
            [this](const QModelIndex& index) {
                const auto* filtered = m_filter->completionModel();
                QModelIndex source = index;
                if (const auto* proxy = qobject_cast<const QAbstractProxyModel*>(filtered))
                    source = proxy->mapToSource(index);
                // The completer may show its popup through one more proxy of its own.
                if (source.model() != model()) {
                    const int row = findText(index.data().toString(), Qt::MatchExactly);
                    pickRow(row);
                    return;
                }
                pickRow(source.row());
            });
    connect(lineEdit(), &QLineEdit::returnPressed, this, [this] {
        const QAbstractItemView* popup = m_filter->popup();
        // A row chosen in the open filter list is picked by the filter itself, just after.
        if (popup->isVisible() && popup->currentIndex().isValid())
            return;
        pickTyped();
    });
    connect(lineEdit(), &QLineEdit::textEdited, this, [this] { fitPopupWidths(); });
    // The longest entry is measured again only after the list changed.
    for (auto signal : {&QAbstractItemModel::rowsInserted, &QAbstractItemModel::rowsRemoved})
        connect(model(), signal, this, [this] { m_longest = -1; });
    connect(model(), &QAbstractItemModel::modelReset, this, [this] { m_longest = -1; });
    connect(model(), &QAbstractItemModel::dataChanged, this, [this] { m_longest = -1; });
    m_filter->popup()->installEventFilter(this);
}

QStringList DictionaryComboBox::filteredEntries() const {
    const QString typed = lineEdit()->text();
    QStringList entries;
    for (int row = 0; row < count(); ++row) {
        const QString entry = itemText(row);
        if (entry.contains(typed, Qt::CaseInsensitive))
            entries << entry;
    }
    return entries;
}

void DictionaryComboBox::showPopup() {
    fitPopupWidths();
    QComboBox::showPopup();
}

void DictionaryComboBox::wheelEvent(QWheelEvent* event) {
    // Over the closed box a wheel step would pick the next entry and insert it into the song.
    event->ignore();
}

void DictionaryComboBox::keyPressEvent(QKeyEvent* event) {
    const bool alt = event->modifiers() & Qt::AltModifier;
    switch (event->key()) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
        if (alt)
            break;
        // Stepping through the closed box would pick each entry on the way: open a list to
        // choose from instead, the filtered one while a text is typed.
        if (!lineEdit()->text().isEmpty() && lineEdit()->text() != itemText(currentIndex())) {
            fitPopupWidths();
            m_filter->setCompletionPrefix(lineEdit()->text());
            m_filter->complete();
        } else {
            showPopup();
        }
        event->accept();
        return;
    default:
        break;
    }
    QComboBox::keyPressEvent(event);
}

void DictionaryComboBox::focusInEvent(QFocusEvent* event) {
    QComboBox::focusInEvent(event);
    // Clicked into: the shown entry is selected once the click has placed the caret, so that
    // typing starts a new search (Tab selects it already).
    if (event->reason() == Qt::MouseFocusReason)
        QTimer::singleShot(0, lineEdit(), &QLineEdit::selectAll);
}

bool DictionaryComboBox::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_filter->popup() && event->type() == QEvent::Show)
        fitPopupWidths();
    return QComboBox::eventFilter(watched, event);
}

void DictionaryComboBox::pickRow(int row) {
    if (row < 0 || row >= count())
        return;
    const QString entry = itemText(row);
    setCurrentIndex(row);
    setEditText(entry);
    // Selected from its end back to its start, so the box shows the entry's name and typing
    // replaces it.
    lineEdit()->setSelection(static_cast<int>(entry.size()), -static_cast<int>(entry.size()));
    emit entryPicked(entry);
}

void DictionaryComboBox::pickTyped() {
    const QString typed = lineEdit()->text();
    if (typed.isEmpty())
        return;
    // The entry as typed, then as typed in any letter case, then the first entry holding it.
    int row = findText(typed, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (row < 0)
        row = findText(typed, Qt::MatchFixedString);
    if (row < 0)
        row = findText(typed, Qt::MatchContains);
    if (row < 0)
        return;
    m_filter->popup()->hide();
    pickRow(row);
}

int DictionaryComboBox::longestEntryWidth() {
    const QFontMetrics metrics(view()->font());
    if (m_longest < 0) {
        m_longest = 0;
        for (int row = 0; row < count(); ++row)
            m_longest = std::max(m_longest, metrics.horizontalAdvance(itemText(row)));
    }
    const int widest = m_longest;
    // Room for the item's padding, the frame and a scroll bar.
    return widest + 2 * metrics.averageCharWidth() + 2 * view()->frameWidth() +
           style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, view());
}

void DictionaryComboBox::fitPopupWidths() {
    int width = std::max(this->width(), longestEntryWidth());
    if (const QScreen* where = screen())
        width = std::min(width, where->availableGeometry().width());
    view()->setMinimumWidth(width);
    m_filter->popup()->setMinimumWidth(width);
}

} // namespace fw
