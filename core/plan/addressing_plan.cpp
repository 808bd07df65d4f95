#include "core/plan/addressing_plan.h"

#include <algorithm>
#include <set>

#include "core/messages/fill_text.h"
#include "core/messages/finder_texts.h"
#include "core/rules/address_proposal.h"
#include "core/rules/settings_checks.h"
#include "core/session/editable_values.h"
#include "core/wire/net_mode.h"
#include "core/wire/subnet.h"

namespace {

// Cameras without an IP sort after every camera with one.
uint64_t IpKey(const DeviceRecord& record) {
    return ParseIpv4(FieldText(record.ip)).value_or(uint64_t{1} << 32);
}

// The card the plan's defaults come from: the first that answered whose subnet holds the
// first IP, else the card of the first camera.
const ReplyArrival& PlanCard(const ArrivalTable& arrivals, const std::vector<int>& slots,
                             uint32_t firstIp) {
    for (const int slot : slots) {
        const ReplyArrival& card = arrivals.slot[slot];
        if (card.interfaceAddress != 0 && InSubnet(firstIp, card.interfaceAddress, card.prefix)) {
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
    const std::optional<uint32_t> first = ParseIpv4(request.firstIp);
    if (!first) {
        plan.refusal = NotAnAddress(tr, PLAN_TEXT_FIRST_IP, request.firstIp);
        return plan;
    }
    if (slots.empty()) {
        return plan;
    }
    const ReplyArrival& card = PlanCard(arrivals, slots, *first);
    if (!request.netmask && card.interfaceAddress == 0) {
        plan.refusal = tr(PLAN_TEXT_NO_NETMASK);
        return plan;
    }
    plan.netmask = request.netmask.value_or(Ipv4Text(PrefixMask(card.prefix)));
    plan.gateway = request.gateway.value_or(Ipv4Text(card.gateway));
    const std::optional<uint32_t> mask = ParseIpv4(plan.netmask);
    const std::optional<uint32_t> gateway = ParseIpv4(plan.gateway);
    if (!mask) {
        plan.refusal = NotAnAddress(tr, TEXT_FIELD_NETMASK, plan.netmask);
    } else if (!gateway) {
        plan.refusal = NotAnAddress(tr, TEXT_FIELD_GATEWAY, plan.gateway);
    } else if (!MaskPrefix(*mask)) {
        plan.refusal =
            FillText(tr(APPLY_TEXT_MASK_NOT_CONTIGUOUS), {tr(TEXT_FIELD_NETMASK), plan.netmask});
    }
    if (!plan.refusal.empty()) {
        return plan;
    }
    // Taken whoever the camera is: this PC, the gateway. The network and broadcast address
    // lie outside the hosts counted below.
    std::set<uint32_t> taken = {*gateway};
    for (const LocalNetwork& network : localNetworks) {
        taken.insert(network.address);
    }
    const uint32_t network = *first & *mask;
    const uint32_t broadcast = network | ~*mask;
    uint64_t next = std::max(*first, network + 1);
    for (const int slot : OrderCameras(table, slots, request.order, codec)) {
        const DeviceRecord& camera = table.slot[slot];
        while (next < broadcast && (taken.count(static_cast<uint32_t>(next)) != 0 ||
                                    OthersHave(table, slot, static_cast<uint32_t>(next)))) {
            ++next;
        }
        if (next >= broadcast) {
            plan.refusal = FillText(tr(PLAN_TEXT_NO_FREE_ADDRESS),
                                    {SubnetText(network, MaskLength(*mask)), request.firstIp,
                                     std::to_string(slots.size())});
            plan.changes.clear();
            return plan;
        }
        ChangeValues values = EditableValues(camera, codec);
        values.ip = Ipv4Text(static_cast<uint32_t>(next++));
        values.netmask = plan.netmask;
        values.gateway = plan.gateway;
        values.mode = NetMode::Static; // an address of its own is a fixed one
        if (!request.nameTemplate.empty()) {
            const int place = static_cast<int>(plan.changes.size()) + 1;
            const std::optional<std::string> name = NameFromTemplate(request.nameTemplate, place);
            if (!name) {
                plan.refusal = FillText(tr(PLAN_TEXT_BAD_TEMPLATE),
                                        {tr(PLAN_TEXT_NAMES), request.nameTemplate});
                plan.changes.clear();
                return plan;
            }
            values.name = *name;
        }
        plan.changes.push_back(std::move(values));
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
