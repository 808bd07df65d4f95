#include "win/bitmap_paint.h"

SIZE BitmapSize(HBITMAP bitmap) {
    BITMAP info{};
    if (bitmap == nullptr || GetObjectW(bitmap, sizeof(info), &info) == 0) {
        return SIZE{0, 0};
    }
    return SIZE{info.bmWidth, info.bmHeight};
}

// One copy of the image, at its own size or stretched, into dc at (x, y), w by h.
static void CopyImage(HDC dc, int x, int y, int w, int h, HDC image, SIZE size, int drawMode,
                      DWORD rop) {
    if (drawMode == DRAW_MODE_STRETCH) {
        StretchBlt(dc, x, y, w, h, image, 0, 0, size.cx, size.cy, rop);
    } else {
        BitBlt(dc, x, y, w, h, image, 0, 0, rop);
    }
}

void PaintStateBitmap(HDC target, HBITMAP image, const RECT& rect, int drawMode, HBITMAP mask) {
    if (image == nullptr) {
        return;
    }
    if (drawMode == DRAW_MODE_TILE) {
        TileBitmap(target, image, rect);
        return;
    }
    const int w = rect.right - rect.left;
    const int h = rect.bottom - rect.top;
    const SIZE size = BitmapSize(image);
    HDC imageDc = CreateCompatibleDC(target);
    HGDIOBJ oldImage = SelectObject(imageDc, image);
    if (mask == nullptr) {
        CopyImage(target, rect.left, rect.top, w, h, imageDc, size, drawMode, SRCCOPY);
    } else {
        // ((background XOR image) AND mask) XOR image, composed off screen and copied once.
        HDC maskDc = CreateCompatibleDC(target);
        HGDIOBJ oldMask = SelectObject(maskDc, mask);
        HDC workDc = CreateCompatibleDC(target);
        HBITMAP work = CreateCompatibleBitmap(target, w, h);
        HGDIOBJ oldWork = SelectObject(workDc, work);
        BitBlt(workDc, 0, 0, w, h, target, rect.left, rect.top, SRCCOPY);
        CopyImage(workDc, 0, 0, w, h, imageDc, size, drawMode, SRCINVERT);
        CopyImage(workDc, 0, 0, w, h, maskDc, size, drawMode, SRCAND);
        CopyImage(workDc, 0, 0, w, h, imageDc, size, drawMode, SRCINVERT);
        BitBlt(target, rect.left, rect.top, w, h, workDc, 0, 0, SRCCOPY);
        SelectObject(workDc, oldWork);
        DeleteDC(workDc);
        DeleteObject(work);
        SelectObject(maskDc, oldMask);
        DeleteDC(maskDc);
    }
    SelectObject(imageDc, oldImage);
    DeleteDC(imageDc);
}

void TileBitmap(HDC target, HBITMAP image, const RECT& rect) {
    if (image == nullptr) {
        return;
    }
    const SIZE tile = BitmapSize(image);
    if (tile.cx <= 0 || tile.cy <= 0) {
        return;
    }
    HDC imageDc = CreateCompatibleDC(target);
    HGDIOBJ old = SelectObject(imageDc, image);
    for (int y = rect.top; y < rect.bottom; y += tile.cy) {
        const int h = y + tile.cy > rect.bottom ? rect.bottom - y : tile.cy;
        for (int x = rect.left; x < rect.right; x += tile.cx) {
            const int w = x + tile.cx > rect.right ? rect.right - x : tile.cx;
            BitBlt(target, x, y, w, h, imageDc, 0, 0, SRCCOPY);
        }
    }
    SelectObject(imageDc, old);
    DeleteDC(imageDc);
}

HRGN BuildMaskRegion(HWND window, HBITMAP mask, COLORREF key) {
    if (mask == nullptr) {
        return nullptr;
    }
    const SIZE size = BitmapSize(mask);
    HDC windowDc = GetDC(window);
    HDC maskDc = CreateCompatibleDC(windowDc);
    HGDIOBJ old = SelectObject(maskDc, mask);
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    for (int y = size.cy - 1; y >= 0; --y) {
        int x = 0;
        while (x < size.cx) {
            while (x < size.cx && GetPixel(maskDc, x, y) == key) {
                ++x;
            }
            const int start = x;
            while (x < size.cx && GetPixel(maskDc, x, y) != key) {
                ++x;
            }
            if (x > start) {
                HRGN run = CreateRectRgn(start, y, x, y + 1);
                CombineRgn(region, region, run, RGN_OR);
                DeleteObject(run);
            }
        }
    }
    SelectObject(maskDc, old);
    DeleteDC(maskDc);
    ReleaseDC(window, windowDc);
    return region;
}
