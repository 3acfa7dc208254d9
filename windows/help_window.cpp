#include "help_window.h"

#include "app/shell/help_topics.h"
#include "app/shell/shell_resources.h"
#include "ui/window_placement.h"

#include <QBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QShortcut>
#include <QSplitter>
#include <QTabWidget>
#include <QTextBrowser>

namespace fw {

namespace {

constexpr int TopicIdRole = Qt::UserRole;

const char* const PageStyle = R"(
h1 { color: #6b3e17; font-size: x-large; margin-bottom: 8px; }
h2 { color: #6b3e17; font-size: large; margin-top: 14px; }
code, kbd, pre { font-family: "DejaVu Sans Mono", "Liberation Mono", monospace; }
pre { background-color: #f5efe3; margin-left: 12px; }
table { border-collapse: collapse; border-color: #cdbb98; margin-top: 4px; margin-bottom: 10px; }
th { background-color: #efe4cf; text-align: left; }
)";

void AddTopicItem(QListWidget& list, const HelpTopic& topic) {
    auto* item = new QListWidgetItem(topic.title, &list);
    item->setData(TopicIdRole, topic.id);
}

template <typename Widget> Widget* Named(Widget* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

} // namespace

HelpWindow::HelpWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    InitShellResources();
    setObjectName(QStringLiteral("frmHelp"));
    setWindowTitle(QStringLiteral("Fretwick Help"));
    resize(900, 620);

    lstContents = Named(new QListWidget, "lstContents");
    for (const HelpTopic& topic : HelpTopics())
        AddTopicItem(*lstContents, topic);
    edtFind = Named(new QLineEdit, "edtFind");
    edtFind->setPlaceholderText(QStringLiteral("Type the words to find"));
    edtFind->setClearButtonEnabled(true);
    lstFound = Named(new QListWidget, "lstFound");
    auto* finder = new QWidget;
    auto* finderLayout = new QVBoxLayout(finder);
    finderLayout->setContentsMargins(6, 6, 6, 6);
    finderLayout->addWidget(edtFind);
    finderLayout->addWidget(lstFound);
    tabNavigation = Named(new QTabWidget, "tabNavigation");
    tabNavigation->addTab(lstContents, QStringLiteral("Contents"));
    tabNavigation->addTab(finder, QStringLiteral("Find"));

    brwTopic = Named(new QTextBrowser, "brwTopic");
    brwTopic->document()->setDefaultStyleSheet(QString::fromLatin1(PageStyle));
    brwTopic->setOpenExternalLinks(false);
    btnBack = Named(new QPushButton(QStringLiteral("Back")), "btnBack");
    btnForward = Named(new QPushButton(QStringLiteral("Forward")), "btnForward");
    auto* btnContents = Named(new QPushButton(QStringLiteral("Contents")), "btnContents");
    btnBack->setEnabled(false);
    btnForward->setEnabled(false);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(btnBack);
    buttons->addWidget(btnForward);
    buttons->addWidget(btnContents);
    buttons->addStretch();
    // Without a window manager there is no title bar to close the window with.
    btnClose = Named(new QPushButton(QStringLiteral("Close")), "btnClose");
    buttons->addWidget(btnClose);
    connect(btnClose, &QPushButton::clicked, this, &QWidget::close);
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &QWidget::close);
    auto* page = new QWidget;
    auto* pageLayout = new QVBoxLayout(page);
    pageLayout->setContentsMargins(0, 0, 0, 0);
    pageLayout->addLayout(buttons);
    pageLayout->addWidget(brwTopic);

    auto* splitter = new QSplitter(Qt::Horizontal);
    splitter->addWidget(tabNavigation);
    splitter->addWidget(page);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({240, 660});
    auto* main = new QVBoxLayout(this);
    main->setContentsMargins(8, 8, 8, 8);
    main->addWidget(splitter);

    const auto openItem = [this](QListWidgetItem* item) {
        if (item)
            ShowTopic(item->data(TopicIdRole).toString());
    };
    connect(lstContents, &QListWidget::itemActivated, this, openItem);
    connect(lstContents, &QListWidget::itemClicked, this, openItem);
    connect(lstFound, &QListWidget::itemActivated, this, openItem);
    connect(lstFound, &QListWidget::itemClicked, this, openItem);
    connect(edtFind, &QLineEdit::textChanged, this, &HelpWindow::RefreshFound);
    connect(edtFind, &QLineEdit::returnPressed, this, [this, openItem] {
        if (lstFound->count() > 0)
            openItem(lstFound->item(0));
    });
    connect(brwTopic, &QTextBrowser::sourceChanged, this, &HelpWindow::SourceChanged);
    connect(brwTopic, &QTextBrowser::backwardAvailable, btnBack, &QWidget::setEnabled);
    connect(brwTopic, &QTextBrowser::forwardAvailable, btnForward, &QWidget::setEnabled);
    connect(btnBack, &QPushButton::clicked, brwTopic, &QTextBrowser::backward);
    connect(btnForward, &QPushButton::clicked, brwTopic, &QTextBrowser::forward);
    connect(btnContents, &QPushButton::clicked, this, &HelpWindow::ShowHelpContents);
    RefreshFound(QString());
}

void HelpWindow::BringToFront() {
    // Opened beside the window it helps with, never partly off the screen.
    if (!isVisible())
        CentreOnParent(*this);
    show();
    raise();
    activateWindow();
}

void HelpWindow::OpenTopic(const HelpTopic& topic) {
    if (currentId_ != topic.id)
        brwTopic->setSource(HelpTopicUrl(topic));
    BringToFront();
}

bool HelpWindow::ShowTopic(const QString& id) {
    const HelpTopic* topic = HelpTopicById(id);
    if (!topic)
        return false;
    OpenTopic(*topic);
    return true;
}

void HelpWindow::ShowHelpContents() {
    tabNavigation->setCurrentIndex(0);
    OpenTopic(HelpTopics().front());
}

void HelpWindow::ShowHelpFinder() {
    tabNavigation->setCurrentIndex(1);
    if (currentId_.isEmpty())
        OpenTopic(HelpTopics().front());
    BringToFront();
    edtFind->setFocus();
    edtFind->selectAll();
}

bool HelpWindow::ShowHelpContext(int context) {
    const HelpTopic* topic = HelpTopicByContext(context);
    if (!topic) {
        ShowHelpContents();
        return false;
    }
    OpenTopic(*topic);
    return true;
}

void HelpWindow::RefreshFound(const QString& query) {
    lstFound->clear();
    for (const HelpTopic* topic : FindHelpTopics(query))
        AddTopicItem(*lstFound, *topic);
}

void HelpWindow::SourceChanged(const QUrl& url) {
    const QString id = url.fileName().section(QLatin1Char('.'), 0, 0);
    const HelpTopic* topic = HelpTopicById(id);
    currentId_ = topic ? topic->id : QString();
    setWindowTitle(topic ? QStringLiteral("Fretwick Help - %1").arg(topic->title)
                         : QStringLiteral("Fretwick Help"));
    for (int row = 0; row < lstContents->count(); ++row)
        if (lstContents->item(row)->data(TopicIdRole).toString() == currentId_)
            lstContents->setCurrentRow(row);
}

HelpWindow& HelpWindowOf(QWidget* owner) {
    if (auto* existing = owner->findChild<HelpWindow*>(QString(), Qt::FindDirectChildrenOnly))
        return *existing;
    return *new HelpWindow(owner);
}

void ShowHelpContents(QWidget* owner) {
    HelpWindowOf(owner).ShowHelpContents();
}

void ShowHelpFinder(QWidget* owner) {
    HelpWindowOf(owner).ShowHelpFinder();
}

bool ShowHelpContext(QWidget* owner, int context) {
    return HelpWindowOf(owner).ShowHelpContext(context);
}

} // namespace fw
