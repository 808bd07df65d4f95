#pragma once

#include <windows.h>

#include "win/subclassed_window.h"

// A label drawn over the dialog's skin: its background is the dialog's own painting under
// it, its text transparent. The dialog hands it its WM_CTLCOLORSTATIC.
class CTransparentStatic : public CSubclassedWindow {
public:
    HBRUSH CtlColor(HDC dc) const;
    void SetTextColor(COLORREF colour) { m_crText = colour; }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    BOOL OnEraseBkgnd(HDC dc) const;

    COLORREF m_crText = RGB(0, 0, 0);
};
