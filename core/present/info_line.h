#pragma once

#include <string>

#include "core/encoding/text_codec.h"
#include "core/messages/window_text.h"
#include "core/wire/device_table.h"

// "IP Get:", the mode line by the radios' reading (so the line and the checked radio never
// disagree), then "Version:" and the firmware version, each line ending in "\r\n".
std::string InfoText(const DeviceRecord& record, const CTextCodec& codec = CTextCodec(),
                     const TextLookup& tr = EnglishText);
