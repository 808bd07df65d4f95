#include "core/messages/fill_text.h"

#include <vector>

std::string FillText(const char* pattern, std::initializer_list<std::string> arguments) {
    const std::vector<std::string> values(arguments);
    std::string text;
    for (const char* p = pattern; *p != '\0'; ++p) {
        const bool placeholder = p[0] == '%' && p[1] >= '1' && p[1] <= '9';
        const std::size_t index = placeholder ? static_cast<std::size_t>(p[1] - '1') : 0;
        if (placeholder && index < values.size()) {
            text += values[index]; // an argument is never read again for placeholders
            ++p;
        } else {
            text += *p;
        }
    }
    return text;
}
