#include "cli/plan_options.h"

#include <algorithm>

#include "core/rules/input_checks.h"
#include "core/wire/device_table.h"

namespace {

std::string Quoted(const std::string& text) {
    return "\"" + text + "\"";
}

OptionApply Address(std::optional<std::string>& into) {
    return [&into](const std::string& value) {
        if (!IsDottedAddress(value)) {
            return Quoted(value) + " is not four dotted decimal numbers of 0 to 255";
        }
        into = value;
        return std::string();
    };
}

OptionApply Flag(bool& flag) {
    return [&flag](const std::string&) {
        flag = true;
        return std::string();
    };
}

// assign's --name and --order.
void AddAssignNaming(COptionTable& table, PlanOptions& plan) {
    table.Add(
        {"--name"}, "TEMPLATE",
        [&plan](const std::string& value) {
            if (!NameFromTemplate(value, 1)) {
                return Quoted(value) + " is not a name template: {n} stands for the camera's "
                                       "place in the plan, {n:02} for the same with two digits";
            }
            plan.nameTemplate = value;
            return std::string();
        },
        "names them: {n} is the camera's place in the plan from 1, {n:02} the same with two "
        "digits (\"Dock {n:02}\": Dock 01, Dock 02, ...)");
    table.Add(
        {"--order"}, "ORDER",
        [&plan](const std::string& value) {
            const struct {
                const char* name;
                PlanOrder order;
            } orders[] = {{"given", PlanOrder::Given},
                          {"mac", PlanOrder::Mac},
                          {"name", PlanOrder::Name},
                          {"ip", PlanOrder::Ip}};
            for (const auto& order : orders) {
                if (value == order.name) {
                    plan.order = order.order;
                    return std::string();
                }
            }
            return Quoted(value) + " is not given, mac, name or ip";
        },
        "given (default), mac (default with --all), name or ip");
}

} // namespace

PlanOrder PlanOptions::Order() const {
    return order.value_or(all ? PlanOrder::Mac : PlanOrder::Given);
}

void AddPlanOptions(COptionTable& table, PlanOptions& plan, bool& force, bool assign) {
    if (assign) {
        table.Add({"--all"}, "", Flag(plan.all), "every camera found, instead of MACs");
        table.Add({"--netmask"}, "M", Address(plan.netmask),
                  "the netmask (default: that of the card the cameras answered on)");
        table.Add({"--gateway"}, "G", Address(plan.gateway),
                  "the gateway (default: that card's gateway, 0.0.0.0 when none)");
        AddAssignNaming(table, plan);
    }
    table.Add({"--dry-run"}, "", Flag(plan.dryRun),
              "print the plan (result \"planned\") and send nothing");
    table.Add({"--force"}, "", Flag(force), "send the risky changes all the same");
}

std::string TakePlanArgument(PlanOptions& plan, const std::string& argument, bool assign) {
    if (!assign) {
        if (!plan.file.empty()) {
            return "unexpected argument " + Quoted(argument) + ": apply reads one file";
        }
        plan.file = argument;
        return "";
    }
    if (plan.firstIp.empty()) {
        if (!IsDottedAddress(argument)) {
            return "FIRST_IP " + Quoted(argument) +
                   " is not four dotted decimal numbers of 0 to 255";
        }
        plan.firstIp = argument;
        return "";
    }
    const std::optional<std::string> mac = ReadMacText(argument);
    if (!mac) {
        return "MAC " + Quoted(argument) + " is not 12 hexadecimal digits";
    }
    if (std::find(plan.macs.begin(), plan.macs.end(), *mac) != plan.macs.end()) {
        return "MAC " + *mac + " is given twice";
    }
    plan.macs.push_back(*mac);
    return "";
}

std::string MissingPlanArgument(const PlanOptions& plan, bool assign) {
    if (!assign) {
        return plan.file.empty() ? "apply needs the plan file (- for standard input)" : "";
    }
    if (plan.firstIp.empty()) {
        return "assign needs the first IP, then the MACs of the cameras or --all";
    }
    if (plan.macs.empty() == !plan.all) {
        return plan.all ? "give either MACs or --all, not both"
                        : "assign needs the MACs of the cameras, or --all for every camera found";
    }
    return "";
}
