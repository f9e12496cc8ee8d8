#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "ResourceBytes.h"
#include "resource.h"

namespace {

const WORD kEnglishUk = 2057;
const WORD kEnglishUs = 1033;

// The string table stores string n in block n / 16 + 1.
const UINT kStringBlockOfSysMenuAbout = IDS_SYSMENU_ABOUT / 16 + 1;

}  // namespace

// Exactly the program's resources, so the shell's choice of the file icon (the
// first icon group) cannot be taken over by another group.
TEST(ResourceInventory, EveryKindHoldsExactlyTheProgramsNumbers) {
    EXPECT_EQ(ResourceIds(RT_DIALOG), (std::vector<UINT>{IDD_CONFIG_ENGLISH, IDD_ABOUT, IDD_CONFIG_CYMRAEG, IDD_CHARACTERS}));
    EXPECT_EQ(ResourceIds(RT_MENU), (std::vector<UINT>{IDR_TRAY_MENU_ENGLISH, IDR_TRAY_MENU_CYMRAEG}));
    EXPECT_EQ(ResourceIds(RT_GROUP_ICON), (std::vector<UINT>{IDI_FILE_ICON, IDI_TRAY, IDI_TRAY_OFF}));
    EXPECT_EQ(ResourceIds(RT_BITMAP),
              (std::vector<UINT>{IDB_SPLASH, IDB_SPLASH_MASK, IDB_LOGO, IDB_ABOUT}));
    EXPECT_EQ(ResourceIds(RT_STRING), (std::vector<UINT>{kStringBlockOfSysMenuAbout}));
    EXPECT_EQ(ResourceIds(RT_VERSION), (std::vector<UINT>{1}));
    EXPECT_EQ(ResourceIds(RT_MANIFEST), (std::vector<UINT>{1}));
}

TEST(ResourceInventory, LanguageTags) {
    struct Case {
        LPCSTR type;
        UINT id;
        std::set<WORD> languages;
    };
    const Case cases[] = {
        {RT_DIALOG, IDD_CONFIG_ENGLISH, {kEnglishUk}},
        {RT_DIALOG, IDD_CONFIG_CYMRAEG, {kEnglishUk}},
        {RT_DIALOG, IDD_ABOUT, {kEnglishUk}},
        {RT_MENU, IDR_TRAY_MENU_ENGLISH, {kEnglishUk}},
        {RT_MENU, IDR_TRAY_MENU_CYMRAEG, {kEnglishUk}},
        {RT_GROUP_ICON, IDI_FILE_ICON, {kEnglishUk}},
        {RT_GROUP_ICON, IDI_TRAY, {kEnglishUk}},
        {RT_GROUP_ICON, IDI_TRAY_OFF, {kEnglishUk}},
        {RT_BITMAP, IDB_LOGO, {kEnglishUk}},
        {RT_BITMAP, IDB_ABOUT, {kEnglishUk}},
        {RT_BITMAP, IDB_SPLASH, {kEnglishUk}},
        {RT_BITMAP, IDB_SPLASH_MASK, {kEnglishUk}},
        {RT_STRING, kStringBlockOfSysMenuAbout, {kEnglishUs}},
        {RT_VERSION, 1, {kEnglishUs}},
        {RT_MANIFEST, 1, {kEnglishUs, kEnglishUk}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "type " << reinterpret_cast<ULONG_PTR>(c.type) << " id " << c.id);
        EXPECT_EQ(ResourceLanguages(c.type, c.id), c.languages);
    }
}
