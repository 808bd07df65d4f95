#include "protocol/search_texts.h"

#include <cstdio>

#include "protocol/subnet.h"

// Each "%s" in turn takes the next text; what was put in is never searched again, so a
// camera's name or address that holds "%s" stays as it is.
std::string FillTexts(const char* format, std::initializer_list<std::string> texts) {
    std::string out(format);
    std::size_t from = 0;
    for (const std::string& text : texts) {
        const std::size_t at = out.find("%s", from);
        if (at == std::string::npos) {
            break;
        }
        out.replace(at, 2, text);
        from = at + text.size();
    }
    return out;
}

std::string FillText(const char* format, const std::string& text) {
    return FillTexts(format, {text});
}

std::string FillCount(const char* format, int count, const std::string& text) {
    std::string out(format);
    if (const std::size_t at = out.find("%d"); at != std::string::npos) {
        out.replace(at, 2, std::to_string(count));
    }
    return FillText(out.c_str(), text);
}

std::string FoundText(int cameras, const std::vector<std::string>& cardNames) {
    std::string names;
    for (const std::string& name : cardNames) {
        names += (names.empty() ? "" : ", ") + name;
    }
    return cameras == 1 ? FillText(SEARCH_FOUND_ONE, names)
                        : FillCount(SEARCH_FOUND_MANY, cameras, names);
}

std::string NothingFoundText(const std::vector<NetInterface>& searched) {
    return searched.empty() ? SEARCH_NO_CARD_SEARCHED
                            : FillText(SEARCH_NOTHING_FOUND, InterfaceNames(searched));
}

std::string CardName(const ReplyArrival& arrival) {
    return arrival.interfaceName.empty() ? SEARCH_CARD_UNKNOWN : arrival.interfaceName;
}

std::string ForeignSubnetText(const DeviceRecord& record, const ReplyArrival& arrival) {
    std::string camera = FieldText(record.ip);
    const std::optional<uint32_t> mask = ParseIpv4(FieldText(record.netmask));
    if (mask && MaskPrefix(*mask)) {
        camera.append("/").append(std::to_string(*MaskPrefix(*mask)));
    }
    return FillTexts(SEARCH_FOREIGN_SUBNET,
                     {camera, InterfaceAddressText(arrival), CardName(arrival)});
}
