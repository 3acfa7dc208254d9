#pragma once
// The help window: the help pages compiled into the program, with a contents list, a topic
// finder (the topics that hold the typed words), Back/Forward through the pages visited, and
// Close (or Escape).

#include <QWidget>

class QLineEdit;
class QListWidget;
class QTabWidget;
class QTextBrowser;
class QPushButton;

namespace fw {

struct HelpTopic;

class HelpWindow : public QWidget {
    Q_OBJECT
public:
    explicit HelpWindow(QWidget* parent = nullptr);

    // Shows the window at the contents page, with the contents list in front.
    void ShowHelpContents();
    // Shows the window with the topic finder in front and the cursor in its text box.
    void ShowHelpFinder();
    // Shows the topic of help context `context` (14: "Getting Started"). An unknown context
    // shows the contents page and returns false.
    bool ShowHelpContext(int context);
    // Shows the topic named `id`; false (and nothing shown) when there is no such topic.
    bool ShowTopic(const QString& id);

    // The id of the topic on show; empty before the first.
    QString CurrentTopicId() const { return currentId_; }

    QTabWidget* tabNavigation;
    QListWidget* lstContents;
    QLineEdit* edtFind;
    QListWidget* lstFound;
    QTextBrowser* brwTopic;
    QPushButton* btnBack;
    QPushButton* btnForward;
    QPushButton* btnClose; // as Escape: hides the window, which stays for the next help command

private:
    void BringToFront();
    void OpenTopic(const HelpTopic& topic);
    void RefreshFound(const QString& query);
    void SourceChanged(const QUrl& url);

    QString currentId_;
};

// The help commands of the main window. Each shows the help window that belongs to `owner`
// (created on first use as a child window of `owner`, deleted with it; `owner` not null).
void ShowHelpContents(QWidget* owner);
void ShowHelpFinder(QWidget* owner);
// Context 14 is "Getting Started"; an unknown context shows the contents and returns false.
bool ShowHelpContext(QWidget* owner, int context);

// The help window of `owner`, created when it has none yet.
HelpWindow& HelpWindowOf(QWidget* owner);

} // namespace fw
