// The details panel: what a selection shows, what Submit sends, what it refuses, Update.

#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include <algorithm>
#include <cstring>
#include <ostream>

#include "core/net/udp_socket.h"
#include "tests/app/finder_fixture.h"

namespace {

class PanelTest : public FinderDlgTest {
protected:
    void SetUp() override {
        StartFinder(TestCameras(), WithMarker());
        ASSERT_TRUE(WaitForList(m_expected));
    }
    virtual bool WithMarker() const { return false; }

    void ExpectChecked(bool pppoe, bool dhcp, bool statik) {
        EXPECT_EQ(Radio(m_dlg, IDC_MODE_PPPOE)->isChecked(), pppoe);
        EXPECT_EQ(Radio(m_dlg, IDC_MODE_DHCP)->isChecked(), dhcp);
        EXPECT_EQ(Radio(m_dlg, IDC_MODE_STATIC)->isChecked(), statik);
    }

    void ExpectEnabled(bool addresses, bool pppoe, bool rest) {
        EXPECT_EQ(Edit(m_dlg, IDC_IP)->isEnabled(), addresses);
        EXPECT_EQ(Edit(m_dlg, IDC_NETMASK)->isEnabled(), addresses);
        EXPECT_EQ(Edit(m_dlg, IDC_GATEWAY)->isEnabled(), addresses);
        EXPECT_EQ(Edit(m_dlg, IDC_PPPOE_ACCOUNT)->isEnabled(), pppoe);
        EXPECT_EQ(Edit(m_dlg, IDC_PPPOE_PASSWORD)->isEnabled(), pppoe);
        for (QWidget* control : std::initializer_list<QWidget*>{
                 Edit(m_dlg, IDC_NAME), Edit(m_dlg, IDC_HTTP_PORT), Edit(m_dlg, IDC_NEW_MAC),
                 Radio(m_dlg, IDC_MODE_PPPOE), Radio(m_dlg, IDC_MODE_DHCP),
                 Radio(m_dlg, IDC_MODE_STATIC), SkinButton(m_dlg, IDC_SUBMIT)}) {
            EXPECT_EQ(control->isEnabled(), rest) << control->property(CONTROL_ID_PROPERTY).toInt();
        }
        EXPECT_TRUE(SkinButton(m_dlg, IDC_UPDATE)->isEnabled());
    }

    QString Info() const { return Label(m_dlg, IDC_INFO)->text(); }

    // Presses Submit and waits for the set request to reach the camera.
    std::string SubmitAndReceive() {
        const std::size_t before = m_peer->Requests().size();
        QTest::mouseClick(SkinButton(m_dlg, IDC_SUBMIT), Qt::LeftButton);
        if (!QTest::qWaitFor([&] { return m_peer->Requests().size() == before + 1; }, 5000)) {
            return {};
        }
        return m_peer->Requests().back();
    }

    void ExpectPanelCleared() {
        EXPECT_TRUE(QTest::qWaitFor(
            [&] {
                return MacGroup(m_dlg)->title() == QLatin1String("ffffffffffff") &&
                       DeviceList(m_dlg)->count() == 0;
            },
            5000));
        EXPECT_TRUE(Edit(m_dlg, IDC_NAME)->text().isEmpty());
        EXPECT_TRUE(Edit(m_dlg, IDC_IP)->text().isEmpty());
        EXPECT_TRUE(Edit(m_dlg, IDC_HTTP_PORT)->text().isEmpty());
        EXPECT_TRUE(Info().isEmpty());
        ExpectChecked(false, false, false);
        EXPECT_EQ(DeviceList(m_dlg)->count(), 0);
        EXPECT_EQ(CountOccupied(m_dlg->Table()), 0);
    }
};

// The set request's bytes, written out by hand: magic, items, zeros up to 256.
std::string Request(std::initializer_list<std::vector<uint8_t>> items) {
    std::vector<uint8_t> bytes = {'R', 'Z', '8', '8', '0'};
    for (const auto& item : items) {
        bytes.insert(bytes.end(), item.begin(), item.end());
    }
    bytes.resize(256, 0);
    return sim::HexLine(bytes.data(), bytes.size());
}

std::vector<uint8_t> TextItem(uint8_t type, std::size_t width, const char* text) {
    std::vector<uint8_t> item = {type, static_cast<uint8_t>(width)};
    std::vector<uint8_t> value(width, 0);
    std::memcpy(value.data(), text, std::min(width, std::strlen(text)));
    item.insert(item.end(), value.begin(), value.end());
    return item;
}

const std::vector<uint8_t> FRONT_DOOR_MAC = {0x10, 6, 0x02, 0x00, 0x5e, 0x00, 0x00, 0x01};
const std::vector<uint8_t> MODE_STATIC = {0x1f, 4, 0xff, 0xff, 0xff, 0xff};

TEST_F(PanelTest, StaticDeviceShowsItsSettings) {
    Select(QStringLiteral("Front door"));
    EXPECT_EQ(MacGroup(m_dlg)->title(), QStringLiteral("02005e000001"));
    EXPECT_EQ(Edit(m_dlg, IDC_NAME)->text(), QStringLiteral("Front door"));
    EXPECT_EQ(Edit(m_dlg, IDC_IP)->text(), QStringLiteral("192.168.1.20"));
    EXPECT_EQ(Edit(m_dlg, IDC_NETMASK)->text(), QStringLiteral("255.255.255.0"));
    EXPECT_EQ(Edit(m_dlg, IDC_GATEWAY)->text(), QStringLiteral("192.168.1.1"));
    EXPECT_EQ(Edit(m_dlg, IDC_HTTP_PORT)->text(), QStringLiteral("80"));
    EXPECT_EQ(Info(), QStringLiteral("IP Get:STATIC\r\nVersion:2.1.0\r\n"));
    ExpectChecked(false, false, true);
    ExpectEnabled(true, false, true);
}

// The info line reads the mode as the radios do: a DHCP camera no longer reads "STATIC".
TEST_F(PanelTest, DhcpAsASetRequestSendsItShowsDhcpInTextAndRadio) {
    Select(QStringLiteral("Lobby")); // FF FF 01 FF
    EXPECT_EQ(Info(), QStringLiteral("IP Get:DHCP\r\nVersion:1.0\r\n"));
    EXPECT_EQ(Edit(m_dlg, IDC_HTTP_PORT)->text(), QStringLiteral("8080"));
    ExpectChecked(false, true, false);
    ExpectEnabled(false, false, true);
}

TEST_F(PanelTest, BothDhcpBytesOnShowDhcp) {
    Select(QStringLiteral("Mixed")); // FF FF 01 00
    EXPECT_EQ(Info(), QStringLiteral("IP Get:DHCP\r\nVersion:2.0.0\r\n"));
    ExpectChecked(false, true, false);
    ExpectEnabled(false, false, true);
}

TEST_F(PanelTest, PppoeDeviceKeepsItsAccountFieldsDisabledUntilPppoeIsClicked) {
    Select(QStringLiteral("Roof PPPoE")); // 01 FF FF FF
    EXPECT_EQ(Info(), QStringLiteral("IP Get:PPPOE\r\nVersion:2.1.1\r\n"));
    EXPECT_EQ(Edit(m_dlg, IDC_PPPOE_ACCOUNT)->text(), QStringLiteral("roof@isp.example"));
    EXPECT_EQ(Edit(m_dlg, IDC_PPPOE_PASSWORD)->text(), QStringLiteral("Pa55w0rd"));
    ExpectChecked(true, false, false);
    ExpectEnabled(false, false, true);

    QTest::mouseClick(Radio(m_dlg, IDC_MODE_PPPOE), Qt::LeftButton);
    ExpectChecked(true, false, false); // clicking the checked radio keeps it checked
    ExpectEnabled(false, true, true);
}

TEST_F(PanelTest, ReadOnlyDeviceDisablesEverythingButUpdate) {
    Select(QStringLiteral("Server RO"));
    EXPECT_EQ(Edit(m_dlg, IDC_NAME)->text(), QStringLiteral("Server RO"));
    ExpectChecked(false, false, true);
    ExpectEnabled(false, false, false);

    Select(QStringLiteral("Front door")); // the next selection enables them again
    ExpectEnabled(true, false, true);
}

TEST_F(PanelTest, ClickingTheSelectedEntryAgainKeepsTheEdits) {
    Select(QStringLiteral("Front door"));
    Retype(Edit(m_dlg, IDC_NAME), QStringLiteral("typed"));
    QTest::mouseClick(Radio(m_dlg, IDC_MODE_DHCP), Qt::LeftButton);
    Select(QStringLiteral("Front door"));
    EXPECT_EQ(Edit(m_dlg, IDC_NAME)->text(), QStringLiteral("typed"));
    ExpectChecked(false, true, false);
}

TEST_F(PanelTest, ModeRadiosUncheckTheOthersAndSetTheFields) {
    Select(QStringLiteral("Front door"));
    QTest::mouseClick(Radio(m_dlg, IDC_MODE_DHCP), Qt::LeftButton);
    ExpectChecked(false, true, false);
    ExpectEnabled(false, false, true);
    QTest::mouseClick(Radio(m_dlg, IDC_MODE_PPPOE), Qt::LeftButton);
    ExpectChecked(true, false, false);
    ExpectEnabled(false, true, true);
    QTest::mouseClick(Radio(m_dlg, IDC_MODE_STATIC), Qt::LeftButton);
    ExpectChecked(false, false, true);
    ExpectEnabled(true, false, true);
    EXPECT_EQ(Edit(m_dlg, IDC_IP)->text(), QStringLiteral("192.168.1.20")) << "texts stay";
}

TEST_F(PanelTest, SubmitSendsOnlyTheChangedNameAndClearsThePanel) {
    Select(QStringLiteral("Front door"));
    Retype(Edit(m_dlg, IDC_NAME), QStringLiteral("Front gate"));
    EXPECT_EQ(SubmitAndReceive(),
              Request({FRONT_DOOR_MAC, TextItem(0x20, 16, "Front gate"), MODE_STATIC}));
    ExpectPanelCleared();
    EXPECT_EQ(m_peer->Devices().front().name, "Front gate");
    EXPECT_TRUE(g_shownMessages.empty());
}

TEST_F(PanelTest, SubmitSendsAddressAndPortInTheirWireForms) {
    Select(QStringLiteral("Front door"));
    Retype(Edit(m_dlg, IDC_IP), QStringLiteral("192.168.1.99"));
    Retype(Edit(m_dlg, IDC_HTTP_PORT), QStringLiteral("8088"));
    EXPECT_EQ(
        SubmitAndReceive(),
        Request(
            {FRONT_DOOR_MAC, {0x11, 4, 192, 168, 1, 99}, TextItem(0x14, 5, "8088"), MODE_STATIC}));
    ExpectPanelCleared();
}

TEST_F(PanelTest, SubmitSendsTheChosenMode) {
    Select(QStringLiteral("Front door"));
    QTest::mouseClick(Radio(m_dlg, IDC_MODE_DHCP), Qt::LeftButton);
    EXPECT_EQ(SubmitAndReceive(), Request({FRONT_DOOR_MAC, {0x1f, 4, 0xff, 0xff, 0x01, 0xff}}));
}

TEST_F(PanelTest, SubmitIsEnabledOnlyWhileThePanelHoldsASelectedCamera) {
    EXPECT_FALSE(SkinButton(m_dlg, IDC_SUBMIT)->isEnabled());
    QTest::mouseClick(SkinButton(m_dlg, IDC_SUBMIT), Qt::LeftButton);
    Select(QStringLiteral("Front door"));
    EXPECT_TRUE(SkinButton(m_dlg, IDC_SUBMIT)->isEnabled());
    QTest::mouseClick(SkinButton(m_dlg, IDC_UPDATE), Qt::LeftButton);
    EXPECT_FALSE(SkinButton(m_dlg, IDC_SUBMIT)->isEnabled())
        << "the fields no longer match a listed camera";
    ASSERT_TRUE(WaitForList(m_expected));
    Select(QStringLiteral("Front door"));
    Retype(Edit(m_dlg, IDC_NAME), QStringLiteral("Front gate"));
    EXPECT_FALSE(SubmitAndReceive().empty());
    ExpectPanelCleared();
    EXPECT_FALSE(SkinButton(m_dlg, IDC_SUBMIT)->isEnabled());
    const std::vector<std::string> received = m_peer->Requests();
    EXPECT_EQ(std::count(received.begin(), received.end(), Request({})), 0) << "no bare magic";
}

TEST_F(PanelTest, UpdateEmptiesTheListAndItRefills) {
    Select(QStringLiteral("Front door"));
    ASSERT_TRUE(WaitForReceived(SEARCH_QUERY_COPIES)) << "the first search's copies";
    QTest::mouseClick(SkinButton(m_dlg, IDC_UPDATE), Qt::LeftButton);
    EXPECT_EQ(DeviceList(m_dlg)->count(), 0);
    EXPECT_EQ(CountOccupied(m_dlg->Table()), 0);
    EXPECT_TRUE(WaitForList(m_expected));
    ASSERT_TRUE(WaitForReceived(SEARCH_QUERY_COPIES + 1));
    EXPECT_EQ(m_peer->Received()[0], m_peer->Received()[SEARCH_QUERY_COPIES]) << "a second query";
}

// A camera answering again keeps its one entry; only a camera not listed yet gets one.
TEST_F(PanelTest, ARepeatedReplyAddsNoSecondEntry) {
    const std::vector<SimDevice> cameras = TestCameras();
    SimDevice newcomer = cameras[0];
    newcomer.name = "Newcomer";
    newcomer.mac[5] = 0x42;
    CUdpSocket sender;
    ASSERT_EQ(sender.Open(), 0);
    sockaddr_in finder{};
    ASSERT_TRUE(MakeSocketAddress("127.0.0.1", m_peer->Endpoints().localPort, finder));
    for (const SimDevice& camera : {cameras[0], cameras[3], newcomer}) {
        const std::vector<uint8_t> reply = sim::EncodeReply(camera);
        ASSERT_EQ(sender.SendTo(reply.data(), reply.size(), finder), 0);
    }
    // Replies are taken in order: once the newcomer is listed, the two repeats were seen.
    ASSERT_TRUE(QTest::qWaitFor([&] { return Entry(QStringLiteral("Newcomer")) != nullptr; }));
    EXPECT_EQ(DeviceList(m_dlg)->count(), m_expected + 1);
    EXPECT_EQ(CountOccupied(m_dlg->Table()), m_expected + 1);
}

// An entry keeps the name it was listed with until the list is cleared, also when the
// window reads it again in another language.
TEST_F(PanelTest, AnEntryKeepsItsFirstNameThroughALanguagePick) {
    SimDevice first = TestCameras()[0];
    first.name = "Dup A";
    first.mac[5] = 0x50;
    SimDevice second = first;
    second.name = "Dup B";
    CUdpSocket sender;
    ASSERT_EQ(sender.Open(), 0);
    sockaddr_in finder{};
    ASSERT_TRUE(MakeSocketAddress("127.0.0.1", m_peer->Endpoints().localPort, finder));
    const auto send = [&](const SimDevice& camera) {
        const std::vector<uint8_t> reply = sim::EncodeReply(camera);
        ASSERT_EQ(sender.SendTo(reply.data(), reply.size(), finder), 0);
    };
    send(first);
    ASSERT_TRUE(QTest::qWaitFor([&] { return Entry(QStringLiteral("Dup A")) != nullptr; }));
    send(second);
    ASSERT_TRUE(QTest::qWaitFor([&] {
        return std::any_of(std::begin(m_dlg->Table().slot), std::end(m_dlg->Table().slot),
                           [](const DeviceRecord& r) { return FieldText(r.name) == "Dup B"; });
    }));
    for (int language : {1, 0}) {
        LanguageList(m_dlg)->setCurrentIndex(language);
        emit LanguageList(m_dlg)->activated(language);
        EXPECT_NE(Entry(QStringLiteral("Dup A")), nullptr) << language;
        EXPECT_EQ(Entry(QStringLiteral("Dup B")), nullptr) << language;
    }
}

// An entry at or beyond the number of occupied slots selects nothing, even when its number
// names an occupied slot.
TEST_F(PanelTest, AnEntryBeyondTheOccupiedSlotsSelectsNothing) {
    QListWidget* list = DeviceList(m_dlg);
    const QString lastId = list->item(list->count() - 1)->text().section(QLatin1Char(' '), 0, 0);
    list->addItem(lastId + QStringLiteral(" zzz")); // sorts last
    QListWidgetItem* stray = list->item(list->count() - 1);
    ASSERT_EQ(list->row(stray), CountOccupied(m_dlg->Table()));
    ASSERT_EQ(stray->text(), lastId + QStringLiteral(" zzz"));
    list->scrollToItem(stray);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(stray).center());
    ASSERT_TRUE(stray->isSelected());
    EXPECT_EQ(MacGroup(m_dlg)->title(), QStringLiteral("ffffffffffff"));
    EXPECT_TRUE(Edit(m_dlg, IDC_NAME)->text().isEmpty());
    ExpectChecked(false, false, false);
}

// A refused value leaves the panel as typed, says which field, and sends nothing. Which
// values are refused is the core's table of cases; here, that a refusal reaches the user.
struct BadInput {
    const char* field;
    int edit; // the field's template id
    const char* text;
    const char* mended; // a good value that changes the setting
};

// Names the case in the test list instead of dumping the struct's bytes.
void PrintTo(const BadInput& input, std::ostream* out) {
    *out << input.field << " \"" << input.text << '"';
}

class RefusedInputTest : public PanelTest, public ::testing::WithParamInterface<BadInput> {
protected:
    bool WithMarker() const override { return true; }
};

TEST_P(RefusedInputTest, LeavesThePanelAsTypedAndSendsNothing) {
    const BadInput& input = GetParam();
    Select(QStringLiteral("Front door"));
    QLineEdit* edit = Edit(m_dlg, input.edit);
    Retype(edit, QString::fromLatin1(input.text));
    ASSERT_EQ(edit->text(), QString::fromLatin1(input.text));

    QTest::mouseClick(SkinButton(m_dlg, IDC_SUBMIT), Qt::LeftButton);
    ASSERT_EQ(g_shownMessages.size(), 1u);
    EXPECT_TRUE(g_shownMessages[0].text.startsWith(QLatin1String(input.field)))
        << g_shownMessages[0].text.toStdString();
    EXPECT_TRUE(g_shownMessages[0].text.contains(QLatin1String(input.text)));

    QTest::qWait(300); // time enough for a request to arrive, were one sent
    EXPECT_EQ(m_peer->Requests().size(), 1u);
    EXPECT_EQ(edit->text(), QString::fromLatin1(input.text));
    EXPECT_EQ(MacGroup(m_dlg)->title(), QStringLiteral("02005e000001"));
    EXPECT_EQ(DeviceList(m_dlg)->count(), m_expected);

    // Mended, the same panel goes out without a question.
    Retype(edit, QString::fromLatin1(input.mended));
    EXPECT_FALSE(SubmitAndReceive().empty());
    EXPECT_EQ(g_shownMessages.size(), 1u);
    EXPECT_TRUE(g_askedQuestions.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Fields, RefusedInputTest,
    ::testing::Values(BadInput{"IP", IDC_IP, "192.168.1", "192.168.1.21"},
                      BadInput{"Mac", IDC_NEW_MAC, "02005e00000g", "02005e0000aa"},
                      BadInput{"Submask", IDC_NETMASK, "255.0.255.0", "255.255.0.0"},
                      BadInput{"Mac", IDC_NEW_MAC, "01005e0000aa", "02005e0000aa"}),
    [](const ::testing::TestParamInfo<BadInput>& info) {
        std::string name = info.param.field;
        name.erase(std::remove(name.begin(), name.end(), ' '), name.end());
        return name + std::to_string(info.index);
    });

TEST_F(PanelTest, ATextLongerThanTheCameraKeepsIsRefused) {
    Select(QStringLiteral("Front door"));
    // Plain ASCII now, so the new name goes out as UTF-8: 22 bytes for a 16-byte field.
    Retype(Edit(m_dlg, IDC_NAME), QString::fromUtf8("门口摄像机 camera"));
    QTest::mouseClick(SkinButton(m_dlg, IDC_SUBMIT), Qt::LeftButton);
    ASSERT_EQ(g_shownMessages.size(), 1u);
    EXPECT_EQ(
        g_shownMessages[0].text,
        QStringLiteral("Name: the text is too long. The camera keeps 16 bytes of it in UTF-8: "
                       "only the first 6 characters fit. Nothing was sent."));
    QTest::qWait(300);
    EXPECT_EQ(m_peer->Requests().size(), 1u);
}

// Device texts are bytes: shown as the codec reads them and sent back unchanged.
class DeviceTextTest : public FinderDlgTest {};

TEST_F(DeviceTextTest, UntouchedTextsWithAnyBytesAreNeverSent) {
    std::vector<SimDevice> devices = TestCameras();
    devices[0].name = "Caf\xe9 \xff\x80\x01";
    devices[0].pppoeAccount = "\xc3\xa9t\xe9";
    StartFinder(devices);
    ASSERT_TRUE(WaitForList(m_expected));
    // No UTF-8, so read in the English window's Windows-1252.
    Select(QString::fromUtf8("Caf\xc3\xa9 \xc3\xbf\xe2\x82\xac\x01"));
    EXPECT_EQ(Edit(m_dlg, IDC_NAME)->text(), QString::fromUtf8("Café ÿ€\x01"));
    Retype(Edit(m_dlg, IDC_HTTP_PORT), QStringLiteral("81"));
    QTest::mouseClick(SkinButton(m_dlg, IDC_SUBMIT), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return m_peer->Requests().size() == 2; }, 5000));
    EXPECT_EQ(m_peer->Requests().back(),
              Request({FRONT_DOOR_MAC, TextItem(0x14, 5, "81"), MODE_STATIC}));
    EXPECT_EQ(m_peer->Devices().front().name, "Caf\xe9 \xff\x80\x01");
}

TEST_F(DeviceTextTest, AnEditedTextOverPlainAsciiGoesOutAsUtf8) {
    std::vector<SimDevice> devices = TestCameras();
    StartFinder(devices);
    ASSERT_TRUE(WaitForList(m_expected));
    Select(QStringLiteral("Front door"));
    Retype(Edit(m_dlg, IDC_NAME), QString::fromUtf8("Café"));
    QTest::mouseClick(SkinButton(m_dlg, IDC_SUBMIT), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return m_peer->Requests().size() == 2; }, 5000));
    EXPECT_EQ(m_peer->Requests().back(),
              Request({FRONT_DOOR_MAC, TextItem(0x20, 16, "Caf\xc3\xa9"), MODE_STATIC}));
}

} // namespace
