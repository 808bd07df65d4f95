#include "skin/bitmap_paint.h"

#include <QPainter>

#include <algorithm>
#include <vector>

namespace {

QImage AsRgb32(const QImage& image) {
    return image.format() == QImage::Format_RGB32 ? image
                                                  : image.convertToFormat(QImage::Format_RGB32);
}

// The source as the target sees it: in stretch mode scaled to w x h (nearest pixel, like a
// plain stretched block copy), in normal mode its top-left w x h part (cut at its own edges).
// The mask is taken over the image's size in both modes, whatever its own size.
QImage SourceFor(const QImage& source, QSize imageSize, int w, int h, int drawMode) {
    QImage part = AsRgb32(source);
    if (part.size() != imageSize) {
        part = part.copy(0, 0, imageSize.width(), imageSize.height());
    }
    if (drawMode == DRAW_MODE_STRETCH) {
        return part.scaled(w, h, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    }
    return part.copy(0, 0, std::min(w, part.width()), std::min(h, part.height()));
}

void EnsureRgb32(QImage& target) {
    if (target.format() != QImage::Format_RGB32) {
        target = target.convertToFormat(QImage::Format_RGB32);
    }
}

} // namespace

int BitmapWidth(const QImage& image) {
    return image.width();
}

int BitmapHeight(const QImage& image) {
    return image.height();
}

void PaintStateBitmap(QImage& target, const QImage& image, QRect rect, int drawMode,
                      const QImage& mask) {
    if (drawMode == DRAW_MODE_TILE) {
        TileBitmap(target, image, rect);
        return;
    }
    if (image.isNull() || rect.isEmpty()) {
        return;
    }
    EnsureRgb32(target);
    const QImage face = SourceFor(image, image.size(), rect.width(), rect.height(), drawMode);
    if (mask.isNull()) {
        QPainter p(&target);
        p.setCompositionMode(QPainter::CompositionMode_Source);
        p.drawImage(rect.topLeft(), face);
        return;
    }
    // Work image: the target's pixels under the face, then XOR image, AND mask, XOR image.
    QImage work = target.copy(QRect(rect.topLeft(), face.size()));
    const QImage maskPart = SourceFor(mask, image.size(), rect.width(), rect.height(), drawMode);
    {
        QPainter p(&work);
        p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        p.drawImage(0, 0, face);
        p.setCompositionMode(QPainter::RasterOp_SourceAndDestination);
        p.drawImage(0, 0, maskPart);
        p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        p.drawImage(0, 0, face);
    }
    QPainter p(&target);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.drawImage(rect.topLeft(), work);
}

void TileBitmap(QImage& target, const QImage& image, QRect rect) {
    if (image.isNull() || rect.isEmpty()) {
        return;
    }
    EnsureRgb32(target);
    const QImage tile = AsRgb32(image);
    QPainter p(&target);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    const int right = rect.left() + rect.width();
    const int bottom = rect.top() + rect.height();
    for (int y = rect.top(); y < bottom; y += tile.height()) {
        const int th = std::min(tile.height(), bottom - y);
        for (int x = rect.left(); x < right; x += tile.width()) {
            const int tw = std::min(tile.width(), right - x);
            p.drawImage(QPoint(x, y), tile, QRect(0, 0, tw, th));
        }
    }
}

std::optional<QRegion> BuildMaskRegion(const QImage& mask, QRgb key) {
    if (mask.isNull()) {
        return std::nullopt;
    }
    const QImage scan = AsRgb32(mask);
    const QRgb keyRgb = key & RGB_MASK;
    std::vector<QRect> runs;
    for (int y = scan.height() - 1; y >= 0; --y) {
        const auto* line = reinterpret_cast<const QRgb*>(scan.constScanLine(y));
        int x = 0;
        while (x < scan.width()) {
            if ((line[x] & RGB_MASK) == keyRgb) {
                ++x;
                continue;
            }
            const int start = x;
            while (x < scan.width() && (line[x] & RGB_MASK) != keyRgb) {
                ++x;
            }
            runs.emplace_back(start, y, x - start, 1);
        }
    }
    QRegion region;
    for (const QRect& run : runs) {
        region = region.united(run);
    }
    return region;
}
