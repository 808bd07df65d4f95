// The finder's window: its template, start-up and every way to close it.

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include <cmath>

#include "app/finder_app.h"
#include "tests/app/finder_fixture.h"

namespace {

struct TemplateControl {
    int id;
    const char* text; // nullptr: the control shows no text of its own
    int x, y, width, height;
};

// Template 102 in its own order, which is also the tab order.
const TemplateControl TEMPLATE[] = {
    {1000, nullptr, 9, 30, 136, 88},         {1001, "Update", 19, 124, 56, 21},
    {1002, "Exit", 82, 124, 58, 21},         {1003, "", 150, 20, 150, 30},
    {1004, nullptr, 230, 73, 67, 14},        {1005, nullptr, 230, 95, 67, 14},
    {1019, "Acount", 152, 77, 77, 17},       {1020, "Password", 152, 96, 80, 13},
    {1006, nullptr, 213, 123, 81, 14},       {1021, "Mac", 154, 126, 49, 15},
    {1022, "Address:", 8, 155, 62, 80},      {1034, "ffffffffffff", 74, 153, 228, 114},
    {1007, nullptr, 162, 167, 62, 14},       {1008, nullptr, 162, 185, 61, 14},
    {1009, nullptr, 162, 203, 61, 14},       {1010, nullptr, 162, 223, 62, 14},
    {1011, nullptr, 162, 243, 40, 14},       {1023, "Name", 80, 169, 74, 14},
    {1024, "IP", 80, 187, 74, 16},           {1025, "Submask", 80, 206, 71, 16},
    {1026, "Gateway", 80, 225, 77, 17},      {1027, "Http Port", 79, 246, 77, 16},
    {1012, "Submit", 231, 239, 65, 21},      {1013, nullptr, 235, 179, 9, 8},
    {1014, nullptr, 235, 200, 9, 8},         {1015, nullptr, 235, 220, 9, 8},
    {1028, "Status:", 5, 269, 86, 19},       {1029, nullptr, 68, 271, 212, 14},
    {1030, "PPPOE      ", 248, 178, 41, 16}, {1031, "DHCP    ", 248, 199, 39, 15},
    {1032, "STATIC    ", 248, 220, 43, 13},  {1036, nullptr, 230, 51, 72, 124},
    {-1, "ADSL / DSL", 148, 63, 154, 53},
};

// 2 dialog units are 3 pixels; each edge is mapped, rounding halves up.
int Pixels(int units) {
    return static_cast<int>(std::floor(units * 1.5 + 0.5));
}

QRect ExpectedRect(const TemplateControl& control) {
    // Inside the one-pixel border.
    return QRect(Pixels(control.x) + 1, Pixels(control.y) + 1,
                 Pixels(control.x + control.width) - Pixels(control.x),
                 Pixels(control.y + control.height) - Pixels(control.y));
}

std::vector<QWidget*> TemplateControls(QWidget* dialog) {
    std::vector<QWidget*> controls;
    for (QWidget* w = dialog->nextInFocusChain(); w != dialog; w = w->nextInFocusChain()) {
        // The finder's own controls beyond the template come after it, from 1040 on.
        const QVariant id = w->property(CONTROL_ID_PROPERTY);
        if (w->parentWidget() == dialog && id.isValid() && id.toInt() < IDC_SUBNET_WARNING) {
            controls.push_back(w);
        }
    }
    return controls;
}

QString ShownText(QWidget* control) {
    if (auto* label = qobject_cast<QLabel*>(control)) {
        return label->text();
    }
    if (auto* button = qobject_cast<QAbstractButton*>(control)) {
        return button->text();
    }
    if (auto* group = qobject_cast<QGroupBox*>(control)) {
        return group->title();
    }
    return {};
}

using FinderDlgWindowTest = FinderDlgTest;

TEST_F(FinderDlgWindowTest, HasEveryTemplateControlInOrderAtItsRectangle) {
    StartFinder({});
    EXPECT_TRUE(m_dlg->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(m_dlg->contentsRect(), QRect(1, 1, 468, 438));
    EXPECT_EQ(m_dlg->size(), QSize(470, 440));

    const std::vector<QWidget*> controls = TemplateControls(m_dlg.get());
    ASSERT_EQ(controls.size(), std::size(TEMPLATE));
    for (std::size_t i = 0; i < controls.size(); ++i) {
        const TemplateControl& expected = TEMPLATE[i];
        QWidget* control = controls[i];
        SCOPED_TRACE(expected.id);
        EXPECT_EQ(control->property(CONTROL_ID_PROPERTY).toInt(), expected.id);
        if (expected.id == IDC_LANGUAGE) {
            // The drop-down's own height is one line; the template's is that of its list.
            EXPECT_EQ(control->geometry().topLeft(), ExpectedRect(expected).topLeft());
            EXPECT_EQ(control->width(), ExpectedRect(expected).width());
        } else {
            EXPECT_EQ(control->geometry(), ExpectedRect(expected));
        }
        if (expected.text != nullptr) {
            EXPECT_EQ(ShownText(control), QString::fromLatin1(expected.text));
        }
    }
}

TEST_F(FinderDlgWindowTest, ListSortsNoButtonIsDefaultPasswordIsHidden) {
    StartFinder({});
    EXPECT_TRUE(DeviceList(m_dlg)->isSortingEnabled());
    EXPECT_EQ(Edit(m_dlg, IDC_PPPOE_PASSWORD)->echoMode(), QLineEdit::Password);
    for (QPushButton* button : {SkinButton(m_dlg, IDC_UPDATE), SkinButton(m_dlg, IDC_EXIT),
                                SkinButton(m_dlg, IDC_SUBMIT)}) {
        EXPECT_FALSE(button->isDefault());
        EXPECT_FALSE(button->autoDefault());
    }
}

TEST_F(FinderDlgWindowTest, RadioButtonsStandAlone) {
    StartFinder({});
    Radio(m_dlg, IDC_MODE_PPPOE)->setChecked(true);
    Radio(m_dlg, IDC_MODE_DHCP)->setChecked(true);
    EXPECT_TRUE(Radio(m_dlg, IDC_MODE_PPPOE)->isChecked())
        << "a radio button must not uncheck another";
    EXPECT_TRUE(Radio(m_dlg, IDC_MODE_DHCP)->isChecked());
}

TEST_F(FinderDlgWindowTest, TheListFillsAtStartWithoutAnyAction) {
    StartFinder(TestCameras());
    ASSERT_TRUE(WaitForList(m_expected));
    EXPECT_EQ(Label(m_dlg, IDC_STATUS)->text(), QStringLiteral("OK"));
    EXPECT_EQ(CountOccupied(m_dlg->Table()), m_expected);
    // The first camera to answer takes the highest slot: entries read "%d %s".
    for (int row = 0; row < DeviceList(m_dlg)->count(); ++row) {
        const QString text = DeviceList(m_dlg)->item(row)->text();
        const int slot = text.section(QLatin1Char(' '), 0, 0).toInt() - 1;
        ASSERT_GE(slot, DEVICE_TABLE_SLOTS - m_expected);
        EXPECT_EQ(text.section(QLatin1Char(' '), 1),
                  QString::fromLatin1(m_dlg->Table().slot[slot].name));
    }
    ASSERT_EQ(m_peer->Requests().size(), 1u);
    DiscoveryDatagram query;
    BuildQueryRequest(query);
    EXPECT_EQ(m_peer->Requests().front(), sim::HexLine(query.bytes, sizeof query.bytes));
}

TEST_F(FinderDlgWindowTest, TheDemoCamerasAllAppear) {
    const std::vector<SimDevice> cameras = DemoCameras();
    ASSERT_GE(cameras.size(), 10u);
    StartFinder(cameras);
    EXPECT_TRUE(WaitForList(m_expected));
}

TEST_F(FinderDlgWindowTest, AfterASearchTheStatusSaysWhoAnsweredAndWhatWasDropped) {
    StartFinder(GenerateDevices(DEVICE_TABLE_SLOTS + 3));
    ASSERT_TRUE(WaitForList(DEVICE_TABLE_SLOTS, 10000));
    const QString expected =
        QStringLiteral("255 cameras on lo; 3 replies dropped: the list holds 255 cameras");
    EXPECT_TRUE(QTest::qWaitFor([&] { return Label(m_dlg, IDC_STATUS)->text() == expected; }, 5000))
        << Label(m_dlg, IDC_STATUS)->text().toStdString();
    // A camera on this machine, answering on loopback, is listed with lo as its card.
    const QString tip = DeviceList(m_dlg)->item(0)->toolTip();
    EXPECT_TRUE(tip.endsWith(QStringLiteral("\nInterface: lo (127.0.0.1/8)"))) << tip.toStdString();
}

TEST_F(FinderDlgWindowTest, MacChangeFieldIsHiddenWithoutTheMarkerFile) {
    StartFinder({});
    EXPECT_FALSE(Edit(m_dlg, IDC_NEW_MAC)->isVisible());
    EXPECT_FALSE(Label(m_dlg, IDC_LABEL_MAC)->isVisible());
}

TEST_F(FinderDlgWindowTest, MacChangeFieldIsShownWithTheMarkerFile) {
    StartFinder({}, true);
    EXPECT_TRUE(Edit(m_dlg, IDC_NEW_MAC)->isVisible());
    EXPECT_TRUE(Label(m_dlg, IDC_LABEL_MAC)->isVisible());
}

TEST_F(FinderDlgWindowTest, TheWorkersFailureShowsInTheStatusLine) {
    // A second finder on the same local port cannot bind it.
    StartFinder({});
    CFinderDlg second(m_peer->Endpoints(), QString(), m_languageDb);
    second.show();
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            return Label(second, IDC_STATUS)
                ->text()
                .startsWith(QStringLiteral("ERR: bind() error!"));
        },
        5000))
        << Label(second, IDC_STATUS)->text().toStdString();
    EXPECT_EQ(DeviceList(second)->count(), 0);
}

// Every way out stops the worker and waits for it: the dialog's port is free again.
class FinderDlgShutdownTest : public FinderDlgTest {
protected:
    void StartAndWait() {
        StartFinder(TestCameras());
        ASSERT_TRUE(WaitForList(m_expected));
        ASSERT_TRUE(m_dlg->IsWorkerRunning());
        ASSERT_FALSE(CanBindUdpPort(m_peer->Endpoints().localPort));
    }

    void ExpectEndedAndJoined(QDialog::DialogCode result) {
        EXPECT_FALSE(m_dlg->isVisible());
        EXPECT_EQ(m_dlg->result(), result);
        EXPECT_FALSE(m_dlg->IsWorkerRunning());
        EXPECT_TRUE(CanBindUdpPort(m_peer->Endpoints().localPort));
    }
};

TEST_F(FinderDlgShutdownTest, Exit) {
    StartAndWait();
    QTest::mouseClick(SkinButton(m_dlg, IDC_EXIT), Qt::LeftButton);
    ExpectEndedAndJoined(QDialog::Rejected);
}

TEST_F(FinderDlgShutdownTest, SecondExitIsHarmless) {
    StartAndWait();
    QTest::mouseClick(SkinButton(m_dlg, IDC_EXIT), Qt::LeftButton);
    m_dlg->OnExit();
    ExpectEndedAndJoined(QDialog::Rejected);
}

TEST_F(FinderDlgShutdownTest, Escape) {
    StartAndWait();
    QTest::keyClick(Edit(m_dlg, IDC_NAME), Qt::Key_Escape);
    ExpectEndedAndJoined(QDialog::Rejected);
}

TEST_F(FinderDlgShutdownTest, ClosingTheWindow) {
    StartAndWait();
    EXPECT_TRUE(m_dlg->close());
    ExpectEndedAndJoined(QDialog::Rejected);
}

// Enter used to be the dialog's OK path: it ended the program and lost every typed setting.
TEST_F(FinderDlgShutdownTest, EnterInAFieldTheLanguageBoxOrTheListEndsNothing) {
    StartAndWait();
    Edit(m_dlg, IDC_NAME)->setFocus();
    QTest::keyClicks(Edit(m_dlg, IDC_NAME), QStringLiteral("typed"));
    for (QWidget* widget : std::initializer_list<QWidget*>{
             Edit(m_dlg, IDC_NAME), LanguageList(m_dlg), DeviceList(m_dlg), m_dlg.get()}) {
        widget->setFocus();
        QTest::keyClick(widget, Qt::Key_Return);
        QTest::keyClick(widget, Qt::Key_Enter, Qt::KeypadModifier);
        EXPECT_TRUE(m_dlg->isVisible()) << widget->property(CONTROL_ID_PROPERTY).toInt();
    }
    EXPECT_EQ(Edit(m_dlg, IDC_NAME)->text(), QStringLiteral("typed"));
    EXPECT_TRUE(m_dlg->IsWorkerRunning());
    QTest::keyClick(Edit(m_dlg, IDC_NAME), Qt::Key_Escape); // Esc still ends it
    ExpectEndedAndJoined(QDialog::Rejected);
}

TEST_F(FinderDlgShutdownTest, EnterOnAFocusedButtonPressesIt) {
    StartAndWait();
    SkinButton(m_dlg, IDC_UPDATE)->setFocus();
    ASSERT_TRUE(WaitForReceived(SEARCH_QUERY_COPIES)) << "the first search's copies";
    QTest::keyClick(SkinButton(m_dlg, IDC_UPDATE), Qt::Key_Return);
    EXPECT_TRUE(m_dlg->isVisible()) << "Enter on Update must search, not close";
    EXPECT_TRUE(WaitForReceived(SEARCH_QUERY_COPIES + 1));
}

TEST_F(FinderDlgShutdownTest, TheWholeProgramEndsWithExitCodeZero) {
    bool sawList = false;
    RunProgram(TestCameras(), [&](CFinderApp& app) {
        sawList = QTest::qWaitFor(
            [&] { return DeviceList(app.m_pFinderDlg)->count() == m_expected; }, 5000);
        QTest::mouseClick(SkinButton(app.m_pFinderDlg, IDC_EXIT), Qt::LeftButton);
    });
    EXPECT_TRUE(sawList);
    EXPECT_TRUE(g_shownMessages.empty());
}

} // namespace
