// Safe apply in the window: what the user sees after Submit, the questions before a risky
// change, and the change of nothing.

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

#include "core/rules/change_confirmation.h"
#include "tests/app/finder_fixture.h"

namespace {

// The finder's own question box, taken before any test puts its recorder in its place.
const AskFunction g_askWithMessageBox = g_pfnAsk;

class ApplyTest : public FinderDlgTest {
protected:
    void Start(std::vector<SimDevice> devices, bool dropSetRequests = false) {
        StartFinder(std::move(devices), true, dropSetRequests);
        ASSERT_TRUE(WaitForList(m_expected));
    }

    QString Status() const { return Label(m_dlg, IDC_STATUS)->text(); }

    bool WaitForStatus(const QString& text, int ms = 10000) {
        return QTest::qWaitFor([&] { return Status() == text; }, ms);
    }

    void RenameFrontDoor() {
        Select(QStringLiteral("Front door"));
        Retype(Edit(m_dlg, IDC_NAME), QStringLiteral("Front gate"));
        QTest::mouseClick(SkinButton(m_dlg, IDC_SUBMIT), Qt::LeftButton);
    }
};

TEST_F(ApplyTest, ARenameIsConfirmedAndTheCameraSelectedAgain) {
    Start(TestCameras());
    RenameFrontDoor();
    EXPECT_EQ(Status(), QString::fromUtf8("Sending to 02005e000001\u2026"));
    ASSERT_TRUE(WaitForStatus(QStringLiteral("Front gate confirmed the new settings")))
        << Status().toStdString();
    EXPECT_EQ(MacGroup(m_dlg)->title(), QStringLiteral("02005e000001"));
    EXPECT_EQ(Edit(m_dlg, IDC_NAME)->text(), QStringLiteral("Front gate"));
    EXPECT_TRUE(SkinButton(m_dlg, IDC_SUBMIT)->isEnabled());
    QTest::qWait(300); // the replies that follow leave the word in place
    EXPECT_EQ(Status(), QStringLiteral("Front gate confirmed the new settings"));
    EXPECT_TRUE(g_shownMessages.empty());
}

TEST_F(ApplyTest, AChangeTheCameraLosesIsReportedAndTheCameraShown) {
    Start(TestCameras(), true);
    RenameFrontDoor();
    ASSERT_TRUE(WaitForStatus(QStringLiteral("Front door did not take the new settings: Name is "
                                             "\"Front door\", not \"Front gate\" as sent")))
        << Status().toStdString();
    EXPECT_EQ(MacGroup(m_dlg)->title(), QStringLiteral("02005e000001"));
    EXPECT_EQ(Edit(m_dlg, IDC_NAME)->text(), QStringLiteral("Front door"));
}

TEST_F(ApplyTest, ACameraThatFallsSilentIsReportedWithWhatToDo) {
    Start(TestCameras());
    RenameFrontDoor();
    ASSERT_TRUE(QTest::qWaitFor([&] { return m_peer->Requests().size() == 2; }, 5000));
    m_peer.reset(); // gone before it could answer again
    ASSERT_TRUE(WaitForStatus(QString::fromUtf8(
        "Front door did not answer: it may be restarting; press Update in a minute")))
        << Status().toStdString();
    EXPECT_EQ(MacGroup(m_dlg)->title(), QStringLiteral("ffffffffffff"));
}

TEST_F(ApplyTest, TwoCamerasWithOneMacSelectNeither) {
    std::vector<SimDevice> devices = TestCameras();
    devices.push_back(devices.front());
    devices.back().ip = {192, 168, 1, 77}; // a second camera with Front door's MAC
    StartFinder(devices, true);
    ASSERT_TRUE(WaitForList(m_expected - 1)); // one slot for the MAC
    RenameFrontDoor();
    ASSERT_TRUE(WaitForStatus(QStringLiteral(
        "Two cameras answer with the MAC 02005e000001: check which one took the new settings")))
        << Status().toStdString();
    EXPECT_EQ(MacGroup(m_dlg)->title(), QStringLiteral("ffffffffffff"));
}

TEST_F(ApplyTest, UpdateEndsTheWait) {
    Start(TestCameras());
    RenameFrontDoor();
    QTest::mouseClick(SkinButton(m_dlg, IDC_UPDATE), Qt::LeftButton);
    ASSERT_TRUE(WaitForStatus(QStringLiteral("OK")));
    QTest::qWait(CONFIRM_SCHEDULE_MS.back());
    EXPECT_EQ(Status(), QStringLiteral("5 cameras on lo")) << "the search's summary, no wait";
    EXPECT_EQ(MacGroup(m_dlg)->title(), QStringLiteral("ffffffffffff")) << "nothing selected";
}

TEST_F(ApplyTest, ANewSelectionEndsTheWait) {
    Start(TestCameras());
    Select(QStringLiteral("Lobby"));
    Retype(Edit(m_dlg, IDC_NAME), QStringLiteral("Hall"));
    QTest::mouseClick(SkinButton(m_dlg, IDC_SUBMIT), Qt::LeftButton);
    // The first query after the set request lists the cameras again; the user turns to
    // another one before the camera had its say.
    ASSERT_TRUE(QTest::qWaitFor([&] { return m_peer->Requests().size() == 3; }, 5000));
    ASSERT_TRUE(WaitForList(m_expected));
    Select(QStringLiteral("Roof PPPoE"));
    EXPECT_EQ(Status(), QStringLiteral("Stopped waiting for 02005e000003 to confirm"));
    // The copies of the query that went out before may still come; no query after them.
    QTest::qWait(SEARCH_QUERY_COPIES * SEARCH_COPY_INTERVAL_MS);
    const std::size_t received = m_peer->Received().size();
    QTest::qWait(CONFIRM_SCHEDULE_MS.back() - CONFIRM_SCHEDULE_MS.front());
    EXPECT_EQ(MacGroup(m_dlg)->title(), QStringLiteral("02005e000007"));
    EXPECT_EQ(Status(), QStringLiteral("Stopped waiting for 02005e000003 to confirm"));
    EXPECT_EQ(m_peer->Received().size(), received) << "no more queries";
}

TEST_F(ApplyTest, ClosingTheWindowWhileWaitingIsHarmless) {
    Start(TestCameras());
    RenameFrontDoor();
    m_dlg->OnExit();
    EXPECT_FALSE(m_dlg->IsWorkerRunning());
    QTest::qWait(CONFIRM_SCHEDULE_MS[1]); // no tick may reach the stopped worker's window
    m_dlg.reset();
}

TEST_F(ApplyTest, AChangeOfNothingIsNotSent) {
    Start(TestCameras());
    Select(QStringLiteral("Mixed")); // FF FF 01 00: DHCP again would rewrite the mode bytes
    QTest::mouseClick(SkinButton(m_dlg, IDC_SUBMIT), Qt::LeftButton);
    EXPECT_EQ(Status(), QStringLiteral("Nothing to send: no setting was changed"));
    QTest::qWait(300);
    EXPECT_EQ(m_peer->Requests().size(), 1u);
    EXPECT_EQ(MacGroup(m_dlg)->title(), QStringLiteral("02005e000008"));
    EXPECT_TRUE(g_shownMessages.empty());
}

TEST_F(ApplyTest, AClearedMacFieldAsksForNoNewMac) {
    Start(TestCameras());
    Select(QStringLiteral("Front door"));
    Retype(Edit(m_dlg, IDC_NEW_MAC), QString());
    Retype(Edit(m_dlg, IDC_NAME), QStringLiteral("Front gate"));
    QTest::mouseClick(SkinButton(m_dlg, IDC_SUBMIT), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return m_peer->Requests().size() == 2; }, 5000));
    EXPECT_TRUE(g_shownMessages.empty());
    // magic, the target's MAC item, the name: no second MAC item.
    EXPECT_EQ(m_peer->Requests()[1].substr(0, 10 + 16 + 4), "525a383830"
                                                            "100602005e000001"
                                                            "2010");
    ASSERT_TRUE(WaitForStatus(QStringLiteral("Front gate confirmed the new settings")));
}

// Each risk asks first: Cancel sends nothing and keeps the panel, "Send anyway" sends.
struct Risk {
    const char* what;
    int edit; // the field's template id
    const char* text;
    const char* said;
};

void PrintTo(const Risk& risk, std::ostream* out) {
    *out << risk.what;
}

class RiskTest : public ApplyTest, public ::testing::WithParamInterface<Risk> {};

TEST_P(RiskTest, AsksAndSendsOnlyWhenTheUserSaysSo) {
    Start(TestCameras());
    Select(QStringLiteral("Front door"));
    Retype(Edit(m_dlg, GetParam().edit), QString::fromLatin1(GetParam().text));
    QTest::mouseClick(SkinButton(m_dlg, IDC_SUBMIT), Qt::LeftButton);
    ASSERT_EQ(g_askedQuestions.size(), 1u);
    const AskedQuestion& question = g_askedQuestions.front();
    EXPECT_TRUE(question.text.contains(QString::fromUtf8(GetParam().said)))
        << question.text.toStdString();
    EXPECT_EQ(question.yes, QStringLiteral("Send anyway"));
    EXPECT_EQ(question.no, QStringLiteral("Cancel"));
    QTest::qWait(300);
    EXPECT_EQ(m_peer->Requests().size(), 1u) << "Cancel sends nothing";
    EXPECT_EQ(MacGroup(m_dlg)->title(), QStringLiteral("02005e000001"));
    EXPECT_EQ(Edit(m_dlg, GetParam().edit)->text(), QString::fromLatin1(GetParam().text));

    g_sendAnyway = true;
    QTest::mouseClick(SkinButton(m_dlg, IDC_SUBMIT), Qt::LeftButton);
    EXPECT_EQ(g_askedQuestions.size(), 2u);
    EXPECT_TRUE(QTest::qWaitFor([&] { return m_peer->Requests().size() == 2; }, 5000));
    EXPECT_TRUE(g_shownMessages.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Values, RiskTest,
    ::testing::Values(
        Risk{"GatewayElsewhere", IDC_GATEWAY, "192.168.2.1",
             "The gateway 192.168.2.1 lies outside the camera's new subnet 192.168.1.0/24"},
        Risk{"IpOfAnotherCamera", IDC_IP, "192.168.1.22",
             "The IP 192.168.1.22 is already the IP of the camera Lobby (02005e000003)"},
        Risk{"IpOfThisPc", IDC_IP, "192.168.1.5", "The IP 192.168.1.5 is the IP of this PC"},
        Risk{"IpOutOfSight", IDC_IP, "10.1.1.7", "the finder will lose sight of the camera"}),
    [](const ::testing::TestParamInfo<Risk>& info) { return std::string(info.param.what); });

// The real question box: Enter and Esc both take its default, Cancel.
TEST(ApplyQuestion, CancelIsTheDefaultAnswer) {
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Escape}) {
        QString shown;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            shown = box->text();
            EXPECT_EQ(box->defaultButton()->text(), QStringLiteral("Cancel"));
            QTest::keyClick(box, key);
        });
        EXPECT_FALSE(g_askWithMessageBox(nullptr, QStringLiteral("Submit"), QStringLiteral("Risk."),
                                         QStringLiteral("Send anyway"), QStringLiteral("Cancel"),
                                         QString()));
        EXPECT_EQ(shown, QStringLiteral("Risk."));
    }
}

} // namespace
