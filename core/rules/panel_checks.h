#pragma once

#include <optional>
#include <string>

#include "core/encoding/text_codec.h"
#include "core/messages/finder_texts.h"
#include "core/wire/device_table.h"
#include "core/wire/discovery_datagram.h"

// What the details panel checks before Submit: the same
// for every front end, and free of any window. The texts come through `tr`, in the front
// end's language (English by default); camera texts are read and written by `codec`.

// Why the set request may not go to `target` as the panel gives it (texts typed in
// UTF-8), naming the field and ending in "Nothing was sent."; nothing when it may. Only
// what the user changed is checked: a field left as the camera reported it goes back
// unchanged, or not at all. The camera texts come first: one too long for its field, one
// holding a character the camera's encoding lacks, or replacement marks.
std::optional<std::string> CheckPanelValues(const DeviceRecord& target, const ChangeValues& values,
                                            const CTextCodec& codec = CTextCodec(),
                                            const TextLookup& tr = EnglishText);
