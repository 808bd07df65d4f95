#pragma once

#include <string>
#include <vector>

#include "core/messages/window_text.h"
#include "core/plan/change_plan.h"
#include "core/present/device_format.h"
#include "core/present/setting_changes.h"

// The result of each camera of a plan, as the command line prints it and the window saves
// it: a table, JSON or CSV with one row per camera in plan order.

// The results as JSON and CSV write them.
constexpr char PLAN_RESULT_PLANNED[] = "planned";
constexpr char PLAN_RESULT_CONFIRMED[] = "confirmed";
constexpr char PLAN_RESULT_NOT_CONFIRMED[] = "not confirmed";
constexpr char PLAN_RESULT_UNCHANGED[] = "unchanged";

struct PlanReportRow {
    std::string mac;  // twelve digits
    std::string name; // as the camera reads after the change (UTF-8, unescaped)
    std::vector<SettingChange> changes;
    std::string result; // PLAN_RESULT_*
    std::string detail;
};

// Planned and a camera still waited for read "planned" and "not confirmed".
const char* PlanResultKey(PlanState state);
// The words the window shows for a state.
const WindowText& PlanResultText(PlanState state);

// The rows of a plan: the changes from each camera's record to what it is to become, the
// detail in the words of tr.
std::vector<PlanReportRow> PlanReport(const CChangePlan& plan, const FormatOptions& options,
                                      const TextLookup& tr = EnglishText);

// One row for the camera before and after its change.
PlanReportRow ReportRow(const DeviceRecord& before, const DeviceRecord& after,
                        const FormatOptions& options);

// MAC, NAME, CHANGES ("ip 192.168.1.64 -> 10.77.0.100, ..."), RESULT and DETAIL.
std::string PlanReportTable(const std::vector<PlanReportRow>& rows);
// An array of {"mac", "name", "changes": {key: {"from", "to"}}, "result", "detail"}.
std::string PlanReportJson(const std::vector<PlanReportRow>& rows);
// A header row and the same columns as the JSON; the MAC with colons.
std::string PlanReportCsv(const std::vector<PlanReportRow>& rows);
