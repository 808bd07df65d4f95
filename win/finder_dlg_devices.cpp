// The devices: the worker's reports, the sorted device list, the details panel of the
// selected camera, Update and the camera's web page. The words and rules come from the core.

#include <windows.h>
// after windows.h, which it needs
#include <shellapi.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/browser_command.h"
#include "app/device_url.h"
#include "core/messages/fill_text.h"
#include "core/messages/finder_texts.h"
#include "core/net/net_interfaces.h"
#include "core/present/device_list.h"
#include "core/present/info_line.h"
#include "core/session/editable_values.h"
#include "core/status/search_texts.h"
#include "core/status/startup_failure.h"
#include "core/status/status_text.h"
#include "core/wire/net_mode.h"
#include "res/control_ids.h"
#include "win/dialog_language_view.h"
#include "win/finder_dlg.h"
#include "win/wide_text.h"

CTextCodec CFinderDlg::Codec() const {
    return CTextCodec::ForLanguage(m_language.SelectedLanguage());
}

// In the order the worker reported: the send (which clears the panel, the list and the
// roster), the replies since, the status; then the summary of a query is due.
void CFinderDlg::OnWorkerReports() {
    const ReportBatch batch = m_report->TakeBatch();
    if (batch.cleared) {
        ClearPanel();
        ClearSearch();
    }
    for (const BatchedReply& reply : batch.replies) {
        OnReply(reply.record, reply.arrival);
    }
    m_roster.CountDropped(batch.dropped);
    if (batch.status) {
        OnStatus(*batch.status);
    }
    if (batch.queryOutcome) {
        if (m_bQueryPending && batch.queryOutcome->kind == WorkerOutcomeKind::Ok) {
            m_roster.BeginSearch();
            SetTimer(m_hWnd, TIMER_SEARCH_SUMMARY, SEARCH_SUMMARY_DELAY_MS, nullptr);
        }
        m_bQueryPending = false;
    }
    if (batch.startupFailure) {
        const TextLookup tr = [this](const WindowText& text) { return Tr(text); };
        SetWindowTextUtf8(Control(IDC_INFO), StartupFailureSentence(*batch.startupFailure, tr));
    }
}

// An "OK" for a reply keeps the summary of the search that is shown, brought up to date.
void CFinderDlg::OnStatus(const WorkerOutcome& outcome) {
    if (outcome.kind == WorkerOutcomeKind::Ok && m_bSummaryShown) {
        ShowSearchSummary();
        return;
    }
    m_bSummaryShown = false;
    SetWindowTextUtf8(Control(IDC_STATUS), StatusText(outcome));
}

// A camera new to the search gets its entry, which the list sorts in; the entry keeps its
// slot beside it.
void CFinderDlg::OnReply(const DeviceRecord& record, const ReplyArrival& arrival) {
    const CCameraRoster::Merge merge = m_roster.Take(record, arrival);
    if (merge.slot == MERGE_DROPPED || !merge.added) {
        return;
    }
    HWND list = Control(IDC_DEVICE_LIST);
    const std::wstring entry = Widen(ListEntryText(m_roster.Record(merge.slot), Codec()));
    const LRESULT index =
        SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.c_str()));
    if (index >= 0) {
        SendMessageW(list, LB_SETITEMDATA, static_cast<WPARAM>(index), merge.slot);
    }
    if (m_bInTray) {
        m_tray.SetTip(TrayTip());
    }
}

void CFinderDlg::ClearSearch() {
    SendMessageW(Control(IDC_DEVICE_LIST), LB_RESETCONTENT, 0, 0);
    m_roster.Clear();
    m_bSummaryShown = false;
    KillTimer(m_hWnd, TIMER_SEARCH_SUMMARY);
}

void CFinderDlg::ClearPanel() {
    for (int id : {IDC_NAME, IDC_NEW_MAC, IDC_IP, IDC_NETMASK, IDC_GATEWAY, IDC_HTTP_PORT,
                   IDC_PPPOE_ACCOUNT, IDC_PPPOE_PASSWORD, IDC_INFO}) {
        SetWindowTextW(Control(id), L"");
    }
    SetWindowTextUtf8(Control(IDC_MAC_GROUP), NO_DEVICE_MAC_TEXT);
    for (int id : {IDC_MODE_PPPOE, IDC_MODE_STATIC, IDC_MODE_DHCP}) {
        CheckDlgButton(m_hWnd, id, BST_UNCHECKED);
    }
}

// "12 cameras on eth0, eth1", or that nothing answered and where the finder looked; then
// the new and gone cameras against the search before.
void CFinderDlg::ShowSearchSummary() {
    const TextLookup tr = [this](const WindowText& text) { return Tr(text); };
    std::vector<std::string> cards;
    for (int slot : m_roster.Listed()) {
        const std::string card = CardName(m_roster.Arrival(slot), tr);
        if (std::find(cards.begin(), cards.end(), card) == cards.end()) {
            cards.push_back(card);
        }
    }
    std::sort(cards.begin(), cards.end());
    const int cameras = static_cast<int>(m_roster.Listed().size());
    std::string text;
    if (cameras > 0) {
        text = FoundText(cameras, cards, tr);
    } else {
        const std::vector<NetInterface> searched =
            m_endpoints.SendsPerInterface()
                ? SearchedInterfaces(ListInterfaces(), m_endpoints.interfaces)
                : std::vector<NetInterface>{{m_endpoints.destinationAddress}};
        text = NothingFoundText(searched, tr);
    }
    const CCameraRoster::SearchCounts counts = m_roster.EndSearch();
    if (m_roster.HasSearchBefore()) {
        text += "; " + FillText(tr(TEXT_SEARCH_NEW_GONE),
                                {std::to_string(counts.added), std::to_string(counts.gone)});
    }
    SetWindowTextUtf8(Control(IDC_STATUS), text);
}

// The entry with the caret when it is selected, else the first selected one.
std::optional<int> CFinderDlg::SelectedSlot() const {
    HWND list = Control(IDC_DEVICE_LIST);
    int index = static_cast<int>(SendMessageW(list, LB_GETCARETINDEX, 0, 0));
    if (index < 0 || SendMessageW(list, LB_GETSEL, static_cast<WPARAM>(index), 0) <= 0) {
        index = -1;
        SendMessageW(list, LB_GETSELITEMS, 1, reinterpret_cast<LPARAM>(&index));
    }
    if (index < 0) {
        return std::nullopt;
    }
    const int slot =
        static_cast<int>(SendMessageW(list, LB_GETITEMDATA, static_cast<WPARAM>(index), 0));
    if (slot < 0 || slot >= DEVICE_TABLE_SLOTS || m_roster.Record(slot).id == 0) {
        return std::nullopt;
    }
    return slot;
}

void CFinderDlg::SetFieldsEnabled(bool addresses, bool pppoe) {
    for (int id : {IDC_IP, IDC_NETMASK, IDC_GATEWAY}) {
        EnableWindow(Control(id), addresses);
    }
    for (int id : {IDC_PPPOE_ACCOUNT, IDC_PPPOE_PASSWORD}) {
        EnableWindow(Control(id), pppoe);
    }
}

void CFinderDlg::OnSelectDevice() {
    const std::optional<int> slot = SelectedSlot();
    if (!slot) {
        return;
    }
    const DeviceRecord& record = m_roster.Record(*slot);
    const ChangeValues shown = EditableValues(record, Codec());
    SetFieldsEnabled(false, false);
    const struct {
        int id;
        const std::string& text;
    } fields[] = {{IDC_NAME, shown.name},
                  {IDC_IP, shown.ip},
                  {IDC_NETMASK, shown.netmask},
                  {IDC_GATEWAY, shown.gateway},
                  {IDC_PPPOE_ACCOUNT, shown.pppoeAccount},
                  {IDC_PPPOE_PASSWORD, shown.pppoePassword},
                  {IDC_HTTP_PORT, shown.httpPort},
                  {IDC_MAC_GROUP, shown.mac}};
    for (const auto& field : fields) {
        SetWindowTextUtf8(Control(field.id), field.text);
    }
    if (IsWindowVisible(Control(IDC_NEW_MAC))) {
        SetWindowTextUtf8(Control(IDC_NEW_MAC), shown.mac);
    }
    const NetMode mode = RecordMode(record.netMode);
    CheckDlgButton(m_hWnd, IDC_MODE_PPPOE, mode == NetMode::Pppoe ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(m_hWnd, IDC_MODE_DHCP, mode == NetMode::Dhcp ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(m_hWnd, IDC_MODE_STATIC, mode == NetMode::Static ? BST_CHECKED : BST_UNCHECKED);
    SetFieldsEnabled(mode == NetMode::Static, false);
    const TextLookup tr = [this](const WindowText& text) { return Tr(text); };
    SetWindowTextUtf8(Control(IDC_INFO), InfoText(record, Codec(), tr));
    const bool editable = record.readOnly != 1;
    if (!editable) {
        SetFieldsEnabled(false, false);
    }
    for (int id :
         {IDC_NAME, IDC_HTTP_PORT, IDC_NEW_MAC, IDC_MODE_PPPOE, IDC_MODE_DHCP, IDC_MODE_STATIC}) {
        EnableWindow(Control(id), editable);
    }
}

// Each radio stands alone in its group: the panel unchecks the other two.
void CFinderDlg::OnModeDhcp() {
    SetFieldsEnabled(false, false);
    CheckDlgButton(m_hWnd, IDC_MODE_PPPOE, BST_UNCHECKED);
    CheckDlgButton(m_hWnd, IDC_MODE_STATIC, BST_UNCHECKED);
}

void CFinderDlg::OnModePppoe() {
    SetFieldsEnabled(false, true);
    CheckDlgButton(m_hWnd, IDC_MODE_DHCP, BST_UNCHECKED);
    CheckDlgButton(m_hWnd, IDC_MODE_STATIC, BST_UNCHECKED);
}

void CFinderDlg::OnModeStatic() {
    SetFieldsEnabled(true, false);
    CheckDlgButton(m_hWnd, IDC_MODE_DHCP, BST_UNCHECKED);
    CheckDlgButton(m_hWnd, IDC_MODE_PPPOE, BST_UNCHECKED);
}

void CFinderDlg::OnUpdate() {
    ClearSearch();
    m_bQueryPending = true;
    m_worker.SetCommand(CMD_QUERY);
}

// Where the registry names a browser it starts maximised first; the page itself goes to
// the shell's handler of http addresses either way.
void CFinderDlg::OnDblclkDeviceList() {
    const std::optional<int> slot = SelectedSlot();
    if (!slot) {
        return;
    }
    const std::string url = DevicePageUrl(m_roster.Record(*slot));
    if (const std::optional<std::string> value = ReadBrowserRegistryValue()) {
        if (const std::optional<std::string> command = BrowserCommand(*value)) {
            StartProgramMaximised(*command);
        }
    }
    const auto result = reinterpret_cast<INT_PTR>(
        ShellExecuteW(nullptr, nullptr, Widen(url).c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    SetForegroundWindow(m_hWnd);
    // Without a browser nothing would happen on screen: the user gets the address to copy.
    if (result <= 32) {
        MessageBoxW(m_hWnd, Widen(Tr(TEXT_PAGE_NOT_OPENED) + "\n" + url).c_str(), L"finder", MB_OK);
    }
}

void CFinderDlg::OnSelchangeLanguage() {
    m_language.OnSelchangeLanguage(*m_languageView);
}

// The texts beyond table `interface`, and the camera texts, which may read differently now.
void CFinderDlg::OnWindowTexts() {
    if (m_hAdslFrame != nullptr) {
        SetWindowTextUtf8(m_hAdslFrame, Tr(TEXT_FRAME_ADSL));
    }
    SetWindowTextUtf8(Control(IDC_LABEL_MAC), Tr(TEXT_FIELD_MAC));
    HWND list = Control(IDC_DEVICE_LIST);
    const int count = static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0));
    std::vector<int> slots;
    for (int i = 0; i < count; ++i) {
        slots.push_back(static_cast<int>(SendMessageW(list, LB_GETITEMDATA, i, 0)));
    }
    SendMessageW(list, LB_RESETCONTENT, 0, 0);
    for (int slot : slots) {
        const std::wstring entry = Widen(ListEntryText(m_roster.Record(slot), Codec()));
        const LRESULT index =
            SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.c_str()));
        SendMessageW(list, LB_SETITEMDATA, static_cast<WPARAM>(index), slot);
    }
    if (m_bSummaryShown) {
        ShowSearchSummary();
    }
}
