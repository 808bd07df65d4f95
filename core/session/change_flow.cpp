#include "core/session/change_flow.h"

#include <utility>

#include "core/wire/subnet.h"

CChangeFlow::CChangeFlow(const DeviceTable& table, const DeviceRecord& target,
                         const ReplyArrival& arrival, ChangeValues values)
    : m_table(table), m_target(target), m_card(arrival.interfaceName),
      m_address(arrival.unicast ? arrival.sender : 0), m_values(std::move(values)) {}

std::optional<PanelTextRefusal> CChangeFlow::EncodeTexts(const CTextCodec& codec) {
    return EncodePanelTexts(m_values, m_target, codec);
}

SettingsVerdict CChangeFlow::Check(const std::vector<LocalNetwork>& localNetworks,
                                   const TextLookup& tr, const CTextCodec& codec) const {
    return CheckSettingsChange(m_table, m_values, localNetworks, tr, codec);
}

WorkerCommand CChangeFlow::Command() const {
    WorkerCommand command;
    command.command = CMD_SET;
    BuildSetRequest(command.datagram, m_table, m_values);
    command.interfaceName = m_card;
    command.address = m_address;
    return command;
}

std::vector<uint32_t> CChangeFlow::ConfirmTargets() const {
    const std::optional<uint32_t> newIp = ParseIpv4(m_values.ip);
    if (m_address == 0 || !newIp || *newIp == m_address) {
        return {};
    }
    return {*newIp};
}
