#include "app/dialog_units.h"

QRect DialogRectToPixels(int x, int y, int width, int height) {
    const int left = DialogUnitsToPixels(x);
    const int top = DialogUnitsToPixels(y);
    return QRect(left, top, DialogUnitsToPixels(x + width) - left,
                 DialogUnitsToPixels(y + height) - top);
}
