#include <gtest/gtest.h>

#include <vector>

#include "DialogTemplate.h"
#include "ResourceBytes.h"
#include "MarnellVersion.h"
#include "resource.h"

namespace {

const WORD kButton = 0x0080;
const WORD kStatic = 0x0082;

// One control as the dialog must have it. With neither text nor bitmap the
// control carries one of the maker's labels, whose wording is free.
struct ExpectedControl {
    const char* what;
    int id;
    WORD classOrdinal;
    const wchar_t* text;
    WORD bitmap;
    short x, y, cx, cy;
    DWORD styles;  // beyond WS_CHILD and WS_VISIBLE
};

DialogTemplate LoadTemplate(UINT id) {
    DialogTemplate t;
    EXPECT_TRUE(ReadDialogTemplateEx(ResourceBytes(RT_DIALOG, id), t)) << "dialog " << id;
    return t;
}

void ExpectControls(const DialogTemplate& t, const std::vector<ExpectedControl>& expected) {
    ASSERT_EQ(t.items.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        const DialogItem& item = t.items[i];
        const ExpectedControl& e = expected[i];
        SCOPED_TRACE(testing::Message() << "control " << i << ", " << e.what);
        EXPECT_EQ(static_cast<int>(item.id), e.id);
        EXPECT_TRUE(IsPredefinedClass(item.windowClass, e.classOrdinal,
                                      e.classOrdinal == kButton ? L"Button" : L"Static"))
            << "class " << item.windowClass.ordinal;
        if (e.text != nullptr) {
            EXPECT_EQ(item.text.ordinal, 0);
            EXPECT_EQ(item.text.name, e.text);
        } else if (e.bitmap != 0) {
            EXPECT_EQ(item.text.ordinal, e.bitmap);
        } else {
            EXPECT_EQ(item.text.ordinal, 0);
            EXPECT_FALSE(item.text.name.empty());
        }
        EXPECT_EQ(item.x, e.x);
        EXPECT_EQ(item.y, e.y);
        EXPECT_EQ(item.cx, e.cx);
        EXPECT_EQ(item.cy, e.cy);
        EXPECT_EQ(item.style, static_cast<DWORD>(WS_CHILD | WS_VISIBLE) | e.styles)
            << std::hex << "style 0x" << item.style;
    }
}

std::vector<ExpectedControl> ConfigurationControls(const wchar_t* ok, const wchar_t* cancel,
                                                   const wchar_t* enabled) {
    return {
        {"OK", IDOK, kButton, ok, 0, 167, 97, 50, 16, WS_TABSTOP | BS_DEFPUSHBUTTON},
        {"Cancel", IDCANCEL, kButton, cancel, 0, 114, 97, 50, 16, WS_TABSTOP},
        {"version label", -1, kStatic, L"" MARNELL_VERSION_LABEL, 0, 114, 12, 72, 8, WS_GROUP | SS_LEFT},
        // Centred in its own rectangle: sized to its 197 x 184 pixel bitmap, the
        // picture would cover the labels and Cancel.
        {"logo picture", -1, kStatic, nullptr, IDB_LOGO, 7, 7, 95, 106,
         SS_BITMAP | SS_CENTERIMAGE | SS_REALSIZEIMAGE | SS_SUNKEN},
        {"Enabled box", IDC_ENABLED, kButton, enabled, 0, 114, 81, 42, 10, WS_TABSTOP | BS_AUTOCHECKBOX},
        {"web address", -1, kStatic, nullptr, 0, 114, 40, 77, 8, WS_GROUP | SS_LEFT},
        {"maker and year", -1, kStatic, nullptr, 0, 114, 21, 103, 8, WS_GROUP | SS_LEFT},
    };
}

void ExpectFont(const DialogTemplate& t, WORD weight) {
    EXPECT_EQ(t.pointSize, 8);
    EXPECT_EQ(t.typeface, L"MS Shell Dlg");
    EXPECT_EQ(t.weight, weight);
    EXPECT_EQ(t.italic, 0);
    EXPECT_EQ(t.charset, DEFAULT_CHARSET);
}

}  // namespace

TEST(ConfigurationDialogTemplates, BothHaveTheStylesSizeCaptionAndFont) {
    for (UINT id : {IDD_CONFIG_ENGLISH, IDD_CONFIG_CYMRAEG}) {
        SCOPED_TRACE(testing::Message() << "dialog " << id);
        const DialogTemplate t = LoadTemplate(id);
        // No WS_SYSMENU: no system-menu box and no close button.
        EXPECT_EQ(t.style, 0x90C008C8u) << std::hex << "style 0x" << t.style;
        EXPECT_EQ(t.exStyle, static_cast<DWORD>(WS_EX_APPWINDOW));
        EXPECT_EQ(t.cx, 224);
        EXPECT_EQ(t.cy, 122);
        EXPECT_EQ(t.title, L"Marnell");
        ExpectFont(t, 0);
    }
}

TEST(ConfigurationDialogTemplates, ControlsInTabOrderWithTheirLanguagesTexts) {
    {
        SCOPED_TRACE("English");
        ExpectControls(LoadTemplate(IDD_CONFIG_ENGLISH), ConfigurationControls(L"OK", L"Cancel", L"Enabled"));
    }
    {
        SCOPED_TRACE("Welsh");
        ExpectControls(LoadTemplate(IDD_CONFIG_CYMRAEG), ConfigurationControls(L"Iawn", L"Canslo", L"Galluogi"));
    }
}

TEST(ConfigurationDialogTemplates, WelshDiffersFromEnglishOnlyInOkCancelAndEnabled) {
    const DialogTemplate en = LoadTemplate(IDD_CONFIG_ENGLISH);
    const DialogTemplate cy = LoadTemplate(IDD_CONFIG_CYMRAEG);
    EXPECT_EQ(en.style, cy.style);
    EXPECT_EQ(en.exStyle, cy.exStyle);
    EXPECT_EQ(en.title, cy.title);
    EXPECT_EQ(en.x, cy.x);
    EXPECT_EQ(en.y, cy.y);
    ASSERT_EQ(en.items.size(), cy.items.size());
    for (size_t i = 0; i < en.items.size(); ++i) {
        SCOPED_TRACE(testing::Message() << "control " << i);
        const DialogItem& a = en.items[i];
        const DialogItem& b = cy.items[i];
        EXPECT_EQ(a.helpId, b.helpId);
        EXPECT_EQ(a.exStyle, b.exStyle);
        EXPECT_EQ(a.style, b.style);
        EXPECT_EQ(a.id, b.id);
        const bool translated = a.id == IDOK || a.id == IDCANCEL || a.id == IDC_ENABLED;
        if (translated) {
            EXPECT_NE(a.text.name, b.text.name);
        } else {
            EXPECT_EQ(a.text.name, b.text.name);  // version label and the maker's labels
            EXPECT_EQ(a.text.ordinal, b.text.ordinal);
        }
    }
}

TEST(AboutBoxTemplate, BorderlessPictureWithTheDefaultOkOnTop) {
    const DialogTemplate t = LoadTemplate(IDD_ABOUT);
    EXPECT_EQ(t.style, 0x80080848u) << std::hex << "style 0x" << t.style;
    EXPECT_EQ(t.exStyle, 0u);
    EXPECT_EQ(t.cx, 266);
    EXPECT_EQ(t.cy, 169);
    EXPECT_EQ(t.title, L"");
    ExpectFont(t, FW_NORMAL);
    // The picture comes first, so the button lies on top of it.
    ExpectControls(t, {
        {"About picture", -1, kStatic, nullptr, IDB_ABOUT, 0, 0, 267, 169, SS_BITMAP | SS_CENTERIMAGE},
        {"OK", IDOK, kButton, L"OK", 0, 109, 145, 50, 14, WS_TABSTOP | BS_DEFPUSHBUTTON},
    });
}

namespace {

INT_PTR CALLBACK PlainDialogProc(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }

HWND NthChild(HWND parent, int n) {
    HWND child = ::GetWindow(parent, GW_CHILD);
    for (int i = 0; i < n && child != nullptr; ++i) child = ::GetWindow(child, GW_HWNDNEXT);
    return child;
}

SIZE PictureSize(HWND picture) {
    const HBITMAP shown = reinterpret_cast<HBITMAP>(::SendMessageW(picture, STM_GETIMAGE, IMAGE_BITMAP, 0));
    BITMAP bm = {};
    if (shown == nullptr || ::GetObjectW(shown, sizeof bm, &bm) == 0) return SIZE{0, 0};
    return SIZE{bm.bmWidth, bm.bmHeight};
}

}  // namespace

// What the dialog manager makes of the templates: the pictures find their
// bitmaps, the default button is OK, and the Enabled box starts unticked.
TEST(DialogsFromTheTemplates, PicturesDefaultButtonAndUntickedEnabledBox) {
    struct Case {
        UINT id;
        int pictureIndex;
        LONG width, height;
    };
    for (const Case& c : {Case{IDD_CONFIG_ENGLISH, 3, 197, 184}, Case{IDD_CONFIG_CYMRAEG, 3, 197, 184},
                          Case{IDD_ABOUT, 0, 407, 284}}) {
        SCOPED_TRACE(testing::Message() << "dialog " << c.id);
        HWND dlg = ::CreateDialogParamW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(c.id), nullptr,
                                        &PlainDialogProc, 0);
        ASSERT_NE(dlg, nullptr);
        const SIZE size = PictureSize(NthChild(dlg, c.pictureIndex));
        EXPECT_EQ(size.cx, c.width);
        EXPECT_EQ(size.cy, c.height);
        const LRESULT def = ::SendMessageW(dlg, DM_GETDEFID, 0, 0);
        EXPECT_EQ(HIWORD(def), DC_HASDEFID);
        EXPECT_EQ(LOWORD(def), IDOK);
        if (c.id != IDD_ABOUT) {
            ASSERT_NE(::GetDlgItem(dlg, IDC_ENABLED), nullptr);
            EXPECT_EQ(::IsDlgButtonChecked(dlg, IDC_ENABLED), static_cast<UINT>(BST_UNCHECKED));
        }
        ::DestroyWindow(dlg);
    }
}
