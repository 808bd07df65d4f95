// A double-click opens the camera's page through the URL seam.

#include <QPushButton>

#include "app/device_list_view.h"
#include "app/device_url.h"
#include "tests/app/finder_fixture.h"

namespace {

class WebPageTest : public FinderDlgTest {
protected:
    void SetUp() override {
        StartFinder(TestCameras());
        ASSERT_TRUE(WaitForList(m_expected));
    }

    void DoubleClick(const QString& name) {
        QListWidgetItem* item = Entry(name);
        ASSERT_NE(item, nullptr);
        QListWidget* list = DeviceList(m_dlg);
        list->scrollToItem(item);
        const QPoint centre = list->visualItemRect(item).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, centre);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, centre);
    }
};

TEST_F(WebPageTest, Port80OpensTheBareAddress) {
    DoubleClick(QStringLiteral("Front door"));
    ASSERT_EQ(g_openedUrls.size(), 1u);
    EXPECT_EQ(g_openedUrls[0], QStringLiteral("http://192.168.1.20"));
}

TEST_F(WebPageTest, OtherPortsOpenAddressPortAndSlash) {
    DoubleClick(QStringLiteral("Lobby"));
    ASSERT_EQ(g_openedUrls.size(), 1u);
    EXPECT_EQ(g_openedUrls[0], QStringLiteral("http://192.168.1.22:8080/"));
}

TEST_F(WebPageTest, DoubleClickOnEmptyListOpensNothing) {
    QTest::mouseClick(SkinButton(m_dlg, IDC_UPDATE), Qt::LeftButton);
    ASSERT_EQ(DeviceList(m_dlg)->count(), 0);
    m_dlg->findChild<CDeviceListView*>()->OnOpenPage();
    EXPECT_TRUE(g_openedUrls.empty());
}

TEST(DevicePageUrl, FollowsThePort) {
    DeviceRecord record{};
    SetFieldText(record.ip, "10.1.2.3");
    record.httpPort = 80;
    EXPECT_EQ(DevicePageUrl(record), "http://10.1.2.3");
    record.httpPort = 81;
    EXPECT_EQ(DevicePageUrl(record), "http://10.1.2.3:81/");
    record.httpPort = 0; // a camera that reported no port
    EXPECT_EQ(DevicePageUrl(record), "http://10.1.2.3:0/");
    SetFieldText(record.ip, "");
    record.httpPort = 80;
    EXPECT_EQ(DevicePageUrl(record), "http://");
}

} // namespace
