#include "device_list.h"

#include <algorithm>
#include <cstdlib>

std::string ListEntryText(const DeviceRecord& record) {
    return std::to_string(record.id) + " " + FieldText(record.name);
}

int SlotOfEntry(const std::string& entry) {
    return std::atoi(entry.c_str()) - 1;
}

bool NeedsListEntry(const std::vector<std::string>& entries, const DeviceRecord& record) {
    return std::none_of(entries.begin(), entries.end(), [&](const std::string& entry) {
        return std::atoi(entry.c_str()) == record.id;
    });
}

bool AddListEntry(std::vector<std::string>& entries, const DeviceRecord& record) {
    if (!NeedsListEntry(entries, record)) {
        return false;
    }
    entries.push_back(ListEntryText(record));
    return true;
}
