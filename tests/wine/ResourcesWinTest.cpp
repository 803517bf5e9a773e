// The program's own pictures in its resources: the application icon, the popup icons, the
// mode cursors and the species bitmap.
#include <gtest/gtest.h>

#include <windows.h>

TEST(Resources, IconsCursorsAndBitmapLoad) {
    HINSTANCE self = GetModuleHandleA(nullptr);
    for (int id : {128, 133, 134, 135, 160, 175, 180, 232, 253}) {
        HICON icon = static_cast<HICON>(LoadImageA(self, MAKEINTRESOURCEA(id), IMAGE_ICON, 24, 24, 0));
        EXPECT_NE(icon, nullptr) << "icon " << id;
        if (icon) DestroyIcon(icon);
    }
    for (int id : {158, 159, 163, 164, 167, 177, 169, 178}) {
        HCURSOR cursor = LoadCursorA(self, MAKEINTRESOURCEA(id));
        ASSERT_NE(cursor, nullptr) << "cursor " << id;
        ICONINFO info = {};
        ASSERT_TRUE(GetIconInfo(cursor, &info));
        EXPECT_FALSE(info.fIcon) << "cursor " << id;  // a cursor, with a hot spot
        EXPECT_LT(info.xHotspot, 32u);
        EXPECT_LT(info.yHotspot, 32u);
        if (info.hbmMask) DeleteObject(info.hbmMask);
        if (info.hbmColor) DeleteObject(info.hbmColor);
    }
    HBITMAP species = static_cast<HBITMAP>(LoadImageA(self, MAKEINTRESOURCEA(129), IMAGE_BITMAP, 0, 0, 0));
    ASSERT_NE(species, nullptr);
    BITMAP bm = {};
    GetObjectA(species, sizeof bm, &bm);
    EXPECT_GT(bm.bmWidth, 100);
    EXPECT_GT(bm.bmHeight, 100);
    DeleteObject(species);
    char title[32] = "";
    EXPECT_GT(LoadStringA(self, 128, title, sizeof title), 0);
    EXPECT_STREQ(title, "NerithScr");
    EXPECT_GT(LoadStringA(self, 57344, title, sizeof title), 0);
    EXPECT_STREQ(title, "NerithScr");
}
