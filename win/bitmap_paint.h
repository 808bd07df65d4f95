#pragma once

#include <windows.h>

// Painting a bitmap into a rectangle, plainly, stretched or tiled, with an optional mask
// (white keeps the target, black takes the picture), and a window shape from a mask.

constexpr int DRAW_MODE_NORMAL = 0;
constexpr int DRAW_MODE_STRETCH = 1;
constexpr int DRAW_MODE_TILE = 2;

SIZE BitmapSize(HBITMAP bitmap);

// Nothing is drawn for a missing image. Tiling takes no mask.
void PaintStateBitmap(HDC target, HBITMAP image, const RECT& rect, int drawMode, HBITMAP mask);
void TileBitmap(HDC target, HBITMAP image, const RECT& rect);

// The region of the mask's pixels that are not the key colour, one rectangle per run of a
// row; none without a mask, an empty region for a mask of the key colour only.
HRGN BuildMaskRegion(HWND window, HBITMAP mask, COLORREF key);
