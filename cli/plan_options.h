#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/plan/addressing_plan.h"
#include "core/program/option_table.h"

// What assign and apply take beside the options every command has.
struct PlanOptions {
    std::string firstIp;           // assign: where the addresses start
    std::vector<std::string> macs; // assign: the cameras, lower-case, as given
    bool all = false;              // assign --all: every camera found
    std::optional<std::string> netmask;
    std::optional<std::string> gateway;
    std::string nameTemplate;
    std::optional<PlanOrder> order;
    bool keepPlaced = false; // assign --keep-placed: a camera already placed keeps its IP
    std::string file;        // apply: the plan file, "-" for standard input
    bool dryRun = false;

    // The order asked for, else as given, or by MAC with --all.
    PlanOrder Order() const;
};

// The options of assign (all of them) or of apply (--dry-run, --force).
void AddPlanOptions(COptionTable& table, PlanOptions& plan, bool& force, bool assign);

// Takes an argument that is no option: assign's first IP, then its MACs; apply's file.
// Empty when taken, else why not.
std::string TakePlanArgument(PlanOptions& plan, const std::string& argument, bool assign);

// What the arguments lack once all are read; empty when nothing.
std::string MissingPlanArgument(const PlanOptions& plan, bool assign);

// assign's texts for its addressing: English, the fields named as its arguments and options
// name them ("--netmask: ...").
std::string AssignText(const WindowText& text);
