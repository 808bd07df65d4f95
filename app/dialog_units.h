#pragma once

#include <QRect>

// Dialog template 102 is laid out in dialog units of its 9-point font, whose base units
// are 6 by 12 pixels: 3 pixels for every 2 units in both directions, rounded half up as
// the platform's dialog-unit mapping does.

constexpr int DialogUnitsToPixels(int units) {
    return (units * 3 + 1) / 2;
}

// Edges are mapped one by one, so neighbouring controls keep their shared edges.
QRect DialogRectToPixels(int x, int y, int width, int height);

constexpr int DIALOG_WIDTH_UNITS = 312;
constexpr int DIALOG_HEIGHT_UNITS = 292;
constexpr int DIALOG_BORDER = 1; // the thin frame around the client area, in pixels

// The skinned caption bar across the top of the client area, and its two buttons.
constexpr int CAPTION_HEIGHT = 30;
constexpr int CAPTION_BUTTON_WIDTH = 28;

// The client area is the window inside its one-pixel frame.
constexpr QPoint ToClient(QPoint widgetPoint) {
    return widgetPoint - QPoint(DIALOG_BORDER, DIALOG_BORDER);
}
inline QRect ToWidget(QRect clientRect) {
    return clientRect.translated(DIALOG_BORDER, DIALOG_BORDER);
}
