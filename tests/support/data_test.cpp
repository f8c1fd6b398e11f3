#include <gtest/gtest.h>

#include "support/data.h"

namespace {

TEST(FixDataPath, BareNamesGoToTheDataFolder) {
    struct Case {
        const char* path;
        const char* fixed;
    };
    const Case cases[] = {
        {"common/icons.png", "vantle://data/common/icons.png"},
        {"vantle://data/503/gfx.png", "vantle://data/503/gfx.png"},
        {"vantle://internal/x", "vantle://internal/x"},
        {"./local.wav", "./local.wav"},
        {"/abs/music.ogg", "/abs/music.ogg"},
        {"a/b:/c.png", "vantle://data/a/b:/c.png"},
        {"c:/x.png", "c:/x.png"},
        {"file", "vantle://data/file"},
    };
    for (const Case& c : cases) EXPECT_EQ(xr_data_FixDataPath(String(c.path)), String(c.fixed)) << c.path;
}

}  // namespace
