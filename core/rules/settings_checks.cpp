#include "core/rules/settings_checks.h"

#include <cstdio>
#include <functional>

#include "core/messages/fill_text.h"
#include "core/messages/finder_texts.h"
#include "core/rules/input_checks.h"
#include "core/wire/net_mode.h"

const WindowText& FieldLabel(unsigned setting) {
    return *FinderText(FieldOf(setting).label);
}

unsigned ChangedSettings(const DeviceRecord& target, const ChangeValues& values) {
    unsigned changed = 0;
    if (values.newMac && values.newMac->size() == MAC_TEXT_LENGTH &&
        TextDiffers(*values.newMac, MacToText(target.mac))) {
        changed |= SETTING_NEW_MAC;
    }
    for (const SettingField& field : SETTING_FIELDS) {
        if (ChangesSetting(field, values, target)) {
            changed |= field.setting;
        }
    }
    if (values.mode != RecordMode(target.netMode)) {
        changed |= SETTING_MODE;
    }
    return changed;
}

namespace {

constexpr uint32_t ALL_ONES = 0xFFFFFFFFu;

bool IsLoopback(uint32_t address) {
    return address >> 24 == 127;
}

bool IsMulticastOrReserved(uint32_t address) {
    return address >> 24 >= 224;
}

bool IsMulticast(uint32_t address) {
    return address >> 28 == 0xE;
}

// The typed addresses of a change, each when it is a dotted address.
struct Addresses {
    std::optional<uint32_t> ip;
    std::optional<uint32_t> netmask;
    std::optional<uint32_t> gateway;
};

std::string Refuse(const TextLookup& tr, const WindowText& pattern, const WindowText& field,
                   const std::string& value) {
    return FillText(tr(pattern), {tr(field), value}) + " " + tr(APPLY_TEXT_NOTHING_SENT);
}

std::string CheckNetmask(const ChangeValues& values, const Addresses& typed, bool isStatic,
                         const TextLookup& tr) {
    if (!typed.netmask) {
        return "";
    }
    if (!MaskPrefix(*typed.netmask)) {
        return Refuse(tr, APPLY_TEXT_MASK_NOT_CONTIGUOUS, TEXT_FIELD_NETMASK, values.netmask);
    }
    if (isStatic && (*typed.netmask == 0 || *typed.netmask == ALL_ONES)) {
        return Refuse(tr, APPLY_TEXT_MASK_FOR_STATIC, TEXT_FIELD_NETMASK, values.netmask);
    }
    return "";
}

std::string CheckIp(const ChangeValues& values, const Addresses& typed, unsigned changed,
                    const TextLookup& tr) {
    if (!typed.ip) {
        return "";
    }
    const uint32_t ip = *typed.ip;
    if ((changed & SETTING_IP) != 0) {
        if (ip >> 24 == 0) {
            return Refuse(tr, APPLY_TEXT_IP_ZERO, TEXT_FIELD_IP, values.ip);
        }
        if (IsLoopback(ip)) {
            return Refuse(tr, APPLY_TEXT_IP_LOOPBACK, TEXT_FIELD_IP, values.ip);
        }
        if (IsMulticastOrReserved(ip)) {
            return Refuse(tr, APPLY_TEXT_IP_MULTICAST, TEXT_FIELD_IP, values.ip);
        }
    }
    // A /31 or /32 subnet has no network and broadcast address of its own.
    if (!typed.netmask || !MaskPrefix(*typed.netmask) || MaskLength(*typed.netmask) > 30) {
        return "";
    }
    const uint32_t hosts = ~*typed.netmask;
    if ((ip & hosts) == 0) {
        return Refuse(tr, APPLY_TEXT_IP_NETWORK, TEXT_FIELD_IP, values.ip);
    }
    if ((ip & hosts) == hosts) {
        return Refuse(tr, APPLY_TEXT_IP_BROADCAST, TEXT_FIELD_IP, values.ip);
    }
    return "";
}

std::string CheckGateway(const ChangeValues& values, const Addresses& typed, const TextLookup& tr) {
    if (!typed.gateway || *typed.gateway == 0) {
        return ""; // 0.0.0.0: no gateway
    }
    const uint32_t gateway = *typed.gateway;
    if (typed.ip && gateway == *typed.ip) {
        return Refuse(tr, APPLY_TEXT_GATEWAY_IS_IP, TEXT_FIELD_GATEWAY, values.gateway);
    }
    if (IsLoopback(gateway)) {
        return Refuse(tr, APPLY_TEXT_GATEWAY_LOOPBACK, TEXT_FIELD_GATEWAY, values.gateway);
    }
    if (gateway == ALL_ONES) {
        return Refuse(tr, APPLY_TEXT_GATEWAY_BROADCAST, TEXT_FIELD_GATEWAY, values.gateway);
    }
    if (IsMulticast(gateway)) {
        return Refuse(tr, APPLY_TEXT_GATEWAY_MULTICAST, TEXT_FIELD_GATEWAY, values.gateway);
    }
    return "";
}

// A MAC fit for one camera: not all zeros, not a group address (broadcast is one too), not
// one another camera of the search answers with.
std::string CheckNewMac(const DeviceTable& table, const ChangeValues& values, const TextLookup& tr,
                        const CTextCodec& codec) {
    uint8_t mac[6];
    if (!TextToMac(*values.newMac, mac)) {
        return ""; // no MAC text: the Submit checks say so
    }
    if (MacToText(mac) == "000000000000") {
        return Refuse(tr, APPLY_TEXT_MAC_ZERO, TEXT_FIELD_MAC, *values.newMac);
    }
    if (MacToText(mac) == "ffffffffffff") {
        return Refuse(tr, APPLY_TEXT_MAC_BROADCAST, TEXT_FIELD_MAC, *values.newMac);
    }
    if ((mac[0] & 1) != 0) {
        return Refuse(tr, APPLY_TEXT_MAC_GROUP, TEXT_FIELD_MAC, *values.newMac);
    }
    for (const DeviceRecord& other : table.slot) {
        if (other.id != 0 && MacToText(other.mac) == MacToText(mac)) {
            return FillText(tr(APPLY_TEXT_MAC_TAKEN),
                            {tr(TEXT_FIELD_MAC), *values.newMac,
                             codec.Shown(FieldText(other.name), ITEM_WIDTH_NAME)}) +
                   " " + tr(APPLY_TEXT_NOTHING_SENT);
        }
    }
    return "";
}

bool HasControlCharacter(const std::string& text) {
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) {
            return true;
        }
    }
    return false;
}

std::string CheckTexts(const ChangeValues& values, unsigned changed, const TextLookup& tr,
                       unsigned& setting) {
    for (const SettingField& field : SETTING_FIELDS) {
        if (field.kind == SettingKind::Text && (changed & field.setting) != 0 &&
            HasControlCharacter(values.*field.typed)) {
            setting = field.setting;
            return FillText(tr(APPLY_TEXT_CONTROL_CHARACTER), {tr(FieldLabel(field.setting))}) +
                   " " + tr(APPLY_TEXT_NOTHING_SENT);
        }
    }
    return "";
}

// The first reason to refuse the change, or an empty text; setting names its field.
std::string Refusal(const DeviceTable& table, const ChangeValues& values, const Addresses& typed,
                    unsigned changed, const TextLookup& tr, const CTextCodec& codec,
                    unsigned& setting) {
    const bool isStatic = values.mode == NetMode::Static;
    // A field only counts when the change touches it, or when a camera takes fixed
    // addresses from now on.
    const bool toStatic = isStatic && (changed & SETTING_MODE) != 0;
    std::string reason = CheckTexts(values, changed, tr, setting);
    const auto next = [&](bool due, unsigned field, const std::function<std::string()>& check) {
        if (reason.empty() && due) {
            reason = check();
            setting = reason.empty() ? setting : field;
        }
    };
    next((changed & SETTING_NEW_MAC) != 0, SETTING_NEW_MAC,
         [&] { return CheckNewMac(table, values, tr, codec); });
    next((changed & SETTING_NETMASK) != 0 || toStatic, SETTING_NETMASK,
         [&] { return CheckNetmask(values, typed, isStatic, tr); });
    next((changed & (SETTING_IP | SETTING_NETMASK)) != 0 || toStatic, SETTING_IP,
         [&] { return CheckIp(values, typed, toStatic ? changed | SETTING_IP : changed, tr); });
    next((changed & (SETTING_IP | SETTING_GATEWAY)) != 0 || toStatic, SETTING_GATEWAY,
         [&] { return CheckGateway(values, typed, tr); });
    return reason;
}

std::vector<SettingsRisk> Warnings(const DeviceTable& table, const DeviceRecord& target,
                                   const ChangeValues& values, const Addresses& typed,
                                   unsigned changed, const std::vector<LocalNetwork>& localNetworks,
                                   const TextLookup& tr, const CTextCodec& codec) {
    std::vector<SettingsRisk> warnings;
    const auto risk = [&](const WindowText& kind, unsigned setting,
                          std::initializer_list<std::string> values) {
        warnings.push_back({&kind, setting, FillText(tr(kind), values)});
    };
    if (values.mode != NetMode::Static || !typed.ip) {
        return warnings; // the camera takes its address from the network
    }
    const uint32_t ip = *typed.ip;
    if ((changed & SETTING_ADDRESSES) != 0 && typed.netmask && typed.gateway &&
        *typed.gateway != 0 && !InMaskedSubnet(*typed.gateway, ip, *typed.netmask)) {
        const std::string subnet =
            Ipv4Text(ip & *typed.netmask) + "/" + std::to_string(MaskLength(*typed.netmask));
        risk(APPLY_TEXT_GATEWAY_OUTSIDE, SETTING_GATEWAY, {values.gateway, subnet});
    }
    if ((changed & (SETTING_IP | SETTING_MODE)) == 0) {
        return warnings;
    }
    for (const DeviceRecord& other : table.slot) {
        if (other.id != 0 && &other != &target && FieldText(other.ip) == values.ip) {
            risk(APPLY_TEXT_IP_TAKEN, SETTING_IP,
                 {values.ip, codec.Shown(FieldText(other.name), ITEM_WIDTH_NAME),
                  MacToText(other.mac)});
            break;
        }
    }
    bool seen = localNetworks.empty(); // nothing known of this PC: no warning either way
    for (const LocalNetwork& network : localNetworks) {
        seen = seen || InMaskedSubnet(ip, network.address, network.netmask);
    }
    for (const LocalNetwork& network : localNetworks) {
        if (network.address == ip) {
            risk(APPLY_TEXT_IP_OF_THIS_PC, SETTING_IP, {values.ip});
            break;
        }
    }
    if (!seen) {
        risk(APPLY_TEXT_IP_OUT_OF_SIGHT, SETTING_IP, {values.ip});
    }
    return warnings;
}

} // namespace

SettingsVerdict CheckSettingsChange(const DeviceTable& table, const ChangeValues& values,
                                    const std::vector<LocalNetwork>& localNetworks,
                                    const TextLookup& tr, const CTextCodec& codec) {
    SettingsVerdict verdict;
    const DeviceRecord* target = FindSetTarget(table, values.mac);
    const unsigned changed = target != nullptr ? ChangedSettings(*target, values) : 0;
    if (changed == 0) {
        verdict.nothingChanged = true;
        return verdict;
    }
    const Addresses typed{ParseIpv4(values.ip), ParseIpv4(values.netmask),
                          ParseIpv4(values.gateway)};
    verdict.refusal = Refusal(table, values, typed, changed, tr, codec, verdict.refusedSetting);
    if (verdict.refusal.empty()) {
        verdict.warnings =
            Warnings(table, *target, values, typed, changed, localNetworks, tr, codec);
    }
    return verdict;
}
