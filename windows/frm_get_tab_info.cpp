#include "frm_get_tab_info.h"

#include "export/tab_titles.h"

#include <QBoxLayout>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace fw {

namespace {

const char* const TitleHint = "Title to be printed on tablature. File name is used by default.";
const char* const SubHint = "Subtitle to be printed on tablature. File name is used by default.";

void SetHint(QWidget* widget, const char* hint) {
    widget->setToolTip(QString::fromLatin1(hint));
    widget->setStatusTip(QString::fromLatin1(hint));
}

} // namespace

TfrmGetTabInfo::TfrmGetTabInfo(QWidget* parent)
    : FixedDialog(QStringLiteral("frmGetTabInfo"), QStringLiteral("Tablature "), parent) {
    QLabel* heading =
        MakeLabel(QStringLiteral("lblHeading"), QStringLiteral("Enter titles for tablature"), true);
    QLabel* about = MakeLabel(
        QStringLiteral("lblAbout"),
        QStringLiteral("These titles will print at the top of the tablature. To pre-load them, "
                       "include ' * Title: ' and ' *Sub: ' lines in your files."));
    about->setWordWrap(true);
    about->setFixedWidth(300);
    QLabel* titleLabel = MakeLabel(QStringLiteral("lblTitle"), QStringLiteral("Title:"));
    QLabel* subLabel = MakeLabel(QStringLiteral("lblSub"), QStringLiteral("Sub:"));
    for (QLabel* label : {heading, about, titleLabel, subLabel})
        label->setTextFormat(Qt::PlainText);

    edtTitle = new QLineEdit(this);
    edtTitle->setObjectName(QStringLiteral("edtTitle"));
    edtSub = new QLineEdit(this);
    edtSub->setObjectName(QStringLiteral("edtSub"));
    titleLabel->setBuddy(edtTitle);
    subLabel->setBuddy(edtSub);
    SetHint(titleLabel, TitleHint);
    SetHint(edtTitle, TitleHint);
    SetHint(subLabel, SubHint);
    SetHint(edtSub, SubHint);

    btnOK = MakeButton(QStringLiteral("btnOK"), QStringLiteral("OK"), true);
    btnCancel = MakeButton(QStringLiteral("btnCancel"), QStringLiteral("Cancel"));
    connect(btnOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* fields = new QGridLayout;
    fields->setHorizontalSpacing(8);
    fields->addWidget(titleLabel, 0, 0);
    fields->addWidget(edtTitle, 0, 1);
    fields->addWidget(subLabel, 1, 0);
    fields->addWidget(edtSub, 1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnOK);
    buttons->addWidget(btnCancel);
    auto* main = new QVBoxLayout;
    main->addWidget(heading);
    main->addWidget(about);
    main->addLayout(fields);
    main->addLayout(buttons);
    SetFixedLayout(main);
    setTabOrder(edtTitle, edtSub);
    setTabOrder(edtSub, btnOK);
    setTabOrder(btnOK, btnCancel);
}

void TfrmGetTabInfo::SetSong(std::vector<std::string> lines, QString defaultTitle) {
    lines_ = std::move(lines);
    defaultTitle_ = std::move(defaultTitle);
}

QString TfrmGetTabInfo::Title() const {
    return edtTitle->text();
}

QString TfrmGetTabInfo::Subtitle() const {
    return edtSub->text();
}

void TfrmGetTabInfo::showEvent(QShowEvent* event) {
    edtTitle->setText(QString::fromStdString(TitleFromComments(lines_)));
    edtSub->setText(QString::fromStdString(SubtitleFromComments(lines_)));
    if (edtTitle->text().isEmpty())
        edtTitle->setText(defaultTitle_);
    edtTitle->setFocus(Qt::OtherFocusReason);
    edtTitle->selectAll();
    FixedDialog::showEvent(event);
}

} // namespace fw
