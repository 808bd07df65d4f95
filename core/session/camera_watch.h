#pragma once

#include <map>
#include <string>
#include <vector>

#include "core/present/device_format.h"
#include "core/present/setting_changes.h"
#include "core/wire/device_table.h"

// A camera missing from this many searches in a row has gone.
constexpr int WATCH_GONE_AFTER_SEARCHES = 2;

// What one search showed of a camera against the searches before it.
struct WatchEvent {
    enum class Kind { Appeared, Changed, Gone };
    Kind kind = Kind::Appeared;
    DeviceRecord record{};              // as this search saw it; gone: as last seen
    std::vector<SettingChange> changes; // changed: each setting's old and new value
};

const char* WatchEventName(WatchEvent::Kind kind); // "appeared", "changed", "gone"

// Follows the cameras from search to search by MAC: a MAC not seen before has appeared
// (again, once it had gone), one whose settings differ from its last reply has changed, and
// one missing from WATCH_GONE_AFTER_SEARCHES searches in a row has gone.
class CCameraWatch {
public:
    explicit CCameraWatch(FormatOptions options);

    // The events of one search's cameras: appeared and changed in the order found, then gone.
    std::vector<WatchEvent> TakeSearch(const std::vector<DeviceRecord>& found);

private:
    struct Known {
        DeviceRecord record;
        int missed = 0; // searches in a row without it
    };
    FormatOptions m_options;
    std::map<std::string, Known> m_known; // by MAC text
};
