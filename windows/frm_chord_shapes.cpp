#include "frm_chord_shapes.h"

#include "ui/chord_diagram.h"

#include "chords/capo.h"
#include "chords/chord_namer.h"
#include "chords/chord_shapes.h"
#include "chords/tuning.h"

#include <QApplication>
#include <QBoxLayout>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTimer>

#include <algorithm>

namespace fw {

namespace {

constexpr int FretsRole = Qt::UserRole;    // the shape's frets, strings 0..5, as a QList<int>
constexpr int LineRole = Qt::UserRole + 1; // the shape's chord line

// The frets as the chord line writes them, strings 5 to 1: "x 5 3 4 5".
QString FretText(const FretArray& frets) {
    QStringList parts;
    for (int string = 5; string >= 1; --string)
        parts << (frets[string] < 0 ? QStringLiteral("x") : QString::number(frets[string]));
    return parts.join(QLatin1Char(' '));
}

FretArray FretsOf(const QModelIndex& index) {
    FretArray frets = AllNoFrets();
    const QList<int> stored = index.data(FretsRole).value<QList<int>>();
    for (int string = 1; string <= 5 && string < stored.size(); ++string)
        frets[string] = stored[string];
    return frets;
}

// The tuning's open notes, strings 5 to 1: "G D G B D".
QString TuningNotes(int code) {
    const std::string digits = TuningDigits(code);
    QStringList notes;
    for (int i = 0; i < 5; ++i)
        notes << QString::fromLatin1(TuningNoteName(5 - i, digits[i] - '0'));
    return notes.join(QLatin1Char(' '));
}

// How a chord name is written, for the messages.
QString NameRules() {
    QStringList suffixes;
    for (const QualityRule& rule : QualityRules())
        if (*rule.suffix)
            suffixes << QString::fromLatin1(rule.suffix);
    return QStringLiteral("A chord name is a root A to G, with # or b, then nothing for major or "
                          "one of %1; optionally /bass and a position such as \"(5)\".")
        .arg(suffixes.join(QStringLiteral(", ")));
}

// One shape in the list: its diagram, its name with the position and its frets below.
class ShapeDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    static QSize CellSize(const QFontMetrics& metrics) {
        const int unit = metrics.height();
        return {
            std::max(unit * 6, metrics.horizontalAdvance(QStringLiteral("C#m(maj7) (12)")) + unit),
            unit * 6 + 2 * metrics.lineSpacing() + unit / 2};
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const override {
        return CellSize(option.fontMetrics);
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        const QWidget* widget = option.widget;
        QStyle* style = widget ? widget->style() : QApplication::style();
        // The whole cell shows the choice (a style would only mark the text and the icon).
        const bool selected = option.state & QStyle::State_Selected;
        const QPalette::ColorGroup group =
            option.state & QStyle::State_Active ? QPalette::Active : QPalette::Inactive;
        painter->save();
        if (selected)
            painter->fillRect(option.rect, option.palette.brush(group, QPalette::Highlight));
        painter->setPen(
            option.palette.color(group, selected ? QPalette::HighlightedText : QPalette::Text));
        const QFontMetrics& metrics = option.fontMetrics;
        const int unit = metrics.height();
        const QRect cell = option.rect.adjusted(unit / 4, unit / 4, -unit / 4, -unit / 4);
        const QRectF diagram(cell.center().x() - unit * 2.5, cell.top(), unit * 5, unit * 6);
        DrawChordDiagram(*painter, diagram, FretsOf(index));
        QRect text(cell.left(), static_cast<int>(diagram.bottom()), cell.width(),
                   metrics.lineSpacing());
        QFont bold = option.font;
        bold.setBold(true);
        painter->setFont(bold);
        painter->drawText(text, Qt::AlignCenter, index.data(Qt::DisplayRole).toString());
        painter->setFont(option.font);
        text.translate(0, metrics.lineSpacing());
        painter->drawText(text, Qt::AlignCenter, FretText(FretsOf(index)));
        painter->restore();
        if (option.state & QStyle::State_HasFocus) {
            QStyleOptionFocusRect focus;
            focus.QStyleOption::operator=(option);
            focus.rect = option.rect.adjusted(1, 1, -1, -1);
            style->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, painter, widget);
        }
    }
};

} // namespace

TfrmChordShapes::TfrmChordShapes(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmChordShapes"));
    setWindowTitle(tr("Chord Shapes"));

    lblChord = new QLabel(tr("Chord &name:"), this);
    edtChord = new QLineEdit(this);
    edtChord->setObjectName(QStringLiteral("edtChord"));
    edtChord->setPlaceholderText(tr("C, Am7, D7, F#m, Bb/D"));
    edtChord->setToolTip(tr("A chord name: a root and a quality, such as Cm or G7."));
    lblChord->setBuddy(edtChord);
    lblTuning = new QLabel(this);
    lblTuning->setObjectName(QStringLiteral("lblTuning"));
    lblTuning->setTextFormat(Qt::PlainText);
    lblStatus = new QLabel(this);
    lblStatus->setObjectName(QStringLiteral("lblStatus"));
    lblStatus->setTextFormat(Qt::PlainText);
    lblStatus->setWordWrap(true);

    lstShapes = new QListWidget(this);
    lstShapes->setObjectName(QStringLiteral("lstShapes"));
    lstShapes->setViewMode(QListView::IconMode);
    lstShapes->setFlow(QListView::LeftToRight);
    lstShapes->setWrapping(true);
    lstShapes->setResizeMode(QListView::Adjust);
    lstShapes->setMovement(QListView::Static);
    lstShapes->setUniformItemSizes(true);
    lstShapes->setSpacing(4);
    lstShapes->setSelectionMode(QAbstractItemView::SingleSelection);
    lstShapes->setItemDelegate(new ShapeDelegate(lstShapes));
    lstShapes->setToolTip(tr("Click a shape to hear it; Enter or a double click inserts it."));
    lstShapes->viewport()->installEventFilter(this);

    chkShowAll = new QCheckBox(tr("Show &all"), this);
    chkShowAll->setObjectName(QStringLiteral("chkShowAll"));
    chkShowAll->setToolTip(tr("List every playable shape, not only the twelve best."));

    btnPlay = new QPushButton(tr("&Play"), this);
    btnPlay->setObjectName(QStringLiteral("btnPlay"));
    btnPlay->setAutoDefault(false);
    btnInsert = new QPushButton(tr("&Insert"), this);
    btnInsert->setObjectName(QStringLiteral("btnInsert"));
    btnInsert->setDefault(true);
    btnInsert->setToolTip(tr("Insert the chosen shape after the current line."));
    btnClose = new QPushButton(tr("Close"), this);
    btnClose->setObjectName(QStringLiteral("btnClose"));
    btnClose->setAutoDefault(false);

    auto* top = new QHBoxLayout;
    top->addWidget(lblChord);
    top->addWidget(edtChord, 1);
    top->addSpacing(12);
    top->addWidget(lblTuning);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(chkShowAll);
    buttons->addStretch();
    buttons->addWidget(btnPlay);
    buttons->addWidget(btnInsert);
    buttons->addWidget(btnClose);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(lblStatus);
    layout->addWidget(lstShapes, 1);
    layout->addLayout(buttons);

    // Room for three rows of five shapes at the start; any size down to one row of two.
    const QSize cell = ShapeDelegate::CellSize(fontMetrics()) + QSize(8, 8);
    const int frame = 2 * lstShapes->frameWidth() + 24;
    lstShapes->setMinimumSize(cell.width() * 2 + frame, cell.height() + frame);
    resize(std::max(cell.width() * 5 + frame + 24, sizeHint().width()),
           cell.height() * 2 + frame + 4 * fontMetrics().lineSpacing() + 80);

    edtChord->installEventFilter(this);
    connect(edtChord, &QLineEdit::textChanged, this, [this] { edtChordChange(); });
    connect(lstShapes, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0)
            SoundRow(row);
    });
    connect(lstShapes, &QListWidget::clicked, this, [this](const QModelIndex& index) {
        // A press that moved the choice has sounded it already.
        if (index.row() == m_rowAtPress)
            SoundRow(index.row());
    });
    connect(lstShapes, &QListWidget::doubleClicked, this, [this](const QModelIndex& index) {
        lstShapes->setCurrentRow(index.row());
        btnInsertClick();
    });
    connect(chkShowAll, &QCheckBox::toggled, this, [this] { ShowShapes(); });
    connect(btnPlay, &QPushButton::clicked, this, [this] { SoundRow(lstShapes->currentRow()); });
    connect(btnInsert, &QPushButton::clicked, this, [this] { btnInsertClick(); });
    connect(btnClose, &QPushButton::clicked, this, &QDialog::reject);
    SetTuning(ReferenceTuningCode);
}

void TfrmChordShapes::SetTuning(int tuningCode, int capo) {
    m_tuning = RepairedTuningCode(tuningCode);
    m_capo = std::clamp(capo, 0, MaxCapo);
    lblTuning->setText(QString::fromStdString(TuningStatusText(m_tuning) + CapoStatusText(m_capo)));
    ShowShapes();
}

QStringList TfrmChordShapes::ShapeLines() const {
    QStringList lines;
    for (int row = 0; row < lstShapes->count(); ++row)
        lines << lstShapes->item(row)->data(LineRole).toString();
    return lines;
}

QString TfrmChordShapes::CurrentLine() const {
    const QListWidgetItem* item = lstShapes->currentItem();
    return item ? item->data(LineRole).toString() : QString();
}

void TfrmChordShapes::edtChordChange() {
    ShowShapes();
}

void TfrmChordShapes::ShowShapes() {
    // Filling the list moves the choice: nothing sounds until the user moves it.
    const QSignalBlocker quiet(lstShapes);
    lstShapes->clear();
    btnInsert->setEnabled(false);
    btnPlay->setEnabled(false);
    QString name = edtChord->text().trimmed();
    // A root typed in lower case ("am7") is read as the capital it stands for.
    if (!name.isEmpty() && name[0] >= QLatin1Char('a') && name[0] <= QLatin1Char('g'))
        name[0] = name[0].toUpper();
    if (name.isEmpty()) {
        lblStatus->setText(tr("Type a chord name to see its shapes in this tuning. ") +
                           NameRules());
        return;
    }
    const std::optional<ChordSymbol> chord = ParseChordSymbol(name.toStdString());
    if (!chord) {
        lblStatus->setText(tr("\"%1\" is not a chord name. ").arg(name) + NameRules());
        return;
    }
    std::vector<ChordShape> shapes =
        ChordShapes(*chord, CapoOffsets(TuningOffsets(m_tuning), m_capo));
    const int found = static_cast<int>(shapes.size());
    if (!chkShowAll->isChecked() && shapes.size() > TeacherShapeCount)
        shapes.resize(TeacherShapeCount);
    // Spelled as the listed lines spell it ("A#m" shows as "Bbm").
    const QString symbol =
        QString::fromStdString(SymbolText(chord->root, chord->quality, chord->bass));
    const QString where =
        TuningNotes(m_tuning) + (m_capo > 0 ? tr(", capo %1").arg(m_capo) : QString());
    if (shapes.empty()) {
        lblStatus->setText(tr("No playable shape of %1 in %2.").arg(symbol, where));
        return;
    }
    for (const ChordShape& shape : shapes) {
        const QString line = QString::fromStdString(ChordShapeLine(*chord, shape));
        auto* item = new QListWidgetItem(line.section(QLatin1Char(','), 0, 0), lstShapes);
        item->setData(FretsRole,
                      QVariant::fromValue(QList<int>(shape.fret.begin(), shape.fret.end())));
        item->setData(LineRole, line);
        item->setToolTip(line);
    }
    lstShapes->setCurrentRow(0);
    btnInsert->setEnabled(true);
    btnPlay->setEnabled(true);
    const int count = static_cast<int>(shapes.size());
    QString text;
    if (count < found)
        text = tr("The %1 best of %2 shapes of %3 in %4.").arg(count).arg(found).arg(symbol, where);
    else if (count == 1)
        text = tr("1 shape of %1 in %2.").arg(symbol, where);
    else
        text = tr("%1 shapes of %2 in %3, best first.").arg(count).arg(symbol, where);
    lblStatus->setText(text + tr(" Click one to hear it."));
}

void TfrmChordShapes::SoundRow(int row) {
    const QListWidgetItem* item = lstShapes->item(row);
    if (item)
        emit previewRequested(item->data(LineRole).toString());
}

void TfrmChordShapes::btnInsertClick() {
    const QString line = CurrentLine();
    if (!line.isEmpty())
        emit insertRequested(line);
}

void TfrmChordShapes::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // After the window has taken the focus, which places the caret again.
    QTimer::singleShot(0, this, [this] {
        edtChord->setFocus(Qt::OtherFocusReason);
        edtChord->selectAll();
    });
}

bool TfrmChordShapes::eventFilter(QObject* watched, QEvent* event) {
    if (watched == lstShapes->viewport() && event->type() == QEvent::MouseButtonPress)
        m_rowAtPress = lstShapes->currentRow();
    if (watched == edtChord && event->type() == QEvent::KeyPress) {
        // The name box steers the list: Down and Up choose the next and the previous shape.
        const int key = static_cast<QKeyEvent*>(event)->key();
        const int step = key == Qt::Key_Down ? 1 : key == Qt::Key_Up ? -1 : 0;
        if (step != 0 && lstShapes->count() > 0) {
            const int row = std::clamp(lstShapes->currentRow() + step, 0, lstShapes->count() - 1);
            if (row != lstShapes->currentRow())
                lstShapes->setCurrentRow(row);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace fw
