#include "cli/assign_command.h"

#include "cli/cli_command.h"
#include "cli/plan_command.h"
#include "cli/plan_options.h"
#include "core/plan/addressing_plan.h"

int RunAssign(const CliOptions& options, std::ostream& out, std::ostream& err,
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
    request.keepPlaced = options.plan.keepPlaced;
    const AddressingPlan addressing = PlanAddresses(*scanned.table, *scanned.arrivals, slots,
                                                    request, localNetworks(), AssignText, codec);
    if (!addressing.refusal.empty()) {
        return Fail(err, addressing.refusal + "; nothing was sent", CLI_EXIT_USAGE);
    }
    CChangePlan plan(*scanned.table, *scanned.arrivals, addressing.changes);
    return RunCheckedPlan(
        session, plan, options, out, err, localNetworks,
        [&](const PlanRefusal& refusal) {
            return plan.CameraText(refusal.step, EnglishText, codec, refusal.reason);
        },
        addressing.warnings);
}
