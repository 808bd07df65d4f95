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
        const char* names; // else the refusal
    } cases[] = {
        {PlanOrder::Given, "Dock {n:02}", "4 2 3 1", "Dock 01 Dock 02 Dock 03 Dock 04"},
        {PlanOrder::Mac, "{n}-cam", "1 2 3 4", "1-cam 2-cam 3-cam 4-cam"},
        {PlanOrder::Name, "", "1 4 2 3", "Gate IPCAM IPCAM Yard"}, // ties keep the given order
        {PlanOrder::Given, "Dock {x}", "",
         "Names: \"Dock {x}\" is not a name template: {n} stands for the camera's place in the "
         "plan, {n:02} for the same with two digits"},
        // Cut to the camera's 16 bytes, these names would read alike.
        {PlanOrder::Given, "大门摄像机{n:02}", "",
         "Names: the names of \"大门摄像机{n:02}\" do not fit the camera's 16 bytes, and cut to "
         "fit, two of them read \"大门摄像机0\""},
    };
    for (const auto& c : cases) {
        AddressingRequest request;
        request.firstIp = "10.77.0.100";
        request.order = c.order;
        request.nameTemplate = c.nameTemplate;
        const AddressingPlan plan = site.Plan(request);
        SCOPED_TRACE(c.nameTemplate);
        if (c.macs[0] == '\0') {
            EXPECT_EQ(plan.refusal, c.names);
            EXPECT_TRUE(plan.changes.empty());
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

// Without a netmask or gateway given, the first IP says where they come from; nobody asked
// for 0.0.0.0, so none is written.
TEST(AddressingPlan, MaskAndGatewayFollowTheFirstIpAndKeepWhatNobodyAskedToChange) {
    const char* gateways[] = {"10.77.0.254", "192.168.1.1", "0.0.0.0", "10.77.0.254"};
    const struct {
        const char* firstIp;
        const char* netmask; // given, or nullptr
        bool cardGateway;
        const char* masks; // nullptr: refused
        const char* gatewaysAfter;
        const char* ips;
    } cases[] = {
        {"10.77.0.20", nullptr, true, "255.255.255.0 255.255.255.0 255.255.255.0 255.255.255.0",
         "10.77.0.1 10.77.0.1 10.77.0.1 10.77.0.1", "10.77.0.20 10.77.0.21 10.77.0.22 10.77.0.23"},
        // A card without a gateway: each camera keeps its own.
        {"10.77.0.20", nullptr, false, "255.255.255.0 255.255.255.0 255.255.255.0 255.255.255.0",
         "10.77.0.254 192.168.1.1 0.0.0.0 10.77.0.254",
         "10.77.0.20 10.77.0.21 10.77.0.22 10.77.0.23"},
        // Inside the box's own subnet: its masks and gateways stay; .1, a gateway, is in use.
        {"192.168.1.1", nullptr, true, "255.255.0.0 255.255.255.0 255.255.255.0 255.255.255.0",
         "10.77.0.254 192.168.1.1 0.0.0.0 10.77.0.254",
         "192.168.1.2 192.168.1.3 192.168.1.4 192.168.1.5"},
        {"172.16.0.10", nullptr, true, nullptr, "", ""},
        {"172.16.0.10", "255.255.0.0", true, "255.255.0.0 255.255.0.0 255.255.0.0 255.255.0.0",
         "10.77.0.254 192.168.1.1 0.0.0.0 10.77.0.254",
         "172.16.0.10 172.16.0.11 172.16.0.12 172.16.0.13"},
    };
    for (const auto& c : cases) {
        Site site;
        for (std::size_t i = 0; i < 4; ++i) {
            SetFieldText(site.table->slot[site.slots[i]].gateway, gateways[i]);
            site.arrivals->slot[site.slots[i]].gateway = c.cardGateway ? Ip("10.77.0.1") : 0;
        }
        SetFieldText(site.table->slot[site.slots[0]].netmask, "255.255.0.0");
        AddressingRequest request;
        request.firstIp = c.firstIp;
        if (c.netmask != nullptr) {
            request.netmask = c.netmask;
        }
        const AddressingPlan plan = site.Plan(request);
        SCOPED_TRACE(std::string(c.firstIp) + (c.cardGateway ? " card gateway" : ""));
        if (c.masks == nullptr) {
            EXPECT_EQ(plan.refusal, "Submask: the first IP 172.16.0.10 lies neither in "
                                    "10.77.0.0/24, the subnet of the cameras' network card, nor "
                                    "in the cameras' own subnet, so the netmask is not known: "
                                    "give one");
            EXPECT_TRUE(plan.changes.empty());
            continue;
        }
        ASSERT_EQ(plan.refusal, "");
        EXPECT_EQ(Column(plan, &ChangeValues::netmask), c.masks);
        EXPECT_EQ(Column(plan, &ChangeValues::gateway), c.gatewaysAfter);
        EXPECT_EQ(Column(plan, &ChangeValues::ip), c.ips);
        if (!c.cardGateway) { // the checks see the gateway the camera kept outside its subnet
            CChangePlan checked(*site.table, *site.arrivals, plan.changes);
            ASSERT_FALSE(checked.Validate({}, EnglishText, CTextCodec()));
            ASSERT_EQ(checked.Warnings().size(), 1u);
            EXPECT_EQ(checked.Warnings()[0].step, 1u);
            EXPECT_NE(checked.Warnings()[0].sentence.find("192.168.1.1"), std::string::npos);
        }
    }
}

// What the dialog proposes follows the same rule.
TEST(AddressingPlan, TheDialogsFieldsFollowTheFirstIp) {
    Site site;
    const std::vector<int> box(site.slots.begin(), site.slots.begin() + 4);
    AddressingFields fields = ProposeAddressingFields(*site.table, *site.arrivals, box, "");
    EXPECT_EQ(fields.firstIp, "10.77.0.7"); // above this PC's .5; Office has .6
    EXPECT_EQ(fields.netmask + " " + fields.gateway, "255.255.255.0 10.77.0.1");
    fields = ProposeAddressingFields(*site.table, *site.arrivals, box, "192.168.1.100");
    EXPECT_EQ(fields.netmask + "|" + fields.gateway, "|") << "each camera keeps its own";
    for (const int slot : box) {
        site.arrivals->slot[slot].gateway = 0;
    }
    fields = ProposeAddressingFields(*site.table, *site.arrivals, box, "10.77.0.30");
    EXPECT_EQ(fields.netmask + "|" + fields.gateway, "255.255.255.0|") << "no 0.0.0.0";
}

// Addresses other hosts hold, gateways cameras report, and cameras already placed.
TEST(AddressingPlan, HeldAndReportedAddressesAreSkippedAndPlacedCamerasMayStay) {
    const struct {
        const char* firstIp;
        bool keepPlaced;
        HeldAddresses held;
        const char* ips;
    } cases[] = {
        {"10.77.0.20",
         false,
         {{Ip("10.77.0.21"), "001b210a0b0c"}},
         "10.77.0.20 10.77.0.22 10.77.0.23 10.77.0.24 10.77.0.25"},
        // Office (no camera of the plan) reports .26 as its gateway.
        {"10.77.0.24", false, {}, "10.77.0.24 10.77.0.25 10.77.0.27 10.77.0.28 10.77.0.29"},
        {"10.77.0.100", false, {}, "10.77.0.100 10.77.0.101 10.77.0.102 10.77.0.103 10.77.0.104"},
        {"10.77.0.100", true, {}, "10.77.0.100 10.77.0.101 10.77.0.102 10.77.0.103 10.77.0.9"},
        // Lobby's own address held by Lobby is no conflict; held by another host it is.
        {"10.77.0.100",
         true,
         {{Ip("10.77.0.9"), "000000000005"}},
         "10.77.0.100 10.77.0.101 10.77.0.102 10.77.0.103 10.77.0.9"},
        {"10.77.0.100",
         true,
         {{Ip("10.77.0.9"), "001b210a0b0c"}},
         "10.77.0.100 10.77.0.101 10.77.0.102 10.77.0.103 10.77.0.104"},
        // Four cameras share the factory address: none of them is placed; Lobby lies outside.
        {"192.168.1.10",
         true,
         {},
         "192.168.1.10 192.168.1.11 192.168.1.12 192.168.1.13 192.168.1.14"},
    };
    Site site;
    SetFieldText(site.table->slot[site.slots.back() + 1].gateway, "10.77.0.26"); // Office
    for (const auto& c : cases) {
        AddressingRequest request;
        request.firstIp = c.firstIp;
        request.keepPlaced = c.keepPlaced;
        request.held = c.held;
        if (c.firstIp == std::string("192.168.1.10")) {
            request.netmask = "255.255.255.0";
        }
        SCOPED_TRACE(std::string(c.firstIp) + (c.keepPlaced ? " kept" : ""));
        const AddressingPlan plan = site.Plan(request, 5);
        EXPECT_EQ(plan.refusal, "");
        EXPECT_EQ(Column(plan, &ChangeValues::ip), c.ips);
    }
}

// Names that do not fit the camera's 16 bytes are cut, each such row marked. Without a first
// IP only the names change.
TEST(AddressingPlan, NamesAreCutToFitAndMarked) {
    const Site site;
    const struct {
        const char* firstIp;
        const char* nameTemplate;
        const char* names;
        std::size_t marked;
    } cases[] = {
        {"10.77.0.100", "Gate {n} Northside",
         "Gate 1 Northside Gate 2 Northside Gate 3 Northside Gate 4 Northside", 0},
        {"10.77.0.100", "Gate {n} North-east",
         "Gate 1 North-eas Gate 2 North-eas Gate 3 North-eas Gate 4 North-eas", 4},
        {"", "Dock {n}", "Dock 1 Dock 2 Dock 3 Dock 4", 0},
    };
    for (const auto& c : cases) {
        AddressingRequest request;
        request.firstIp = c.firstIp;
        request.nameTemplate = c.nameTemplate;
        const AddressingPlan plan = site.Plan(request);
        SCOPED_TRACE(c.nameTemplate);
        ASSERT_EQ(plan.refusal, "");
        EXPECT_EQ(Column(plan, &ChangeValues::name), c.names);
        ASSERT_EQ(plan.warnings.size(), c.marked);
        for (std::size_t step = 0; step < c.marked; ++step) {
            EXPECT_EQ(plan.warnings[step].step, step);
        }
        if (c.marked > 0) {
            EXPECT_EQ(plan.warnings[3].sentence, "the name \"Gate 4 North-east\" does not fit "
                                                 "the camera's 16 bytes: it becomes \"Gate 4 "
                                                 "North-eas\"");
            CChangePlan checked(*site.table, *site.arrivals, plan.changes);
            EXPECT_FALSE(checked.Validate({}, EnglishText, CTextCodec())) << "the cut names fit";
        }
        if (c.firstIp[0] == '\0') {
            EXPECT_EQ(Column(plan, &ChangeValues::ip),
                      "192.168.1.64 192.168.1.64 192.168.1.64 192.168.1.64");
            EXPECT_EQ(Column(plan, &ChangeValues::gateway), "") << "nothing but the names";
        }
    }
}

} // namespace
