#include "cli/assign_command.h"

#include "cli/cli_command.h"
#include "cli/plan_command.h"
#include "core/plan/addressing_plan.h"

namespace {

int RunAssign(const PlanRunOptions& options, std::ostream& out, std::ostream& err,
              LocalNetworksFunction localNetworks) {
    ScanSession session(options.endpoints);
    ScanResult scanned;
    std::string error;
    if (!FirstScan(session, options, scanned, err, error)) {
        return Fail(err, error, CLI_EXIT_FAILED);
    }
    std::vector<int> slots;
    for (const DeviceRecord& device : scanned.devices) {
        slots.push_back(device.id - 1); // --all: as found
    }
    if (!options.plan.all) {
        slots.clear();
        for (const std::string& mac : options.plan.macs) {
            const DeviceRecord* device = scanned.FindByMac(mac);
            if (device == nullptr) {
                return Fail(err, "no device answered with MAC " + mac + "; nothing was sent",
                            CLI_EXIT_USAGE);
            }
            slots.push_back(device->id - 1);
        }
    }
    const CTextCodec codec = options.Codec(LocaleName());
    AddressingRequest request{options.plan.firstIp, options.plan.netmask, options.plan.gateway,
                              options.plan.Order(), options.plan.nameTemplate};
    const AddressingPlan addressing = PlanAddresses(*scanned.table, *scanned.arrivals, slots,
                                                    request, localNetworks(), EnglishText, codec);
    if (!addressing.refusal.empty()) {
        return Fail(err, addressing.refusal + "; nothing was sent", CLI_EXIT_USAGE);
    }
    CChangePlan plan(*scanned.table, *scanned.arrivals, addressing.changes);
    return RunCheckedPlan(
        session, plan, options, out, err, localNetworks, [&](const PlanRefusal& refusal) {
            return plan.CameraText(refusal.step, EnglishText, codec, refusal.reason);
        });
}

} // namespace

CAssignCommand::CAssignCommand()
    : CCommand("assign", "FIRST_IP (MAC... | --all)",
               "give many cameras addresses from a first IP on, in one step",
               std::string("Scans and addresses the cameras named by their MACs (or every camera "
                           "found, with --all) in one step: the addresses count up from "
                           "FIRST_IP and skip every address in use (the IP of any camera found, "
                           "though a camera may keep its own; this PC's; the gateway; the "
                           "subnet's network and broadcast address). A plan that runs out of "
                           "addresses is refused as a whole. Every change passes the checks of "
                           "set; a refused one refuses the plan and nothing is sent, the risky "
                           "ones go only with --force. ") +
                   PLAN_RUN_DESCRIPTION,
               PLAN_RUN_STATUSES) {
    AddPlanRunOptions(Options(), m_options, true);
    AddSearch(m_options);
}

std::string CAssignCommand::TakeArgument(const std::string& argument) {
    return TakePlanArgument(m_options.plan, argument, true);
}

std::string CAssignCommand::Finish() {
    return MissingPlanArgument(m_options.plan, true);
}

int CAssignCommand::Run(const CommandIo& io) {
    return RunAssign(m_options, io.out, io.err, io.localNetworks);
}
