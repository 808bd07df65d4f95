#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/encoding/text_codec.h"
#include "core/messages/window_text.h"
#include "core/net/net_interfaces.h"
#include "core/wire/device_table.h"
#include "core/wire/discovery_datagram.h"
#include "core/worker/device_arrival.h"

// The order the cameras of a plan take their addresses (and numbers) in: as given, or by
// MAC, by name or by current IP.
enum class PlanOrder { Given, Mac, Name, Ip };

// What a user asks of the addressing: the first IP, and the netmask and gateway (when not
// given, those of the card the cameras answered on, as "Move into my network" proposes
// them), the order, and a template that numbers the names (empty: the names stay).
struct AddressingRequest {
    std::string firstIp;
    std::optional<std::string> netmask;
    std::optional<std::string> gateway;
    PlanOrder order = PlanOrder::Given;
    std::string nameTemplate;
};

// The settings each camera is to take, in plan order (values typed in UTF-8, mac
// naming the camera), or why no plan can be made: a sentence that names the field at fault.
struct AddressingPlan {
    std::vector<ChangeValues> changes;
    std::string refusal;
    std::string netmask; // as used
    std::string gateway;
};

// The cameras of slots (as given) in the order asked for; ties keep the given order.
std::vector<int> OrderCameras(const DeviceTable& table, std::vector<int> slots, PlanOrder order,
                              const CTextCodec& codec);

// A name from the template for the camera at place n (from 1): "{n}" is n, "{n:0W}" n with
// W digits at least (W from 1 to 9). Nothing for a template with any other brace.
std::optional<std::string> NameFromTemplate(const std::string& nameTemplate, int n);

// Addresses count up from the first IP and skip every address in use: the current IP of any
// camera of the table (but a camera may keep its own, unless another camera has it too),
// this PC's addresses, the gateway, and the subnet's network and broadcast addresses. A
// plan that runs out of addresses of the subnet is refused as a whole. Every camera takes
// a fixed address.
AddressingPlan PlanAddresses(const DeviceTable& table, const ArrivalTable& arrivals,
                             const std::vector<int>& slots, const AddressingRequest& request,
                             const std::vector<LocalNetwork>& localNetworks, const TextLookup& tr,
                             const CTextCodec& codec);

// The first IP the window proposes for the cameras of slots: the free address "Move into my
// network" proposes in the subnet of the card the first of them answered on. Nothing when
// that card or its subnet has none.
std::optional<std::string> ProposeFirstIp(const DeviceTable& table, const ArrivalTable& arrivals,
                                          const std::vector<int>& slots);
