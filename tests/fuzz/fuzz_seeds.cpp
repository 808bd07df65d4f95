// Writes a few well-formed replies into a folder for the fuzzer to start from, so that no
// binary corpus has to live in the repository.
#include <cstdio>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "core/wire/discovery_datagram.h"

static bool WriteSeed(const std::string& folder, const char* name, const uint8_t* bytes,
                      std::size_t length) {
    const std::string path = folder + "/" + name;
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        std::perror(path.c_str());
        return false;
    }
    const bool written = std::fwrite(bytes, 1, length, file) == length;
    return std::fclose(file) == 0 && written;
}

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <folder>\n", argv[0]);
        return 2;
    }
    // A camera's reply: every item with a value, one unknown item, the port as a number.
    std::vector<uint8_t> reply(DISCOVERY_MAGIC, DISCOVERY_MAGIC + DISCOVERY_MAGIC_LENGTH);
    auto item = [&reply](uint8_t type, std::vector<uint8_t> value) {
        reply.push_back(type);
        reply.push_back(static_cast<uint8_t>(value.size()));
        reply.insert(reply.end(), value.begin(), value.end());
    };
    item(ITEM_MAC, {0x00, 0x1a, 0x2b, 0x3c, 0x4d, 0x5e});
    item(ITEM_IP, {192, 168, 1, 10});
    item(ITEM_NETMASK, {255, 255, 255, 0});
    item(ITEM_GATEWAY, {192, 168, 1, 1});
    item(ITEM_HTTP_PORT, {0x50, 0x00});
    item(ITEM_NET_MODE, {0xFF, 0xFF, 0x01, 0xFF});
    item(ITEM_NAME, {'D', 'o', 'o', 'r', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
    item(ITEM_VERSION, std::vector<uint8_t>(16, 'v'));
    item(ITEM_PPPOE_ACCOUNT, std::vector<uint8_t>(64, 'a'));
    item(ITEM_PPPOE_PASSWORD, std::vector<uint8_t>(16, 'p'));
    item(ITEM_READ_ONLY, {0x00, 0x01});
    item(21, {1, 2, 3});

    // The query has every item type in the reply's own form, with zero values.
    DiscoveryDatagram query;
    BuildQueryRequest(query);

    // The same camera with a hostile name, ending in text a user types: each last byte
    // changes a different set of settings, and the high bit picks a valid new MAC.
    std::vector<uint8_t> hostile(DISCOVERY_MAGIC, DISCOVERY_MAGIC + DISCOVERY_MAGIC_LENGTH);
    const std::string name = "\x1b[2J\xe2\x80\xae=1+\x9b\xff";
    hostile.push_back(ITEM_MAC);
    hostile.push_back(ITEM_WIDTH_MAC);
    hostile.insert(hostile.end(), {0x02, 0x00, 0x5e, 0x00, 0x00, 0x01});
    hostile.push_back(ITEM_NAME);
    hostile.push_back(ITEM_WIDTH_NAME);
    hostile.insert(hostile.end(), name.begin(), name.end());
    hostile.resize(hostile.size() + ITEM_WIDTH_NAME - name.size(), 0);
    std::vector<std::vector<uint8_t>> edited;
    // Typed text follows a zero byte; the last byte says which settings take it.
    const std::pair<std::string, uint8_t> typings[] = {{"02005E0000FF", 0x01}, {"10.0.0.1", 0x38},
                                                       {"65535", 0x40},        {"=x\x1b", 0x87},
                                                       {"1.2.3", 0x38},        {"", 0xff}};
    for (const auto& [typed, selector] : typings) {
        edited.push_back(reply);
        edited.back().push_back(0);
        edited.back().insert(edited.back().end(), typed.begin(), typed.end());
        edited.back().push_back(selector);
    }

    bool ok = WriteSeed(argv[1], "magic-only", reinterpret_cast<const uint8_t*>(DISCOVERY_MAGIC),
                        DISCOVERY_MAGIC_LENGTH) &&
              WriteSeed(argv[1], "camera-reply", reply.data(), reply.size()) &&
              WriteSeed(argv[1], "query", query.bytes, sizeof query.bytes) &&
              WriteSeed(argv[1], "hostile-name", hostile.data(), hostile.size());
    for (std::size_t i = 0; ok && i < edited.size(); ++i) {
        const std::string seed = "edited-panel-" + std::to_string(i);
        ok = WriteSeed(argv[1], seed.c_str(), edited[i].data(), edited[i].size());
    }
    return ok ? 0 : 1;
}
