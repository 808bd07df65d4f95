// A plan of many changes: checked as a whole, confirmed by shared rounds, its report.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "core/plan/change_plan.h"
#include "core/plan/plan_report.h"
#include "core/session/editable_values.h"
#include "tests/core/test_records.h"

namespace {

using core_test::Ip;

// Three cameras at their factory address on eth0 (this PC 10.77.0.5/24), the third found by
// a query to its own address; and a read-only one.
struct Site {
    std::unique_ptr<DeviceTable> table = std::make_unique<DeviceTable>();
    std::unique_ptr<ArrivalTable> arrivals = std::make_unique<ArrivalTable>();

    Site() {
        ClearTable(*table);
        ClearArrivals(*arrivals);
        for (uint8_t mac = 1; mac <= 4; ++mac) {
            DeviceRecord record = core_test::Camera(0, "192.168.1.64");
            record.mac[5] = mac;
            record.readOnly = mac == 4;
            SetFieldText(record.name, "IPCAM");
            const uint8_t dhcp[4] = {0xFF, 0xFF, 0x01, 0xFF};
            std::copy(dhcp, dhcp + 4, record.netMode);
            const int slot = MergeRecord(*table, record);
            arrivals->slot[slot] = {"eth0", Ip("10.77.0.5"), 24, 0, Ip("192.168.1.64"), mac == 3};
        }
    }

    const DeviceRecord& Camera(uint8_t mac) const { return *FindSetTarget(*table, Mac(mac)); }
    static std::string Mac(uint8_t mac) { return "00000000000" + std::to_string(mac); }

    // Camera mac to a fixed ip (and name).
    ChangeValues Move(uint8_t mac, const char* ip, const char* name = "IPCAM") const {
        ChangeValues values = EditableValues(Camera(mac), CTextCodec());
        values.ip = ip;
        values.name = name;
        values.mode = NetMode::Static;
        return values;
    }

    CChangePlan Plan(std::vector<ChangeValues> changes) const {
        return CChangePlan(*table, *arrivals, std::move(changes));
    }
};

const std::vector<LocalNetwork> THIS_PC = {{Ip("10.77.0.5"), 0xFFFFFF00}};

TEST(ChangePlan, OneRefusedChangeRefusesThePlanAndNamesItsCameraAndSetting) {
    const Site site;
    const struct {
        std::vector<ChangeValues> changes;
        std::size_t step;
        unsigned setting;
        const char* reason;
    } cases[] = {
        {{site.Move(1, "10.77.0.6"), site.Move(4, "10.77.0.7")},
         1,
         0,
         "the camera is read-only: it takes no changes"},
        {{site.Move(1, "10.77.0.6"), site.Move(2, "10.77.0.255")},
         1,
         SETTING_IP,
         "IP: 10.77.0.255 is the broadcast address of its subnet, not one a camera can have. "
         "Nothing was sent."},
        {{site.Move(1, "10.77.0.6"), site.Move(2, "10.77.0.6")},
         0,
         SETTING_IP,
         "the IP 10.77.0.6 is planned for 000000000002 (IPCAM) too"},
        {{[&] {
             ChangeValues values = site.Move(1, "10.77.0.6");
             values.newMac = Site::Mac(2);
             return values;
         }()},
         0,
         SETTING_NEW_MAC,
         "Mac: 000000000002 is already the MAC of the camera IPCAM, which answers with it. "
         "Nothing was sent."},
        {{site.Move(1, "10.77.0.6", "a name of seventeen")},
         0,
         SETTING_NAME,
         "Name: the text is too long. The camera keeps 16 bytes of it in UTF-8: only the first "
         "16 characters fit. Nothing was sent."},
    };
    for (const auto& c : cases) {
        CChangePlan plan = site.Plan(c.changes);
        const std::optional<PlanRefusal> refusal =
            plan.Validate(THIS_PC, EnglishText, CTextCodec());
        ASSERT_TRUE(refusal) << c.reason;
        EXPECT_EQ(refusal->step, c.step);
        EXPECT_EQ(refusal->setting, c.setting);
        EXPECT_EQ(refusal->reason, c.reason);
    }
}

TEST(ChangePlan, RisksAreTheCamerasOwnAndAChangeOfNothingIsUnchanged) {
    const Site site;
    ChangeValues same = EditableValues(site.Camera(2), CTextCodec());
    CChangePlan plan = site.Plan({site.Move(1, "10.99.0.6"), same, site.Move(3, "10.77.0.8")});
    ASSERT_FALSE(plan.Validate(THIS_PC, EnglishText, CTextCodec()));
    ASSERT_EQ(plan.Warnings().size(), 1u);
    EXPECT_EQ(plan.Warnings()[0].step, 0u);
    EXPECT_EQ(plan.CameraText(0, EnglishText, CTextCodec(), plan.Warnings()[0].sentence),
              "000000000001 (IPCAM): The IP 10.99.0.6 lies outside every network of this PC: the "
              "finder will lose sight of the camera.");
    EXPECT_EQ(plan.State(1), PlanState::Unchanged);
    EXPECT_EQ(plan.ToSend(), (std::vector<std::size_t>{0, 2}));
    EXPECT_EQ(plan.Command(2).address, Ip("192.168.1.64")) << "found at its own address";
    EXPECT_EQ(plan.Command(0).interfaceName, "eth0");

    const std::vector<PlanReportRow> rows = PlanReport(plan, FormatOptions{CTextCodec()});
    EXPECT_EQ(ChangesText(rows[2].changes), "ip 192.168.1.64 -> 10.77.0.8, mode DHCP -> STATIC");
    EXPECT_EQ(rows[1].result, "unchanged");
    EXPECT_EQ(rows[0].result, "planned");
    EXPECT_EQ(rows[0].detail, plan.Warnings()[0].sentence);
}

// One query round answers for every camera waited for; the last round settles the rest.
TEST(ChangePlan, SharedRoundsConfirmEachCameraByItsOwnReply) {
    const Site site;
    CChangePlan plan =
        site.Plan({site.Move(1, "10.77.0.6", "Dock 1"), site.Move(2, "10.77.0.7", "Dock 2"),
                   site.Move(3, "10.77.0.8", "Dock 3")});
    ASSERT_FALSE(plan.Validate(THIS_PC, EnglishText, CTextCodec()));
    for (const std::size_t step : plan.ToSend()) {
        plan.MarkSent(step);
    }
    // Its old address is a search target already: the camera answered a query sent there.
    EXPECT_EQ(plan.QueryTargets(), (std::vector<uint32_t>{Ip("10.77.0.8")}));
    EXPECT_EQ(plan.Schedule(), CONFIRM_SCHEDULE_MS);

    plan.StartRound();
    plan.OnReply(plan.After(0));  // took it
    plan.OnReply(site.Camera(2)); // answers as before; 3 is silent
    EXPECT_FALSE(plan.EndRound(false));
    EXPECT_EQ(plan.State(0), PlanState::Confirmed);
    EXPECT_EQ(plan.State(1), PlanState::Sent);
    plan.StartRound();
    plan.OnReply(site.Camera(2));
    EXPECT_TRUE(plan.EndRound(true));

    const std::vector<PlanReportRow> rows = PlanReport(plan, FormatOptions{CTextCodec()});
    EXPECT_EQ(rows[0].result, "confirmed");
    EXPECT_EQ(rows[0].name, "Dock 1");
    EXPECT_EQ(rows[1].result, "not confirmed");
    EXPECT_EQ(rows[1].detail, "IPCAM did not take the new settings: Name is \"IPCAM\", not "
                              "\"Dock 2\" as sent; IP is \"192.168.1.64\", not \"10.77.0.7\" as "
                              "sent; Mode is \"DHCP\", not \"STATIC\" as sent");
    EXPECT_EQ(rows[2].detail, "IPCAM did not answer: it may be restarting; press Update in a "
                              "minute");
}

TEST(ChangePlan, AStopSaysWhichRequestsWentOut) {
    const Site site;
    CChangePlan plan = site.Plan(
        {site.Move(1, "10.77.0.6"), site.Move(2, "10.77.0.7"), site.Move(3, "10.77.0.8")});
    ASSERT_FALSE(plan.Validate(THIS_PC, EnglishText, CTextCodec()));
    plan.MarkSent(0);
    plan.MarkFailed(1, "ERR: sendto error! Errorcode =101");
    plan.Stop();
    EXPECT_FALSE(plan.Waiting());
    const std::vector<PlanReportRow> rows = PlanReport(plan, FormatOptions{CTextCodec()});
    EXPECT_EQ(rows[0].detail, "sent; stopped before it confirmed");
    EXPECT_EQ(rows[1].detail, "not sent: ERR: sendto error! Errorcode =101");
    EXPECT_EQ(rows[2].detail, "not sent: stopped before its turn");
    for (const PlanReportRow& row : rows) {
        EXPECT_EQ(row.result, "not confirmed");
    }
    EXPECT_EQ(
        PlanReportCsv({rows[2]}),
        "mac,name,changes,result,detail\r\n00:00:00:00:00:03,IPCAM,\"ip 192.168.1.64 -> "
        "10.77.0.8, mode DHCP -> STATIC\",not confirmed,not sent: stopped before its turn\r\n");
    EXPECT_EQ(PlanReportJson({rows[0]}),
              "[\n  {\"mac\": \"000000000001\", \"name\": \"IPCAM\", \"changes\": {\"ip\": "
              "{\"from\": \"192.168.1.64\", \"to\": \"10.77.0.6\"}, \"mode\": {\"from\": \"DHCP\", "
              "\"to\": \"STATIC\"}}, \"result\": \"not confirmed\", \"detail\": \"sent; stopped "
              "before it confirmed\"}\n]\n");
}

// The risks of many cameras, asked as one: a line per kind with its count, a kind of one
// camera naming it; each camera in the details. A plan of one asks its sentences alone.
TEST(ChangePlan, RisksAreGroupedByKindForOneQuestion) {
    const Site site;
    std::vector<ChangeValues> changes;
    for (uint8_t mac = 1; mac <= 3; ++mac) {
        changes.push_back(site.Move(mac, ("10.77.0." + std::to_string(mac + 10)).c_str()));
        changes.back().gateway = "10.78.0.1";
    }
    changes[2].ip = "10.99.0.13"; // out of sight as well
    CChangePlan plan = site.Plan(changes);
    ASSERT_FALSE(plan.Validate(THIS_PC, EnglishText, CTextCodec()));
    const RiskQuestion many = plan.Risks(EnglishText, CTextCodec());
    EXPECT_EQ(many.text, "3 cameras get a gateway outside their new subnet, so they cannot reach "
                         "it.\n000000000003 (IPCAM): The IP 10.99.0.13 lies outside every network "
                         "of this PC: the finder will lose sight of the camera.");
    EXPECT_EQ(std::count(many.details.begin(), many.details.end(), '\n'), 3);
    EXPECT_EQ(many.details.substr(0, many.details.find('\n')),
              "000000000001 (IPCAM): The gateway 10.78.0.1 lies outside the camera's new subnet "
              "10.77.0.0/24, so the camera cannot reach it.");

    CChangePlan one = site.Plan({changes[2]});
    ASSERT_FALSE(one.Validate(THIS_PC, EnglishText, CTextCodec()));
    const RiskQuestion single = one.Risks(EnglishText, CTextCodec());
    EXPECT_EQ(single.text, "The gateway 10.78.0.1 lies outside the camera's new subnet "
                           "10.99.0.0/24, so the camera cannot reach it.\nThe IP 10.99.0.13 "
                           "lies outside every network of this PC: the finder will lose sight of "
                           "the camera.");
    EXPECT_TRUE(single.details.empty());
}

} // namespace
