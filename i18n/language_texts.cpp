#include "i18n/language_texts.h"

#include "i18n/language_view.h"

#include <cstring>

namespace {

const char* const LANG_KEYS[LANG_KEY_COUNT] = {"English", "ChinaGB", "ChinaBG",
                                               "French",  "German",  "Japan"};

struct CellTarget {
    int position;
    int control;
};

// Account and password of the PPPoE fields, the address labels, Submit, the status label,
// the caption, Update and Exit.
constexpr CellTarget CELL_TARGETS[] = {
    {2, 1019},
    {3, 1020},
    {5, 1022},
    {6, 1023},
    {7, 1024},
    {8, 1025},
    {9, 1026},
    {10, 1027},
    {11, 1012},
    {12, 1028},
    {13, LANG_CAPTION_ID},
    {14, 1001},
    {15, 1002},
};

bool IsContinuationByte(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

} // namespace

const char* LanguageKey(int index) {
    if (index < 0 || index >= LANG_KEY_COUNT)
        return "";
    return LANG_KEYS[index];
}

int InterfaceCellControl(int position) {
    for (const CellTarget& target : CELL_TARGETS)
        if (target.position == position)
            return target.control;
    return LANG_NO_CONTROL;
}

std::string CutCellText(const char* text) {
    if (text == nullptr)
        return {};
    std::size_t length = strnlen(text, LANG_TEXT_MAX + 1);
    if (length <= LANG_TEXT_MAX)
        return std::string(text, length);
    // text[LANG_TEXT_MAX] exists; step back while it would continue a character.
    std::size_t cut = LANG_TEXT_MAX;
    while (cut > 0 && IsContinuationByte(text[cut]))
        --cut;
    return std::string(text, cut);
}
