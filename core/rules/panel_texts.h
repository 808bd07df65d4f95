#pragma once

#include <cstddef>
#include <optional>

#include "core/encoding/text_codec.h"
#include "core/wire/device_table.h"
#include "core/wire/discovery_datagram.h"

// The camera texts of a set request (name, PPPoE account and password) as both front
// ends send them: typed in UTF-8, written in the encoding the camera's current text was
// read in, and the camera's own bytes for a text left as it was shown.

enum class PanelTextField { Name, PppoeAccount, PppoePassword };

struct PanelTextRefusal {
    PanelTextField field;
    std::size_t width; // the field's bytes on the camera
    TextWrite write;   // why, and the encoding it was to be written in
};

// Replaces the UTF-8 texts of values by the bytes that go to target; the first text
// that cannot go is refused, and values is then left as it was.
std::optional<PanelTextRefusal> EncodePanelTexts(PanelValues& values, const DeviceRecord& target,
                                                 const CTextCodec& codec);
