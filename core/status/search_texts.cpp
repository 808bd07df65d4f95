#include "core/status/search_texts.h"

#include "core/messages/fill_text.h"
#include "core/wire/subnet.h"

std::string FoundText(int cameras, const std::vector<std::string>& cardNames,
                      const TextLookup& tr) {
    std::string names;
    for (const std::string& name : cardNames) {
        names.append(names.empty() ? "" : ", ").append(name);
    }
    return cameras == 1 ? FillText(tr(TEXT_SEARCH_FOUND_ONE), {names})
                        : FillText(tr(TEXT_SEARCH_FOUND_MANY), {std::to_string(cameras), names});
}

std::string NothingFoundText(const std::vector<NetInterface>& searched, const TextLookup& tr) {
    return searched.empty() ? tr(TEXT_SEARCH_NO_CARD_SEARCHED)
                            : FillText(tr(TEXT_SEARCH_NOTHING_FOUND), {InterfaceNames(searched)});
}

std::string CardName(const ReplyArrival& arrival, const TextLookup& tr) {
    return arrival.interfaceName.empty() ? tr(TEXT_SEARCH_CARD_UNKNOWN) : arrival.interfaceName;
}

std::string ForeignSubnetText(const DeviceRecord& record, const ReplyArrival& arrival,
                              const TextLookup& tr) {
    std::string camera = FieldText(record.ip);
    const std::optional<uint32_t> mask = ParseIpv4(FieldText(record.netmask));
    if (mask && MaskPrefix(*mask)) {
        camera.append("/").append(std::to_string(*MaskPrefix(*mask)));
    }
    return FillText(tr(TEXT_SEARCH_FOREIGN_SUBNET),
                    {camera, InterfaceAddressText(arrival), CardName(arrival, tr)});
}

std::string RefusedTargetsText(const SearchSent& sent, const TextLookup& tr) {
    if (sent.targetsFailed == 0) {
        return {};
    }
    return FillText(tr(TEXT_SEARCH_TARGETS_REFUSED),
                    {std::to_string(sent.targetsFailed), std::to_string(sent.targets),
                     SocketErrorText(sent.firstTargetError)});
}
