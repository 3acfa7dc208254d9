// The recent-files list and what the File menu shows of it.

#include "app/shell/recent_files.h"
#include "tests/support/case_name.h"

#include <QDir>
#include <QFileInfo>

#include <gtest/gtest.h>

namespace fw {
namespace {

TEST(RecentFiles, AddingShiftsTheListAndKeepsDuplicates) {
    RecentFiles recent;
    for (const char* path : {"/A", "/B", "/A"})
        AddRecentFile(recent, QString::fromLatin1(path));
    EXPECT_EQ(recent, (RecentFiles{"/A", "/B", "/A"}));
    AddRecentFile(recent, QStringLiteral("/C"));
    EXPECT_EQ(recent, (RecentFiles{"/C", "/A", "/B"}));
}

// The list outlives the folder the program was started in: a relative path goes in absolute.
TEST(RecentFiles, ARelativePathIsKeptAbsolute) {
    RecentFiles recent;
    AddRecentFile(recent, QStringLiteral("files/a.fwk"));
    EXPECT_EQ(recent[0], QDir::current().absoluteFilePath(QStringLiteral("files/a.fwk")));
    EXPECT_TRUE(QFileInfo(recent[0]).isAbsolute());
}

struct MenuCase {
    RecentFiles recent;
    bool separator;
    std::array<bool, 3> visible;
};

class RecentMenuTest : public ::testing::TestWithParam<MenuCase> {};

TEST_P(RecentMenuTest, ShowsEachPathOnce) {
    const MenuCase& c = GetParam();
    const RecentMenu menu = RecentMenuFor(c.recent);
    EXPECT_EQ(menu.separatorVisible, c.separator);
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(menu.items[i].visible, c.visible[i]) << "item " << i;
        EXPECT_EQ(menu.items[i].caption, c.recent[i]) << "item " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(Lists, RecentMenuTest,
                         ::testing::Values(MenuCase{{"", "", ""}, false, {false, false, false}},
                                           MenuCase{{"A", "", ""}, true, {true, false, false}},
                                           MenuCase{{"A", "B", "C"}, true, {true, true, true}},
                                           MenuCase{{"A", "B", "A"}, true, {true, true, false}},
                                           MenuCase{{"A", "A", "A"}, true, {true, false, false}},
                                           MenuCase{{"A", "B", "B"}, true, {true, true, false}},
                                           MenuCase{{"A", "a", "A "}, true, {true, true, true}},
                                           MenuCase{{"", "B", "B"}, true, {false, true, false}},
                                           MenuCase{{"A", "", "A"}, true, {true, false, false}}),
                         [](const auto& info) {
                             return fw::cases::IndexedCaseName(
                                 info.index, info.param.recent.front().toStdString() + " " +
                                                 info.param.recent.back().toStdString());
                         });

} // namespace
} // namespace fw
