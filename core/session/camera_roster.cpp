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
