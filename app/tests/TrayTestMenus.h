// Menu resources that the tray icon must cope with, built only into the tests.
#ifndef MARNELL_APP_TESTS_TRAY_TEST_MENUS_H
#define MARNELL_APP_TESTS_TRAY_TEST_MENUS_H

#define IDR_TEST_MENU_WITHOUT_POPUP 900
#define IDR_TEST_MENU_EMPTY         901
#define IDR_TEST_MENU_MISSING       902

#endif
