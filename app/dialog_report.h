#pragma once

#include "protocol/network_worker.h"

class CFinderDlg;

// The worker's reports, posted to the dialog's thread in the order they happen. The worker
// never waits for the dialog, so the dialog may join it at any moment without a dead end.
class DialogReport : public WorkerReport {
public:
    explicit DialogReport(CFinderDlg* dialog) : m_pDialog(dialog) {}

    void OnStatus(const std::string& text) override;
    void OnReply(const DeviceRecord& record, const ReplyArrival& arrival) override;
    void OnSent() override;

private:
    CFinderDlg* m_pDialog;
};
