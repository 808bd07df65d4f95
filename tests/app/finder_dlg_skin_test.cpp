// The finder window's skin: the painted frame and caption bar, the caption's buttons with
// their glow, dragging, the notification-area icon, the command buttons' faces, the
// transparent labels and their font.

#include <QComboBox>
#include <QMouseEvent>
#include <QPointer>
#include <QRadioButton>
#include <QScreen>
#include <QTimer>
#include <QWindow>

#include "app/finder_app.h"
#include "core/program/finder_version.h"
#include "skin/skin_bitmaps.h"
#include "tests/app/finder_fixture.h"

namespace {

constexpr int CLIENT_WIDTH = 468;
const QRect CLOSE_RECT(CLIENT_WIDTH - 52, 0, 28, 30);
const QRect TRAY_RECT(CLIENT_WIDTH - 80, 0, 28, 30);

// Client coordinates lie one pixel inside the dialog's frame.
QPoint Widget(QPoint client) {
    return client + QPoint(1, 1);
}

// Whether the shot's pixel at client point p is a pixel of `bitmap` stretched over
// `target`: the source pixel it maps to, give or take one for the rounding of the scaler.
bool FromStretched(const QImage& shot, QPoint p, const QImage& bitmap, QRect target) {
    const QRgb seen = shot.pixel(Widget(p));
    const int sx = (p.x() - target.x()) * bitmap.width() / target.width();
    const int sy = (p.y() - target.y()) * bitmap.height() / target.height();
    for (int y = sy - 1; y <= sy + 1; ++y)
        for (int x = sx - 1; x <= sx + 1; ++x)
            if (bitmap.rect().contains(x, y) && bitmap.pixel(x, y) == seen)
                return true;
    return false;
}

// Whether the shot shows `bitmap` unscaled with its top-left at client point `at`.
bool ShowsExactly(const QImage& shot, QPoint at, const QImage& bitmap, int rows = -1) {
    if (bitmap.isNull())
        return false;
    const int height = rows < 0 ? bitmap.height() : rows;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < bitmap.width(); ++x)
            if (shot.pixel(Widget(at + QPoint(x, y))) != bitmap.pixel(x, y))
                return false;
    return true;
}

// Whether every pixel of the client rectangle comes from `bitmap` stretched over `target`.
bool ShowsStretched(const QImage& shot, QRect area, const QImage& bitmap, QRect target) {
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (!FromStretched(shot, QPoint(x, y), bitmap, target))
                return false;
    return true;
}

class SkinTest : public FinderDlgTest {
protected:
    // What the dialog painted, as it is in the window's backing store.
    QImage Screen() const {
        QCoreApplication::processEvents();
        return m_dlg->screen()
            ->grabWindow(m_dlg->winId())
            .toImage()
            .convertToFormat(QImage::Format_RGB32);
    }

    QImage Shot() const { return m_dlg->grab().toImage().convertToFormat(QImage::Format_RGB32); }

    void Press(QPoint client) {
        QTest::mousePress(m_dlg.get(), Qt::LeftButton, {}, Widget(client));
    }

    void MoveTo(QPoint client) { QTest::mouseMove(m_dlg.get(), Widget(client)); }

    bool CloseShows(int id) {
        return QTest::qWaitFor(
            [&] { return ShowsExactly(Screen(), CLOSE_RECT.topLeft(), LoadSkinBitmap(id)); }, 2000);
    }

    // The bar is stretched one row taller: compare the rows above the doubled one.
    bool TrayShows(int id) {
        return QTest::qWaitFor(
            [&] { return ShowsExactly(Screen(), TRAY_RECT.topLeft(), LoadSkinBitmap(id), 14); },
            2000);
    }
};

TEST_F(SkinTest, PaintsBackgroundCaptionStripButtonsFrameEndsAndLogo) {
    StartFinder({});
    const QImage shot = Shot();
    const int w = CLIENT_WIDTH;
    const int h = 438;
    EXPECT_TRUE(ShowsExactly(shot, QPoint(3, 0), LoadSkinBitmap(IDB_LOGO)));
    EXPECT_TRUE(ShowsExactly(shot, CLOSE_RECT.topLeft(), LoadSkinBitmap(IDB_CLOSE)));
    EXPECT_TRUE(ShowsExactly(shot, TRAY_RECT.topLeft(), LoadSkinBitmap(IDB_TRAY_BUTTON), 14));
    EXPECT_TRUE(ShowsStretched(shot, QRect(w - 24, 0, 24, 30), LoadSkinBitmap(IDB_FRAME_RIGHT),
                               QRect(w - 24, 0, 28, 30)));
    EXPECT_TRUE(ShowsStretched(shot, QRect(w - 108, 0, 28, 30), LoadSkinBitmap(IDB_FRAME_LEFT),
                               QRect(w - 108, 0, 28, 30)));
    // The strip between the logo and the text, and between the text and the frame.
    const QRect strip(0, 0, w + 10, 30);
    EXPECT_TRUE(ShowsStretched(shot, QRect(80, 0, 10, 7), LoadSkinBitmap(IDB_CAPTION), strip));
    EXPECT_TRUE(ShowsStretched(shot, QRect(350, 0, 10, 30), LoadSkinBitmap(IDB_CAPTION), strip));
    // The background below the caption, where no control covers it.
    EXPECT_TRUE(ShowsStretched(shot, QRect(455, 405, 13, 33), LoadSkinBitmap(IDB_BACKGROUND),
                               QRect(0, 0, w, h)));
    EXPECT_EQ(shot.pixel(0, 0), qRgb(0, 0, 0)) << "the thin frame";
    EXPECT_EQ(shot.pixel(469, 439), qRgb(0, 0, 0));
}

TEST_F(SkinTest, CaptionTextIsWhiteAndStaysInsideItsRectangle) {
    StartFinder({});
    m_dlg->setWindowTitle(QString(80, QLatin1Char('M')));
    const QImage shot = Shot();
    // Nothing of the blue strip is this bright; the text's strokes are.
    auto white = [&](int x, int y) {
        const QColor c = shot.pixelColor(Widget({x, y}));
        return std::min({c.red(), c.green(), c.blue()}) >= 230;
    };
    int whiteInside = 0;
    for (int y = 7; y < 30; ++y) {
        for (int x = 90; x < 350; ++x)
            whiteInside += white(x, y);
        for (int x = 350; x < 360; ++x)
            EXPECT_FALSE(white(x, y)) << x << "," << y;
    }
    EXPECT_GT(whiteInside, 100);
    for (int x = 80; x < 360; ++x)
        for (int y = 0; y < 7; ++y)
            ASSERT_FALSE(white(x, y)) << x << "," << y;
}

TEST_F(SkinTest, ButtonRectanglesAreEmptyUntilTheFirstPaint) {
    FinderDlgTest::StartFinder({}); // for the camera peer and the language.db copy
    m_dlg.reset();
    CFinderDlg dlg(m_peer->Endpoints(), QString(), m_languageDb);
    EXPECT_TRUE(dlg.CloseButtonRect().isEmpty());
    EXPECT_TRUE(dlg.TrayButtonRect().isEmpty());
    dlg.show(); // painting waits for the event loop
    EXPECT_TRUE(dlg.CloseButtonRect().isEmpty());
    // A press where the close button will be is no press on it yet.
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(Widget(CLOSE_RECT.center())),
                      QPointF(dlg.mapToGlobal(Widget(CLOSE_RECT.center()))), Qt::LeftButton,
                      Qt::LeftButton, {});
    QApplication::sendEvent(&dlg, &press);
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_TRUE(dlg.IsWorkerRunning());

    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !dlg.CloseButtonRect().isEmpty(); }, 2000));
    EXPECT_EQ(dlg.CloseButtonRect(), CLOSE_RECT);
    EXPECT_EQ(dlg.TrayButtonRect(), TRAY_RECT);
}

TEST_F(SkinTest, CaptionButtonsGlowUnderThePointerAndNowhereElse) {
    StartFinder({});
    ASSERT_TRUE(CloseShows(IDB_CLOSE));
    MoveTo(CLOSE_RECT.center());
    EXPECT_TRUE(CloseShows(IDB_CLOSE_GLOW));
    EXPECT_TRUE(TrayShows(IDB_TRAY_BUTTON));
    MoveTo(TRAY_RECT.center());
    EXPECT_TRUE(TrayShows(IDB_TRAY_GLOW));
    EXPECT_TRUE(CloseShows(IDB_CLOSE));
    MoveTo(QPoint(200, 10)); // the caption bar away from the buttons
    EXPECT_TRUE(TrayShows(IDB_TRAY_BUTTON));
    MoveTo(CLOSE_RECT.topLeft());
    EXPECT_TRUE(CloseShows(IDB_CLOSE_GLOW));
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(m_dlg.get(), &leave);
    EXPECT_TRUE(CloseShows(IDB_CLOSE));
}

TEST_F(SkinTest, APressOnCloseEndsTheDialogAndJoinsTheWorker) {
    StartFinder(TestCameras());
    ASSERT_TRUE(WaitForList(m_expected));
    Press(CLOSE_RECT.topLeft());
    EXPECT_FALSE(m_dlg->isVisible());
    EXPECT_EQ(m_dlg->result(), QDialog::Rejected);
    EXPECT_FALSE(m_dlg->IsWorkerRunning());
    EXPECT_TRUE(CanBindUdpPort(m_peer->Endpoints().localPort));
}

TEST_F(SkinTest, ThePressRightOfCloseIsOnTheFrameNotTheButton) {
    StartFinder({});
    Press(QPoint(CLOSE_RECT.right() + 1, 5));
    EXPECT_TRUE(m_dlg->isVisible());
    EXPECT_TRUE(m_dlg->IsWorkerRunning());
}

TEST_F(SkinTest, TheTrayButtonHidesToTheTrayAndOnlyADoubleClickBringsTheWindowBack) {
    StartFinder(TestCameras());
    g_trayAvailable = true;
    EXPECT_FALSE(TrayIcon(m_dlg)->isVisible());
    Press(TRAY_RECT.center());
    EXPECT_FALSE(m_dlg->isVisible());
    EXPECT_TRUE(m_dlg->IsInTray());
    EXPECT_TRUE(TrayIcon(m_dlg)->isVisible());
    EXPECT_TRUE(TrayIcon(m_dlg)->toolTip().startsWith(QStringLiteral("Lanvista finder ")));
    EXPECT_TRUE(m_dlg->IsWorkerRunning()) << "the finder goes on searching in the tray";
    EXPECT_TRUE(WaitForList(m_expected));
    EXPECT_EQ(TrayIcon(m_dlg)->toolTip(),
              QStringLiteral("Lanvista finder %1\n5 cameras listed").arg(FinderVersion()));

    for (auto reason : {QSystemTrayIcon::Trigger, QSystemTrayIcon::Context,
                        QSystemTrayIcon::MiddleClick, QSystemTrayIcon::Unknown}) {
        emit TrayIcon(m_dlg)->activated(reason);
        EXPECT_FALSE(m_dlg->isVisible()) << reason;
        EXPECT_TRUE(TrayIcon(m_dlg)->isVisible()) << reason;
    }
    emit TrayIcon(m_dlg)->activated(QSystemTrayIcon::DoubleClick);
    EXPECT_TRUE(m_dlg->isVisible());
    EXPECT_FALSE(m_dlg->IsInTray());
    EXPECT_FALSE(TrayIcon(m_dlg)->isVisible());

    // A double-click while the window is shown changes nothing.
    emit TrayIcon(m_dlg)->activated(QSystemTrayIcon::DoubleClick);
    EXPECT_TRUE(m_dlg->isVisible());
    EXPECT_FALSE(TrayIcon(m_dlg)->isVisible());
}

TEST_F(SkinTest, WithoutANotificationAreaTheTrayButtonLeavesTheWindowShown) {
    StartFinder({});
    Press(TRAY_RECT.center());
    EXPECT_TRUE(m_dlg->isVisible());
    EXPECT_FALSE(m_dlg->IsInTray());
    EXPECT_FALSE(TrayIcon(m_dlg)->isVisible());
}

TEST_F(SkinTest, TheProgramGoesOnWhileInTheTray) {
    bool restoredInsideTheLoop = false;
    // Fires only while the dialog's loop still runs; owned here, so never after the test.
    QTimer later;
    later.setSingleShot(true);
    RunProgram({}, [&](CFinderApp& app) {
        CFinderDlg* dlg = app.m_pFinderDlg;
        // Started first, so that it ends the program even when a step below fails.
        QObject::connect(&later, &QTimer::timeout, [&, dlg] {
            emit TrayIcon(dlg)->activated(QSystemTrayIcon::DoubleClick);
            restoredInsideTheLoop = dlg->isVisible();
            QTest::mouseClick(SkinButton(dlg, IDC_EXIT), Qt::LeftButton);
        });
        later.start(300);
        g_trayAvailable = true;
        ASSERT_TRUE(QTest::qWaitFor([&] { return !dlg->TrayButtonRect().isEmpty(); }, 2000));
        QTest::mousePress(dlg, Qt::LeftButton, {}, Widget(dlg->TrayButtonRect().center()));
        ASSERT_TRUE(dlg->IsInTray());
    });
    EXPECT_TRUE(restoredInsideTheLoop) << "hiding to the tray must not end the dialog";
}

TEST_F(SkinTest, TheCaptionBarDragsTheWindowAndTheRestDoesNot) {
    StartFinder({});
    const QPoint start = m_dlg->pos();
    Press(QPoint(200, 10));
    if (m_dlg->windowHandle()->startSystemMove())
        GTEST_SKIP() << "the platform moves windows itself";
    QTest::mouseMove(m_dlg.get(), Widget(QPoint(230, 30)));
    EXPECT_TRUE(QTest::qWaitFor([&] { return m_dlg->pos() == start + QPoint(30, 20); }, 2000))
        << m_dlg->pos().x() << "," << m_dlg->pos().y();
    QTest::mouseRelease(m_dlg.get(), Qt::LeftButton, {}, Widget(QPoint(200, 10)));

    const QPoint moved = m_dlg->pos();
    Press(QPoint(3, 40)); // below the caption bar
    QTest::mouseMove(m_dlg.get(), Widget(QPoint(40, 80)));
    QTest::mouseRelease(m_dlg.get(), Qt::LeftButton, {}, Widget(QPoint(40, 80)));
    EXPECT_EQ(m_dlg->pos(), moved);
}

TEST_F(SkinTest, MinimiseGoesToTheTaskbarNotTheTray) {
    StartFinder({});
    m_dlg->OnMinimize();
    EXPECT_TRUE(QTest::qWaitFor([&] { return m_dlg->isMinimized(); }, 2000));
    EXPECT_FALSE(m_dlg->IsInTray());
    EXPECT_FALSE(TrayIcon(m_dlg)->isVisible());
}

TEST_F(SkinTest, CommandButtonsWearTheSkinWithBlackText) {
    StartFinder({});
    SkinButton(m_dlg, IDC_SUBMIT)->setEnabled(true); // as a selection leaves it: the normal face
    for (CSkinButton* button : {SkinButton(m_dlg, IDC_UPDATE), SkinButton(m_dlg, IDC_EXIT),
                                SkinButton(m_dlg, IDC_SUBMIT)}) {
        SCOPED_TRACE(button->text().toStdString());
        EXPECT_EQ(button->CaptionColor(), QColor(0, 0, 0));
        EXPECT_EQ(button->DrawMode(), 1);
        ASSERT_TRUE(button->Region().has_value());
        EXPECT_EQ(button->Region()->boundingRect(), QRect(0, 0, 104, 34));
        // The normal face stretched over the button, at its left edge, away from the text.
        const QImage face = button->grab().toImage().convertToFormat(QImage::Format_RGB32);
        const QImage normal = LoadSkinBitmap(IDB_BUTTON_NORMAL);
        const int y = button->height() / 2;
        const QRgb seen = face.pixel(1, y);
        const int sy = y * normal.height() / button->height();
        EXPECT_TRUE(normal.pixel(0, sy) == seen || normal.pixel(1, sy) == seen ||
                    normal.pixel(0, sy + 1) == seen || normal.pixel(1, sy - 1) == seen);
    }
}

TEST_F(SkinTest, LabelFontGoesToTheLabelsMacFrameAndCommandButtonsOnly) {
    StartFinder({});
    const int skinned[] = {1019, 1020, 1021, 1034, 1023, 1024, 1025, 1026, 1027, 1030,
                           1031, 1032, 1022, 1028, 1029, 1003, 1002, 1012, 1001};
    for (int id : skinned) {
        SCOPED_TRACE(id);
        const QFont font = m_dlg->ControlById(id)->font();
        EXPECT_EQ(font.family(), QStringLiteral("Arial"));
        EXPECT_EQ(font.pixelSize(), 14);
        EXPECT_EQ(font.weight(), QFont::Thin);
    }
    for (int id : {1000, 1004, 1007, 1013, 1036, -1}) {
        SCOPED_TRACE(id);
        EXPECT_EQ(m_dlg->ControlById(id)->font(), m_dlg->font());
    }
}

TEST_F(SkinTest, LabelsShowTheBackgroundAndATextChangeLeavesNoTrace) {
    StartFinder({});
    CTransparentStatic* label = Label(m_dlg, IDC_INFO);
    const QRect area = label->geometry(); // widget coordinates
    auto labelPixels = [&] { return Screen().copy(area); };
    const QImage empty = labelPixels();
    // Nothing drawn of its own: the dialog's background shows through.
    const QImage shot = Shot();
    const QRect client(0, 0, CLIENT_WIDTH, 438);
    // (Its top row lies under the tray bar's one extra row.)
    EXPECT_TRUE(ShowsStretched(shot, area.translated(-1, -1).adjusted(0, 1, 0, 0),
                               LoadSkinBitmap(IDB_BACKGROUND), client));

    label->setText(QStringLiteral("WWWWWWWWWWWWWWWWWWWWWWWWWWWW\nWWWWWWWWWWWWWWWWWW"));
    const QImage full = labelPixels();
    EXPECT_NE(full, empty);
    EXPECT_NE(full.pixel(area.width() - 12, 8), empty.pixel(area.width() - 12, 8));
    label->setText(QString());
    EXPECT_EQ(labelPixels(), empty);
    EXPECT_EQ(label->TextColor(), QColor(16, 32, 64)) << "dark text on the light skin";
}

} // namespace
