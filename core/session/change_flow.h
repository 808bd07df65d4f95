#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/encoding/text_codec.h"
#include "core/messages/window_text.h"
#include "core/net/net_interfaces.h"
#include "core/rules/panel_texts.h"
#include "core/rules/settings_checks.h"
#include "core/wire/device_table.h"
#include "core/wire/discovery_datagram.h"
#include "core/worker/device_arrival.h"
#include "core/worker/network_worker.h"

// One change of one camera, as both front ends take it from the values a user gave to the
// camera's own word on it: the texts written in the camera's bytes, the checks, the set
// request and the card it leaves by, and where the queries that confirm it go.
class CChangeFlow {
public:
    // target lives in table; arrival is where it answered.
    CChangeFlow(const DeviceTable& table, const DeviceRecord& target, const ReplyArrival& arrival,
                ChangeValues values);

    // Writes the typed texts (UTF-8) in the bytes the camera stores; the first that cannot
    // go is refused and the values stay as they were.
    std::optional<PanelTextRefusal> EncodeTexts(const CTextCodec& codec);

    // The checks on the values as they would go, in the language of tr.
    SettingsVerdict Check(const std::vector<LocalNetwork>& localNetworks, const TextLookup& tr,
                          const CTextCodec& codec) const;

    // The set request as the worker sends it: out of the camera's card, or to the address it
    // answered from when it was found by a query to that address.
    WorkerCommand Command() const;
    const ChangeValues& Values() const { return m_values; }
    const DeviceRecord& Target() const { return m_target; }
    // The addresses the confirmation's queries ask beside the search targets: the camera's
    // new IP when it was found by a query to its address (its old one is a target already).
    std::vector<uint32_t> ConfirmTargets() const;

private:
    const DeviceTable& m_table;
    DeviceRecord m_target;
    std::string m_card;
    uint32_t m_address = 0; // host order; 0: by broadcast out of m_card
    ChangeValues m_values;
};
