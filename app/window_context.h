#pragma once

#include <QString>

#include <initializer_list>
#include <string>

#include "core/encoding/text_codec.h"
#include "core/messages/window_text.h"

// What a part of the window needs of it: the texts in the language applied now, and the
// codec camera texts are read and written with now. The window gives its own; a test gives
// a fixed one.
class CWindowContext {
public:
    virtual ~CWindowContext() = default;

    // A text of the window in the language applied, or its English; the same lookup for
    // the core's texts.
    virtual TextLookup Lookup() const = 0;
    // In the encoding the user named, else by the language of the window.
    virtual CTextCodec Codec() const = 0;

    QString Tr(const WindowText& text) const;
    // The text with "%1", "%2", ... filled in by the arguments.
    QString TrFilled(const WindowText& text, std::initializer_list<std::string> arguments) const;
};
