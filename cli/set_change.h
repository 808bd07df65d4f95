#pragma once

#include <string>
#include <vector>

#include "cli/cli_options.h"
#include "protocol/device_table.h"
#include "protocol/discovery_datagram.h"

// The panel values `set` sends: the device's record with the changes laid over it. The
// mode, when not given, is the one the panel's radio buttons would show for the record.
PanelValues PanelValuesFor(const DeviceRecord& record, const SetChanges& changes);

// Why the change may not go to this device (read-only, or a new MAC another device of
// the scan already answers with); empty when it may.
std::string RefusalReason(const DeviceRecord& device, const SetChanges& changes,
                          const std::vector<DeviceRecord>& scanned);
