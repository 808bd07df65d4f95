#include "core/net/net_interfaces.h"

#include <algorithm>

#include "core/wire/subnet.h"

std::string NotSearchedReason(const NetInterface& card, const std::vector<std::string>& only) {
    const bool named = std::find(only.begin(), only.end(), card.name) != only.end();
    if (!only.empty() && !named) {
        return "not chosen";
    }
    if (!card.up) {
        return "down";
    }
    if (card.address == 0) {
        return "no IPv4 address";
    }
    if (card.loopback) {
        return named ? "" : "loopback (searched only when named)";
    }
    if (card.pointToPoint || !card.canBroadcast) {
        return "cannot broadcast (point-to-point link)";
    }
    return "";
}

std::vector<NetInterface> SearchedInterfaces(const std::vector<NetInterface>& cards,
                                             const std::vector<std::string>& only) {
    std::vector<NetInterface> searched;
    for (const NetInterface& card : cards) {
        const bool listed = std::any_of(searched.begin(), searched.end(), [&](const auto& s) {
            return s.index == card.index && s.name == card.name;
        });
        if (!listed && NotSearchedReason(card, only).empty()) {
            searched.push_back(card);
        }
    }
    return searched;
}

std::vector<std::string> UnknownInterfaceNames(const std::vector<NetInterface>& cards,
                                               const std::vector<std::string>& only) {
    std::vector<std::string> unknown;
    for (const std::string& name : only) {
        const bool known = std::any_of(cards.begin(), cards.end(),
                                       [&](const NetInterface& card) { return card.name == name; });
        if (!known) {
            unknown.push_back(name);
        }
    }
    return unknown;
}

const NetInterface* ArrivalCard(const std::vector<NetInterface>& cards, unsigned index,
                                uint32_t cameraAddress) {
    const NetInterface* first = nullptr;
    for (const NetInterface& card : cards) {
        if (card.index != index || index == 0) {
            continue;
        }
        if (card.address != 0 && InSubnet(cameraAddress, card.address, card.prefix)) {
            return &card;
        }
        if (first == nullptr) {
            first = &card;
        }
    }
    return first;
}

std::string InterfaceNames(const std::vector<NetInterface>& cards) {
    std::vector<std::string> names;
    std::string text;
    for (const NetInterface& card : cards) {
        if (std::find(names.begin(), names.end(), card.name) == names.end()) {
            names.push_back(card.name);
            text += (text.empty() ? "" : ", ") + card.name;
        }
    }
    return text;
}

std::vector<LocalNetwork> LocalNetworks() {
    std::vector<LocalNetwork> networks;
    for (const NetInterface& card : ListInterfaces()) {
        if (card.up && card.address != 0) {
            networks.push_back({card.address, PrefixMask(card.prefix)});
        }
    }
    return networks;
}
