#pragma once
// The help pages compiled into the program, and finding topics by the words they contain.

#include <QString>
#include <QStringList>
#include <QUrl>

#include <vector>

namespace fw {

// The help context number of the "Getting Started" topic.
inline constexpr int GettingStartedContext = 14;

struct HelpTopic {
    QString id;       // page name: the page is help/<id>.html (data_dir.h), else qrc:/help/<id>.html
    QString title;    // shown in the contents and finder lists
    QString keywords; // extra words the finder matches
    int context = 0;  // help context number; 0 = none
};

// Every topic in contents order; the first is the contents page itself ("index").
const std::vector<HelpTopic>& HelpTopics();

// The topic with `id` or `context`; nothing when there is none (context 0 never matches).
const HelpTopic* HelpTopicById(const QString& id);
const HelpTopic* HelpTopicByContext(int context);

// The address of a topic's page.
QUrl HelpTopicUrl(const HelpTopic& topic);

// The page's text without its markup; empty when the page is missing.
QString HelpTopicText(const HelpTopic& topic);

// The topics (the contents page aside) whose title, keywords or page text hold every word of
// `query` in any letter case: those with the words in their title first, each group in contents
// order. An empty query matches every topic.
std::vector<const HelpTopic*> FindHelpTopics(const QString& query);

} // namespace fw
