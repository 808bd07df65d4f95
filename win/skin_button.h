#pragma once

#include <windows.h>

#include <string>

#include "win/subclassed_window.h"

// A command button painted from its state bitmaps (normal, pressed, disabled, under the
// pointer, focused, and a mask that also gives the window its shape), its text centred on
// top. It follows the pointer with a leave notice and can carry a tooltip. The dialog hands
// it its WM_DRAWITEM.
class CSkinButton : public CSubclassedWindow {
public:
    CSkinButton() = default;
    ~CSkinButton() override;

    void LoadStateBitmaps(UINT normal, UINT down, UINT over, UINT disabled, UINT focus, UINT mask,
                          short drawMode, short border, short focusMargin);
    COLORREF SetCaptionColor(COLORREF colour);
    void SetTipText(const std::wstring& text);
    void DrawItem(const DRAWITEMSTRUCT& item);

protected:
    void PreSubclassWindow() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void OnMouseMove();
    void OnMouseLeave();
    void OnLButtonDown();
    void ReleaseBitmaps();
    void Repaint() const;
    HBITMAP FaceFor(UINT state) const;

    bool m_bHover = false;
    HWND m_tooltip = nullptr;
    HBITMAP m_bmpNormal = nullptr;
    HBITMAP m_bmpDown = nullptr;
    HBITMAP m_bmpDisabled = nullptr;
    HBITMAP m_bmpMask = nullptr;
    HBITMAP m_bmpOver = nullptr;
    HBITMAP m_bmpFocus = nullptr;
    short m_nFocusMargin = 0;
    COLORREF m_crText = GetSysColor(COLOR_BTNTEXT);
    int m_nBorder = 0;
    short m_nDrawMode = 1;
};
