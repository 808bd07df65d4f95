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

// The sentences when nothing answered a search out of endpoints: where it searched (then
// after, such as " within 3000 ms"), the likely causes and, with search targets, that some
// cameras answer only a broadcast. Each front end lays them out.
std::vector<std::string> NothingAnsweredSentences(const WorkerEndpoints& endpoints,
                                                  bool searchTargets, const std::string& after,
                                                  const TextLookup& tr = EnglishText);

// The warning for a camera outside the subnet of the card it answered on.
std::string ForeignSubnetText(const DeviceRecord& record, const ReplyArrival& arrival,
                              const TextLookup& tr = EnglishText);

// The card's name for the user, or TEXT_SEARCH_CARD_UNKNOWN.
std::string CardName(const ReplyArrival& arrival, const TextLookup& tr = EnglishText);
