#pragma once

#include <initializer_list>
#include <string>
#include <vector>

#include "protocol/device_arrival.h"
#include "protocol/net_interfaces.h"

// Every text the finder shows about network cards and subnets, in English, in one place, so
// that the window, the command line and the translations use the same words.

// Status texts of the worker for the cases of sending out of every card.
constexpr char SEARCH_ERR_NO_CARD[] =
    "ERR: no network card to search! None is up with an IPv4 address and broadcast\n";
constexpr char SEARCH_ERR_EVERY_CARD_FAILED[] = "ERR: sendto error on every network card! %s\n";
constexpr char SEARCH_PARTLY_SENT[] = "OK, but not sent on %s";
constexpr char SEARCH_ERR_CARD_GONE[] =
    "ERR: the network card %s the camera answered on is gone! Press Update\n";

// The window's and the command line's words.
constexpr char SEARCH_FOUND_ONE[] = "1 camera on %s";
constexpr char SEARCH_FOUND_MANY[] = "%d cameras on %s";
constexpr char SEARCH_NOTHING_FOUND[] = "No camera answered on %s";
constexpr char SEARCH_NO_CARD_SEARCHED[] = "No network card was searched";
constexpr char SEARCH_LIKELY_CAUSES[] =
    "Likely causes: no network card is up (cable unplugged), a firewall drops UDP port 3566, "
    "or the cameras are powered off or on another network segment.";
constexpr char SEARCH_TABLE_FULL[] = "%d replies dropped: the list holds 255 cameras";
constexpr char SEARCH_FOREIGN_SUBNET[] =
    "%s is not in this PC's network %s on %s: its web page cannot open from here";
constexpr char SEARCH_MOVE_INTO_NETWORK[] = "Move into my network";
constexpr char SEARCH_NO_FREE_ADDRESS[] = "No free address is left in %s";
constexpr char SEARCH_CARD_UNKNOWN[] = "a network card that has gone";
constexpr char SEARCH_DEVICE_TIP[] = "IP: %s\nMAC: %s\nInterface: %s";

// A template above with its "%s" (and "%d") filled in.
std::string FillTexts(const char* format, std::initializer_list<std::string> texts);
std::string FillText(const char* format, const std::string& text);
std::string FillCount(const char* format, int count, const std::string& text = "");

// "12 cameras on eth0, eth1": the cameras listed and the cards they answered on.
std::string FoundText(int cameras, const std::vector<std::string>& cardNames);

// The first line when nothing answered: the cards searched, or that there were none.
std::string NothingFoundText(const std::vector<NetInterface>& searched);

// The warning for a camera outside the subnet of the card it answered on.
std::string ForeignSubnetText(const DeviceRecord& record, const ReplyArrival& arrival);

// The card's name for the user, or SEARCH_CARD_UNKNOWN.
std::string CardName(const ReplyArrival& arrival);
