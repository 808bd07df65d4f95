#pragma once

#include <string>

class CWindowTexts;

// The control id that names the dialog's own window text: the caption that the skinned
// frame draws. Template controls are numbered from 1000, so 0 is free.
constexpr int LANG_CAPTION_ID = 0;

// What the language store needs from the window it serves. The finder's dialog
// implements it over its language list (combo box 1036), its labels and buttons, its
// caption and its message box; the tests implement it with a recorder. Texts are UTF-8.
class LanguageView {
public:
    virtual ~LanguageView() = default;

    // The language list: empty it, append one item, select an item (-1 selects none)
    // without raising the list's change notice, and read the selected item (-1: none).
    virtual void ResetLanguageList() = 0;
    virtual void AddLanguageItem(const std::string& text) = 0;
    virtual void SelectLanguageItem(int index) = 0;
    virtual int CurrentLanguageItem() const = 0;

    // Sets the window text of control id, or of the dialog itself for LANG_CAPTION_ID.
    virtual void SetControlText(int id, const std::string& text) = 0;

    // A modal message box with an OK button; returns when it is answered.
    virtual void ShowMessage(const std::string& text) = 0;

    // Repaints the whole window, background and caption included.
    virtual void RepaintAll() = 0;

    // The window's further texts for the language just applied: the window shows them
    // from now on. A view that has none of them ignores it.
    virtual void ApplyWindowTexts(const CWindowTexts& texts) { (void)texts; }
};
