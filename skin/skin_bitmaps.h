#pragma once

#include <QIcon>
#include <QImage>

// Identifiers of the skin's bitmaps (the pictures live in res/bitmaps/<id>.png).
enum : int {
    IDB_TRAY_BUTTON = 129,     // minimise-to-tray bar, 28 x 30
    IDB_BACKGROUND = 130,      // window background, 312 x 281
    IDB_BUTTON_DISABLED = 131, // names no bitmap: a disabled button shows the button face
    IDB_BUTTON_OVER = 132,     // command button under the pointer, also its focus face, 55 x 29
    IDB_BUTTON_NORMAL = 134,   // command button, 55 x 29
    IDB_BUTTON_DOWN = 135,     // command button pressed, 55 x 29
    IDB_CLOSE_GLOW = 136,      // close cross under the pointer, 28 x 30
    IDB_CLOSE = 137,           // close cross, 28 x 30
    IDB_TRAY_GLOW = 140,       // minimise-to-tray bar under the pointer, 28 x 30
    IDB_CAPTION = 174,         // caption strip, 24 x 30
    IDB_LOGO = 177,            // logo at the left of the caption, 77 x 30
    IDB_BUTTON_MASK = 178,     // command buttons' mask, all black, 104 x 34
    IDB_FRAME_RIGHT = 179,     // frame end right of the close button, 24 x 30
    IDB_FRAME_LEFT = 180,      // frame end left of the tray button, 24 x 30
    IDI_FINDER = 128,          // the program icon (16, 32 and 48 pixels)
};

// The skin bitmap `id` in QImage::Format_RGB32, or a null image when no bitmap has that id.
QImage LoadSkinBitmap(int id);

// The icon `id` with all of its sizes, or a null icon when there is none.
QIcon LoadSkinIcon(int id);
