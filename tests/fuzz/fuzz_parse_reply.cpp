// Feeds arbitrary received bytes through everything a reply touches: the parser, the merge
// into the table (up to the full table and its drop), the list rule, the camera text codec,
// the checks of what a user types, a set request that changes any of the settings against
// the resulting table, and the escaping of the camera's texts for a terminal, CSV and JSON.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "core/encoding/text_codec.h"
#include "core/encoding/text_escape.h"
#include "core/present/device_list.h"
#include "core/rules/input_checks.h"
#include "core/wire/discovery_datagram.h"

namespace {

// Magic, both MAC items, name, account, password, three addresses, port and mode.
constexpr std::size_t SET_REQUEST_LONGEST = 5 + 8 + 8 + 18 + 66 + 18 + 3 * 6 + 7 + 6;

// The text a user typed: the input's bytes after its last zero byte, up to the last byte
// (which selects the settings to change), at most 64 of them.
std::string Typed(const uint8_t* data, std::size_t size) {
    std::size_t start = size - 1;
    while (start > 0 && data[start - 1] != 0 && size - 1 - start < 64) {
        --start;
    }
    return std::string(reinterpret_cast<const char*>(data + start), size - 1 - start);
}

// No output may carry a control character: a byte below 0x20, DEL, a C1 control as a
// stray byte or as UTF-8 (C2 80 to C2 9F).
void CheckEscaped(const std::string& out) {
    for (std::size_t i = 0; i < out.size();) {
        char32_t code = 0;
        const std::size_t length = NextCodePoint(out, i, code);
        const auto byte = static_cast<unsigned char>(out[i]);
        const auto next = i + 1 < out.size() ? static_cast<unsigned char>(out[i + 1]) : 0;
        if ((length == 0 && byte <= 0x9f) || (length == 1 && (byte < 0x20 || byte == 0x7f)) ||
            (length == 2 && byte == 0xc2 && next <= 0x9f)) {
            __builtin_trap();
        }
        i += length == 0 ? 1 : length;
    }
}

void CheckOutputs(const DeviceRecord& record) {
    for (const std::string& text :
         {FieldText(record.name), FieldText(record.version), FieldText(record.pppoeAccount),
          FieldText(record.pppoePassword)}) {
        CheckEscaped(EscapeControls(text));
        CheckEscaped(JsonString(text));
        const std::string cell = CsvCell(text);
        CheckEscaped(cell);
        if (!cell.empty() && std::string_view("=+-@").find(cell.front()) != std::string::npos) {
            __builtin_trap(); // a spreadsheet would run it
        }
    }
}

// The panel as a user leaves it: each setting kept or changed to typed text, as the bits
// of the selector say, so that every item of a set request gets built.
ChangeValues EditedPanel(const DeviceRecord& stored, const uint8_t* data, std::size_t size) {
    const uint8_t selector = data[size - 1];
    const std::string typed = Typed(data, size);
    const auto pick = [&](int bit, const std::string& kept) {
        return (selector >> bit & 1) != 0 ? typed : kept;
    };
    ChangeValues values;
    values.mac = MacToText(stored.mac);
    // A valid new MAC (the old one with its last byte changed) or the typed text.
    uint8_t newMac[6];
    std::memcpy(newMac, stored.mac, sizeof newMac);
    newMac[5] ^= selector;
    values.newMac = (selector & 0x80) != 0 ? MacToText(newMac) : typed;
    values.name = pick(0, FieldText(stored.name));
    values.pppoeAccount = pick(1, FieldText(stored.pppoeAccount));
    values.pppoePassword = pick(2, FieldText(stored.pppoePassword));
    values.ip = pick(3, FieldText(stored.ip));
    values.netmask = pick(4, FieldText(stored.netmask));
    values.gateway = pick(5, FieldText(stored.gateway));
    values.httpPort = (selector & 0x40) != 0 ? typed : std::to_string(stored.httpPort + 1);
    values.mode = RecordMode(stored.netMode);
    return values;
}

// The checks the front ends run before sending: they must agree with what they accept.
void CheckInputs(const ChangeValues& values) {
    for (const std::string& address : {values.ip, values.netmask, values.gateway}) {
        if (IsDottedAddress(address) && address.size() > 15) {
            __builtin_trap();
        }
    }
    if (IsHttpPort(values.httpPort) && values.httpPort.size() > 5) {
        __builtin_trap();
    }
    uint8_t mac[6];
    if (values.newMac && IsMacText(*values.newMac) != TextToMac(*values.newMac, mac)) {
        __builtin_trap();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    static DeviceTable table;
    static std::vector<std::string> entries;

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
    CheckOutputs(record);

    // Only a full table drops; the next inputs start over with an empty one.
    const auto merge = [](const DeviceRecord& merged) {
        const int slot = MergeRecord(table, merged);
        if (slot == MERGE_DROPPED) {
            if (CountOccupied(table) != DEVICE_TABLE_SLOTS) {
                __builtin_trap();
            }
            ClearTable(table);
            entries.clear();
        }
        return slot;
    };
    // A stranger with a MAC of its own comes first, so that the table fills within a few
    // hundred inputs whatever MACs they carry, and the full table's drop runs.
    static uint32_t strangers = 0;
    DeviceRecord stranger = record;
    ++strangers;
    const uint8_t strangerMac[6] = {0xfe,
                                    0xed,
                                    static_cast<uint8_t>(strangers >> 24),
                                    static_cast<uint8_t>(strangers >> 16),
                                    static_cast<uint8_t>(strangers >> 8),
                                    static_cast<uint8_t>(strangers)};
    std::memcpy(stranger.mac, strangerMac, sizeof strangerMac);
    merge(stranger);
    const int slot = merge(record);
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
    CheckEscaped(EscapeControls(name.shown)); // as a terminal gets it

    const ChangeValues values = EditedPanel(table.slot[slot], data, size);
    CheckInputs(values);
    DiscoveryDatagram datagram;
    BuildSetRequest(datagram, table, values);
    if (std::memcmp(datagram.bytes, DISCOVERY_MAGIC, DISCOVERY_MAGIC_LENGTH) != 0 ||
        RequestContentLength(datagram) > SET_REQUEST_LONGEST) {
        __builtin_trap();
    }
    return 0;
}
