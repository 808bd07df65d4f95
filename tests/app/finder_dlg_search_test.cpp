// A search that misses nobody, in the window against camsim: cameras sharing an IP and one
// at a self-assigned address marked, the cameras new and gone since the search before, and
// the list of addresses every search also asks, kept in language.db.

#include <QApplication>
#include <QPlainTextEdit>

#include "app/search_targets_dialog.h"
#include "core/messages/finder_texts.h"
#include "core/net/udp_socket.h"
#include "core/session/editable_values.h"
#include "tests/app/finder_fixture.h"

namespace {

//   name | mac | ip | netmask | gateway | port | mode | version | account | password | ro
const char* const SEARCH_CAMERAS[] = {
    "Gate  | 02005e000001 | 192.168.1.20 | 255.255.255.0 | 192.168.1.1 | 80 | FFFFFFFF | 1 | | | 0",
    "Hall  | 02005e000002 | 192.168.1.20 | 255.255.255.0 | 192.168.1.1 | 80 | FFFFFFFF | 1 | | | 0",
    "Shed  | 02005e000003 | 169.254.3.4  | 255.255.0.0   | 0.0.0.0     | 80 | FFFF01FF | 1 | | | 0",
};

class SearchTest : public FinderDlgTest {
protected:
    void SetUp() override {
        std::vector<SimDevice> devices;
        for (const char* line : SEARCH_CAMERAS) {
            devices.push_back(CameraFromLine(line));
        }
        StartFinder(devices);
        ASSERT_TRUE(WaitForList(m_expected));
    }

    bool MarkedAs(const QString& name, QStyle::StandardPixmap mark) const {
        const QSize size = DeviceList(m_dlg)->iconSize();
        return Entry(name)->icon().pixmap(size).toImage() ==
               DeviceList(m_dlg)->style()->standardIcon(mark).pixmap(size).toImage();
    }

    // A set request straight to camsim, as another finder would send it.
    void Change(const std::string& mac, const std::function<void(PanelValues&)>& change) {
        const int slot = [&] {
            for (int i = 0; i < DEVICE_TABLE_SLOTS; ++i) {
                if (m_dlg->Table().slot[i].id != 0 &&
                    MacToText(m_dlg->Table().slot[i].mac) == mac) {
                    return i;
                }
            }
            return 0;
        }();
        PanelValues values = EditableValues(m_dlg->Table().slot[slot], CTextCodec());
        change(values);
        DiscoveryDatagram request;
        BuildSetRequest(request, m_dlg->Table(), values);
        CUdpSocket socket;
        sockaddr_in to{};
        ASSERT_EQ(socket.Open(), 0);
        ASSERT_TRUE(MakeSocketAddress("127.0.0.1", m_peer->Endpoints().destinationPort, to));
        const std::size_t before = m_peer->Received().size();
        ASSERT_EQ(socket.SendTo(request.bytes, sizeof request.bytes, to), 0);
        ASSERT_TRUE(WaitForReceived(before + 1));
    }

    QString Status() const { return Label(m_dlg, IDC_STATUS)->text(); }

    // Opens "Search addresses…", types each text in turn and presses OK; what OK said to
    // each (empty: it took the list and closed).
    QStringList EditSearchAddresses(const QStringList& typed) {
        QStringList said;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<CSearchTargetsDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            for (const QString& text : typed) {
                dialog->Editor()->setPlainText(text);
                dialog->accept();
                said << dialog->Problem();
            }
            if (!said.last().isEmpty()) {
                dialog->reject(); // the last was refused too
            }
        });
        m_dlg->OnSearchAddresses();
        return said;
    }
};

TEST_F(SearchTest, CamerasSharingAnIpAndASelfAssignedOneAreMarkedAndTipped) {
    EXPECT_TRUE(MarkedAs(QStringLiteral("Gate"), QStyle::SP_MessageBoxCritical));
    EXPECT_TRUE(MarkedAs(QStringLiteral("Hall"), QStyle::SP_MessageBoxCritical));
    EXPECT_FALSE(MarkedAs(QStringLiteral("Shed"), QStyle::SP_MessageBoxCritical));
    EXPECT_TRUE(Entry(QStringLiteral("Gate"))
                    ->toolTip()
                    .endsWith(QStringLiteral("\nIP conflict: 192.168.1.20 is also the IP of Hall "
                                             "(02005e000002)")))
        << Entry(QStringLiteral("Gate"))->toolTip().toStdString();
    EXPECT_TRUE(Entry(QStringLiteral("Shed"))
                    ->toolTip()
                    .endsWith(QStringLiteral("\n169.254.3.4 is a self-assigned address: the camera "
                                             "found no DHCP server. Move into my network gives it "
                                             "an address of this PC's network.")))
        << Entry(QStringLiteral("Shed"))->toolTip().toStdString();

    // Hall takes another IP: the conflict is over, the marks go.
    Change("02005e000002", [](PanelValues& values) { values.ip = "192.168.1.21"; });
    QTest::mouseClick(SkinButton(m_dlg, IDC_UPDATE), Qt::LeftButton);
    ASSERT_TRUE(WaitForList(m_expected));
    EXPECT_FALSE(MarkedAs(QStringLiteral("Gate"), QStyle::SP_MessageBoxCritical));
    EXPECT_FALSE(Entry(QStringLiteral("Gate"))->toolTip().contains(QStringLiteral("conflict")));
}

TEST_F(SearchTest, TheStatusLineCountsNewAndGoneCamerasSinceTheSearchBefore) {
    ASSERT_TRUE(QTest::qWaitFor([&] { return Status() == QLatin1String("3 cameras on lo"); }, 5000))
        << Status().toStdString() << ": no counts after the first search";
    EXPECT_FALSE(Entry(QStringLiteral("Gate"))->toolTip().contains(QStringLiteral("New since")));

    Change("02005e000003", [](PanelValues& values) { values.newMac = "02005e0000cc"; });
    QTest::mouseClick(SkinButton(m_dlg, IDC_UPDATE), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return Status() == QLatin1String("3 cameras on lo; 1 new, 1 gone"); }, 5000))
        << Status().toStdString();
    EXPECT_TRUE(Entry(QStringLiteral("Shed"))
                    ->toolTip()
                    .endsWith(QStringLiteral("\nNew since the search before")));
    EXPECT_FALSE(Entry(QStringLiteral("Gate"))->toolTip().contains(QStringLiteral("New since")));

    QTest::mouseClick(SkinButton(m_dlg, IDC_UPDATE), Qt::LeftButton);
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return Status() == QLatin1String("3 cameras on lo; 0 new, 0 gone"); }, 5000))
        << Status().toStdString();
}

TEST_F(SearchTest, SearchAddressesAreCheckedKeptAndAskedByEverySearch) {
    ASSERT_TRUE(WaitForReceived(SEARCH_QUERY_COPIES));
    const QStringList said = EditSearchAddresses(
        {QStringLiteral("127.0.0.1\n10.2.0.0/19"), QStringLiteral("127.0.0.0/20\n127.1.0.0/29"),
         QStringLiteral(" 127.0.0.1 \n\n127.0.0.2-127.0.0.3\n")});
    EXPECT_EQ(said,
              (QStringList{QStringLiteral("Line 2 is not an IP address, a block or a "
                                          "range: 10.2.0.0/19"),
                           QStringLiteral("The list names more than 4096 addresses."), QString()}));
    EXPECT_EQ(m_dlg->SearchTargets(),
              (std::vector<std::string>{"127.0.0.1", "127.0.0.2-127.0.0.3"}));
    // The search the dialog starts asks 127.0.0.1 by unicast beside the send to the cameras.
    EXPECT_TRUE(WaitForReceived(3 * SEARCH_QUERY_COPIES));
    EXPECT_TRUE(WaitForList(m_expected));

    m_dlg.reset();
    ASSERT_NO_FATAL_FAILURE(StartFinder(m_peer->Devices()));
    EXPECT_EQ(m_dlg->SearchTargets(),
              (std::vector<std::string>{"127.0.0.1", "127.0.0.2-127.0.0.3"}))
        << "kept in language.db";
}

} // namespace
