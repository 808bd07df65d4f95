#pragma once

#include <string>
#include <vector>

#include "core/messages/finder_texts.h"
#include "core/net/net_interfaces.h"
#include "core/worker/device_arrival.h"
#include "core/worker/network_worker.h"

// What the finder says about network cards and subnets. The window's words are WindowTexts
// (TEXT_SEARCH_* in finder_texts.h), shown in the user's language; the command line takes
// their English. "%1", "%2", ... are filled in order
// by FillText.

// "12 cameras on eth0, eth1": the cameras listed and the cards they answered on.
std::string FoundText(int cameras, const std::vector<std::string>& cardNames,
                      const TextLookup& tr = EnglishText);

// The first line when nothing answered: the cards searched, or that there were none.
std::string NothingFoundText(const std::vector<NetInterface>& searched,
                             const TextLookup& tr = EnglishText);

// The warning for a camera outside the subnet of the card it answered on.
std::string ForeignSubnetText(const DeviceRecord& record, const ReplyArrival& arrival,
                              const TextLookup& tr = EnglishText);

// The card's name for the user, or TEXT_SEARCH_CARD_UNKNOWN.
std::string CardName(const ReplyArrival& arrival, const TextLookup& tr = EnglishText);

// "the system refused 153 of 153 queries to --to addresses (Network is unreachable)": the
// unicast queries of a search that never left, and the system's word on the first of them.
// Empty when every one went out.
std::string RefusedTargetsText(const SearchSent& sent, const TextLookup& tr = EnglishText);
