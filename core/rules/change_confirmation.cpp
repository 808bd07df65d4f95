#include "core/rules/change_confirmation.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "core/messages/fill_text.h"
#include "core/rules/settings_checks.h"
#include "core/wire/net_mode.h"

const std::vector<int> CONFIRM_SCHEDULE_MS = {600, 1600, 3000, 4500, 6000};
const std::vector<int> CONFIRM_SCHEDULE_DHCP_MS = {600,   1600,  3000,  4500, 7000,
                                                   10000, 14000, 18000, 22000};

std::vector<std::string> ChangeDifferences(const DeviceRecord& before, const PanelValues& sent,
                                           const DeviceRecord& reply, const TextLookup& tr,
                                           const CTextCodec& codec) {
    const unsigned changed = ChangedSettings(before, sent);
    const struct {
        unsigned setting;
        const WindowText& field;
        std::string reported;
        std::string typed;
        std::size_t textWidth = 0; // a camera text's field, shown through the codec
    } settings[] = {
        {SETTING_NAME, TEXT_FIELD_NAME, FieldText(reply.name), sent.name, ITEM_WIDTH_NAME},
        {SETTING_IP, TEXT_FIELD_IP, FieldText(reply.ip), sent.ip},
        {SETTING_NETMASK, TEXT_FIELD_NETMASK, FieldText(reply.netmask), sent.netmask},
        {SETTING_GATEWAY, TEXT_FIELD_GATEWAY, FieldText(reply.gateway), sent.gateway},
        {SETTING_HTTP_PORT, TEXT_FIELD_HTTP_PORT, std::to_string(reply.httpPort),
         std::to_string(std::atoi(sent.httpPort.c_str()))},
        {SETTING_MODE, TEXT_FIELD_MODE, ModeName(RadioMode(reply.netMode)),
         ModeName(CheckedMode(sent))},
        {SETTING_ACCOUNT, TEXT_FIELD_ACCOUNT, FieldText(reply.pppoeAccount), sent.pppoeAccount,
         ITEM_WIDTH_PPPOE_ACCOUNT},
    };
    // Compared as bytes, as they travel; said as the user reads them.
    const auto shown = [&](const std::string& text, std::size_t width) {
        return "\"" + (width != 0 ? codec.Shown(text, width) : text) + "\"";
    };
    std::vector<std::string> differences;
    for (const auto& setting : settings) {
        if ((changed & setting.setting) != 0 && setting.reported != setting.typed) {
            differences.push_back(
                FillText(tr(APPLY_TEXT_DIFFERS),
                         {tr(setting.field), shown(setting.reported, setting.textWidth),
                          shown(setting.typed, setting.textWidth)}));
        }
    }
    // The password is never written out, not even to say it differs.
    if ((changed & SETTING_PASSWORD) != 0 && FieldText(reply.pppoePassword) != sent.pppoePassword) {
        differences.push_back(FillText(tr(APPLY_TEXT_SECRET_DIFFERS), {tr(TEXT_FIELD_PASSWORD)}));
    }
    return differences;
}

CChangeConfirmation::CChangeConfirmation(const DeviceRecord& before, const PanelValues& sent)
    : m_before(before), m_sent(sent), m_mac(MacToText(before.mac)) {
    if ((ChangedSettings(before, sent) & SETTING_NEW_MAC) != 0) {
        uint8_t mac[6];
        TextToMac(*sent.newMac, mac);
        m_mac = MacToText(mac);
    }
}

const std::vector<int>& CChangeConfirmation::Schedule() const {
    return CheckedMode(m_sent) == NetMode::Dhcp ? CONFIRM_SCHEDULE_DHCP_MS : CONFIRM_SCHEDULE_MS;
}

void CChangeConfirmation::StartRound() {
    m_answers.clear();
}

static bool SameSettings(const DeviceRecord& a, const DeviceRecord& b) {
    return FieldText(a.name) == FieldText(b.name) && FieldText(a.ip) == FieldText(b.ip) &&
           FieldText(a.netmask) == FieldText(b.netmask) &&
           FieldText(a.gateway) == FieldText(b.gateway) && a.httpPort == b.httpPort &&
           std::memcmp(a.netMode, b.netMode, sizeof a.netMode) == 0 &&
           FieldText(a.version) == FieldText(b.version) &&
           FieldText(a.pppoeAccount) == FieldText(b.pppoeAccount) &&
           FieldText(a.pppoePassword) == FieldText(b.pppoePassword) && a.readOnly == b.readOnly;
}

// Two replies with the MAC that differ in any setting come from two cameras; the same
// reply twice is one camera answering twice.
void CChangeConfirmation::OnReply(const DeviceRecord& reply) {
    if (MacToText(reply.mac) != m_mac) {
        return;
    }
    const bool known = std::any_of(m_answers.begin(), m_answers.end(),
                                   [&](const DeviceRecord& a) { return SameSettings(a, reply); });
    if (!known) {
        m_answers.push_back(reply);
    }
}

bool CChangeConfirmation::EndRound(bool lastRound) {
    m_judged = m_answers;
    m_confirmed = m_judged.size() == 1 &&
                  ChangeDifferences(m_before, m_sent, m_judged.front(), EnglishText).empty();
    return m_confirmed || m_judged.size() > 1 || lastRound;
}

std::string CChangeConfirmation::Outcome(const TextLookup& tr, const CTextCodec& codec) const {
    if (m_judged.empty()) {
        const std::string name = codec.Shown(FieldText(m_before.name), ITEM_WIDTH_NAME);
        return FillText(tr(APPLY_TEXT_NO_ANSWER), {name.empty() ? m_mac : name});
    }
    if (m_judged.size() > 1) {
        return FillText(tr(APPLY_TEXT_TWO_ANSWER), {m_mac});
    }
    const DeviceRecord& reply = m_judged.front();
    const std::string name =
        FieldText(reply.name).empty() ? m_mac : codec.Shown(FieldText(reply.name), ITEM_WIDTH_NAME);
    if (m_confirmed) {
        return FillText(tr(APPLY_TEXT_CONFIRMED), {name});
    }
    std::string list;
    for (const std::string& difference : ChangeDifferences(m_before, m_sent, reply, tr, codec)) {
        list += (list.empty() ? "" : tr(APPLY_TEXT_LIST_SEPARATOR)) + difference;
    }
    return FillText(tr(APPLY_TEXT_NOT_TAKEN), {name, list});
}
