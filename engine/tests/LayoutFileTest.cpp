#include <gtest/gtest.h>

#include "LayoutFile.h"
#include "LayoutFileRead.h"
#include "LayoutTestFiles.h"

TEST(LayoutFile, LoadReplacesTheLoadedTablesAndActivationCopiesThem) {
    const std::string path = WriteLayout("marnell_example.vmap", kExampleLayout);
    ASSERT_TRUE(LoadLayoutFile(path.c_str()));
    EXPECT_EQ(GetModifierKeys(), (std::vector<int16_t>{0, 222}));
    ActivateLoadedLayout();
    EXPECT_TRUE(ActiveLayout() == LoadedLayout());
    std::remove(path.c_str());
}

TEST(LayoutFile, FailedLoadsChangeNeitherCopy) {
    const std::string good = WriteLayout("marnell_good.vmap", kExampleLayout);
    ASSERT_TRUE(LoadLayoutFile(good.c_str()));
    ActivateLoadedLayout();
    const LayoutTables before = LoadedLayout();

    const std::string bad = WriteLayout("marnell_bad.vmap", "KEY:1;\r\nLAYOUT:\r\n");
    EXPECT_FALSE(LoadLayoutFile(bad.c_str()));
    EXPECT_FALSE(LoadLayoutFile(TempLayoutPath("marnell_missing.vmap").c_str()));
    EXPECT_TRUE(LoadedLayout() == before);
    EXPECT_TRUE(ActiveLayout() == before);

    // An empty file has no headers.
    const std::string empty = WriteLayout("marnell_empty.vmap", "");
    EXPECT_FALSE(LoadLayoutFile(empty.c_str()));
    EXPECT_TRUE(LoadedLayout() == before);

    std::remove(good.c_str());
    std::remove(bad.c_str());
    std::remove(empty.c_str());
}

TEST(LayoutFile, OversizedFileIsRefused) {
    std::string huge = "KEY:\r\nMOD:\r\nLAYOUT:\r\n";
    huge.resize(kMaxLayoutFileBytes + 1, ' ');
    const std::string path = WriteLayout("marnell_huge.vmap", huge);
    EXPECT_FALSE(LoadLayoutFile(path.c_str()));
    huge.resize(kMaxLayoutFileBytes);
    WriteLayout("marnell_huge.vmap", huge);
    EXPECT_TRUE(LoadLayoutFile(path.c_str()));  // at the limit it still reads
    std::remove(path.c_str());
}

#ifdef _WIN32
TEST(LayoutFile, FileOpenElsewhereForWritingDoesNotLoad) {
    const std::string path = WriteLayout("marnell_locked.vmap", kExampleLayout);
    const HANDLE writer = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                      OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(writer, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(LoadLayoutFile(path.c_str()));
    CloseHandle(writer);
    EXPECT_TRUE(LoadLayoutFile(path.c_str()));
    DeleteFileA(path.c_str());
}
#endif
