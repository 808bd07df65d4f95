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
const char* const CAMERAS[] = {
    "Gate  | 02005e000001 | 192.168.1.20 | 255.255.255.0 | 192.168.1.1 | 80 | FFFFFFFF | 1 | | | 0",
    "Hall  | 02005e000002 | 192.168.1.20 | 255.255.255.0 | 192.168.1.1 | 80 | FFFFFFFF | 1 | | | 0",
    "Shed  | 02005e000003 | 169.254.3.4  | 255.255.0.0   | 0.0.0.0     | 80 | FFFF01FF | 1 | | | 0",
};

class SearchTest : public FinderDlgTest {
protected:
    void SetUp() override {
        StartFinder(
            {CameraFromLine(CAMERAS[0]), CameraFromLine(CAMERAS[1]), CameraFromLine(CAMERAS[2])});
        ASSERT_TRUE(WaitForList(m_expected));
    }

    bool Conflicted(const char* name) const {
        const QSize size = DeviceList(m_dlg)->iconSize();
        return Entry(name)->icon().pixmap(size).toImage() ==
               DeviceList(m_dlg)
                   ->style()
                   ->standardIcon(QStyle::SP_MessageBoxCritical)
                   .pixmap(size)
                   .toImage();
    }
    QString Tip(const char* name) const { return Entry(name)->toolTip(); }

    // A set request straight to camsim, as another finder would send it.
    void Change(const std::string& mac, const std::function<void(ChangeValues&)>& change) {
        const DeviceTable& table = m_dlg->Table();
        ChangeValues values = EditableValues(
            *std::find_if(std::begin(table.slot), std::end(table.slot),
                          [&](const DeviceRecord& r) { return r.id && MacToText(r.mac) == mac; }),
            CTextCodec());
        change(values);
        DiscoveryDatagram request;
        BuildSetRequest(request, table, values);
        CUdpSocket socket;
        sockaddr_in to{};
        const std::size_t before = m_peer->Received().size();
        ASSERT_TRUE(socket.Open() == 0 &&
                    MakeSocketAddress("127.0.0.1", m_peer->Endpoints().destinationPort, to) &&
                    socket.SendTo(request.bytes, sizeof request.bytes, to) == 0);
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
    EXPECT_TRUE(Conflicted("Gate") && Conflicted("Hall") && !Conflicted("Shed"));
    EXPECT_TRUE(Tip("Gate").endsWith("\nIP conflict: 192.168.1.20 is also the IP of Hall "
                                     "(02005e000002)"))
        << Tip("Gate").toStdString();
    EXPECT_TRUE(Tip("Shed").endsWith("\n169.254.3.4 is a self-assigned address: the camera found "
                                     "no DHCP server. Move into my network gives it an address of "
                                     "this PC's network."))
        << Tip("Shed").toStdString();

    // Hall takes another IP: the conflict is over, the marks go.
    Change("02005e000002", [](ChangeValues& values) { values.ip = "192.168.1.21"; });
    QTest::mouseClick(SkinButton(m_dlg, IDC_UPDATE), Qt::LeftButton);
    ASSERT_TRUE(WaitForList(m_expected));
    EXPECT_FALSE(Conflicted("Gate") || Tip("Gate").contains("conflict"));
}

TEST_F(SearchTest, TheStatusLineCountsNewAndGoneCamerasSinceTheSearchBefore) {
    ASSERT_TRUE(QTest::qWaitFor([&] { return Status() == "3 cameras on lo"; }, 5000))
        << Status().toStdString() << ": no counts after the first search";
    Change("02005e000003", [](ChangeValues& values) { values.newMac = "02005e0000cc"; });
    for (const char* status :
         {"3 cameras on lo; 1 new, 1 gone", "3 cameras on lo; 0 new, 0 gone"}) {
        QTest::mouseClick(SkinButton(m_dlg, IDC_UPDATE), Qt::LeftButton);
        EXPECT_TRUE(QTest::qWaitFor([&] { return Status() == status; }, 5000))
            << Status().toStdString();
        EXPECT_FALSE(Tip("Gate").contains("New since"));
        const bool shedNew = std::string(status).find("1 new") != std::string::npos;
        EXPECT_EQ(Tip("Shed").endsWith("\nNew since the search before"), shedNew);
    }
}

TEST_F(SearchTest, SearchAddressesAreCheckedKeptAndAskedByEverySearch) {
    ASSERT_TRUE(WaitForReceived(SEARCH_QUERY_COPIES));
    const QStringList said =
        EditSearchAddresses({"127.0.0.1\n10.2.0", "\n127.0.0.9-127.0.0.1", "127.0.0.0/19",
                             "127.0.0.0/20\n127.1.0.0/29", " 127.0.0.1 \n\n127.0.0.2-127.0.0.3\n"});
    EXPECT_EQ(said,
              (QStringList{"Line 2 is not an IP address, a block or a range: 10.2.0",
                           "Line 2 is a range that ends before it starts: 127.0.0.9-127.0.0.1",
                           "Line 1 names more than 4096 addresses: 127.0.0.0/19",
                           "The list names more than 4096 addresses.", ""}));
    const std::vector<std::string> kept = {"127.0.0.1", "127.0.0.2-127.0.0.3"};
    EXPECT_EQ(m_dlg->SearchTargets(), kept);
    // The search the dialog starts asks 127.0.0.1 by unicast beside the send to the cameras.
    EXPECT_TRUE(WaitForReceived(3 * SEARCH_QUERY_COPIES));
    m_dlg.reset();
    ASSERT_NO_FATAL_FAILURE(StartFinder(m_peer->Devices()));
    EXPECT_EQ(m_dlg->SearchTargets(), kept) << "kept in language.db";
}

} // namespace
