#pragma once

#include <windows.h>

// A control of the dialog template whose messages a class of the finder's takes first
// (common controls' window subclassing); what it leaves goes to the control's own procedure.
class CSubclassedWindow {
public:
    CSubclassedWindow() = default;
    virtual ~CSubclassedWindow();
    CSubclassedWindow(const CSubclassedWindow&) = delete;
    CSubclassedWindow& operator=(const CSubclassedWindow&) = delete;

    // Binds the object to the dialog's control id; false when there is none.
    bool SubclassDlgItem(HWND dialog, int id);
    HWND m_hWnd = nullptr;

protected:
    virtual void PreSubclassWindow() {}
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam);

private:
    static LRESULT CALLBACK SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                         UINT_PTR id, DWORD_PTR self);
};
