#pragma once

// Resources of the Windows window (res/finder.rc): plain defines, since the resource
// compiler reads this file too. The bitmap ids are the skin's (res/bitmaps/<id>.png, turned
// into BMP files by the build); the control ids of template 102 are those of control_ids.h.

#define IDD_FINDER_DIALOG 102
#define IDI_FINDER 128

#define IDB_TRAY_BUTTON 129     // minimise-to-tray bar, 28 x 30
#define IDB_BACKGROUND 130      // window background, 312 x 281
#define IDB_BUTTON_DISABLED 131 // names no bitmap: a disabled button shows the button face
#define IDB_BUTTON_OVER 132     // command button under the pointer, also its focus face
#define IDB_BUTTON_NORMAL 134   // command button, 55 x 29
#define IDB_BUTTON_DOWN 135     // command button pressed
#define IDB_CLOSE_GLOW 136      // close cross under the pointer, 28 x 30
#define IDB_CLOSE 137           // close cross, 28 x 30
#define IDB_TRAY_GLOW 140       // minimise-to-tray bar under the pointer
#define IDB_CAPTION 174         // caption strip, 24 x 30
#define IDB_LOGO 177            // logo at the left of the caption, 77 x 30
#define IDB_BUTTON_MASK 178     // command buttons' mask, all black, 104 x 34
#define IDB_FRAME_RIGHT 179     // frame end right of the close button, 24 x 30
#define IDB_FRAME_LEFT 180      // frame end left of the tray button, 24 x 30
