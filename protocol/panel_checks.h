#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "protocol/device_table.h"
#include "protocol/discovery_datagram.h"

// What the details panel says about a camera and what it checks before Submit: the same
// for every front end, and free of any window.

// "IP Get:", the mode line by the radios' reading (so the line and the checked radio never
// disagree), then "Version:" and the firmware version, each line ending in "\r\n".
std::string InfoText(const DeviceRecord& record);

// Why the set request may not go to `target` as the panel gives it, naming the field and
// ending in "Nothing was sent."; nothing when it may. Only what the user changed is checked:
// a field left as the camera reported it goes back unchanged, or not at all.
// `unstorableField` is the label of the first text field ("Name", "Account", "Password")
// holding characters the camera cannot store, when the front end met one while encoding.
std::optional<std::string> CheckPanelValues(const DeviceRecord& target, const PanelValues& values,
                                            std::string_view unstorableField = {});
