#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "core/wire/device_table.h"
#include "core/worker/device_arrival.h"

// The cameras one search found, as both front ends keep them: the table by MAC, the card
// each answered on, the order in which they were first listed, and the replies the full
// table had no room for. Every send starts a new search and clears it.
class CCameraRoster {
public:
    CCameraRoster();

    void Clear();

    // Takes a reply in. The slot it went to, or MERGE_DROPPED (counted) when the table was
    // full; added tells whether the camera is new to this search.
    struct Merge {
        int slot = MERGE_DROPPED;
        bool added = false;
    };
    Merge Take(const DeviceRecord& record, const ReplyArrival& arrival);
    void CountDropped(std::uint64_t replies) { m_dropped += replies; }

    const DeviceTable& Table() const { return *m_table; }
    const DeviceRecord& Record(int slot) const { return m_table->slot[slot]; }
    const ReplyArrival& Arrival(int slot) const { return m_arrivals->slot[slot]; }
    const ArrivalTable& Arrivals() const { return *m_arrivals; }
    // The slots in the order their cameras first answered.
    const std::vector<int>& Listed() const { return m_listed; }
    std::uint64_t Dropped() const { return m_dropped; }

    // The slot of the camera with this MAC text (lower-case digits), or -1.
    int SlotOfMac(const std::string& macText) const;
    // The other listed cameras that answered with this slot's IP.
    std::vector<int> SameIpSlots(int slot) const;

    // New and gone cameras from one search to the next. A search begins when its query
    // goes out and ends when the front end sums it up; counts are against the search that
    // ended before it, and none before a first search has ended.
    struct SearchCounts {
        int added = 0;
        int gone = 0;
    };
    void BeginSearch();
    SearchCounts EndSearch();
    bool HasSearchBefore() const { return m_hasBefore; }
    // Whether the camera of this slot was not there in the search before.
    bool IsNew(int slot) const;

private:
    std::unique_ptr<DeviceTable> m_table;
    std::unique_ptr<ArrivalTable> m_arrivals;
    std::vector<int> m_listed;
    std::array<bool, DEVICE_TABLE_SLOTS> m_isListed{};
    std::uint64_t m_dropped = 0;
    std::set<std::string> m_before; // MACs of the search before this one
    std::set<std::string> m_ended;  // MACs of the last search that ended
    bool m_hasBefore = false;
    bool m_hasEnded = false;
};
