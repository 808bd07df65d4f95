#include "core/present/device_list.h"

#include <algorithm>
#include <climits>
#include <cstdlib>

#include "core/wire/discovery_datagram.h"

std::string ListEntryText(const DeviceRecord& record) {
    return std::to_string(record.id) + " " + FieldText(record.name);
}

std::string ListEntryText(const DeviceRecord& record, const CTextCodec& codec) {
    return std::to_string(record.id) + " " + codec.Shown(FieldText(record.name), ITEM_WIDTH_NAME);
}

// The number at the start of an entry, as atoi reads it but without atoi's undefined
// overflow: a number beyond int reads as a value no slot has. long long, because a long is
// no wider than an int on Windows.
static int EntryNumber(const std::string& entry) {
    const long long number = std::strtoll(entry.c_str(), nullptr, 10);
    return number < INT_MIN || number > INT_MAX ? 0 : static_cast<int>(number);
}

int SlotOfEntry(const std::string& entry) {
    return EntryNumber(entry) - 1;
}

bool NeedsListEntry(const std::vector<std::string>& entries, const DeviceRecord& record) {
    return std::none_of(entries.begin(), entries.end(),
                        [&](const std::string& entry) { return EntryNumber(entry) == record.id; });
}

bool AddListEntry(std::vector<std::string>& entries, const DeviceRecord& record) {
    if (!NeedsListEntry(entries, record)) {
        return false;
    }
    entries.push_back(ListEntryText(record));
    return true;
}
