#pragma once

#include "i18n/language_view.h"

class CFinderDlg;

// The language store's view of the Windows dialog: the language list (combo box 1036),
// the labels and buttons, the caption, the message box.
class CDialogLanguageView : public LanguageView {
public:
    explicit CDialogLanguageView(CFinderDlg& dialog) : m_dialog(dialog) {}

    void ResetLanguageList() override;
    void AddLanguageItem(const std::string& text) override;
    void SelectLanguageItem(int index) override;
    int CurrentLanguageItem() const override;
    void SetControlText(int id, const std::string& text) override;
    void ShowMessage(const std::string& text) override;
    void RepaintAll() override;
    void ApplyWindowTexts(const CWindowTexts& texts) override;

private:
    CFinderDlg& m_dialog;
};
