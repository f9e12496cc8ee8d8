#include <gtest/gtest.h>

#include <string>

#include "LayoutNotice.h"
#include "QuietPeriod.h"

namespace {

// An editor's save: a truncation and writes close together, or a storm of
// autosaves, is taken once, a quiet while after its last change.
TEST(QuietPeriod, TakesTheFilesOnceTheyHaveBeenQuietAndRetriesALockedOne) {
    QuietPeriod quiet;
    EXPECT_FALSE(quiet.OnTimer(1000)) << "nothing changed";
    uint32_t now = 1000;
    for (int i = 0; i < 600; ++i, now += 100) {  // autosave every 100 ms for a minute
        quiet.OnChange(now);
        EXPECT_FALSE(quiet.OnTimer(now + 50));
    }
    EXPECT_TRUE(quiet.IsWaiting());
    EXPECT_EQ(quiet.WaitLeftMs(now), QuietPeriod::kQuietMs - 100);
    EXPECT_TRUE(quiet.OnTimer(now - 100 + QuietPeriod::kQuietMs));
    EXPECT_FALSE(quiet.IsWaiting());
    EXPECT_FALSE(quiet.OnTimer(now + 10000)) << "taken once";

    // Locked: tried again a bounded number of times, then unreadable.
    int retries = 0;
    while (quiet.OnLocked(now)) {
        ++retries;
        EXPECT_EQ(quiet.WaitLeftMs(now), QuietPeriod::kQuietMs);
        now += QuietPeriod::kQuietMs;
        ASSERT_TRUE(quiet.OnTimer(now));
        ASSERT_LE(retries, QuietPeriod::kLockedRetries);
    }
    EXPECT_EQ(retries, QuietPeriod::kLockedRetries);
    // A new save starts the count again.
    quiet.OnChange(now);
    EXPECT_TRUE(quiet.OnLocked(now));
}

LayoutCheckReport Checked(const std::string& text) { return CheckLayoutBytes(text); }

TEST(LayoutNotice, NamesTheFirstFindingsLineWhatStaysInUseAndTheCommand) {
    const std::string broken = "KEY:145;\r\nMOD:222;\r\nLAYOUT:\r\n65;0;225;\r\n66;0;226;194;\r\n";
    const LayoutCheckReport report = Checked(broken);
    ASSERT_FALSE(report.diagnostics.empty());
    const std::size_t line = report.diagnostics.front().line;
    ASSERT_EQ(line, 4u);

    const auto english = NoticeForLayout("default.vmap", true, report, true, false);
    ASSERT_TRUE(english);
    EXPECT_EQ(english->title, "Marnell: default.vmap");
    EXPECT_EQ(english->text.rfind("Line 4: " + report.diagnostics.front().message.substr(0, 20), 0), 0u)
        << english->text;
    EXPECT_NE(english->text.find("The previous layout stays in use."), std::string::npos);
    EXPECT_NE(english->text.find("marnell-layout check default.vmap"), std::string::npos);

    const auto welsh = NoticeForLayout("default.vmap", true, report, false, true);
    ASSERT_TRUE(welsh);
    EXPECT_EQ(welsh->text,
              "Llinell 4 o default.vmap: mae gwall yma. Mae'r cynllun hwn yn cael ei ddefnyddio. "
              "I weld pob canfyddiad: marnell-layout check default.vmap");

    const auto unreadable = NoticeForLayout("default.vmap", false, UnreadableLayoutReport(), true, false);
    ASSERT_TRUE(unreadable);
    EXPECT_EQ(unreadable->text.rfind("default.vmap cannot be read. The previous layout stays in use.", 0), 0u);

    const LayoutCheckReport clean = Checked("KEY:145;\r\nMOD:222;\r\nLAYOUT:\r\n65;0;225;193;\r\n");
    EXPECT_TRUE(clean.diagnostics.empty());
    EXPECT_FALSE(NoticeForLayout("default.vmap", true, clean, false, false));
    EXPECT_FALSE(NoticeForLayout("default.vmap", true, clean, false, true));
}

TEST(LayoutNotice, AnyFindingFitsTheBalloonWithTheCommand) {
    LayoutCheckReport report;
    report.loads = true;
    report.diagnostics.push_back({7, 1, false, std::string(5000, 'x')});
    for (bool welsh : {false, true}) {
        const auto notice = NoticeForLayout("default.vmap", true, report, false, welsh);
        ASSERT_TRUE(notice);
        EXPECT_LT(notice->text.size(), 256u);
        EXPECT_LT(notice->title.size(), 64u);
        EXPECT_NE(notice->text.find("marnell-layout check default.vmap"), std::string::npos);
    }
}

}  // namespace
