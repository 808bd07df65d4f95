// The window under a flood of replies, and after its worker could not start.
#include <QCoreApplication>
#include <QEvent>

#include <arpa/inet.h>

#include "core/net/udp_socket.h"
#include "core/present/device_list.h"
#include "core/worker/report_batch.h"
#include "tests/app/finder_fixture.h"
#include "tests/support/test_flood.h"

namespace {

// Counts the queued calls that reach one object.
class CQueuedCallCounter : public QObject {
public:
    explicit CQueuedCallCounter(QObject* watched) : m_watched(watched) {
        watched->installEventFilter(this);
    }
    ~CQueuedCallCounter() override { m_watched->removeEventFilter(this); }
    int count = 0;

protected:
    bool eventFilter(QObject* object, QEvent* event) override {
        count += object == m_watched && event->type() == QEvent::MetaCall ? 1 : 0;
        return false;
    }

private:
    QObject* m_watched;
};

using FinderDlgFloodTest = FinderDlgTest;

// While the window is busy (here: its thread does not look at its queue at all), 3,600
// replies of 1,200 cameras arrive. The window then has one call to handle, not one per
// reply, and it holds no more than one batch of cameras.
TEST_F(FinderDlgFloodTest, AFloodReachesTheWindowAsOneBatch) {
    ASSERT_NO_FATAL_FAILURE(StartFinder(TestCameras()));
    ASSERT_TRUE(WaitForList(5));
    QCoreApplication::processEvents(); // the status after the last reply

    const std::vector<std::vector<uint8_t>> cameras = GeneratedReplies(1200);
    std::vector<std::vector<uint8_t>> flood;
    for (int round = 0; round < 3; ++round) {
        flood.insert(flood.end(), cameras.begin(), cameras.end());
    }
    ASSERT_TRUE(SendAllTaken(m_peer->Endpoints().localPort, flood));

    CQueuedCallCounter calls(m_dlg.get());
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    EXPECT_EQ(calls.count, 1);
    EXPECT_EQ(m_dlg->DroppedReplies(), 3u * (1200 - REPORT_BATCH_DEVICES));
    EXPECT_EQ(DeviceList(m_dlg)->count(), DEVICE_TABLE_SLOTS);
    EXPECT_EQ(CountOccupied(m_dlg->Table()), DEVICE_TABLE_SLOTS);
    // Every reply that did not make the list is counted: those beyond the batch's room and
    // those the full table turned away.
    const auto dropped = 3 * (1200 - REPORT_BATCH_DEVICES) + REPORT_BATCH_DEVICES -
                         (DEVICE_TABLE_SLOTS - TestCameras().size());
    EXPECT_EQ(Label(m_dlg, IDC_STATUS)->text(),
              QStringLiteral("255 cameras on lo; %1 replies dropped: the list holds 255 cameras")
                  .arg(dropped));
    // Every listed entry names its slot, as replies one at a time would have left it.
    for (int row = 0; row < DeviceList(m_dlg)->count(); ++row) {
        const std::string entry = DeviceList(m_dlg)->item(row)->text().toStdString();
        EXPECT_EQ(entry, ListEntryText(m_dlg->Table().slot[SlotOfEntry(entry)]));
    }
}

// Another program holds the finder's port at start; once it lets go, Update starts the
// worker again and the cameras are listed, without restarting the finder.
TEST_F(FinderDlgFloodTest, UpdateStartsAgainOnceThePortIsFree) {
    CUdpSocket holder;
    m_beforeDialog = [&](const WorkerEndpoints& endpoints) {
        ASSERT_EQ(holder.Open(), 0);
        ASSERT_EQ(holder.Bind(endpoints.localPort), 0);
    };
    ASSERT_NO_FATAL_FAILURE(StartFinder(TestCameras()));
    const QString bindError = QStringLiteral("ERR: bind() error! Errorcode =98\n");
    const QString sentence = QStringLiteral("UDP port %1 is in use by another program, perhaps "
                                            "another finder")
                                 .arg(m_peer->Endpoints().localPort);
    const auto failed = [&] {
        return Label(m_dlg, IDC_STATUS)->text() == bindError &&
               Label(m_dlg, IDC_INFO)->text() == sentence;
    };
    ASSERT_TRUE(QTest::qWaitFor(failed, 5000)) << Label(m_dlg, IDC_STATUS)->text().toStdString();
    EXPECT_EQ(Label(m_dlg, IDC_STATUS)->toolTip(), sentence);
    EXPECT_TRUE(g_shownMessages.empty());

    // Still taken: Update tries again and says so again.
    Label(m_dlg, IDC_INFO)->clear();
    QTest::mouseClick(SkinButton(m_dlg, IDC_UPDATE), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor(failed, 5000));
    EXPECT_EQ(DeviceList(m_dlg)->count(), 0);

    holder.Close();
    QTest::mouseClick(SkinButton(m_dlg, IDC_UPDATE), Qt::LeftButton);
    EXPECT_TRUE(WaitForList(5));
    EXPECT_EQ(Label(m_dlg, IDC_STATUS)->text(), QStringLiteral("OK"));
    EXPECT_TRUE(Label(m_dlg, IDC_INFO)->text().isEmpty());
    EXPECT_TRUE(Label(m_dlg, IDC_STATUS)->toolTip().isEmpty());
    EXPECT_TRUE(m_dlg->IsWorkerRunning());
}

} // namespace
