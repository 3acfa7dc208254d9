#include "help_topics.h"

#include "data_dir.h"
#include "shell_resources.h"

#include <QFile>
#include <QHash>
#include <QTextDocument>

#include <algorithm>

namespace fw {

namespace {

bool HoldsAllWords(const QString& text, const QStringList& words) {
    return std::all_of(words.begin(), words.end(), [&text](const QString& word) {
        return text.contains(word, Qt::CaseInsensitive);
    });
}

// Page texts are read once; the pages are part of the program and never change.
const QString& CachedText(const HelpTopic& topic) {
    static QHash<QString, QString> texts;
    auto found = texts.find(topic.id);
    if (found == texts.end())
        found = texts.insert(topic.id, HelpTopicText(topic));
    return *found;
}

} // namespace

const std::vector<HelpTopic>& HelpTopics() {
    static const std::vector<HelpTopic> topics = {
        {"index", "Contents", "help topics overview", 0},
        {"getting_started", "Getting Started", "first steps tutorial begin new song",
         GettingStartedContext},
        {"chord_lines", "Chord lines",
         "syntax format duration comment hammer-on pull-off rest dotted", 0},
        {"fretboard", "The fretboard", "neck markers click notes peg fifth string", 0},
        {"editing", "Editing chords",
         "buttons new chord rest duplicate clear delete transpose name dictionary undo find", 0},
        {"playing", "Playing", "play stop loop debug tempo step sound MIDI device", 0},
        {"sound", "Sound",
         "audio output soundfont sf2 MIDI port external silent no sound synthesizer", 0},
        {"tunings", "Tunings and instruments", "tuning open G C D modal custom instrument patch",
         0},
        {"songs", "Songs", "song file fwk open save recent drag drop", 0},
        {"exports", "MIDI files, tablature and printing",
         "export midi file tablature ascii print command line wav check", 0},
        {"settings", "Settings", "options preferences markers colour MIDI channel octave device",
         0},
        {"shortcuts", "Keyboard shortcuts", "keys shortcut F1 F2 F3 F4 F5 F6 escape ctrl", 0},
    };
    return topics;
}

const HelpTopic* HelpTopicById(const QString& id) {
    const auto& topics = HelpTopics();
    const auto found = std::find_if(topics.begin(), topics.end(),
                                    [&id](const HelpTopic& topic) { return topic.id == id; });
    return found == topics.end() ? nullptr : &*found;
}

const HelpTopic* HelpTopicByContext(int context) {
    if (context == 0)
        return nullptr;
    const auto& topics = HelpTopics();
    const auto found = std::find_if(topics.begin(), topics.end(),
                                    [context](const HelpTopic& t) { return t.context == context; });
    return found == topics.end() ? nullptr : &*found;
}

namespace {
// The installed page when there is one, so that the pages a user reads in a browser are the
// ones the window shows; else the page compiled into the program.
QString InstalledPage(const HelpTopic& topic) {
    return ProgramDataFile(QStringLiteral("help/%1.html").arg(topic.id));
}
} // namespace

QUrl HelpTopicUrl(const HelpTopic& topic) {
    const QString installed = InstalledPage(topic);
    if (!installed.isEmpty())
        return QUrl::fromLocalFile(installed);
    return QUrl(QStringLiteral("qrc:/help/%1.html").arg(topic.id));
}

QString HelpTopicText(const HelpTopic& topic) {
    InitShellResources();
    const QString installed = InstalledPage(topic);
    QFile page(installed.isEmpty() ? QStringLiteral(":/help/%1.html").arg(topic.id) : installed);
    if (!page.open(QIODevice::ReadOnly))
        return {};
    QTextDocument document;
    document.setHtml(QString::fromUtf8(page.readAll()));
    return document.toPlainText();
}

std::vector<const HelpTopic*> FindHelpTopics(const QString& query) {
    const QStringList words = query.simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts);
    std::vector<const HelpTopic*> inTitle;
    std::vector<const HelpTopic*> elsewhere;
    for (const HelpTopic& topic : HelpTopics()) {
        if (&topic == &HelpTopics().front())
            continue; // the contents page names every topic
        if (HoldsAllWords(topic.title, words))
            inTitle.push_back(&topic);
        else if (HoldsAllWords(topic.title + ' ' + topic.keywords + ' ' + CachedText(topic), words))
            elsewhere.push_back(&topic);
    }
    inTitle.insert(inTitle.end(), elsewhere.begin(), elsewhere.end());
    return inTitle;
}

} // namespace fw
