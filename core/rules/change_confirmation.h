#pragma once

#include <string>
#include <vector>

#include "core/encoding/text_codec.h"
#include "core/messages/window_text.h"
#include "core/wire/device_table.h"
#include "core/wire/discovery_datagram.h"

// After a set request the camera gets a moment to apply it and is queried again, a few
// times: these are the moments, in milliseconds after the send. Each query opens a round
// that lasts until the next moment; the last moment only closes the last round. A camera
// that takes its address by DHCP needs longer to answer again.
extern const std::vector<int> CONFIRM_SCHEDULE_MS;
extern const std::vector<int> CONFIRM_SCHEDULE_DHCP_MS;

// The settings the reply does not hold as they were sent, in words, one text each. Only
// what the request changed is compared, byte for byte. The words come through `tr`, camera
// texts are shown as `codec` reads them.
std::vector<std::string> ChangeDifferences(const DeviceRecord& before, const ChangeValues& sent,
                                           const DeviceRecord& reply,
                                           const TextLookup& tr = EnglishText,
                                           const CTextCodec& codec = CTextCodec());

// Whether a camera took a change, judged by its own replies to the queries after it. Both
// front ends run the same rounds and say the same outcome.
class CChangeConfirmation {
public:
    CChangeConfirmation(const DeviceRecord& before, const ChangeValues& sent);

    // The MAC the camera answers with once it took the change (the new one after a change).
    const std::string& Mac() const { return m_mac; }
    const std::vector<int>& Schedule() const;

    void StartRound();                       // a query went out
    void OnReply(const DeviceRecord& reply); // any reply; others' replies are passed over
    // Judges the round's replies; true when the outcome is known. The last round always
    // ends the confirmation.
    bool EndRound(bool lastRound);

    bool Confirmed() const { return m_confirmed; }
    // One camera answered with the MAC in the round judged last (not none, not two).
    bool Answered() const { return m_judged.size() == 1; }
    // The sentence for the status line or the console, once EndRound returned true, in
    // the language of `tr`, naming the camera as `codec` reads its name.
    std::string Outcome(const TextLookup& tr = EnglishText,
                        const CTextCodec& codec = CTextCodec()) const;

private:
    DeviceRecord m_before;
    ChangeValues m_sent;
    std::string m_mac;
    std::vector<DeviceRecord> m_answers; // this round's distinct replies with the MAC
    std::vector<DeviceRecord> m_judged;  // the replies of the round judged last
    bool m_confirmed = false;
};
