// A change of one camera through the session: from its editable values to its own word.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "core/session/change_flow.h"
#include "core/session/editable_values.h"

namespace {

struct CameraTable {
    std::unique_ptr<DeviceTable> table = std::make_unique<DeviceTable>();
    DeviceRecord& camera = table->slot[254];

    CameraTable() {
        ClearTable(*table);
        camera.id = 255;
        camera.mac[5] = 1;
        SetFieldText(camera.name, "Front door");
        SetFieldText(camera.ip, "192.168.1.20");
        SetFieldText(camera.netmask, "255.255.255.0");
        SetFieldText(camera.gateway, "192.168.1.1");
        camera.httpPort = 80;
        std::memset(camera.netMode, 0xFF, sizeof camera.netMode);
    }
};

TEST(ChangeFlow, EditableValuesSentBackUnchangedChangeNothing) {
    const CameraTable cameras;
    const ChangeValues values = EditableValues(cameras.camera, CTextCodec());
    EXPECT_EQ(values.mac, "000000000001");
    EXPECT_EQ(values.httpPort, "80");
    EXPECT_EQ(values.mode, NetMode::Static) << "0xFF mode bytes read STATIC";
    EXPECT_EQ(ChangedSettings(cameras.camera, values), 0u);
}

TEST(ChangeFlow, ARequestGoesOutOfItsCard) {
    const CameraTable cameras;
    ChangeValues values = EditableValues(cameras.camera, CTextCodec());
    values.ip = "192.168.1.30";
    CChangeFlow change(*cameras.table, cameras.camera, {"eth1", 0, 0, 0}, values);
    ASSERT_FALSE(change.EncodeTexts(CTextCodec()));
    EXPECT_TRUE(change.Check({}, EnglishText, CTextCodec()).refusal.empty());
    const WorkerCommand command = change.Command();
    EXPECT_EQ(command.interfaceName, "eth1");
    EXPECT_EQ(command.address, 0u) << "found by broadcast: sent as one";
    EXPECT_TRUE(change.ConfirmTargets().empty()) << "a broadcast finds it at its new IP too";

    DiscoveryDatagram expected;
    BuildSetRequest(expected, *cameras.table, values);
    EXPECT_EQ(std::memcmp(command.datagram.bytes, expected.bytes, sizeof expected.bytes), 0);
}

TEST(ChangeFlow, ACameraFoundAtItsAddressIsSentToThereAndAskedAtItsNewOne) {
    const CameraTable cameras;
    ChangeValues values = EditableValues(cameras.camera, CTextCodec());
    ReplyArrival arrival{"eth4", 0x0A010005, 24, 0};
    arrival.sender = 0xC0A80114; // 192.168.1.20, behind a router
    arrival.unicast = true;
    values.name = "Yard";
    EXPECT_EQ(CChangeFlow(*cameras.table, cameras.camera, arrival, values).Command().address,
              0xC0A80114u);
    EXPECT_TRUE(
        CChangeFlow(*cameras.table, cameras.camera, arrival, values).ConfirmTargets().empty())
        << "its address stays a search target";
    values.ip = "192.168.1.40";
    EXPECT_EQ(CChangeFlow(*cameras.table, cameras.camera, arrival, values).ConfirmTargets(),
              std::vector<uint32_t>{0xC0A80128u});
}

TEST(ChangeFlow, ATextTheCameraCannotHoldIsRefusedAndLeavesTheValues) {
    const CameraTable cameras;
    ChangeValues values = EditableValues(cameras.camera, CTextCodec());
    values.name = "a name longer than sixteen bytes";
    CChangeFlow change(*cameras.table, cameras.camera, {}, values);
    const std::optional<PanelTextRefusal> refusal = change.EncodeTexts(CTextCodec());
    ASSERT_TRUE(refusal);
    EXPECT_EQ(refusal->setting, SETTING_NAME);
    EXPECT_EQ(refusal->width, ITEM_WIDTH_NAME);
    EXPECT_EQ(change.Values().name, values.name);
}

} // namespace
