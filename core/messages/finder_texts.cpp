#include "core/messages/finder_texts.h"

const WindowText* FinderText(std::string_view id) {
    for (const WindowText* text : FINDER_TEXTS) {
        if (id == text->id) {
            return text;
        }
    }
    return nullptr;
}
