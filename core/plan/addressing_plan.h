#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "core/encoding/text_codec.h"
#include "core/messages/window_text.h"
#include "core/net/net_interfaces.h"
#include "core/plan/change_plan.h"
#include "core/wire/device_table.h"
#include "core/wire/discovery_datagram.h"
#include "core/worker/device_arrival.h"

// The order the cameras of a plan take their addresses (and numbers) in: as given, or by
// MAC, by name or by current IP.
enum class PlanOrder { Given, Mac, Name, Ip };

// Addresses other hosts of the segment answer for: address (host order) -> the holder's MAC
// as MacToText writes it. A camera's own MAC at an address does not hold it against itself.
using HeldAddresses = std::map<uint32_t, std::string>;

// What a user asks of the addressing: the first IP (empty: the names alone change), the
// netmask and gateway (when not given, see PlanAddresses), the order, a template that
// numbers the names (empty: the names stay), whether a camera already placed keeps its
// address, and the addresses other hosts hold.
struct AddressingRequest {
    std::string firstIp;
    std::optional<std::string> netmask;
    std::optional<std::string> gateway;
    PlanOrder order = PlanOrder::Given;
    std::string nameTemplate;
    bool keepPlaced = false;
    HeldAddresses held{};
};

// The settings each camera is to take, in plan order (values typed in UTF-8, mac
// naming the camera), or why no plan can be made: a sentence that names the field at fault.
// warnings: the risks the addressing itself makes (a name cut to fit), by plan step; the
// user accepts them with the risks of the checks.
struct AddressingPlan {
    std::vector<ChangeValues> changes;
    std::string refusal;
    std::vector<PlanWarning> warnings;
};

// The cameras of slots (as given) in the order asked for; ties keep the given order.
std::vector<int> OrderCameras(const DeviceTable& table, std::vector<int> slots, PlanOrder order,
                              const CTextCodec& codec);

// A name from the template for the camera at place n (from 1): "{n}" is n, "{n:0W}" n with
// W digits at least (W from 1 to 9). Nothing for a template with any other brace.
std::optional<std::string> NameFromTemplate(const std::string& nameTemplate, int n);

// Addresses count up from the first IP and skip every address in use: the current IP of any
// camera of the table (but a camera may keep its own, unless another camera has it too),
// every gateway a camera reports, this PC's addresses, the plan's gateway, the addresses
// other hosts hold, and the subnet's network and broadcast addresses. With keepPlaced a
// camera whose IP is a free host address of the plan's subnet keeps it. A plan that runs
// out of addresses of the subnet is refused as a whole. Every camera takes a fixed address.
// The netmask and gateway not given follow the first IP: in the subnet of the cameras'
// card, the card's netmask, and its gateway where it has one (else each camera keeps its
// own); in the subnet of every camera's own, each keeps its netmask and gateway; else the
// plan is refused for want of the netmask. A name the template makes that the camera's
// field cannot hold is cut to fit and marked; names that only cut alike refuse the plan.
AddressingPlan PlanAddresses(const DeviceTable& table, const ArrivalTable& arrivals,
                             const std::vector<int>& slots, const AddressingRequest& request,
                             const std::vector<LocalNetwork>& localNetworks, const TextLookup& tr,
                             const CTextCodec& codec);

// The first IP the window proposes for the cameras of slots: the free address "Move into my
// network" proposes in the subnet of the card the first of them answered on. Nothing when
// that card or its subnet has none.
std::optional<std::string> ProposeFirstIp(const DeviceTable& table, const ArrivalTable& arrivals,
                                          const std::vector<int>& slots);

// The fields the addressing dialog proposes for a first IP (empty: ProposeFirstIp's), by
// the rule of PlanAddresses: the card's netmask and gateway where they apply, empty where
// each camera keeps its own or the user must give one.
struct AddressingFields {
    std::string firstIp;
    std::string netmask;
    std::string gateway;
};
AddressingFields ProposeAddressingFields(const DeviceTable& table, const ArrivalTable& arrivals,
                                         const std::vector<int>& slots, const std::string& firstIp);
