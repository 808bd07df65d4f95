#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/encoding/text_codec.h"
#include "core/messages/window_text.h"
#include "core/net/net_interfaces.h"
#include "core/rules/change_confirmation.h"
#include "core/session/change_flow.h"
#include "core/wire/device_table.h"
#include "core/wire/discovery_datagram.h"
#include "core/worker/device_arrival.h"
#include "core/worker/network_worker.h"

// The camera as it reads once it took the change values make (texts in its bytes): the
// settings the request carries, and the mode as the request sends it.
DeviceRecord RecordAfter(const DeviceRecord& before, const ChangeValues& values);

// Where one camera of a plan stands.
enum class PlanState {
    Planned,      // checked; its request has not gone out
    Unchanged,    // nothing to send
    Sent,         // its request went out; its camera's word is awaited
    Confirmed,    // it answers with every setting sent
    NotConfirmed, // it did not, did not answer, or its request never went (see Detail)
};

// Why a plan may not go: the camera (its step in the plan), the setting at fault (SETTING_*,
// 0: the camera itself) and the sentence, which names no camera: the front end names it, by
// its MAC or by the line of its file.
struct PlanRefusal {
    std::size_t step = 0;
    unsigned setting = 0;
    std::string reason;
};

// A risk of one camera's change, sent only once the user accepted every risk of the plan:
// the camera (its step), the kind of risk (APPLY_TEXT_*), the setting and the sentence.
struct PlanWarning {
    std::size_t step = 0;
    const WindowText* kind = nullptr;
    unsigned setting = 0;
    std::string sentence;
};

// The question that asks for every risk of a plan at once, short enough for any screen:
// one line per kind of risk, with its count when more than one camera has it, and every
// camera's own line beside it. A plan of one asks its sentences alone.
struct RiskQuestion {
    std::string text;    // one line per kind of risk
    std::string details; // one line per camera and risk; empty when the text names them all
};

// The changes of many cameras as one: each checked as a single change is, none sent unless
// all may go; each request out of the card its camera answered on; then one round of
// queries answers for every camera. CChangeEngine runs it for every front end.
class CChangePlan {
public:
    // table and arrivals: the cameras as the search found them (copied). changes: in plan
    // order, the settings each camera is to take, typed in UTF-8, mac naming it.
    CChangePlan(const DeviceTable& table, const ArrivalTable& arrivals,
                std::vector<ChangeValues> changes);

    // Every check before a change, in order, for each camera: that it answered, the values
    // as typed (texts in the camera's bytes, addresses, port, MAC), then, when it changes
    // anything, that it is not read-only and the refusals of the change itself (a new MAC
    // another camera answers with among them). The first refusal, if any, refuses the plan.
    // Afterwards Warnings() holds the risks, and a change of nothing is Unchanged. Two
    // cameras never end with the same new IP.
    std::optional<PlanRefusal> Validate(const std::vector<LocalNetwork>& localNetworks,
                                        const TextLookup& tr, const CTextCodec& codec);
    const std::vector<PlanWarning>& Warnings() const { return m_warnings; }
    // Risks that the plan's making found beside the checks (a name cut to fit), asked with
    // the others.
    void AddWarnings(const std::vector<PlanWarning>& warnings);
    RiskQuestion Risks(const TextLookup& tr, const CTextCodec& codec) const;

    std::size_t Size() const { return m_steps.size(); }
    const DeviceRecord& Before(std::size_t step) const;
    // The camera as it reads once it took its change.
    DeviceRecord After(std::size_t step) const;
    const ChangeValues& Values(std::size_t step) const;
    PlanState State(std::size_t step) const { return m_steps[step].state; }
    // Whether its request went out (it may not have confirmed).
    bool WentOut(std::size_t step) const;
    // "02005e000001 (Dock 1)", for a refusal or a risk.
    std::string CameraText(std::size_t step, const TextLookup& tr, const CTextCodec& codec,
                           const std::string& sentence) const;

    // The steps whose request is still to go, in plan order; one request each.
    std::vector<std::size_t> ToSend() const;
    WorkerCommand Command(std::size_t step) const;
    void MarkSent(std::size_t step);
    void MarkFailed(std::size_t step, const std::string& why); // its request did not go out
    // Interrupted: nothing more goes out or is waited for, and each camera says so.
    void Stop();

    // The rounds of queries after the last request: the moments in milliseconds after it
    // (the longest schedule of the cameras waited for), and the addresses each query also
    // goes to (cameras found by a query to their own address, at their old and new one).
    const std::vector<int>& Schedule() const;
    std::vector<uint32_t> QueryTargets() const;
    void StartRound();
    void OnReply(const DeviceRecord& reply);
    // Judges the round for every camera waited for; true when none is waited for any more.
    bool EndRound(bool lastRound);
    bool Waiting() const;

    // Once its rounds judged it: whether one camera answered with its MAC in the last round
    // judged, and the sentence that says how its change went.
    bool Answered(std::size_t step) const;
    std::string Outcome(std::size_t step, const TextLookup& tr, const CTextCodec& codec) const;

    // What a camera's result needs beside it: the risks of a planned change, why a change
    // did not confirm; empty otherwise.
    std::string Detail(std::size_t step, const TextLookup& tr, const CTextCodec& codec) const;

private:
    // Why a camera is NotConfirmed: its rounds said so, or they never came.
    enum class Cause { Rounds, NotSent, Stopped, SendFailed };
    struct Step {
        explicit Step(CChangeFlow flow) : change(std::move(flow)) {}

        CChangeFlow change;
        PlanState state = PlanState::Planned;
        std::optional<CChangeConfirmation> confirmation; // from its send on
        Cause cause = Cause::Rounds;
        std::string failure; // SendFailed: why
    };

    std::string MacOf(std::size_t step) const;
    std::string NameOf(std::size_t step, const CTextCodec& codec) const;

    std::unique_ptr<DeviceTable> m_table; // the steps' changes refer to it
    std::unique_ptr<ArrivalTable> m_arrivals;
    std::vector<Step> m_steps;
    std::vector<PlanWarning> m_warnings;
};
