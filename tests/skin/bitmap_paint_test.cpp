#include <QPainter>
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "skin/bitmap_paint.h"
#include "skin/skin_bitmaps.h"

namespace {

QImage Solid(int w, int h, QRgb colour) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

// A picture whose every pixel differs from its neighbours, so that any shift shows.
QImage Pattern(int w, int h, int seed) {
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(
                x, y,
                qRgb((x * 37 + seed) & 255, (y * 53 + seed * 3) & 255, (x * y + seed * 7) & 255));
    return image;
}

// A mask from rows of '#' (black, solid) and '.' (white, the key colour).
QImage MaskFrom(const std::vector<const char*>& rows) {
    const int w = static_cast<int>(std::strlen(rows[0]));
    QImage image(w, static_cast<int>(rows.size()), QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, rows[y][x] == '#' ? qRgb(0, 0, 0) : qRgb(255, 255, 255));
    return image;
}

std::vector<QRect> Rects(const QRegion& region) {
    return {region.begin(), region.end()};
}

void ExpectSamePixels(const QImage& actual, const QImage& expected) {
    ASSERT_EQ(actual.size(), expected.size());
    for (int y = 0; y < expected.height(); ++y)
        for (int x = 0; x < expected.width(); ++x)
            ASSERT_EQ(actual.pixel(x, y) & RGB_MASK, expected.pixel(x, y) & RGB_MASK)
                << "at " << x << "," << y;
}

constexpr QRgb KEY = 0xffffffff;

} // namespace

TEST(BitmapSize, ReadsWidthAndHeight) {
    const QImage image = Solid(7, 3, 0);
    EXPECT_EQ(BitmapWidth(image), 7);
    EXPECT_EQ(BitmapHeight(image), 3);
}

TEST(MaskRegion, SkinMaskIsTheWholeRectangle) {
    const QImage mask = LoadSkinBitmap(IDB_BUTTON_MASK);
    ASSERT_EQ(mask.size(), QSize(104, 34));
    const auto region = BuildMaskRegion(mask, KEY);
    ASSERT_TRUE(region.has_value());
    EXPECT_EQ(*region, QRegion(0, 0, 104, 34));
    EXPECT_EQ(region->rectCount(), 1);
}

TEST(MaskRegion, KeyOnlyMaskIsEmptyAndNoMaskIsNone) {
    const auto empty = BuildMaskRegion(Solid(5, 4, KEY), KEY);
    ASSERT_TRUE(empty.has_value());
    EXPECT_TRUE(empty->isEmpty());
    EXPECT_FALSE(BuildMaskRegion(QImage(), KEY).has_value());
}

TEST(MaskRegion, KeyIsComparedExactly) {
    // Off-white is solid: only the exact key colour is left out.
    const auto region = BuildMaskRegion(Solid(3, 1, qRgb(255, 255, 254)), KEY);
    EXPECT_EQ(*region, QRegion(0, 0, 3, 1));
}

TEST(MaskRegion, TwoPixelWideRowsNeverTakeAKeyColouredLastPixel) {
    const auto region = BuildMaskRegion(MaskFrom({".#", "#.", ".."}), KEY);
    EXPECT_EQ(Rects(*region), (std::vector<QRect>{QRect(1, 0, 1, 1), QRect(0, 1, 1, 1)}));
}

TEST(MaskRegion, OnePixelWideMaskGivesOneRectanglePerSolidRow) {
    const auto region = BuildMaskRegion(MaskFrom({"#", ".", "#", "#", "."}), KEY);
    // Rows 2 and 3 touch, so the region joins them; row 1 stays out.
    EXPECT_EQ(*region, QRegion(0, 0, 1, 1).united(QRect(0, 2, 1, 2)));
    EXPECT_FALSE(region->contains(QPoint(0, 1)));
    EXPECT_FALSE(region->contains(QPoint(0, 4)));
}

TEST(MaskRegion, GapAtThreeSplitsTheRow) {
    const auto region = BuildMaskRegion(MaskFrom({"###.####"}), KEY);
    EXPECT_EQ(Rects(*region), (std::vector<QRect>{QRect(0, 0, 3, 1), QRect(4, 0, 4, 1)}));
}

TEST(MaskRegion, SolidLastColumnEndsAtTheEdge) {
    const auto region = BuildMaskRegion(MaskFrom({"...#", "...."}), KEY);
    EXPECT_EQ(Rects(*region), (std::vector<QRect>{QRect(3, 0, 1, 1)}));
}

TEST(TileBitmap, TenByTenOverTwentyFiveByFifteenCutsLastColumnAndRow) {
    const QImage tile = Pattern(10, 10, 1);
    QImage target = Solid(30, 20, qRgb(1, 2, 3));
    TileBitmap(target, tile, QRect(0, 0, 25, 15));
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 30; ++x) {
            const QRgb expected = (x < 25 && y < 15) ? tile.pixel(x % 10, y % 10) : qRgb(1, 2, 3);
            ASSERT_EQ(target.pixel(x, y), expected) << x << "," << y;
        }
}

TEST(TileBitmap, SmallRectangleGetsOneCutTileAtItsOffset) {
    const QImage tile = Pattern(10, 10, 2);
    QImage target = Solid(12, 12, qRgb(9, 9, 9));
    TileBitmap(target, tile, QRect(2, 3, 4, 5));
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 12; ++x) {
            const bool inside = x >= 2 && x < 6 && y >= 3 && y < 8;
            ASSERT_EQ(target.pixel(x, y), inside ? tile.pixel(x - 2, y - 3) : qRgb(9, 9, 9));
        }
}

TEST(PaintStateBitmap, NormalModeCopiesTopLeftAndCutsAtTheRectangle) {
    const QImage image = Pattern(8, 6, 3);
    QImage target = Solid(10, 10, qRgb(5, 5, 5));
    PaintStateBitmap(target, image, QRect(1, 2, 5, 3), DRAW_MODE_NORMAL, QImage());
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x) {
            const bool inside = x >= 1 && x < 6 && y >= 2 && y < 5;
            ASSERT_EQ(target.pixel(x, y), inside ? image.pixel(x - 1, y - 2) : qRgb(5, 5, 5));
        }
}

TEST(PaintStateBitmap, StretchModeScalesTheWholeImage) {
    QImage image(2, 2, QImage::Format_RGB32);
    image.setPixel(0, 0, qRgb(255, 0, 0));
    image.setPixel(1, 0, qRgb(0, 255, 0));
    image.setPixel(0, 1, qRgb(0, 0, 255));
    image.setPixel(1, 1, qRgb(10, 20, 30));
    QImage target = Solid(6, 4, 0);
    PaintStateBitmap(target, image, QRect(0, 0, 6, 4), DRAW_MODE_STRETCH, QImage());
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 6; ++x)
            ASSERT_EQ(target.pixel(x, y), image.pixel(x / 3, y / 2)) << x << "," << y;
}

TEST(PaintStateBitmap, TileModeIgnoresTheMask) {
    const QImage image = Pattern(4, 4, 4);
    QImage tiled = Solid(10, 10, qRgb(7, 7, 7));
    QImage masked = tiled;
    TileBitmap(tiled, image, QRect(0, 0, 10, 10));
    PaintStateBitmap(masked, image, QRect(0, 0, 10, 10), DRAW_MODE_TILE, Solid(4, 4, KEY));
    ExpectSamePixels(masked, tiled);
}

TEST(PaintStateBitmap, NullImageDrawsNothing) {
    QImage target = Pattern(6, 6, 5);
    const QImage before = target;
    for (int mode : {DRAW_MODE_NORMAL, DRAW_MODE_STRETCH, DRAW_MODE_TILE})
        PaintStateBitmap(target, QImage(), QRect(0, 0, 6, 6), mode, QImage());
    ExpectSamePixels(target, before);
}

TEST(PaintStateBitmap, BlackMaskEqualsUnmaskedAndWhiteMaskKeepsTheTarget) {
    const QImage image = Pattern(9, 7, 6);
    for (int mode : {DRAW_MODE_NORMAL, DRAW_MODE_STRETCH}) {
        const QImage background = Pattern(20, 16, 77);
        const QRect rect(3, 2, 15, 11);
        QImage plain = background;
        PaintStateBitmap(plain, image, rect, mode, QImage());
        QImage black = background;
        PaintStateBitmap(black, image, rect, mode, Solid(9, 7, qRgb(0, 0, 0)));
        ExpectSamePixels(black, plain);
        QImage white = background;
        PaintStateBitmap(white, image, rect, mode, Solid(9, 7, KEY));
        ExpectSamePixels(white, background);
    }
}

TEST(PaintStateBitmap, MaskMixesBackgroundAndImageBitByBit) {
    const QImage image = Pattern(6, 5, 8);
    const QImage background = Pattern(6, 5, 99);
    const QImage mask = Pattern(6, 5, 42);
    QImage target = background;
    PaintStateBitmap(target, image, QRect(0, 0, 6, 5), DRAW_MODE_NORMAL, mask);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 6; ++x) {
            const QRgb expected =
                ((background.pixel(x, y) ^ image.pixel(x, y)) & mask.pixel(x, y)) ^
                image.pixel(x, y);
            ASSERT_EQ(target.pixel(x, y) & RGB_MASK, expected & RGB_MASK) << x << "," << y;
        }
}

TEST(PaintStateBitmap, StretchedMaskTakesOnlyTheImagesSizeOfALargerMask) {
    // The mask is read over the image's own 2 x 2: its right half (white) never shows.
    const QImage image = Solid(2, 2, qRgb(200, 100, 50));
    QImage mask = Solid(4, 2, KEY);
    mask.setPixel(0, 0, qRgb(0, 0, 0));
    mask.setPixel(1, 0, qRgb(0, 0, 0));
    QImage target = Solid(4, 4, qRgb(1, 1, 1));
    PaintStateBitmap(target, image, QRect(0, 0, 4, 4), DRAW_MODE_STRETCH, mask);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            ASSERT_EQ(target.pixel(x, y), y < 2 ? qRgb(200, 100, 50) : qRgb(1, 1, 1));
}

TEST(SkinBitmaps, EveryBitmapHasItsSizeAndUnknownIdsAreNull) {
    const std::vector<std::pair<int, QSize>> sizes = {
        {130, {312, 281}}, {174, {24, 30}}, {177, {77, 30}}, {180, {24, 30}}, {179, {24, 30}},
        {137, {28, 30}},   {136, {28, 30}}, {129, {28, 30}}, {140, {28, 30}}, {134, {55, 29}},
        {135, {55, 29}},   {132, {55, 29}}, {178, {104, 34}}};
    for (const auto& [id, size] : sizes) {
        const QImage image = LoadSkinBitmap(id);
        EXPECT_EQ(image.size(), size) << id;
        EXPECT_EQ(image.format(), QImage::Format_RGB32) << id;
    }
    EXPECT_TRUE(LoadSkinBitmap(IDB_BUTTON_DISABLED).isNull());
    EXPECT_TRUE(LoadSkinBitmap(0).isNull());
    EXPECT_TRUE(LoadSkinBitmap(-5).isNull());
    const QIcon icon = LoadSkinIcon(IDI_FINDER);
    EXPECT_EQ(icon.availableSizes(), (QList<QSize>{QSize(16, 16), QSize(32, 32), QSize(48, 48)}));
    EXPECT_TRUE(LoadSkinIcon(131).isNull());
}
