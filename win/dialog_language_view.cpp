#include "win/dialog_language_view.h"

#include "res/control_ids.h"
#include "win/finder_dlg.h"
#include "win/wide_text.h"

void CDialogLanguageView::ResetLanguageList() {
    SendMessageW(m_dialog.Control(IDC_LANGUAGE), CB_RESETCONTENT, 0, 0);
}

void CDialogLanguageView::AddLanguageItem(const std::string& text) {
    SendMessageW(m_dialog.Control(IDC_LANGUAGE), CB_ADDSTRING, 0,
                 reinterpret_cast<LPARAM>(Widen(text).c_str()));
}

// A selection made from code sends no CBN_SELCHANGE: only the user's pick applies one.
void CDialogLanguageView::SelectLanguageItem(int index) {
    SendMessageW(m_dialog.Control(IDC_LANGUAGE), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

int CDialogLanguageView::CurrentLanguageItem() const {
    return static_cast<int>(SendMessageW(m_dialog.Control(IDC_LANGUAGE), CB_GETCURSEL, 0, 0));
}

void CDialogLanguageView::SetControlText(int id, const std::string& text) {
    if (id == LANG_CAPTION_ID) {
        // The caption bar draws the window text; the taskbar shows it too.
        SetWindowTextUtf8(m_dialog.m_hWnd, text);
        RECT client;
        GetClientRect(m_dialog.m_hWnd, &client);
        client.bottom = CAPTION_HEIGHT;
        InvalidateRect(m_dialog.m_hWnd, &client, FALSE);
        return;
    }
    if (HWND control = m_dialog.Control(id)) {
        SetWindowTextUtf8(control, text);
    }
}

void CDialogLanguageView::ShowMessage(const std::string& text) {
    MessageBoxW(m_dialog.m_hWnd, Widen(text).c_str(), L"finder", MB_OK);
}

void CDialogLanguageView::RepaintAll() {
    RedrawWindow(m_dialog.m_hWnd, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME);
}

void CDialogLanguageView::ApplyWindowTexts(const CWindowTexts&) {
    m_dialog.OnWindowTexts();
}
