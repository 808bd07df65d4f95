#pragma once

#include "i18n/language_view.h"

#include <functional>

class QWidget;

// The finder window as the language store sees it: the language list is combo box 1036,
// texts go to the labels and buttons by their template ids and to the caption, messages
// go through the finder's message-box hook. Texts arrive in UTF-8.
class DialogLanguageView : public LanguageView {
public:
    // `onWindowTexts` sets the texts the store does not set itself.
    DialogLanguageView(QWidget& dialog, std::function<void()> onWindowTexts)
        : m_dialog(dialog), m_onWindowTexts(std::move(onWindowTexts)) {}

    void ResetLanguageList() override;
    void AddLanguageItem(const std::string& text) override;
    void SelectLanguageItem(int index) override;
    int CurrentLanguageItem() const override;
    void SetControlText(int id, const std::string& text) override;
    void ShowMessage(const std::string& text) override;
    void RepaintAll() override;
    void ApplyWindowTexts(const CWindowTexts& texts) override;

private:
    QWidget& m_dialog;
    std::function<void()> m_onWindowTexts;
};
