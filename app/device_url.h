#pragma once

#include <string>

#include "core/wire/device_table.h"

// A camera's web page: "http://%s" on port 80, "http://%s:%d/" on any other port (0 too).
std::string DevicePageUrl(const DeviceRecord& record);
