#include "core/rules/change_confirmation.h"

#include <algorithm>
#include <cstring>

#include "core/messages/fill_text.h"
#include "core/rules/settings_checks.h"
#include "core/wire/net_mode.h"

const std::vector<int> CONFIRM_SCHEDULE_MS = {600, 1600, 3000, 4500, 6000};
const std::vector<int> CONFIRM_SCHEDULE_DHCP_MS = {600,   1600,  3000,  4500, 7000,
                                                   10000, 14000, 18000, 22000};

std::vector<std::string> ChangeDifferences(const DeviceRecord& before, const ChangeValues& sent,
                                           const DeviceRecord& reply, const TextLookup& tr,
                                           const CTextCodec& codec) {
    const unsigned changed = ChangedSettings(before, sent);
    // Compared as bytes, as they travel; said as the user reads them.
    const auto shown = [&](const std::string& text, const SettingField& field) {
        return "\"" + (field.kind == SettingKind::Text ? codec.Shown(text, field.width) : text) +
               "\"";
    };
    std::vector<std::string> differences;
    for (const SettingField& field : SETTINGS) {
        if ((changed & field.setting) == 0) {
            continue;
        }
        const std::string reported = StoredText(field, reply);
        const std::string sentText = SentText(field, sent);
        if (reported == sentText) {
            continue;
        }
        // A secret is never written out, not even to say how it differs.
        differences.push_back(
            field.secret ? FillText(tr(APPLY_TEXT_SECRET_DIFFERS), {tr(FieldLabel(field.setting))})
                         : FillText(tr(APPLY_TEXT_DIFFERS),
                                    {tr(FieldLabel(field.setting)), shown(reported, field),
                                     shown(sentText, field)}));
    }
    return differences;
}

CChangeConfirmation::CChangeConfirmation(const DeviceRecord& before, const ChangeValues& sent)
    : m_before(before), m_sent(sent), m_mac(MacToText(before.mac)) {
    if ((ChangedSettings(before, sent) & SETTING_NEW_MAC) != 0) {
        uint8_t mac[6];
        TextToMac(*sent.newMac, mac);
        m_mac = MacToText(mac);
    }
}

const std::vector<int>& CChangeConfirmation::Schedule() const {
    return m_sent.mode == NetMode::Dhcp ? CONFIRM_SCHEDULE_DHCP_MS : CONFIRM_SCHEDULE_MS;
}

void CChangeConfirmation::StartRound() {
    m_answers.clear();
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
