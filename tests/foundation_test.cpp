#include <gtest/gtest.h>
TEST(Foundation, Runs) { EXPECT_EQ(2 + 2, 4); }
