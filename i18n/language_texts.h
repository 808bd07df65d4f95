#pragma once

#include <cstddef>
#include <string>

// The fixed parts of the language store: the keys of the languages, which cell of table
// `interface` goes to which control, and the size limit of a text.

constexpr int LANG_KEY_COUNT = 6;
constexpr int LANG_NO_CONTROL = -1;
constexpr int LANG_FIRST_LANGUAGE = 0;

// Texts are held in 260-byte buffers in the finder's window code: 259 bytes and a zero.
constexpr std::size_t LANG_TEXT_MAX = 259;

// The key of table `interface` for a language index: "English", "ChinaGB", "ChinaBG",
// "French", "German", "Japan" for 0 to 5, the empty key for any other index.
const char* LanguageKey(int index);

// The control that receives the cell at a position of table `interface` (LANG_CAPTION_ID
// for the dialog's caption), or LANG_NO_CONTROL for positions 0, 1, 4 and above 15.
int InterfaceCellControl(int position);

// A cell's text as a control gets it: at most LANG_TEXT_MAX bytes, ending at its first
// zero byte. A longer text is cut before the UTF-8 character that would cross the limit,
// so a control never gets half a character.
std::string CutCellText(const char* text);
