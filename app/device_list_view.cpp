#include "app/device_list_view.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QHelpEvent>
#include <QListWidget>
#include <QMenu>
#include <QPainter>
#include <QPixmap>
#include <QSaveFile>
#include <QStyle>
#include <QToolTip>

#include <cstring>

#include "app/browser_command.h"
#include "app/desktop_hooks.h"
#include "app/device_url.h"
#include "app/encoding_menu.h"
#include "app/qt_helpers.h"
#include "app/window_context.h"
#include "core/messages/fill_text.h"
#include "core/messages/finder_texts.h"
#include "core/present/device_format.h"
#include "core/present/device_list.h"
#include "core/rules/address_proposal.h"
#include "core/session/camera_roster.h"
#include "core/status/search_texts.h"
#include "core/wire/subnet.h"

// What an entry keeps beside its text: its slot, and the name bytes it was listed with,
// which a later reply of the same MAC may not change.
constexpr int ENTRY_SLOT_ROLE = Qt::UserRole;
constexpr int ENTRY_NAME_ROLE = Qt::UserRole + 1;

CDeviceListView::CDeviceListView(QListWidget* list, const CCameraRoster& roster,
                                 const CWindowContext& context, CEncodingMenu& encodings)
    : QObject(list), m_list(list), m_roster(roster), m_context(context), m_encodings(encodings),
      m_entryOfSlot(DEVICE_TABLE_SLOTS, nullptr), m_ipOfSlot(DEVICE_TABLE_SLOTS) {
    m_list->setSortingEnabled(true);
    m_list->setSelectionMode(QAbstractItemView::ExtendedSelection); // Ctrl, Shift, Ctrl+A
    m_list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // The mark of a camera outside its card's subnet, no taller than an entry's text.
    m_list->setIconSize(QSize(11, 11));
    // Only a change of the selection, or of the entry the panel follows within it, fills the
    // panel: a click on the entry already selected keeps what the user typed there.
    connect(m_list, &QListWidget::itemSelectionChanged, this, &CDeviceListView::SelectionChanged);
    connect(m_list, &QListWidget::currentItemChanged, this, &CDeviceListView::SelectionChanged);
    connect(m_list, &QListWidget::itemDoubleClicked, this, &CDeviceListView::OnOpenPage);
    // The right button's menu (which also picks the encoding of camera texts, so the layout
    // stays); the entries' tips are made as they are shown.
    m_list->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_list, &QListWidget::customContextMenuRequested, this,
            &CDeviceListView::OnDeviceListMenu);
    m_list->viewport()->installEventFilter(this);
    // The tray's tip counts the cameras listed: it follows every entry added and every
    // clearing.
    const QAbstractItemModel* model = m_list->model();
    // The model answers, not the list: the list may be in its destructor when rows go.
    const auto count = [this, model] { emit CountChanged(model->rowCount()); };
    connect(model, &QAbstractItemModel::rowsInserted, this, count);
    connect(model, &QAbstractItemModel::rowsRemoved, this, count);
    connect(model, &QAbstractItemModel::modelReset, this, count);
}

// Each slot keeps its entry, so a camera that answers again finds it at once, whatever the
// number of entries. The entry's text stays as it was first listed; its mark follows the
// camera, which may answer with another IP or on another card.
void CDeviceListView::OnTaken(int slot, bool added) {
    QListWidgetItem*& entry = m_entryOfSlot[static_cast<std::size_t>(slot)];
    if (added) {
        const DeviceRecord& record = m_roster.Record(slot);
        entry = new QListWidgetItem(Utf8Text(ListEntryText(record, m_context.Codec())));
        entry->setData(ENTRY_SLOT_ROLE, slot);
        entry->setData(ENTRY_NAME_ROLE, QByteArray(record.name, sizeof(record.name)));
        m_list->addItem(entry);
    }
    Decorate(entry, slot);
    DecorateSameIp(slot);
}

// The cameras that share an IP with this one carry the conflict's mark too, and so do
// the ones it shared its old IP with: they may have lost theirs.
void CDeviceListView::DecorateSameIp(int slot) {
    std::string& ip = m_ipOfSlot[static_cast<std::size_t>(slot)];
    const std::string now = FieldText(m_roster.Record(slot).ip);
    std::vector<int> others = m_roster.SameIpSlots(slot);
    if (ip == now && others.empty()) {
        return; // the common case: a camera answering again, with no one beside it
    }
    if (ip != now) {
        for (const int listed : m_roster.Listed()) {
            if (listed != slot && FieldText(m_roster.Record(listed).ip) == ip) {
                others.push_back(listed);
            }
        }
        ip = now;
    }
    for (const int other : others) {
        if (QListWidgetItem* entry = m_entryOfSlot[static_cast<std::size_t>(other)]) {
            Decorate(entry, other);
        }
    }
}

void CDeviceListView::Clear() {
    m_list->clear();
    std::fill(m_entryOfSlot.begin(), m_entryOfSlot.end(), nullptr);
    std::fill(m_ipOfSlot.begin(), m_ipOfSlot.end(), std::string());
}

int CDeviceListView::Count() const {
    return m_list->count();
}

std::optional<int> CDeviceListView::SlotOf(const QListWidgetItem* item) const {
    // An entry the roster did not make has no slot at all.
    const QVariant data = item != nullptr ? item->data(ENTRY_SLOT_ROLE) : QVariant();
    if (!data.isValid()) {
        return std::nullopt;
    }
    const int slot = data.toInt();
    if (m_roster.Record(slot).id == 0) {
        return std::nullopt;
    }
    return slot;
}

std::optional<int> CDeviceListView::SelectedSlot() const {
    QListWidgetItem* current = m_list->currentItem();
    if (current != nullptr && current->isSelected()) {
        return SlotOf(current);
    }
    const QList<QListWidgetItem*> selected = m_list->selectedItems();
    return selected.isEmpty() ? std::nullopt : SlotOf(selected.front());
}

std::vector<int> CDeviceListView::SelectedSlots() const {
    std::vector<int> selected;
    for (int row = 0; row < m_list->count(); ++row) {
        QListWidgetItem* item = m_list->item(row);
        if (const std::optional<int> slot = item->isSelected() ? SlotOf(item) : std::nullopt) {
            selected.push_back(*slot);
        }
    }
    return selected;
}

void CDeviceListView::SelectByMac(const std::string& mac) {
    const int slot = m_roster.SlotOfMac(mac);
    if (slot < 0) {
        return;
    }
    if (QListWidgetItem* entry = m_entryOfSlot[static_cast<std::size_t>(slot)]) {
        m_list->setCurrentItem(entry);
        m_list->scrollToItem(entry);
    }
}

// The entry's name as it was listed, read with the codec as it is now.
QString CDeviceListView::EntryText(const QListWidgetItem* entry, int slot) const {
    DeviceRecord listed = m_roster.Record(slot);
    const QByteArray name = entry->data(ENTRY_NAME_ROLE).toByteArray();
    std::memcpy(listed.name, name.constData(), sizeof(listed.name));
    return Utf8Text(ListEntryText(listed, m_context.Codec()));
}

void CDeviceListView::ReadAgain() {
    for (int slot = 0; slot < DEVICE_TABLE_SLOTS; ++slot) {
        if (QListWidgetItem* entry = m_entryOfSlot[static_cast<std::size_t>(slot)]) {
            entry->setText(EntryText(entry, slot));
            Decorate(entry, slot); // its tip is in the window's language too
        }
    }
}

// The lines of an entry's tip that name the camera's IP, MAC and the card it answered on.
QString CDeviceListView::CardToolTip(int slot) const {
    const DeviceRecord& record = m_roster.Record(slot);
    const ReplyArrival& arrival = m_roster.Arrival(slot);
    const TextLookup tr = m_context.Lookup();
    std::string card = CardName(arrival, tr);
    if (arrival.interfaceAddress != 0) {
        card += " (" + InterfaceAddressText(arrival) + ")";
    }
    return Utf8Text(
        FillText(tr(TEXT_SEARCH_DEVICE_TIP), {FieldText(record.ip), MacToText(record.mac), card}));
}

// The lines of an entry's tip that warn of its address: other cameras with the same IP
// ("Name (mac)" each), an address the camera gave itself; and that it is new since the
// search before.
QString CDeviceListView::AddressToolTip(int slot) const {
    const DeviceRecord& record = m_roster.Record(slot);
    QString tip;
    std::string others;
    for (const int other : m_roster.SameIpSlots(slot)) {
        const DeviceRecord& camera = m_roster.Record(other);
        others += (others.empty() ? "" : ", ") +
                  m_context.Codec().Shown(FieldText(camera.name), ITEM_WIDTH_NAME) + " (" +
                  MacToText(camera.mac) + ")";
    }
    if (!others.empty()) {
        tip += QLatin1Char('\n') +
               m_context.TrFilled(TEXT_SEARCH_SAME_IP, {FieldText(record.ip), others});
    }
    if (IsLinkLocal(FieldText(record.ip))) {
        tip +=
            QLatin1Char('\n') + m_context.TrFilled(TEXT_SEARCH_LINK_LOCAL, {FieldText(record.ip)});
    }
    if (m_roster.IsNew(slot)) {
        tip += QLatin1Char('\n') + m_context.Tr(TEXT_SEARCH_NEW_CAMERA);
    }
    return tip;
}

// The whole tip of a list entry: the web page, the card the camera answered on, then the
// warnings of its address.
// A camera outside its card's subnet has an address but no page that opens from here: its
// tip does not offer the double-click.
QString CDeviceListView::EntryToolTip(int slot) const {
    const DeviceRecord& record = m_roster.Record(slot);
    const std::string url = DevicePageUrl(record);
    QString tip = QString::fromLatin1(url.data(), static_cast<qsizetype>(url.size()));
    if (SameSubnet(record, m_roster.Arrival(slot))) {
        tip = m_context.Tr(TEXT_TIP_DOUBLE_CLICK) + QLatin1Char('\n') + tip;
    }
    return tip + QLatin1Char('\n') + CardToolTip(slot) + AddressToolTip(slot);
}

// A mark in front of an entry's text (the text itself, and so the order, stay as listed):
// an IP that other cameras answer with too, a camera outside its card's subnet, a
// self-assigned IP, in that order of weight.
void CDeviceListView::Decorate(QListWidgetItem* entry, int slot) const {
    entry->setToolTip(EntryToolTip(slot));
    const DeviceRecord& record = m_roster.Record(slot);
    QStyle* style = m_list->style();
    if (!m_roster.SameIpSlots(slot).empty()) {
        entry->setIcon(style->standardIcon(QStyle::SP_MessageBoxCritical));
    } else if (!SameSubnet(record, m_roster.Arrival(slot))) {
        entry->setIcon(style->standardIcon(QStyle::SP_MessageBoxWarning));
    } else if (IsLinkLocal(FieldText(record.ip))) {
        entry->setIcon(style->standardIcon(QStyle::SP_MessageBoxInformation));
    } else {
        // Every entry gets an icon, a blank one when unmarked, so that the texts line up.
        QPixmap blank(m_list->iconSize());
        blank.fill(Qt::transparent);
        entry->setIcon(QIcon(blank));
    }
}

// The menu acts on the entry under the pointer, which becomes the selection as a left
// click would make it, unless it is part of the selection already (a plan's cameras stay
// selected); away from any entry only the export and the plans are offered.
void CDeviceListView::OnDeviceListMenu(QPoint point) {
    QListWidgetItem* item = m_list->itemAt(point);
    if (item != nullptr && !item->isSelected()) {
        m_list->setCurrentItem(item);
    } else if (item != nullptr) {
        // The panel follows the entry under the pointer, as a change of the current entry.
        m_list->setCurrentItem(item, QItemSelectionModel::NoUpdate);
    }
    const bool onCamera = item != nullptr && SelectedSlot().has_value();
    QMenu menu(Window());
    menu.addAction(m_context.Tr(TEXT_MENU_OPEN_PAGE), this, &CDeviceListView::OnOpenPage)
        ->setEnabled(onCamera);
    const struct {
        const WindowText& text;
        void (CDeviceListView::*handler)();
    } copyActions[] = {{TEXT_MENU_COPY_IP, &CDeviceListView::OnCopyIpAddress},
                       {TEXT_MENU_COPY_MAC, &CDeviceListView::OnCopyMacAddress},
                       {TEXT_MENU_COPY_ALL, &CDeviceListView::OnCopyAllAsText}};
    for (const auto& action : copyActions) {
        menu.addAction(m_context.Tr(action.text), this, action.handler)->setEnabled(onCamera);
    }
    menu.addSeparator();
    menu.addAction(m_context.Tr(TEXT_MENU_EXPORT), this, &CDeviceListView::OnExportList)
        ->setEnabled(m_list->count() > 0);
    menu.addSeparator();
    menu.addAction(m_context.Tr(TEXT_MENU_ADDRESS_SELECTED), this,
                   &CDeviceListView::AddressRequested)
        ->setEnabled(!SelectedSlots().empty());
    menu.addAction(m_context.Tr(TEXT_MENU_OPEN_PLAN), this, &CDeviceListView::OpenPlanRequested)
        ->setEnabled(m_list->count() > 0);
    menu.addSeparator();
    menu.addAction(m_context.Tr(TEXT_MENU_SEARCH_ADDRESSES), this,
                   &CDeviceListView::SearchAddressesRequested);
    menu.addMenu(m_encodings.MakeMenu(&menu));
    menu.exec(m_list->viewport()->mapToGlobal(point));
}

static void CopyText(const std::string& text) {
    QGuiApplication::clipboard()->setText(Utf8Text(text));
}

// Each copy reads the selection when it runs: a search may have emptied the list since.
void CDeviceListView::OnCopyIpAddress() {
    if (const std::optional<int> slot = SelectedSlot()) {
        CopyText(FieldText(m_roster.Record(*slot).ip));
    }
}

void CDeviceListView::OnCopyMacAddress() {
    if (const std::optional<int> slot = SelectedSlot()) {
        CopyText(MacToText(m_roster.Record(*slot).mac));
    }
}

// The camera as finder-cli's table shows it: a header line and its row.
void CDeviceListView::OnCopyAllAsText() {
    if (const std::optional<int> slot = SelectedSlot()) {
        CopyText(FormatTable({m_roster.Record(*slot)}, FormatOptions{m_context.Codec()}));
    }
}

std::vector<DeviceRecord> CDeviceListView::ListedDevices() const {
    std::vector<DeviceRecord> devices;
    for (int row = 0; row < m_list->count(); ++row) {
        if (const std::optional<int> slot = SlotOf(m_list->item(row))) {
            devices.push_back(m_roster.Record(*slot));
        }
    }
    return devices;
}

// The list in the order shown, as CSV or JSON by the file's extension or else the filter
// chosen. The file is written beside its place and renamed over it, so a failure leaves no
// half-written file, and an old file of that name stays as it was.
void CDeviceListView::OnExportList() {
    const QString csv = m_context.Tr(TEXT_EXPORT_CSV);
    const QString json = m_context.Tr(TEXT_EXPORT_JSON);
    QString filter = csv;
    QString path = AskSaveFile(Window(), m_context.Tr(TEXT_EXPORT_TITLE),
                               csv + QStringLiteral(";;") + json, &filter);
    if (path.isEmpty()) {
        return;
    }
    bool asJson = path.endsWith(QStringLiteral(".json"), Qt::CaseInsensitive);
    if (!asJson && !path.endsWith(QStringLiteral(".csv"), Qt::CaseInsensitive)) {
        asJson = filter == json;
        path += asJson ? QStringLiteral(".json") : QStringLiteral(".csv");
    }
    const std::vector<DeviceRecord> devices = ListedDevices();
    const FormatOptions options{m_context.Codec()};
    const std::string text = asJson ? FormatJson(devices, options) : FormatCsv(devices, options);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(text.data(), static_cast<qint64>(text.size())) !=
            static_cast<qint64>(text.size()) ||
        !file.commit()) {
        ShowMessage(Window(), QCoreApplication::applicationName(),
                    m_context.Tr(TEXT_EXPORT_FAILED).arg(path, file.errorString()));
    }
}

QWidget* CDeviceListView::Window() const {
    return m_list->window();
}

void CDeviceListView::OnOpenPage() {
    const std::optional<int> slot = SelectedSlot();
    if (!slot) {
        return;
    }
    const std::string url = DevicePageUrl(m_roster.Record(*slot));
    // Where the platform registers a browser, it starts maximised first, as the finder
    // always did there; the page itself goes to the desktop's handler either way.
    if (const std::optional<std::string> value = ReadBrowserRegistryValue()) {
        if (const std::optional<std::string> command = BrowserCommand(*value)) {
            StartProgramMaximised(*command);
        }
    }
    const QString page = QString::fromLatin1(url.data(), static_cast<qsizetype>(url.size()));
    Window()->raise();
    Window()->activateWindow();
    // Without a browser nothing would happen on screen: the user gets the address to copy.
    if (!OpenUrl(page)) {
        ShowMessage(Window(), QCoreApplication::applicationName(),
                    m_context.Tr(TEXT_PAGE_NOT_OPENED) + QLatin1Char('\n') + page);
    }
}

// An entry's tip is made when it is shown, so it always tells of the camera as it is now
// and of the card it answered on last.
// The event's type is looked at first: the list is not asked for anything while it is being
// destroyed, when its viewport still sends events.
bool CDeviceListView::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type == QEvent::Paint && watched == m_list->viewport()) {
        PaintEmptyNote(); // an empty list paints nothing over it
        return false;
    }
    if (type != QEvent::ToolTip || watched != m_list->viewport()) {
        return QObject::eventFilter(watched, event);
    }
    const auto* help = static_cast<QHelpEvent*>(event);
    QListWidgetItem* item = m_list->itemAt(help->pos());
    const std::optional<int> slot = SlotOf(item);
    if (!slot) {
        QToolTip::hideText();
        return true;
    }
    QToolTip::showText(help->globalPos(), EntryToolTip(*slot), m_list->viewport(),
                       m_list->visualItemRect(item));
    return true;
}

void CDeviceListView::ShowEmptyNote(const QString& note) {
    m_list->setAccessibleDescription(note);
    m_list->viewport()->update();
}

void CDeviceListView::PaintEmptyNote() {
    const QString note = m_list->accessibleDescription();
    if (m_list->count() > 0 || note.isEmpty()) {
        return;
    }
    QPainter painter(m_list->viewport());
    painter.setPen(m_list->palette().color(QPalette::PlaceholderText));
    painter.drawText(m_list->viewport()->rect().adjusted(4, 2, -4, -2),
                     Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, note);
}
