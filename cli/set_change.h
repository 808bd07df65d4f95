#pragma once

#include <string>

#include "cli/cli_options.h"
#include "core/encoding/text_codec.h"
#include "core/wire/device_table.h"
#include "core/wire/discovery_datagram.h"

// The panel values `set` sends: the device's record with the changes laid over it, its
// texts as the codec shows them (UTF-8, as the changes are typed). The mode, when not
// given, is the one the panel's radio buttons would show for the record.
ChangeValues ChangeValuesFor(const DeviceRecord& record, const SetChanges& changes,
                             const CTextCodec& codec);
