// The help pages and the help window: contents, the topic finder and context 14.

#include "tests/support/case_name.h"
#include "ui/tests/widget_checks.h"

#include "app/shell/help_topics.h"
#include "windows/help_window.h"

#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTest>
#include <QTextBrowser>

#include <gtest/gtest.h>

#include <algorithm>

namespace fw {
namespace {

QString PageSource(const HelpTopic& topic) {
    QFile page(QStringLiteral(":/help/%1.html").arg(topic.id));
    return page.open(QIODevice::ReadOnly) ? QString::fromUtf8(page.readAll()) : QString();
}

QStringList Titles(const std::vector<const HelpTopic*>& topics) {
    QStringList titles;
    for (const HelpTopic* topic : topics)
        titles.append(topic->title);
    return titles;
}

QStringList ListTitles(const QListWidget& list) {
    QStringList titles;
    for (int row = 0; row < list.count(); ++row)
        titles.append(list.item(row)->text());
    return titles;
}

TEST(HelpPages, EveryTopicHasItsPageUnderItsOwnTitle) {
    HelpTopicText(HelpTopics().front()); // registers the resources
    for (const HelpTopic& topic : HelpTopics()) {
        const QString source = PageSource(topic);
        ASSERT_FALSE(source.isEmpty()) << topic.id.toStdString();
        const QString title = topic.id == "index" ? QStringLiteral("Contents") : topic.title;
        EXPECT_TRUE(source.contains("<title>" + title + "</title>")) << topic.id.toStdString();
        EXPECT_GT(HelpTopicText(topic).size(), 600) << topic.id.toStdString();
    }
}

TEST(HelpPages, EveryLinkLeadsToATopic) {
    const QRegularExpression link(QStringLiteral("href=\"([^\"]*)\""));
    for (const HelpTopic& topic : HelpTopics()) {
        for (const auto& match : link.globalMatch(PageSource(topic))) {
            const QString target = match.captured(1);
            ASSERT_TRUE(target.endsWith(".html")) << target.toStdString();
            EXPECT_NE(HelpTopicById(target.chopped(5)), nullptr)
                << topic.id.toStdString() << " links to " << target.toStdString();
        }
    }
}

// Pictures are part of the help's resources, so Help shows them wherever the program runs.
TEST(HelpPages, EveryPictureIsInTheResources) {
    const QRegularExpression picture(QStringLiteral("<img src=\"([^\"]*)\""));
    int pictures = 0;
    for (const HelpTopic& topic : HelpTopics()) {
        for (const auto& match : picture.globalMatch(PageSource(topic))) {
            ++pictures;
            const QImage image(QStringLiteral(":/help/") + match.captured(1));
            EXPECT_FALSE(image.isNull())
                << topic.id.toStdString() << " shows " << match.captured(1).toStdString();
        }
    }
    EXPECT_GE(pictures, 6) << "a picture of each tablature form";
}

TEST(HelpPages, TheContentsPageListsEveryTopic) {
    const QString contents = PageSource(HelpTopics().front());
    for (const HelpTopic& topic : HelpTopics()) {
        if (topic.id == "index")
            continue;
        EXPECT_TRUE(contents.contains("href=\"" + topic.id + ".html\"")) << topic.id.toStdString();
    }
}

// The pages say what the program does now, not what it used to do.
struct PageSentence {
    const char* page;
    const char* sentence; // found in the page's text, spaces and line breaks as one space
    bool present;
};

class HelpSentences : public ::testing::TestWithParam<PageSentence> {};

TEST_P(HelpSentences, AreAsTheProgramBehaves) {
    const PageSentence& c = GetParam();
    HelpTopicText(HelpTopics().front()); // registers the resources
    const auto topic = std::find_if(HelpTopics().begin(), HelpTopics().end(),
                                    [&](const HelpTopic& t) { return t.id == c.page; });
    ASSERT_NE(topic, HelpTopics().end()) << c.page;
    EXPECT_EQ(HelpTopicText(*topic).simplified().contains(QString::fromUtf8(c.sentence)), c.present)
        << c.page << ": " << c.sentence;
}

INSTANTIATE_TEST_SUITE_P(
    Pages, HelpSentences,
    ::testing::Values(
        PageSentence{"songs",
                     "Closing the program while a song plays stops the play first, then "
                     "asks about unsaved changes",
                     true},
        PageSentence{"songs", "cannot be closed while a song plays", false},
        PageSentence{"songs",
                     "imports back to the song it came from, in its tuning, whatever forms it "
                     "was written in",
                     true},
        PageSentence{"fretboard", "the markers of open strings sit on the nut", true},
        PageSentence{"editing", "The button of the current duration shows pressed.", true},
        PageSentence{"editing", "It shows ticked while the current duration is dotted.", true},
        PageSentence{"editing",
                     "An open 5th string that is no tone of the chord the other strings make is "
                     "a drone",
                     true}),
    [](const auto& info) { return cases::IndexedCaseName(info.index, info.param.sentence); });

TEST(HelpTopics, ContextFourteenIsGettingStarted) {
    ASSERT_NE(HelpTopicByContext(14), nullptr);
    EXPECT_EQ(HelpTopicByContext(14)->title, QStringLiteral("Getting Started"));
    EXPECT_EQ(HelpTopicByContext(0), nullptr);
    EXPECT_EQ(HelpTopicByContext(15), nullptr);
}

struct FindCase {
    const char* query;
    std::vector<const char*> includes;
    std::vector<const char*> excludes;
    const char* first; // "" when the order is not checked
};

class FindTopicsTest : public ::testing::TestWithParam<FindCase> {};

TEST_P(FindTopicsTest, ListsTheTopicsHoldingEveryWord) {
    const FindCase& c = GetParam();
    const QStringList found = Titles(FindHelpTopics(QString::fromUtf8(c.query)));
    for (const char* title : c.includes)
        EXPECT_TRUE(found.contains(QString::fromUtf8(title)))
            << title << " in " << found.join(", ").toStdString();
    for (const char* title : c.excludes)
        EXPECT_FALSE(found.contains(QString::fromUtf8(title))) << title;
    if (*c.first != '\0') {
        ASSERT_FALSE(found.isEmpty());
        EXPECT_EQ(found.front(), QString::fromUtf8(c.first));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Queries, FindTopicsTest,
    ::testing::Values(
        FindCase{"", {"Getting Started", "Keyboard shortcuts"}, {"Contents"}, "Getting Started"},
        FindCase{"hammer", {"Chord lines", "The fretboard"}, {"Keyboard shortcuts", "Songs"}, ""},
        FindCase{"HAMMER-ON fret", {"Chord lines", "The fretboard"}, {"Keyboard shortcuts"}, ""},
        FindCase{"tablature",
                 {"MIDI files, tablature and printing", "Settings"},
                 {},
                 "MIDI files, tablature and printing"},
        FindCase{"tempo", {"Playing", "Songs"}, {"The fretboard"}, ""},
        FindCase{"peg fifth", {"The fretboard"}, {"Songs"}, ""},
        FindCase{"--export-wav", {"MIDI files, tablature and printing"}, {"Playing"}, ""},
        FindCase{"zither", {}, {"Getting Started", "Chord lines"}, ""}),
    [](const auto& info) { return fw::cases::IndexedCaseName(info.index, info.param.query); });

TEST(HelpWindow, ContextFourteenOpensGettingStarted) {
    QWidget owner;
    EXPECT_TRUE(ShowHelpContext(&owner, GettingStartedContext));
    HelpWindow& help = HelpWindowOf(&owner);
    EXPECT_TRUE(help.isVisible());
    EXPECT_EQ(help.CurrentTopicId(), QStringLiteral("getting_started"));
    EXPECT_EQ(help.windowTitle(), QStringLiteral("Fretwick Help - Getting Started"));
    EXPECT_TRUE(help.brwTopic->toPlainText().startsWith(QStringLiteral("Getting Started")));
    EXPECT_EQ(help.lstContents->currentItem()->text(), QStringLiteral("Getting Started"));
    help.resize(900, 620);
    test::SaveShot(help, QStringLiteral("help_getting_started"));
}

TEST(HelpWindow, AnUnknownContextShowsTheContents) {
    QWidget owner;
    EXPECT_FALSE(ShowHelpContext(&owner, 99));
    EXPECT_EQ(HelpWindowOf(&owner).CurrentTopicId(), QStringLiteral("index"));
}

TEST(HelpWindow, ContentsAndFinderShareOneWindowPerOwner) {
    QPointer<HelpWindow> help;
    {
        QWidget owner;
        ShowHelpContents(&owner);
        help = &HelpWindowOf(&owner);
        EXPECT_EQ(help->tabNavigation->currentIndex(), 0);
        EXPECT_EQ(help->CurrentTopicId(), QStringLiteral("index"));
        ShowHelpFinder(&owner);
        EXPECT_EQ(&HelpWindowOf(&owner), help.data());
        EXPECT_EQ(help->tabNavigation->currentIndex(), 1);
        EXPECT_EQ(owner.findChildren<HelpWindow*>().size(), 1);
    }
    EXPECT_TRUE(help.isNull()) << "the help window goes with its owner";
}

TEST(HelpWindow, TheFinderFiltersAsYouTypeAndOpensTheTopic) {
    QWidget owner;
    ShowHelpFinder(&owner);
    HelpWindow& help = HelpWindowOf(&owner);
    const int everything = help.lstFound->count();
    EXPECT_EQ(everything, static_cast<int>(HelpTopics().size()) - 1);
    QTest::keyClicks(help.edtFind, QStringLiteral("loop"));
    const QStringList found = ListTitles(*help.lstFound);
    EXPECT_TRUE(found.contains(QStringLiteral("Playing")));
    EXPECT_LT(found.size(), everything);
    EXPECT_EQ(found, Titles(FindHelpTopics(QStringLiteral("loop"))));
    help.resize(900, 620);
    test::SaveShot(help, QStringLiteral("help_finder"));

    QTest::keyClick(help.edtFind, Qt::Key_Return);
    EXPECT_EQ(help.CurrentTopicId(), FindHelpTopics(QStringLiteral("loop")).front()->id);
}

TEST(HelpWindow, LinksAndBackAndForward) {
    QWidget owner;
    ShowHelpContents(&owner);
    HelpWindow& help = HelpWindowOf(&owner);
    EXPECT_FALSE(help.btnBack->isEnabled());
    help.lstContents->setCurrentRow(2);
    emit help.lstContents->itemActivated(help.lstContents->item(2));
    EXPECT_EQ(help.CurrentTopicId(), HelpTopics()[2].id);
    help.brwTopic->setSource(QUrl(QStringLiteral("qrc:/help/tunings.html")));
    EXPECT_EQ(help.CurrentTopicId(), QStringLiteral("tunings"));
    EXPECT_EQ(help.lstContents->currentItem()->text(), QStringLiteral("Tunings and instruments"));
    test::SaveShot(help, QStringLiteral("help_tunings"));
    ASSERT_TRUE(help.btnBack->isEnabled());
    help.btnBack->click();
    EXPECT_EQ(help.CurrentTopicId(), HelpTopics()[2].id);
    ASSERT_TRUE(help.btnForward->isEnabled());
    help.btnForward->click();
    EXPECT_EQ(help.CurrentTopicId(), QStringLiteral("tunings"));
    EXPECT_FALSE(help.ShowTopic(QStringLiteral("no_such_page")));
    EXPECT_EQ(help.CurrentTopicId(), QStringLiteral("tunings"));
}

} // namespace
} // namespace fw
