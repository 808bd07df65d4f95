// Feeds arbitrary received bytes through everything a reply touches: the parser, the merge
// into the table, the list rule, the camera text codec and a set request built against the
// resulting table.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "protocol/device_list.h"
#include "protocol/discovery_datagram.h"
#include "protocol/text_codec.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    static DeviceTable table;
    static std::vector<std::string> entries;
    if (CountOccupied(table) ==
        DEVICE_TABLE_SLOTS) { // let the full-table path run, then start over
        ClearTable(table);
        entries.clear();
    }

    DeviceRecord record;
    std::memset(&record, 0xA5, sizeof record);
    const DeviceRecord before = record;
    if (!ParseReply(data, size, record)) {
        if (std::memcmp(&record, &before, sizeof record) != 0) {
            __builtin_trap(); // a refused datagram must leave no trace
        }
        return 0;
    }
    if (record.name[sizeof record.name - 1] != '\0' || (record.readOnly & ~1) != 0 ||
        record.httpPort < 0 || record.httpPort > 65535) {
        __builtin_trap();
    }

    const int slot = MergeRecord(table, record);
    if (slot == MERGE_DROPPED) {
        return 0;
    }
    if (slot < 0 || slot >= DEVICE_TABLE_SLOTS || table.slot[slot].id != slot + 1) {
        __builtin_trap();
    }
    AddListEntry(entries, table.slot[slot]);
    if (NeedsListEntry(entries, table.slot[slot])) {
        __builtin_trap();
    }

    // Whatever the bytes, a text reads as valid UTF-8 and, left alone, writes back as the
    // very bytes that came.
    const DeviceRecord& stored = table.slot[slot];
    const CTextCodec codec = CTextCodec::ForLanguage(size > 0 ? data[size - 1] % 6 : 0);
    const CameraText name = codec.Read(FieldText(stored.name), ITEM_WIDTH_NAME);
    const TextWrite write = codec.Write(name.shown, name, ITEM_WIDTH_NAME);
    if (!IsValidUtf8(name.shown) || !write.Ok() || write.bytes != FieldText(stored.name) ||
        !IsValidUtf8(ListEntryText(stored, codec))) {
        __builtin_trap();
    }

    // The parsed texts as a user would leave them in the panel, the port a little changed.
    PanelValues values;
    values.captionMac = MacToText(stored.mac);
    values.newMac =
        std::string(reinterpret_cast<const char*>(data), std::min<std::size_t>(size, 12));
    values.name = FieldText(stored.name);
    values.pppoeAccount = FieldText(stored.pppoeAccount);
    values.pppoePassword = FieldText(stored.pppoePassword);
    values.ip = FieldText(stored.version); // any text, not only addresses
    values.netmask = FieldText(stored.netmask);
    values.gateway = FieldText(stored.gateway);
    values.httpPort = std::to_string(stored.httpPort + 1);
    values.pppoeChecked = stored.netMode[0] == NET_MODE_ON;
    values.dhcpChecked = stored.netMode[2] == NET_MODE_ON;
    DiscoveryDatagram datagram;
    BuildSetRequest(datagram, table, values);
    if (std::memcmp(datagram.bytes, DISCOVERY_MAGIC, DISCOVERY_MAGIC_LENGTH) != 0 ||
        RequestContentLength(datagram) > 154) {
        __builtin_trap();
    }
    return 0;
}
