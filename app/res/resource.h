// Identifiers shared by Marnell2.rc and the C++ sources.
#ifndef MARNELL_APP_RES_RESOURCE_H
#define MARNELL_APP_RES_RESOURCE_H

#define IDM_SYSMENU_ABOUT       16
#define IDS_SYSMENU_ABOUT       101
#define IDD_CONFIG_ENGLISH      102
#define IDI_FILE_ICON           128
#define IDI_TRAY                131
#define IDR_TRAY_MENU_ENGLISH   133
#define IDD_ABOUT               138
#define IDB_SPLASH              142
#define IDB_SPLASH_MASK         143
#define IDB_LOGO                144
#define IDB_ABOUT               146
#define IDR_TRAY_MENU_CYMRAEG   148
#define IDD_CONFIG_CYMRAEG      149
#define IDI_TRAY_OFF            150
#define IDD_CHARACTERS 151
#define IDC_ENABLED             1001
#define IDC_CHARACTER_SEARCH_LABEL 1002
#define IDC_CHARACTER_SEARCH 1003
#define IDC_CHARACTER_LIST_LABEL 1004
#define IDC_CHARACTER_LIST 1005
#define IDC_CHARACTER_COPY 1006

#define ID_TRAY_ABOUT           32776
#define ID_SHOW_CONFIG          32778
#define ID_TRAY_EXIT            32781
#define ID_WEB_REFERRAL         32782
#define ID_WEB_HOME             32783
#define ID_WEB_FEEDBACK         32784
#define ID_WEB_UPDATES          32785
#define ID_WEB_HELP             32786
#define ID_LANGUAGE_ENGLISH     32787
#define ID_LANGUAGE_CYMRAEG     32788
#define ID_TRAY_ENABLED         32789
#define ID_TRAY_CHARACTERS 32790
#define ID_TRAY_SHOW_CHARACTERS 32791

// The tray icon's callback message; WM_USER comes from <windows.h>.
#define WM_TRAY_NOTIFY          (WM_USER + 2)

#endif
