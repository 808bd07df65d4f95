#include "core/plan/change_plan.h"

#include <algorithm>
#include <span>
#include <string_view>
#include <utility>

#include "core/messages/fill_text.h"
#include "core/messages/finder_texts.h"
#include "core/rules/panel_checks.h"
#include "core/rules/panel_texts.h"
#include "core/rules/settings_checks.h"
#include "core/wire/net_mode.h"
#include "core/wire/settings_fields.h"
#include "core/wire/subnet.h"

namespace {

const DeviceRecord& TargetIn(const DeviceTable& table, const ChangeValues& values) {
    static const DeviceRecord none{};
    const DeviceRecord* target = FindSetTarget(table, values.mac);
    return target != nullptr && target->id != 0 ? *target : none;
}

const ReplyArrival& ArrivalIn(const ArrivalTable& arrivals, const DeviceRecord& target) {
    static const ReplyArrival none;
    return target.id != 0 ? arrivals.slot[target.id - 1] : none;
}

// Two risks are of one kind when their sentences have one pattern (compared by its id: each
// room holds its own copy of a text).
bool SameKind(const WindowText* a, const WindowText* b) {
    return std::string_view(a->id) == b->id;
}

// The line that counts the cameras of a kind of risk.
const WindowText& CountedRisk(const WindowText* kind) {
    if (SameKind(kind, &APPLY_TEXT_GATEWAY_OUTSIDE)) {
        return PLAN_TEXT_RISKS_GATEWAY_OUTSIDE;
    }
    if (SameKind(kind, &APPLY_TEXT_IP_TAKEN)) {
        return PLAN_TEXT_RISKS_IP_TAKEN;
    }
    if (SameKind(kind, &PLAN_TEXT_NAME_CUT)) {
        return PLAN_TEXT_RISKS_NAMES_CUT;
    }
    return SameKind(kind, &APPLY_TEXT_IP_OF_THIS_PC) ? PLAN_TEXT_RISKS_IP_OF_THIS_PC
                                                     : PLAN_TEXT_RISKS_OUT_OF_SIGHT;
}

std::string Joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) {
        text += (text.empty() ? "" : "\n") + line;
    }
    return text;
}

// The IP a camera has once the change went through, when it keeps a fixed one.
std::optional<uint32_t> FixedIpAfter(const ChangeValues& values) {
    if (values.mode != NetMode::Static) {
        return std::nullopt; // its address comes from the network
    }
    return ParseIpv4(values.ip);
}

} // namespace

CChangePlan::CChangePlan(const DeviceTable& table, const ArrivalTable& arrivals,
                         std::vector<ChangeValues> changes)
    : m_table(std::make_unique<DeviceTable>(table)),
      m_arrivals(std::make_unique<ArrivalTable>(arrivals)) {
    m_steps.reserve(changes.size());
    for (ChangeValues& values : changes) {
        const DeviceRecord& target = TargetIn(*m_table, values);
        m_steps.emplace_back(
            CChangeFlow(*m_table, target, ArrivalIn(*m_arrivals, target), std::move(values)));
    }
}

const DeviceRecord& CChangePlan::Before(std::size_t step) const {
    return m_steps[step].change.Target();
}

const ChangeValues& CChangePlan::Values(std::size_t step) const {
    return m_steps[step].change.Values();
}

DeviceRecord RecordAfter(const DeviceRecord& before, const ChangeValues& values) {
    DeviceRecord after = before;
    const unsigned changed = ChangedSettings(before, values);
    for (const SettingField& field : SETTING_FIELDS) {
        if ((changed & field.setting) == 0) {
            continue;
        }
        if (field.kind == SettingKind::Port) {
            after.httpPort = static_cast<int32_t>(PortNumber(values.httpPort));
            continue;
        }
        const std::span<char> stored = StoredBytes(field, after);
        SetFieldText(stored.data(), stored.size(), values.*field.typed);
    }
    RequestModeBytes(values, after.netMode);
    if ((changed & SETTING_NEW_MAC) != 0) {
        TextToMac(*values.newMac, after.mac);
    }
    return after;
}

DeviceRecord CChangePlan::After(std::size_t step) const {
    return RecordAfter(Before(step), Values(step));
}

std::string CChangePlan::MacOf(std::size_t step) const {
    const DeviceRecord& camera = Before(step);
    return camera.id != 0 ? MacToText(camera.mac) : Values(step).mac;
}

std::string CChangePlan::NameOf(std::size_t step, const CTextCodec& codec) const {
    return codec.Shown(FieldText(Before(step).name), ITEM_WIDTH_NAME);
}

std::string CChangePlan::CameraText(std::size_t step, const TextLookup& tr, const CTextCodec& codec,
                                    const std::string& sentence) const {
    return FillText(tr(PLAN_TEXT_CAMERA), {MacOf(step), NameOf(step, codec), sentence});
}

std::optional<PlanRefusal> CChangePlan::Validate(const std::vector<LocalNetwork>& localNetworks,
                                                 const TextLookup& tr, const CTextCodec& codec) {
    m_warnings.clear();
    for (std::size_t i = 0; i < m_steps.size(); ++i) {
        Step& step = m_steps[i];
        const DeviceRecord& target = step.change.Target();
        if (target.id == 0) {
            return PlanRefusal{i, 0, FillText(tr(PLAN_TEXT_NO_CAMERA), {Values(i).mac})};
        }
        if (const std::optional<std::string> problem =
                CheckPanelValues(target, Values(i), codec, tr)) {
            ChangeValues encoded = Values(i);
            const std::optional<PanelTextRefusal> text = EncodePanelTexts(encoded, target, codec);
            return PlanRefusal{i, text ? text->setting : 0, *problem};
        }
        step.change.EncodeTexts(codec); // the checks passed every text
        const SettingsVerdict verdict = step.change.Check(localNetworks, tr, codec);
        step.state = verdict.nothingChanged ? PlanState::Unchanged : PlanState::Planned;
        if (verdict.nothingChanged) {
            continue;
        }
        if (target.readOnly != 0) {
            return PlanRefusal{i, 0, tr(PLAN_TEXT_READ_ONLY)};
        }
        if (!verdict.refusal.empty()) {
            return PlanRefusal{i, verdict.refusedSetting, verdict.refusal};
        }
        for (const SettingsRisk& risk : verdict.warnings) {
            m_warnings.push_back({i, risk.kind, risk.setting, risk.sentence});
        }
    }
    // A new IP that another camera of the plan ends with.
    for (std::size_t i = 0; i < m_steps.size(); ++i) {
        const std::optional<uint32_t> ip = FixedIpAfter(Values(i));
        if (!ip || (ChangedSettings(Before(i), Values(i)) & SETTING_IP) == 0) {
            continue;
        }
        for (std::size_t j = 0; j < m_steps.size(); ++j) {
            if (j != i && FixedIpAfter(Values(j)) == ip) {
                return PlanRefusal{i, SETTING_IP,
                                   FillText(tr(PLAN_TEXT_SAME_NEW_IP),
                                            {Values(i).ip, MacOf(j), NameOf(j, codec)})};
            }
        }
    }
    return std::nullopt;
}

RiskQuestion CChangePlan::Risks(const TextLookup& tr, const CTextCodec& codec) const {
    std::vector<std::string> lines;
    if (m_steps.size() == 1) {
        for (const PlanWarning& warning : m_warnings) {
            lines.push_back(warning.sentence);
        }
        return {Joined(lines), ""};
    }
    // The kinds in the order they first come, each with the risks of that kind.
    std::vector<std::vector<const PlanWarning*>> kinds;
    for (const PlanWarning& warning : m_warnings) {
        const auto same = std::find_if(kinds.begin(), kinds.end(), [&](const auto& kind) {
            return SameKind(kind.front()->kind, warning.kind);
        });
        if (same == kinds.end()) {
            kinds.push_back({&warning});
        } else {
            same->push_back(&warning);
        }
    }
    bool counted = false;
    for (const std::vector<const PlanWarning*>& kind : kinds) {
        const PlanWarning& first = *kind.front();
        counted = counted || kind.size() > 1;
        lines.push_back(kind.size() > 1
                            ? FillText(tr(CountedRisk(first.kind)), {std::to_string(kind.size())})
                            : CameraText(first.step, tr, codec, first.sentence));
    }
    std::vector<std::string> details;
    for (const PlanWarning& warning : m_warnings) {
        details.push_back(CameraText(warning.step, tr, codec, warning.sentence));
    }
    return {Joined(lines), counted ? Joined(details) : ""};
}

std::vector<std::size_t> CChangePlan::ToSend() const {
    std::vector<std::size_t> steps;
    for (std::size_t i = 0; i < m_steps.size(); ++i) {
        if (m_steps[i].state == PlanState::Planned) {
            steps.push_back(i);
        }
    }
    return steps;
}

WorkerCommand CChangePlan::Command(std::size_t step) const {
    return m_steps[step].change.Command();
}

bool CChangePlan::WentOut(std::size_t step) const {
    const Step& s = m_steps[step];
    return s.confirmation.has_value() && s.cause != Cause::SendFailed;
}

void CChangePlan::MarkSent(std::size_t step) {
    Step& s = m_steps[step];
    s.state = PlanState::Sent;
    s.confirmation.emplace(s.change.Target(), s.change.Values());
}

void CChangePlan::MarkFailed(std::size_t step, const std::string& why) {
    m_steps[step].state = PlanState::NotConfirmed;
    m_steps[step].cause = Cause::SendFailed;
    m_steps[step].failure = why;
}

void CChangePlan::Stop() {
    for (Step& step : m_steps) {
        if (step.state == PlanState::Planned || step.state == PlanState::Sent) {
            step.cause = step.state == PlanState::Planned ? Cause::NotSent : Cause::Stopped;
            step.state = PlanState::NotConfirmed;
        }
    }
}

const std::vector<int>& CChangePlan::Schedule() const {
    const std::vector<int>* longest = &CONFIRM_SCHEDULE_MS;
    for (const Step& step : m_steps) {
        if (step.state == PlanState::Sent &&
            step.confirmation->Schedule().back() > longest->back()) {
            longest = &step.confirmation->Schedule();
        }
    }
    return *longest;
}

std::vector<uint32_t> CChangePlan::QueryTargets() const {
    std::vector<uint32_t> targets;
    for (const Step& step : m_steps) {
        if (step.state == PlanState::Sent) {
            const std::vector<uint32_t> more = step.change.ConfirmTargets();
            targets.insert(targets.end(), more.begin(), more.end());
        }
    }
    return targets;
}

void CChangePlan::StartRound() {
    for (Step& step : m_steps) {
        if (step.state == PlanState::Sent) {
            step.confirmation->StartRound();
        }
    }
}

void CChangePlan::OnReply(const DeviceRecord& reply) {
    for (Step& step : m_steps) {
        if (step.state == PlanState::Sent) {
            step.confirmation->OnReply(reply);
        }
    }
}

bool CChangePlan::EndRound(bool lastRound) {
    for (Step& step : m_steps) {
        if (step.state == PlanState::Sent && step.confirmation->EndRound(lastRound)) {
            step.state =
                step.confirmation->Confirmed() ? PlanState::Confirmed : PlanState::NotConfirmed;
        }
    }
    return !Waiting();
}

bool CChangePlan::Waiting() const {
    return std::any_of(m_steps.begin(), m_steps.end(),
                       [](const Step& step) { return step.state == PlanState::Sent; });
}

std::string CChangePlan::Detail(std::size_t step, const TextLookup& tr,
                                const CTextCodec& codec) const {
    const Step& s = m_steps[step];
    if (s.state == PlanState::Planned) {
        std::string risks;
        for (const PlanWarning& warning : m_warnings) {
            if (warning.step == step) {
                risks += (risks.empty() ? "" : " ") + warning.sentence;
            }
        }
        return risks;
    }
    if (s.state != PlanState::NotConfirmed) {
        return "";
    }
    switch (s.cause) {
    case Cause::Rounds:
        break;
    case Cause::NotSent:
        return tr(PLAN_TEXT_NOT_SENT);
    case Cause::Stopped:
        return tr(PLAN_TEXT_SENT_STOPPED);
    case Cause::SendFailed:
        return FillText(tr(PLAN_TEXT_SEND_FAILED), {s.failure});
    }
    return Outcome(step, tr, codec);
}

bool CChangePlan::Answered(std::size_t step) const {
    const Step& s = m_steps[step];
    return s.confirmation.has_value() && s.confirmation->Answered();
}

std::string CChangePlan::Outcome(std::size_t step, const TextLookup& tr,
                                 const CTextCodec& codec) const {
    const Step& s = m_steps[step];
    return s.confirmation ? s.confirmation->Outcome(tr, codec) : "";
}

void CChangePlan::AddWarnings(const std::vector<PlanWarning>& warnings) {
    m_warnings.insert(m_warnings.end(), warnings.begin(), warnings.end());
}
