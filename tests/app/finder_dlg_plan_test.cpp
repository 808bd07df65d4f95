// Many cameras in one step, through the window: a multiple selection, the list's menu, the
// dialog's preview and its marks, Send, each row's result and the report saved as CSV.

#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTableWidget>

#include "app/addressing_dialog.h"
#include "core/messages/finder_texts.h"
#include "tests/app/finder_fixture.h"
#include "tests/support/test_files.h"

namespace {

// The finder's own question box, taken before any test puts its recorder in its place.
const AskFunction g_askWithMessageBox = g_pfnAsk;

// Answers the open dialog with the file a test puts here.
QString g_openFile;
QString AnswerOpenFile(QWidget*, const QString&, const QString&) {
    return g_openFile;
}

class PlanDialogTest : public FinderDlgTest {
protected:
    // Opens the list's menu on an entry, as the right button does, and clicks the action.
    void ClickMenu(QListWidgetItem* entry, const WindowText& action) {
        QWidget* viewport = DeviceList(m_dlg)->viewport();
        const QPoint point = DeviceList(m_dlg)->visualItemRect(entry).center();
        QTimer::singleShot(0, [&] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            ASSERT_NE(menu, nullptr) << "no menu opened";
            for (QAction* item : menu->actions()) {
                if (item->text() == QString::fromUtf8(action.english)) {
                    QTest::mouseClick(menu, Qt::LeftButton, {},
                                      menu->actionGeometry(item).center());
                    return;
                }
            }
            menu->close();
            FAIL() << "no action " << action.english;
        });
        QContextMenuEvent event(QContextMenuEvent::Mouse, point, viewport->mapToGlobal(point));
        QApplication::sendEvent(viewport, &event);
    }

    QPushButton* DialogButton(CAddressingDialog* dialog, const WindowText& text) {
        for (QPushButton* button : dialog->findChildren<QPushButton*>()) {
            if (button->text() == QString::fromUtf8(text.english)) {
                return button;
            }
        }
        ADD_FAILURE() << "no button " << text.english;
        return nullptr;
    }

    // The rows' texts in one column, joined.
    static QString Column(QTableWidget* rows, int column) {
        QStringList texts;
        for (int row = 0; row < rows->rowCount(); ++row) {
            texts << rows->item(row, column)->text();
        }
        return texts.join(QLatin1Char(' '));
    }
};

TEST_F(PlanDialogTest, ASelectionIsAddressedAndEveryRowConfirms) {
    std::vector<SimDevice> devices = FactoryDevices(4, {192, 168, 1, 64});
    devices.push_back(TestCameras().front()); // Front door stays out of the plan
    devices.back().netmask = {255, 255, 255, 128};
    StartFinder(devices);
    ASSERT_TRUE(WaitForList(5));
    // A mask longer than its field shows from its start.
    Select(QStringLiteral("Front door"));
    EXPECT_EQ(Edit(m_dlg, IDC_NETMASK)->cursorPosition(), 0);
    QListWidget* list = DeviceList(m_dlg);
    // All, then Front door out again: the panel stays with one camera, the one picked last.
    list->setFocus();
    QTest::keyClick(list, Qt::Key_A, Qt::ControlModifier);
    QListWidgetItem* front = Entry(QStringLiteral("Front door"));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ControlModifier,
                      list->visualItemRect(front).center());
    ASSERT_EQ(list->selectedItems().size(), 4);
    QListWidgetItem* last = list->selectedItems().back();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ControlModifier,
                      list->visualItemRect(last).center());
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ControlModifier,
                      list->visualItemRect(last).center());
    EXPECT_EQ(MacGroup(m_dlg)->title().toStdString(),
              MacToText(m_dlg->Table().slot[last->data(Qt::UserRole).toInt()].mac));

    ClickMenu(last, TEXT_MENU_ADDRESS_SELECTED);
    auto* dialog = m_dlg->findChild<CAddressingDialog*>();
    ASSERT_NE(dialog, nullptr);
    auto* rows = dialog->findChild<QTableWidget*>();
    QList<QLineEdit*> fields = dialog->findChildren<QLineEdit*>();
    ASSERT_EQ(fields.size(), 4); // first IP, netmask, gateway, names
    EXPECT_EQ(fields[0]->text(), QStringLiteral("127.0.0.2")) << "the card's first free address";
    // The card of the cameras is loopback here: the test gives its site's network instead.
    Retype(fields[0], QStringLiteral("192.168.1.10"));
    Retype(fields[1], QStringLiteral("255.255.255.0"));
    Retype(fields[2], QStringLiteral("192.168.1.1"));
    // A name that cannot fit is cut: every camera it cuts is marked, and that is a risk.
    Retype(fields[3], QStringLiteral("{n} a long dock name"));
    for (int row = 0; row < rows->rowCount(); ++row) {
        EXPECT_FALSE(rows->item(row, 0)->icon().isNull()) << row;
    }
    QPushButton* send = DialogButton(dialog, PLAN_TEXT_SEND);
    EXPECT_TRUE(send->isEnabled());
    // Names that read alike once cut: nothing can go.
    Retype(fields[3], QStringLiteral("A long dock name {n}"));
    EXPECT_FALSE(send->isEnabled());
    Retype(fields[3], QStringLiteral("Dock {n:02}"));
    EXPECT_TRUE(rows->item(0, 0)->icon().isNull());
    EXPECT_EQ(Column(rows, 3),
              QStringLiteral("192.168.1.10 192.168.1.11 192.168.1.12 192.168.1.13"));
    EXPECT_EQ(Column(rows, 1), QStringLiteral("Dock 01 Dock 02 Dock 03 Dock 04"));

    QTest::mouseClick(send, Qt::LeftButton);
    EXPECT_TRUE(g_askedQuestions.empty()) << "nothing risky to ask about";
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            return Column(rows, 5) == QStringLiteral("confirmed confirmed confirmed confirmed");
        },
        10000))
        << Column(rows, 5).toStdString();
    EXPECT_EQ(Label(m_dlg, IDC_STATUS)->text(),
              QStringLiteral("4 confirmed, 0 not confirmed, 0 unchanged"));
    // As listed: "252 IPCAM" (the fourth to answer) first.
    EXPECT_EQ(m_peer->Devices()[3].name, "Dock 01");

    TempFolder folder;
    g_saveFile = QString::fromStdString(folder.File("site-report"));
    QTest::mouseClick(DialogButton(dialog, PLAN_TEXT_SAVE_REPORT), Qt::LeftButton);
    const std::string report = ReadFile(folder.File("site-report.csv"));
    EXPECT_EQ(report.substr(0, report.find('\n')), "mac,name,changes,result,detail\r");
    EXPECT_NE(report.find("02:00:5e:10:00:03,Dock 01,\"name IPCAM -> Dock 01, ip 192.168.1.64 -> "
                          "192.168.1.10\",confirmed,\r\n"),
              std::string::npos)
        << report;

    // The same cameras from a plan file, as a spreadsheet saved it: one row edited.
    const QPointer<CAddressingDialog> closing = dialog;
    dialog->close();
    ASSERT_TRUE(QTest::qWaitFor([&] { return closing.isNull(); })) << "gone once closed";
    ASSERT_TRUE(WaitForList(5));
    WriteFile(folder.File("site.csv"), "\xEF\xBB\xBFmac,name,httpPort\r\n"
                                       "02:00:5e:10:00:03,Gate,8081\r\n02:00:5e:10:00:02,,\r\n");
    g_openFile = QString::fromStdString(folder.File("site.csv"));
    g_pfnAskOpenFile = AnswerOpenFile;
    ClickMenu(Entry(QStringLiteral("Front door")), TEXT_MENU_OPEN_PLAN);
    auto* fromFile = m_dlg->findChild<CAddressingDialog*>();
    ASSERT_NE(fromFile, nullptr);
    rows = fromFile->findChild<QTableWidget*>();
    EXPECT_EQ(Column(rows, 4).toStdString(), "name Dock 01 -> Gate, httpPort 8080 -> 8081 ");
    QTest::mouseClick(DialogButton(fromFile, PLAN_TEXT_SEND), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return Column(rows, 5) == QStringLiteral("confirmed unchanged"); }, 10000))
        << Column(rows, 5).toStdString();
    EXPECT_EQ(m_peer->Devices()[3].httpPort, 8081);
}

// Forty cameras with a gateway outside their new subnet: one line for the kind of risk, the
// cameras in the box's details, and the box with its answers on a 768-pixel screen.
TEST_F(PlanDialogTest, ManyRisksAreAskedInABoxThatFitsTheScreen) {
    StartFinder(FactoryDevices(40, {192, 168, 1, 64}));
    ASSERT_TRUE(WaitForList(40));
    std::vector<int> cameras;
    for (int row = 0; row < DeviceList(m_dlg)->count(); ++row) {
        cameras.push_back(DeviceList(m_dlg)->item(row)->data(Qt::UserRole).toInt());
    }
    auto* dialog = new CAddressingDialog(*m_dlg, cameras);
    QList<QLineEdit*> fields = dialog->findChildren<QLineEdit*>();
    Retype(fields[0], QStringLiteral("192.168.1.10"));
    Retype(fields[1], QStringLiteral("255.255.255.0"));
    Retype(fields[2], QStringLiteral("192.168.2.1"));
    g_pfnAsk = g_askWithMessageBox;
    int height = 0;
    QString text, details;
    bool buttonsShown = false;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr) << "no question";
        height = box->frameGeometry().height();
        text = box->text();
        details = box->detailedText();
        buttonsShown = box->buttons().size() >= 2;
        for (QAbstractButton* button : box->buttons()) {
            const QRect place(button->mapTo(box, QPoint(0, 0)), button->size());
            buttonsShown = buttonsShown && button->isVisible() && box->rect().contains(place);
        }
        QTest::keyClick(box, Qt::Key_Escape);
    });
    QTest::mouseClick(DialogButton(dialog, PLAN_TEXT_SEND), Qt::LeftButton);
    EXPECT_EQ(text, QStringLiteral("40 cameras get a gateway outside their new subnet, so they "
                                   "cannot reach it."));
    EXPECT_EQ(details.count(QLatin1Char('\n')), 39) << details.toStdString();
    EXPECT_TRUE(details.startsWith(QStringLiteral("02005e")));
    EXPECT_GT(height, 0);
    EXPECT_LE(height, 768 - 40) << "the box and its answers stay on the screen";
    EXPECT_TRUE(buttonsShown);
    EXPECT_FALSE(dialog->IsRunning()) << "Cancel sends nothing";
    delete dialog;
}

} // namespace
