// The window's parts built alone, without the finder's dialog: real widgets under the
// offscreen platform, a roster of their own, the English texts and UTF-8.

#include <gtest/gtest.h>

#include <QGroupBox>
#include <QHelpEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <QToolTip>

#include <cerrno>

#include "app/details_panel.h"
#include "app/device_list_view.h"
#include "app/encoding_menu.h"
#include "app/search_summary.h"
#include "app/status_line.h"
#include "app/window_context.h"
#include "core/messages/finder_texts.h"
#include "core/session/camera_roster.h"
#include "core/status/search_texts.h"
#include "skin/skin_button.h"
#include "skin/transparent_static.h"

namespace {

class CEnglishContext : public CWindowContext {
public:
    TextLookup Lookup() const override { return EnglishText; }
    CTextCodec Codec() const override { return CTextCodec(TextEncoding::Utf8, true); }
};

DeviceRecord Camera(const char* name, std::uint8_t last, const char* ip) {
    DeviceRecord record{};
    SetFieldText(record.name, name);
    SetFieldText(record.ip, ip);
    SetFieldText(record.netmask, "255.255.255.0");
    SetFieldText(record.gateway, "192.168.1.1");
    SetFieldText(record.version, last == 1 ? "1.0.1" : "2.0.2");
    const std::uint8_t mac[6] = {0x02, 0, 0x5e, 0, 0, last};
    std::copy(std::begin(mac), std::end(mac), record.mac);
    record.httpPort = 80;
    return record;
}

// A card of 192.168.1.0/24 the cameras answered on, or one of another network.
ReplyArrival Card(std::uint32_t address) {
    ReplyArrival arrival;
    arrival.interfaceName = "eth0";
    arrival.interfaceAddress = address;
    arrival.prefix = 24;
    return arrival;
}

constexpr std::uint32_t HOME_CARD = 0xC0A80105;  // 192.168.1.5
constexpr std::uint32_t OTHER_CARD = 0x0A000005; // 10.0.0.5

class WindowPartsTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_controls.info = new CTransparentStatic(&m_window);
        m_controls.pppoeAccount = new QLineEdit(&m_window);
        m_controls.pppoePassword = new QLineEdit(&m_window);
        m_controls.newMac = new QLineEdit(&m_window);
        m_controls.macLabel = new CTransparentStatic(&m_window);
        m_controls.macGroup = new QGroupBox(&m_window);
        m_controls.name = new QLineEdit(&m_window);
        m_controls.ip = new QLineEdit(&m_window);
        m_controls.netmask = new QLineEdit(&m_window);
        m_controls.gateway = new QLineEdit(&m_window);
        m_controls.httpPort = new QLineEdit(&m_window);
        m_controls.submit = new CSkinButton(QStringLiteral("Submit"), &m_window);
        m_controls.pppoe = new QRadioButton(&m_window);
        m_controls.dhcp = new QRadioButton(&m_window);
        m_controls.staticMode = new QRadioButton(&m_window);
        m_controls.subnetWarning = new CTransparentStatic(&m_window);
        m_controls.moveIntoNetwork = new QPushButton(&m_window);
        for (QRadioButton* radio : {m_controls.pppoe, m_controls.dhcp, m_controls.staticMode}) {
            radio->setAutoExclusive(false);
        }
        m_window.resize(400, 300);
        m_window.show();
    }

    int Take(const DeviceRecord& record, std::uint32_t card = HOME_CARD) {
        const CCameraRoster::Merge merge = m_roster.Take(record, Card(card));
        m_list.OnTaken(merge.slot, merge.added);
        return merge.slot;
    }

    QString Tip(int row) {
        QListWidget* list = m_listWidget;
        const QPoint point = list->visualItemRect(list->item(row)).center();
        QHelpEvent event(QEvent::ToolTip, point, list->viewport()->mapToGlobal(point));
        QApplication::sendEvent(list->viewport(), &event);
        const QString tip = QToolTip::text();
        QToolTip::hideText();
        return tip;
    }

    QWidget m_window;
    CEnglishContext m_context;
    CCameraRoster m_roster;
    PanelControls m_controls;
    QListWidget* m_listWidget = new QListWidget(&m_window);
    CEncodingMenu m_encodings{m_context, nullptr};
    CDeviceListView m_list{m_listWidget, m_roster, m_context, m_encodings};
};

// The panel reads again only the camera it shows: the list may have turned to another.
TEST_F(WindowPartsTest, ThePanelStaysWithTheCameraItShows) {
    CDetailsPanel panel(&m_window, m_controls, m_roster, m_context);
    const int gate1 = Take(Camera("Gate 01", 1, "192.168.1.21"));
    Take(Camera("Gate 02", 2, "192.168.1.22"));
    panel.ShowCamera(gate1);
    EXPECT_EQ(m_controls.macGroup->title(), QStringLiteral("02005e000001"));
    panel.ReadAgain();
    const ChangeValues values = panel.Gather();
    EXPECT_EQ(values.mac, "02005e000001");
    EXPECT_EQ(values.name, "Gate 01");
    EXPECT_TRUE(m_controls.info->text().contains(QStringLiteral("1.0.1")));
    // The radios pick the mode themselves and open the fields that go with it.
    QTest::mouseClick(m_controls.staticMode, Qt::LeftButton);
    EXPECT_TRUE(m_controls.staticMode->isChecked());
    EXPECT_FALSE(m_controls.dhcp->isChecked());
    EXPECT_TRUE(m_controls.ip->isEnabled());
    QSignalSpy submitted(&panel, &CDetailsPanel::SubmitClicked);
    QTest::mouseClick(m_controls.submit, Qt::LeftButton);
    EXPECT_EQ(submitted.count(), 1);
    panel.Clear();
    panel.ReadAgain(); // nothing shown: nothing read
    EXPECT_TRUE(m_controls.name->text().isEmpty());
}

// A camera outside its card's network has a page that does not open from here: no
// double-click is offered, and the panel warns of it.
TEST_F(WindowPartsTest, OnlyAPageThatOpensOffersTheDoubleClick) {
    const struct {
        std::uint32_t card;
        bool offered;
    } cases[] = {{HOME_CARD, true}, {OTHER_CARD, false}};
    CDetailsPanel panel(&m_window, m_controls, m_roster, m_context);
    for (const auto& c : cases) {
        m_list.Clear();
        m_roster.Clear();
        const int slot = Take(Camera("Yard", 3, "192.168.1.23"), c.card);
        ASSERT_EQ(m_listWidget->count(), 1);
        const QString tip = Tip(0);
        EXPECT_EQ(tip.contains(QString::fromUtf8(TEXT_TIP_DOUBLE_CLICK.english)), c.offered)
            << tip.toStdString();
        EXPECT_TRUE(tip.contains(QStringLiteral("http://192.168.1.23")));
        panel.ShowCamera(slot);
        EXPECT_EQ(m_controls.subnetWarning->isVisibleTo(&m_window), !c.offered);
    }
}

// The summary begins and ends the search in the roster and says what the system refused;
// the status line keeps the whole of a long text in its tip.
TEST_F(WindowPartsTest, TheSummaryTellsRefusedQueriesAndTheLineKeepsItWhole) {
    auto* status = new CTransparentStatic(&m_window);
    status->resize(120, 20);
    const std::vector<std::string> targets = {"10.9.0.0/24"};
    const WorkerEndpoints endpoints{};
    CSearchSummary search(m_roster, m_context, endpoints, targets, nullptr);
    CStatusLine line(status, m_context, search, nullptr);
    search.ExpectQuery(true);
    search.OnQuerySent(WorkerOutcome{});
    Take(Camera("Gate 01", 1, "192.168.1.21"));
    SearchSent sent;
    sent.targets = 153;
    sent.targetsFailed = 153;
    sent.firstTargetError = ENETUNREACH;
    search.OnSearchSent(sent);
    const QString refused = QString::fromStdString(RefusedTargetsText(sent));
    EXPECT_TRUE(refused.startsWith(QStringLiteral("the system refused 153 of 153 queries")));
    QTRY_VERIFY_WITH_TIMEOUT(status->text().contains(refused), SEARCH_SUMMARY_DELAY_MS * 3);
    EXPECT_TRUE(status->text().startsWith(QStringLiteral("1 camera on eth0")));
    EXPECT_TRUE(status->IsCut());
    EXPECT_EQ(status->toolTip(), status->text());
    line.ShowHeld([] { return QStringLiteral("short"); });
    EXPECT_FALSE(status->IsCut());
}

} // namespace
