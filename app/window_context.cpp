#include "app/window_context.h"

#include "app/qt_helpers.h"
#include "core/messages/fill_text.h"

QString CWindowContext::Tr(const WindowText& text) const {
    return Utf8Text(Lookup()(text));
}

QString CWindowContext::TrFilled(const WindowText& text,
                                 std::initializer_list<std::string> arguments) const {
    return Utf8Text(FillText(Lookup()(text), arguments));
}
