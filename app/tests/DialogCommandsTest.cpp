#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Marnell2Dlg.h"

namespace {

class CTestApp : public CWinApp {};
CTestApp theApp;

std::vector<DWORD> g_notifyCalls;
BOOL WINAPI CountNotify(DWORD message, PNOTIFYICONDATAA) {
    g_notifyCalls.push_back(message);
    return TRUE;
}

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

TEST(TrayIcon, DeleteSendsOneRemovalAndTooltipIsCut) {
    g_notifyCalls.clear();
    CSystemTray::s_pfnNotifyIcon = &CountNotify;
    {
        CSystemTray tray;
        const std::string longTip(200, 'x');
        ASSERT_TRUE(tray.AddTrayIcon(WM_TRAY_NOTIFY, longTip.c_str(), nullptr, IDR_TRAY_MENU_ENGLISH));
        EXPECT_EQ(tray.m_iconData.cbSize, 488u);
        EXPECT_EQ(std::string(tray.m_iconData.szTip).size(), 127u);
        EXPECT_TRUE(tray.SetDefaultTrayItem(11, TRUE));  // menu 133 exists
        tray.DeleteTrayIcon();
        tray.DeleteTrayIcon();
        EXPECT_NE(tray.m_hWnd, nullptr);
    }
    {
        CSystemTray missingMenu;
        ASSERT_TRUE(missingMenu.AddTrayIcon(WM_TRAY_NOTIFY, "Marnell", nullptr, 9999));
        EXPECT_TRUE(missingMenu.SetDefaultTrayItem(0, TRUE));  // unchanged values
        EXPECT_FALSE(missingMenu.SetDefaultTrayItem(3, FALSE));
        EXPECT_EQ(missingMenu.m_nDefaultItem, 3u);
        EXPECT_FALSE(missingMenu.m_bDefaultByPosition);
        missingMenu.DeleteTrayIcon();
    }
    CSystemTray::s_pfnNotifyIcon = &Shell_NotifyIconA;
    EXPECT_EQ(g_notifyCalls, (std::vector<DWORD>{NIM_ADD, NIM_DELETE, NIM_ADD, NIM_DELETE}));
}

}  // namespace
