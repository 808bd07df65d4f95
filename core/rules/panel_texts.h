#pragma once

#include <cstddef>
#include <optional>

#include "core/encoding/text_codec.h"
#include "core/wire/device_table.h"
#include "core/wire/discovery_datagram.h"
#include "core/wire/settings_fields.h"

// The camera texts of a set request (name, PPPoE account and password) as both front
// ends send them: typed in UTF-8, written in the encoding the camera's current text was
// read in, and the camera's own bytes for a text left as it was shown.

struct PanelTextRefusal {
    unsigned setting;  // SETTING_NAME, SETTING_ACCOUNT or SETTING_PASSWORD
    std::size_t width; // the field's bytes on the camera
    TextWrite write;   // why, and the encoding it was to be written in
};

// Replaces the UTF-8 texts of values by the bytes that go to target; the first text
// that cannot go is refused, and values is then left as it was.
std::optional<PanelTextRefusal> EncodePanelTexts(ChangeValues& values, const DeviceRecord& target,
                                                 const CTextCodec& codec);

// The words of a refusal, as patterns: "%1" the field in each; then the width in bytes,
// the encoding and the characters that fit (tooLong); the encoding, the character and its
// code point (notHeld).
struct TextRefusalWords {
    std::string tooLong;
    std::string notHeld;
    std::string unreadable;
};

// Why a typed text cannot go, in the front end's words, naming the field as given.
std::string TextRefusalSentence(const PanelTextRefusal& refusal, const std::string& field,
                                const TextRefusalWords& words);
