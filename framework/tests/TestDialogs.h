// Identifiers of the dialog templates that only the framework's tests use.
#ifndef MARNELL_FRAMEWORK_TESTS_TESTDIALOGS_H
#define MARNELL_FRAMEWORK_TESTS_TESTDIALOGS_H

#define IDD_TEST_DIALOG 200
#define IDD_TEST_MISSING 299  // no template has this number
#define IDC_TEST_EDIT 1200

#endif
