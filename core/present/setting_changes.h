#pragma once

#include <string>
#include <vector>

#include "core/present/device_format.h"
#include "core/wire/device_table.h"

// One setting that differs between two records of a camera, as every output shows it: its
// key as `scan --json` names it, the old and the new value as text.
struct SettingChange {
    std::string key;
    std::string from;
    std::string to;

    bool operator==(const SettingChange&) const = default;
};

// The password's old and new value where passwords are not shown.
constexpr char SETTING_HIDDEN[] = "(hidden)";

// The settings a user changes that differ from before to after, in the order of `scan
// --json`: name, mac, ip, netmask, gateway, httpPort, mode, pppoeAccount, pppoePassword.
// Camera texts are read through the options' codec and escaped for a terminal; the
// password's values are SETTING_HIDDEN unless the options show passwords.
std::vector<SettingChange> SettingChanges(const DeviceRecord& before, const DeviceRecord& after,
                                          const FormatOptions& options);

// "ip 192.168.1.64 -> 10.77.0.100"
std::string ChangeText(const SettingChange& change);
// The changes joined with ", "; empty when there are none.
std::string ChangesText(const std::vector<SettingChange>& changes);
// {"ip": {"from": "192.168.1.64", "to": "10.77.0.100"}}, {} when there are none.
std::string ChangesJson(const std::vector<SettingChange>& changes);
