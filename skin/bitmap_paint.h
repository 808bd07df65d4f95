#pragma once

#include <QImage>
#include <QRect>
#include <QRegion>
#include <QRgb>

#include <optional>

// Drawing modes of a state bitmap.
enum : int {
    DRAW_MODE_NORMAL = 0,  // copied 1:1 from the top-left corner, cut at the rectangle
    DRAW_MODE_STRETCH = 1, // the whole bitmap scaled to the rectangle
    DRAW_MODE_TILE = 2,    // repeated over the rectangle, never masked
};

// Width and height in pixels of a loaded bitmap.
int BitmapWidth(const QImage& image);
int BitmapHeight(const QImage& image);

// Paints `image` into `rect` of `target` in `drawMode`. With a mask (a non-null image), each
// pixel becomes ((background XOR image) AND mask) XOR image, bit by bit: a white mask pixel
// keeps the target's pixel, a black one shows the image. The picture is composed in a work
// image and copied to the target once. A null image draws nothing; tile mode ignores the mask.
// The target is converted to QImage::Format_RGB32 if it is in another format.
void PaintStateBitmap(QImage& target, const QImage& image, QRect rect, int drawMode,
                      const QImage& mask);

// Repeats `image` over `rect` of `target`, starting at its top-left corner; the last column
// and row of tiles are cut at the rectangle's edges. A null image draws nothing.
void TileBitmap(QImage& target, const QImage& image, QRect rect);

// The shape of `mask`: every pixel whose colour is not exactly `key` is solid. Rows are scanned
// bottom-up, each maximal run of solid pixels becomes a one-pixel-high rectangle, and the
// rectangles are united in that order. No mask (a null image) gives no region; a mask of key
// colour only gives an empty region.
std::optional<QRegion> BuildMaskRegion(const QImage& mask, QRgb key);
