#include "core/plan/addressing_plan.h"

#include <algorithm>
#include <map>
#include <set>

#include "core/messages/fill_text.h"
#include "core/messages/finder_texts.h"
#include "core/rules/address_proposal.h"
#include "core/rules/panel_texts.h"
#include "core/rules/settings_checks.h"
#include "core/session/editable_values.h"
#include "core/wire/net_mode.h"
#include "core/wire/subnet.h"

namespace {

// Cameras without an IP sort after every camera with one.
uint64_t IpKey(const DeviceRecord& record) {
    return ParseIpv4(FieldText(record.ip)).value_or(uint64_t{1} << 32);
}

// Whether the card has an address whose subnet holds address.
bool CardHolds(const ReplyArrival& card, uint32_t address) {
    return card.interfaceAddress != 0 && InSubnet(address, card.interfaceAddress, card.prefix);
}

// The card the plan's defaults come from: the first that answered whose subnet holds the
// first IP, else the card of the first camera.
const ReplyArrival& PlanCard(const ArrivalTable& arrivals, const std::vector<int>& slots,
                             uint32_t firstIp) {
    for (const int slot : slots) {
        const ReplyArrival& card = arrivals.slot[slot];
        if (CardHolds(card, firstIp)) {
            return card;
        }
    }
    return arrivals.slot[slots.front()];
}

std::string NotAnAddress(const TextLookup& tr, const WindowText& field, const std::string& text) {
    return FillText(tr(TEXT_CHECK_NOT_ADDRESS), {tr(field), text});
}

// Whether another camera than slot has the address now.
bool OthersHave(const DeviceTable& table, int slot, uint32_t address) {
    for (int other = 0; other < DEVICE_TABLE_SLOTS; ++other) {
        if (other != slot && table.slot[other].id != 0 &&
            ParseIpv4(FieldText(table.slot[other].ip)) == address) {
            return true;
        }
    }
    return false;
}

// The camera's own subnet as its mask; nothing when it reports no contiguous mask or no IP.
std::optional<uint32_t> OwnMask(const DeviceRecord& camera) {
    const std::optional<uint32_t> mask = ParseIpv4(FieldText(camera.netmask));
    if (!ParseIpv4(FieldText(camera.ip)) || !mask || *mask == 0 || !MaskPrefix(*mask)) {
        return std::nullopt;
    }
    return mask;
}

// The narrowest of the cameras' own masks when the subnet of every one holds the address:
// a box addressed inside its factory subnet. Every address of it lies in each camera's own.
std::optional<uint32_t> SharedOwnMask(const DeviceTable& table, const std::vector<int>& slots,
                                      uint32_t address) {
    uint32_t narrowest = 0;
    for (const int slot : slots) {
        const DeviceRecord& camera = table.slot[slot];
        const std::optional<uint32_t> mask = OwnMask(camera);
        if (!mask || !InMaskedSubnet(address, *ParseIpv4(FieldText(camera.ip)) & *mask, *mask)) {
            return std::nullopt;
        }
        narrowest = std::max(narrowest, *mask);
    }
    return narrowest;
}

// Where the netmask and gateway not given come from, for the first IP.
struct PlanDefaults {
    std::optional<uint32_t> mask;    // the card's or the cameras' shared own; nothing: unknown
    std::optional<uint32_t> gateway; // the card's; nothing: each camera keeps its own
    bool ownMasks = false;           // each camera keeps its netmask (and its gateway)
};

PlanDefaults DefaultsFor(const DeviceTable& table, const ArrivalTable& arrivals,
                         const std::vector<int>& slots, uint32_t first) {
    PlanDefaults defaults;
    const ReplyArrival& card = PlanCard(arrivals, slots, first);
    if (CardHolds(card, first)) {
        defaults.mask = PrefixMask(card.prefix);
        if (card.gateway != 0) {
            defaults.gateway = card.gateway;
        }
    } else if ((defaults.mask = SharedOwnMask(table, slots, first))) {
        defaults.ownMasks = true;
    }
    return defaults;
}

// Why the netmask is not known without one given.
std::string NoNetmask(const ReplyArrival& card, const std::string& firstIp, const TextLookup& tr) {
    if (card.interfaceAddress == 0) {
        return tr(PLAN_TEXT_NO_NETMASK);
    }
    return FillText(tr(PLAN_TEXT_NETMASK_UNKNOWN),
                    {tr(TEXT_FIELD_NETMASK), firstIp,
                     SubnetText(card.interfaceAddress & PrefixMask(card.prefix), card.prefix)});
}

// The first count code points of a UTF-8 text.
std::string FirstCharacters(const std::string& text, std::size_t count) {
    std::size_t pos = 0;
    for (char32_t codePoint = 0; count > 0 && pos < text.size(); --count) {
        pos += std::max<std::size_t>(1, NextCodePoint(text, pos, codePoint));
    }
    return text.substr(0, pos);
}

// Numbers the names of the plan's changes (in plan order) by the template; a name the
// camera cannot hold is cut to fit, each such row marked. Empty when named, else why not.
std::string NameChanges(AddressingPlan& plan, const DeviceTable& table,
                        const std::vector<int>& ordered, const std::string& nameTemplate,
                        const TextLookup& tr, const CTextCodec& codec) {
    std::map<std::string, std::string> uncut; // the name as it goes -> as the template made it
    for (std::size_t step = 0; step < plan.changes.size(); ++step) {
        ChangeValues& values = plan.changes[step];
        const std::optional<std::string> name =
            NameFromTemplate(nameTemplate, static_cast<int>(step) + 1);
        if (!name) {
            return FillText(tr(PLAN_TEXT_BAD_TEMPLATE), {tr(PLAN_TEXT_NAMES), nameTemplate});
        }
        values.name = *name;
        ChangeValues encoded = values;
        const std::optional<PanelTextRefusal> refusal =
            EncodePanelTexts(encoded, table.slot[ordered[step]], codec);
        if (refusal && refusal->setting == SETTING_NAME &&
            refusal->write.refusal == TextRefusal::TooLong) {
            values.name = FirstCharacters(*name, refusal->write.fits);
            plan.warnings.push_back(
                {step, &PLAN_TEXT_NAME_CUT, SETTING_NAME,
                 FillText(tr(PLAN_TEXT_NAME_CUT),
                          {*name, std::to_string(refusal->width), values.name})});
        }
        const auto [made, first] = uncut.emplace(values.name, *name);
        if (!first && made->second != *name) {
            return FillText(
                tr(PLAN_TEXT_NAMES_CUT_ALIKE),
                {tr(PLAN_TEXT_NAMES), nameTemplate, std::to_string(ITEM_WIDTH_NAME), values.name});
        }
    }
    return "";
}

// Whether another host than the camera with the MAC text mac holds the address.
bool HeldByOther(const HeldAddresses& held, uint32_t address, const std::string& mac) {
    const auto holder = held.find(address);
    return holder != held.end() && holder->second != mac;
}

// The addresses of the plan's changes (cameras in plan order); empty when planned, else
// why not.
std::string PlanAddressChanges(AddressingPlan& plan, const DeviceTable& table,
                               const ArrivalTable& arrivals, const std::vector<int>& ordered,
                               const AddressingRequest& request,
                               const std::vector<LocalNetwork>& localNetworks, const TextLookup& tr,
                               const CTextCodec& codec) {
    const std::optional<uint32_t> first = ParseIpv4(request.firstIp);
    if (!first) {
        return NotAnAddress(tr, PLAN_TEXT_FIRST_IP, request.firstIp);
    }
    if (ordered.empty()) {
        return "";
    }
    const PlanDefaults defaults = DefaultsFor(table, arrivals, ordered, *first);
    std::optional<uint32_t> mask = defaults.mask;
    if (request.netmask) {
        mask = ParseIpv4(*request.netmask);
        if (!mask) {
            return NotAnAddress(tr, TEXT_FIELD_NETMASK, *request.netmask);
        }
        if (!MaskPrefix(*mask)) {
            return FillText(tr(APPLY_TEXT_MASK_NOT_CONTIGUOUS),
                            {tr(TEXT_FIELD_NETMASK), *request.netmask});
        }
    } else if (!mask) {
        return NoNetmask(PlanCard(arrivals, ordered, *first), request.firstIp, tr);
    }
    // Nothing: each camera keeps its own.
    const std::optional<uint32_t> gateway = request.gateway     ? ParseIpv4(*request.gateway)
                                            : defaults.ownMasks ? std::nullopt
                                                                : defaults.gateway;
    if (request.gateway && !gateway) {
        return NotAnAddress(tr, TEXT_FIELD_GATEWAY, *request.gateway);
    }
    // Taken whoever the camera is: this PC, the plan's gateway and every gateway a camera
    // reports. The network and broadcast address lie outside the hosts counted below.
    std::set<uint32_t> taken;
    std::optional<std::string> gatewayText;
    if (gateway) {
        taken.insert(*gateway);
        gatewayText = Ipv4Text(*gateway);
    }
    for (const LocalNetwork& network : localNetworks) {
        taken.insert(network.address);
    }
    for (const DeviceRecord& camera : table.slot) {
        const std::optional<uint32_t> reported = ParseIpv4(FieldText(camera.gateway));
        if (camera.id != 0 && reported && *reported != 0) {
            taken.insert(*reported);
        }
    }
    const uint32_t network = *first & *mask;
    const uint32_t broadcast = network | ~*mask;
    const auto free = [&](int slot, uint32_t address) {
        return taken.count(address) == 0 && !OthersHave(table, slot, address) &&
               !HeldByOther(request.held, address, MacToText(table.slot[slot].mac));
    };
    uint64_t next = std::max(*first, network + 1);
    for (const int slot : ordered) {
        const DeviceRecord& camera = table.slot[slot];
        ChangeValues values = EditableValues(camera, codec);
        const std::optional<uint32_t> now = ParseIpv4(values.ip);
        const bool placed = request.keepPlaced && now && (*now & *mask) == network &&
                            *now != network && *now != broadcast && free(slot, *now);
        if (!placed) {
            while (next < broadcast && !free(slot, static_cast<uint32_t>(next))) {
                ++next;
            }
            if (next >= broadcast) {
                return FillText(tr(PLAN_TEXT_NO_FREE_ADDRESS),
                                {SubnetText(network, MaskLength(*mask)), request.firstIp,
                                 std::to_string(ordered.size())});
            }
            values.ip = Ipv4Text(static_cast<uint32_t>(next++));
        }
        if (!defaults.ownMasks || request.netmask) {
            values.netmask = Ipv4Text(*mask);
        }
        if (gatewayText) {
            values.gateway = *gatewayText;
        }
        values.mode = NetMode::Static; // an address of its own is a fixed one
        plan.changes.push_back(std::move(values));
    }
    return "";
}

} // namespace

std::vector<int> OrderCameras(const DeviceTable& table, std::vector<int> slots, PlanOrder order,
                              const CTextCodec& codec) {
    const auto by = [&](auto key) {
        std::stable_sort(slots.begin(), slots.end(),
                         [&](int a, int b) { return key(table.slot[a]) < key(table.slot[b]); });
    };
    switch (order) {
    case PlanOrder::Given:
        break;
    case PlanOrder::Mac:
        by([](const DeviceRecord& r) { return MacToText(r.mac); });
        break;
    case PlanOrder::Name:
        by([&](const DeviceRecord& r) { return codec.Shown(FieldText(r.name), ITEM_WIDTH_NAME); });
        break;
    case PlanOrder::Ip:
        by(IpKey);
        break;
    }
    return slots;
}

std::optional<std::string> NameFromTemplate(const std::string& nameTemplate, int n) {
    std::string name;
    for (std::size_t i = 0; i < nameTemplate.size(); ++i) {
        const char c = nameTemplate[i];
        if (c == '}') {
            return std::nullopt;
        }
        if (c != '{') {
            name += c;
            continue;
        }
        const std::size_t end = nameTemplate.find('}', i);
        const std::string field =
            end == std::string::npos ? "" : nameTemplate.substr(i + 1, end - i - 1);
        std::string number = std::to_string(n);
        if (field.size() == 4 && field.compare(0, 3, "n:0") == 0 && field[3] >= '1' &&
            field[3] <= '9') {
            number.insert(0, std::max<std::size_t>(number.size(), field[3] - '0') - number.size(),
                          '0');
        } else if (field != "n") {
            return std::nullopt;
        }
        name += number;
        i = end;
    }
    return name;
}

AddressingPlan PlanAddresses(const DeviceTable& table, const ArrivalTable& arrivals,
                             const std::vector<int>& slots, const AddressingRequest& request,
                             const std::vector<LocalNetwork>& localNetworks, const TextLookup& tr,
                             const CTextCodec& codec) {
    AddressingPlan plan;
    const std::vector<int> ordered = OrderCameras(table, slots, request.order, codec);
    if (request.firstIp.empty() && !request.nameTemplate.empty()) { // the names alone
        for (const int slot : ordered) {
            plan.changes.push_back(EditableValues(table.slot[slot], codec));
        }
    } else {
        plan.refusal =
            PlanAddressChanges(plan, table, arrivals, ordered, request, localNetworks, tr, codec);
    }
    if (plan.refusal.empty() && !request.nameTemplate.empty()) {
        plan.refusal = NameChanges(plan, table, ordered, request.nameTemplate, tr, codec);
    }
    if (!plan.refusal.empty()) {
        plan.changes.clear();
        plan.warnings.clear();
    }
    return plan;
}

std::optional<std::string> ProposeFirstIp(const DeviceTable& table, const ArrivalTable& arrivals,
                                          const std::vector<int>& slots) {
    if (slots.empty()) {
        return std::nullopt;
    }
    const std::optional<AddressProposal> proposal =
        ProposeAddress(table, arrivals.slot[slots.front()]);
    if (!proposal) {
        return std::nullopt;
    }
    return proposal->ip;
}

AddressingFields ProposeAddressingFields(const DeviceTable& table, const ArrivalTable& arrivals,
                                         const std::vector<int>& slots,
                                         const std::string& firstIp) {
    AddressingFields fields;
    fields.firstIp =
        firstIp.empty() ? ProposeFirstIp(table, arrivals, slots).value_or("") : firstIp;
    const std::optional<uint32_t> first = ParseIpv4(fields.firstIp);
    if (!first || slots.empty()) {
        return fields;
    }
    const PlanDefaults defaults = DefaultsFor(table, arrivals, slots, *first);
    if (defaults.mask && !defaults.ownMasks) {
        fields.netmask = Ipv4Text(*defaults.mask);
    }
    if (defaults.gateway) {
        fields.gateway = Ipv4Text(*defaults.gateway);
    }
    return fields;
}
