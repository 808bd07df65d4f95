#include "core/session/camera_watch.h"

#include <set>
#include <utility>

const char* WatchEventName(WatchEvent::Kind kind) {
    switch (kind) {
    case WatchEvent::Kind::Appeared:
        return "appeared";
    case WatchEvent::Kind::Changed:
        return "changed";
    case WatchEvent::Kind::Gone:
        break;
    }
    return "gone";
}

CCameraWatch::CCameraWatch(FormatOptions options) : m_options(std::move(options)) {}

std::vector<WatchEvent> CCameraWatch::TakeSearch(const std::vector<DeviceRecord>& found) {
    std::vector<WatchEvent> events;
    std::set<std::string> seen;
    for (const DeviceRecord& record : found) {
        const std::string mac = MacToText(record.mac);
        seen.insert(mac);
        const auto known = m_known.find(mac);
        if (known == m_known.end()) {
            events.push_back({WatchEvent::Kind::Appeared, record, {}});
            m_known[mac] = {record, 0};
            continue;
        }
        std::vector<SettingChange> changes =
            SettingChanges(known->second.record, record, m_options);
        if (!changes.empty()) {
            events.push_back({WatchEvent::Kind::Changed, record, std::move(changes)});
        }
        known->second = {record, 0};
    }
    for (auto known = m_known.begin(); known != m_known.end();) {
        if (seen.count(known->first) == 0 && ++known->second.missed >= WATCH_GONE_AFTER_SEARCHES) {
            events.push_back({WatchEvent::Kind::Gone, known->second.record, {}});
            known = m_known.erase(known);
        } else {
            ++known;
        }
    }
    return events;
}
