#include "core/plan/plan_report.h"

#include "core/encoding/text_escape.h"
#include "core/messages/finder_texts.h"

const char* PlanResultKey(PlanState state) {
    switch (state) {
    case PlanState::Planned:
        return PLAN_RESULT_PLANNED;
    case PlanState::Unchanged:
        return PLAN_RESULT_UNCHANGED;
    case PlanState::Confirmed:
        return PLAN_RESULT_CONFIRMED;
    case PlanState::Sent:
    case PlanState::NotConfirmed:
        break;
    }
    return PLAN_RESULT_NOT_CONFIRMED;
}

const WindowText& PlanResultText(PlanState state) {
    switch (state) {
    case PlanState::Planned:
        return PLAN_TEXT_PLANNED;
    case PlanState::Unchanged:
        return PLAN_TEXT_UNCHANGED;
    case PlanState::Sent:
        return PLAN_TEXT_WAITING;
    case PlanState::Confirmed:
        return PLAN_TEXT_CONFIRMED;
    case PlanState::NotConfirmed:
        break;
    }
    return PLAN_TEXT_NOT_CONFIRMED;
}

PlanReportRow ReportRow(const DeviceRecord& before, const DeviceRecord& after,
                        const FormatOptions& options) {
    return {MacToText(before.mac), options.codec.Shown(FieldText(after.name), ITEM_WIDTH_NAME),
            SettingChanges(before, after, options), "", ""};
}

std::vector<PlanReportRow> PlanReport(const CChangePlan& plan, const FormatOptions& options,
                                      const TextLookup& tr) {
    std::vector<PlanReportRow> rows;
    for (std::size_t step = 0; step < plan.Size(); ++step) {
        PlanReportRow row = ReportRow(plan.Before(step), plan.After(step), options);
        row.result = PlanResultKey(plan.State(step));
        row.detail = plan.Detail(step, tr, options.codec);
        rows.push_back(std::move(row));
    }
    return rows;
}

std::string PlanReportTable(const std::vector<PlanReportRow>& rows) {
    std::vector<std::vector<std::string>> cells = {{"MAC", "NAME", "CHANGES", "RESULT", "DETAIL"}};
    for (const PlanReportRow& row : rows) {
        cells.push_back({row.mac, EscapeControls(row.name), ChangesText(row.changes), row.result,
                         EscapeControls(row.detail)});
    }
    return AlignedColumns(cells);
}

std::string PlanReportJson(const std::vector<PlanReportRow>& rows) {
    if (rows.empty()) {
        return "[]\n";
    }
    std::string out = "[\n";
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const PlanReportRow& row = rows[i];
        out += "  {\"mac\": " + JsonString(row.mac) + ", \"name\": " + JsonString(row.name) +
               ", \"changes\": " + ChangesJson(row.changes) +
               ", \"result\": " + JsonString(row.result) +
               ", \"detail\": " + JsonString(row.detail) + (i + 1 < rows.size() ? "},\n" : "}\n");
    }
    return out + "]\n";
}

std::string PlanReportCsv(const std::vector<PlanReportRow>& rows) {
    std::string out = "mac,name,changes,result,detail\r\n";
    for (const PlanReportRow& row : rows) {
        uint8_t mac[6] = {};
        TextToMac(row.mac, mac);
        out += CsvCell(MacToColonText(mac)) + "," + CsvCell(row.name) + "," +
               CsvCell(ChangesText(row.changes)) + "," + CsvCell(row.result) + "," +
               CsvCell(row.detail) + "\r\n";
    }
    return out;
}
