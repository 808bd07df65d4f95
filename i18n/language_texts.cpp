#include "i18n/language_texts.h"

#include <cstring>

#include "i18n/language_view.h"
#include "res/control_ids.h"

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
    {2, IDC_LABEL_ACCOUNT}, {3, IDC_LABEL_PASSWORD},   {5, IDC_LABEL_ADDRESS},
    {6, IDC_LABEL_NAME},    {7, IDC_LABEL_IP},         {8, IDC_LABEL_NETMASK},
    {9, IDC_LABEL_GATEWAY}, {10, IDC_LABEL_HTTP_PORT}, {11, IDC_SUBMIT},
    {12, IDC_LABEL_STATUS}, {13, LANG_CAPTION_ID},     {14, IDC_UPDATE},
    {15, IDC_EXIT},
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
