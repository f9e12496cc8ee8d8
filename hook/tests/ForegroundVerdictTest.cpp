#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "ExcludedPrograms.h"
#include "ForegroundVerdict.h"

namespace {

// Windows and the programs that own them; every query of a program is logged.
struct Desktop {
    std::map<ForegroundVerdict::Window, std::u16string> programs{
        {1, u"target.exe"}, {2, u"notepad.exe"}, {3, u""} /* cannot be read */};
    std::vector<ForegroundVerdict::Window> queried;
    ForegroundVerdict verdict;

    bool Front(ForegroundVerdict::Window window, const ExcludedPrograms& list) {
        return verdict.Follow(window, list, [&](ForegroundVerdict::Window w) {
            queried.push_back(w);
            return programs[w];
        });
    }
};

const ExcludedPrograms kTargetListed = ExcludedPrograms::Parse("TARGET.EXE\r\n");

TEST(ForegroundVerdictTest, EachWindowThatComesToTheFrontIsJudgedOnceWhicheverSignalNamesIt) {
    Desktop desktop;
    // The event, then every key-down in the same window.
    EXPECT_TRUE(desktop.Front(1, kTargetListed));
    for (int key = 0; key < 5; ++key) EXPECT_TRUE(desktop.Front(1, kTargetListed));
    // A click to another program, announced by nothing: its first key-down.
    EXPECT_FALSE(desktop.Front(2, kTargetListed));
    EXPECT_FALSE(desktop.Front(2, kTargetListed));
    // Back to the listed program.
    EXPECT_TRUE(desktop.Front(1, kTargetListed));
    EXPECT_EQ(desktop.queried, (std::vector<ForegroundVerdict::Window>{1, 2, 1}));
}

TEST(ForegroundVerdictTest, AProgramThatCannotBeReadOrNoWindowAtAllCountsAsNotListed) {
    Desktop desktop;
    ASSERT_TRUE(desktop.Front(1, kTargetListed));
    EXPECT_FALSE(desktop.Front(3, kTargetListed));
    ASSERT_TRUE(desktop.Front(1, kTargetListed));
    EXPECT_FALSE(desktop.Front(0, kTargetListed));
    // No program is asked for when there is no window, or when nothing is listed.
    EXPECT_FALSE(desktop.Front(1, ExcludedPrograms()));
    EXPECT_EQ(desktop.queried, (std::vector<ForegroundVerdict::Window>{1, 3, 1}));
}

TEST(ForegroundVerdictTest, AfterForgetTheSameWindowIsJudgedAgainstTheNewList) {
    Desktop desktop;
    ASSERT_FALSE(desktop.Front(1, ExcludedPrograms()));
    desktop.verdict.Forget();
    EXPECT_TRUE(desktop.Front(1, kTargetListed));
    desktop.verdict.Forget();
    EXPECT_FALSE(desktop.Front(1, ExcludedPrograms::Parse("other.exe\n")));
}

}  // namespace
