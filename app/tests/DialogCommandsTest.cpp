#include <gtest/gtest.h>

#include <string>

#include "Marnell2Dlg.h"

namespace {

TEST(WebCommands, AddressesFollowTheLanguage) {
    CMarnell2Dlg english;
    english.m_strLanguage = "en";
    CMarnell2Dlg welsh;
    welsh.m_strLanguage = "cy";
    CMarnell2Dlg other;
    other.m_strLanguage = "CY";
    const std::string site = "https://www.corvane.example";
    EXPECT_EQ(english.WebAddress(ID_WEB_HOME), site + "/?lang=en");
    EXPECT_EQ(welsh.WebAddress(ID_WEB_HOME), site + "/?lang=cy");
    EXPECT_EQ(other.WebAddress(ID_WEB_HOME), site + "/?lang=en");
    EXPECT_EQ(english.WebAddress(ID_WEB_HELP), site + "/marnell/redirect.asp?src=Web&dest=help&lang=1&ver=2.0.1");
    EXPECT_EQ(welsh.WebAddress(ID_WEB_REFERRAL),
              site + "/marnell/redirect.asp?src=Web&dest=referral&lang=2&ver=2.0.1");
    EXPECT_EQ(welsh.WebAddress(ID_WEB_FEEDBACK),
              site + "/marnell/redirect.asp?src=Web&dest=feedback&lang=2&ver=2.0.1");
    EXPECT_EQ(english.WebAddress(ID_WEB_UPDATES),
              site + "/marnell/redirect.asp?src=Web&dest=updates&lang=1&ver=2.0.1");
}

TEST(MinimisedIcon, OffsetRoundsOddMarginsUp) {
    EXPECT_EQ(CMarnell2Dlg::CentredIconOffset(100, 32), 34);
    EXPECT_EQ(CMarnell2Dlg::CentredIconOffset(101, 32), 35);
    EXPECT_EQ(CMarnell2Dlg::CentredIconOffset(20, 32), -5);  // truncates towards zero
}

}  // namespace
