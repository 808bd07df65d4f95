// The addressing rule: where the addresses start, what they skip, the order and the names.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/plan/addressing_plan.h"
#include "tests/core/test_records.h"

namespace {

using core_test::Ip;

// Four cameras fresh from the box (one factory address), Lobby beside them, and an Office
// camera at 10.77.0.6 that no plan names; this PC is 10.77.0.5/24 on eth0, gateway .1.
struct Site {
    std::unique_ptr<DeviceTable> table = std::make_unique<DeviceTable>();
    std::unique_ptr<ArrivalTable> arrivals = std::make_unique<ArrivalTable>();
    std::vector<int> slots; // the plan's cameras, as given

    Site() {
        ClearTable(*table);
        ClearArrivals(*arrivals);
        const struct {
            const char* name;
            uint8_t mac;
            const char* ip;
        } cameras[] = {{"IPCAM", 0x04, "192.168.1.64"}, {"IPCAM", 0x02, "192.168.1.64"},
                       {"Yard", 0x03, "192.168.1.64"},  {"Gate", 0x01, "192.168.1.64"},
                       {"Lobby", 0x05, "10.77.0.9"},    {"Office", 0x06, "10.77.0.6"}};
        for (const auto& c : cameras) {
            DeviceRecord record = core_test::Camera(0, c.ip);
            record.mac[5] = c.mac;
            SetFieldText(record.name, c.name);
            const int slot = MergeRecord(*table, record);
            arrivals->slot[slot] = {"eth0", Ip("10.77.0.5"), 24, Ip("10.77.0.1"), 0, false};
            slots.push_back(slot);
        }
        slots.pop_back(); // Office stays out of every plan
    }

    AddressingPlan Plan(AddressingRequest request, std::size_t cameras = 4) const {
        const std::vector<int> some(slots.begin(), slots.begin() + static_cast<long>(cameras));
        return PlanAddresses(*table, *arrivals, some, request, {{Ip("10.77.0.5"), 0xFFFFFF00}},
                             EnglishText, CTextCodec());
    }
};

std::string Column(const AddressingPlan& plan, std::string ChangeValues::*field) {
    std::string joined;
    for (const ChangeValues& values : plan.changes) {
        joined += (joined.empty() ? "" : " ") + values.*field;
    }
    return joined;
}

TEST(AddressingPlan, AddressesSkipEveryAddressInUseAndRunOutAsAWhole) {
    const Site site;
    const struct {
        const char* firstIp;
        std::size_t cameras;
        const char* ips; // nullptr: refused
    } cases[] = {
        // The gateway, this PC and Office's address are skipped.
        {"10.77.0.1", 4, "10.77.0.2 10.77.0.3 10.77.0.4 10.77.0.7"},
        {"10.77.0.0", 1, "10.77.0.2"}, // the network address, then the gateway
        // Lobby's address is in use until Lobby itself comes (see the order by IP).
        {"10.77.0.8", 5, "10.77.0.8 10.77.0.10 10.77.0.11 10.77.0.12 10.77.0.13"},
        {"10.77.0.251", 3, "10.77.0.251 10.77.0.252 10.77.0.253"},
        {"10.77.0.252", 4, nullptr}, // .255 is the broadcast address
        // Four cameras share the factory address: none may keep it.
        {"192.168.1.64", 1, "192.168.1.65"},
    };
    for (const auto& c : cases) {
        AddressingRequest request;
        request.firstIp = c.firstIp;
        if (c.firstIp == std::string("192.168.1.64")) {
            request.netmask = "255.255.255.0";
            request.gateway = "192.168.1.1";
        }
        const AddressingPlan plan = site.Plan(request, c.cameras);
        SCOPED_TRACE(c.firstIp);
        if (c.ips == nullptr) {
            EXPECT_EQ(plan.refusal, "10.77.0.0/24 has no free address left from 10.77.0.252 on "
                                    "for the 4 cameras");
            EXPECT_TRUE(plan.changes.empty());
            continue;
        }
        EXPECT_EQ(plan.refusal, "");
        EXPECT_EQ(Column(plan, &ChangeValues::ip), c.ips);
    }
}

TEST(AddressingPlan, TheCardGivesMaskAndGatewayAndEveryCameraTakesAFixedAddress) {
    Site site;
    site.table->slot[site.slots[1]].netMode[2] = 0x01; // one camera on DHCP
    AddressingRequest request;
    request.firstIp = "10.77.0.20";
    const AddressingPlan plan = site.Plan(request);
    ASSERT_EQ(plan.changes.size(), 4u);
    EXPECT_EQ(Column(plan, &ChangeValues::netmask),
              "255.255.255.0 255.255.255.0 255.255.255.0 255.255.255.0");
    EXPECT_EQ(Column(plan, &ChangeValues::gateway), "10.77.0.1 10.77.0.1 10.77.0.1 10.77.0.1");
    EXPECT_NE(plan.changes[1].mode, NetMode::Dhcp);
    EXPECT_EQ(plan.changes[0].mac, "000000000004");

    site.arrivals->slot[site.slots[0]].interfaceAddress = 0; // a card without an address
    request.firstIp = "172.16.0.10";
    EXPECT_EQ(site.Plan(request, 1).refusal,
              "the network card of the cameras has no address, so the netmask is not known: give "
              "one");
    request.netmask = "255.0.255.0";
    EXPECT_EQ(site.Plan(request, 1).refusal.rfind("Submask: 255.0.255.0 is not a subnet mask", 0),
              0u);
}

TEST(AddressingPlan, OrderAndTemplateNumberTheNames) {
    const Site site;
    const struct {
        PlanOrder order;
        const char* nameTemplate;
        const char* macs;  // the last digits of each MAC, in plan order
        const char* names; // nullptr: refused
    } cases[] = {
        {PlanOrder::Given, "Dock {n:02}", "4 2 3 1", "Dock 01 Dock 02 Dock 03 Dock 04"},
        {PlanOrder::Mac, "{n}-cam", "1 2 3 4", "1-cam 2-cam 3-cam 4-cam"},
        {PlanOrder::Name, "", "1 4 2 3", "Gate IPCAM IPCAM Yard"}, // ties keep the given order
        {PlanOrder::Given, "Dock {x}", "", nullptr},
    };
    for (const auto& c : cases) {
        AddressingRequest request;
        request.firstIp = "10.77.0.100";
        request.order = c.order;
        request.nameTemplate = c.nameTemplate;
        const AddressingPlan plan = site.Plan(request);
        SCOPED_TRACE(c.nameTemplate);
        if (c.names == nullptr) {
            EXPECT_EQ(plan.refusal, "Names: \"Dock {x}\" is not a name template: {n} stands for "
                                    "the camera's place in the plan, {n:02} for the same with two "
                                    "digits");
            continue;
        }
        std::string macs;
        for (const ChangeValues& values : plan.changes) {
            macs += std::string(macs.empty() ? "" : " ") + values.mac.back();
        }
        EXPECT_EQ(macs, c.macs);
        EXPECT_EQ(Column(plan, &ChangeValues::name), c.names);
    }
    AddressingRequest byIp;
    byIp.firstIp = "10.77.0.9";
    byIp.order = PlanOrder::Ip;
    const AddressingPlan plan = site.Plan(byIp, 5);
    ASSERT_EQ(plan.changes.size(), 5u);
    EXPECT_EQ(plan.changes.front().mac, "000000000005");
    EXPECT_EQ(Column(plan, &ChangeValues::ip),
              "10.77.0.9 10.77.0.10 10.77.0.11 10.77.0.12 10.77.0.13")
        << "Lobby, first by IP, keeps its own";
}

TEST(AddressingPlan, NameTemplates) {
    const struct {
        const char* nameTemplate;
        int n;
        const char* name; // nullptr: not a template
    } cases[] = {
        {"{n}", 7, "7"},         {"Dock {n:02}", 7, "Dock 07"},
        {"{n:03}", 12, "012"},   {"{n:02}", 123, "123"},
        {"a{n}b{n}", 7, "a7b7"}, {"plain", 7, "plain"},
        {"{n", 7, nullptr},      {"n}", 7, nullptr},
        {"{n:2}", 7, nullptr},   {"{N}", 7, nullptr},
        {"{n:00}", 7, nullptr},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(NameFromTemplate(c.nameTemplate, c.n).value_or("(refused)"),
                  c.name != nullptr ? c.name : "(refused)")
            << c.nameTemplate;
    }
}

} // namespace
