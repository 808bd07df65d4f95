#include "core/session/camera_roster.h"

CCameraRoster::CCameraRoster()
    : m_table(std::make_unique<DeviceTable>()), m_arrivals(std::make_unique<ArrivalTable>()) {
    Clear();
}

void CCameraRoster::Clear() {
    ClearTable(*m_table);
    ClearArrivals(*m_arrivals);
    m_listed.clear();
    m_isListed.fill(false);
    m_dropped = 0;
}

CCameraRoster::Merge CCameraRoster::Take(const DeviceRecord& record, const ReplyArrival& arrival) {
    const int slot = MergeRecord(*m_table, record);
    if (slot == MERGE_DROPPED) {
        ++m_dropped;
        return {};
    }
    m_arrivals->slot[slot] = arrival;
    const bool added = !m_isListed[static_cast<std::size_t>(slot)];
    if (added) {
        m_isListed[static_cast<std::size_t>(slot)] = true;
        m_listed.push_back(slot);
    }
    return {slot, added};
}

int CCameraRoster::SlotOfMac(const std::string& macText) const {
    for (int slot = 0; slot < DEVICE_TABLE_SLOTS; ++slot) {
        if (m_table->slot[slot].id != 0 && MacToText(m_table->slot[slot].mac) == macText) {
            return slot;
        }
    }
    return -1;
}

std::vector<int> CCameraRoster::SameIpSlots(int slot) const {
    std::vector<int> others;
    const DeviceRecord& record = m_table->slot[slot];
    for (const int listed : m_listed) {
        if (listed != slot && SameIp(record, m_table->slot[listed])) {
            others.push_back(listed);
        }
    }
    return others;
}

void CCameraRoster::BeginSearch() {
    if (m_hasEnded) {
        m_before = m_ended;
        m_hasBefore = true;
    }
}

CCameraRoster::SearchCounts CCameraRoster::EndSearch() {
    m_ended.clear();
    for (const int slot : m_listed) {
        m_ended.insert(MacToText(m_table->slot[slot].mac));
    }
    m_hasEnded = true;
    SearchCounts counts;
    if (!m_hasBefore) {
        return counts;
    }
    for (const std::string& mac : m_ended) {
        counts.added += m_before.count(mac) == 0 ? 1 : 0;
    }
    for (const std::string& mac : m_before) {
        counts.gone += m_ended.count(mac) == 0 ? 1 : 0;
    }
    return counts;
}

bool CCameraRoster::IsNew(int slot) const {
    return m_hasBefore && m_before.count(MacToText(m_table->slot[slot].mac)) == 0;
}
