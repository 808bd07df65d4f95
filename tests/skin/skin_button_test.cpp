#include <QButtonGroup>
#include <QMouseEvent>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>

#include "skin/skin_bitmaps.h"
#include "skin/skin_button.h"

namespace {

QImage Face(int id, QSize size) {
    return LoadSkinBitmap(id).scaled(size, Qt::IgnoreAspectRatio, Qt::FastTransformation);
}

QImage Shot(QWidget& w) {
    return w.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// Counts the pixels that differ; 0 means the grab shows exactly the expected picture.
int Differences(const QImage& actual, const QImage& expected) {
    if (actual.size() != expected.size())
        return -1;
    int n = 0;
    for (int y = 0; y < expected.height(); ++y)
        for (int x = 0; x < expected.width(); ++x)
            n += (actual.pixel(x, y) & RGB_MASK) != (expected.pixel(x, y) & RGB_MASK);
    return n;
}

void Mouse(QWidget& w, QEvent::Type type, QPoint pos, Qt::MouseButton button,
           Qt::MouseButtons held) {
    QMouseEvent e(type, pos, w.mapToGlobal(pos), button, held, Qt::NoModifier);
    QApplication::sendEvent(&w, &e);
}

void Press(QWidget& w, QPoint pos) {
    Mouse(w, QEvent::MouseButtonPress, pos, Qt::LeftButton, Qt::LeftButton);
}
void MoveHeld(QWidget& w, QPoint pos) {
    Mouse(w, QEvent::MouseMove, pos, Qt::NoButton, Qt::LeftButton);
}
void Release(QWidget& w, QPoint pos) {
    Mouse(w, QEvent::MouseButtonRelease, pos, Qt::LeftButton, Qt::NoButton);
}
void Enter(QWidget& w) {
    QEnterEvent e(QPointF(5, 5), QPointF(5, 5), w.mapToGlobal(QPointF(5, 5)));
    QApplication::sendEvent(&w, &e);
}
void Leave(QWidget& w) {
    QEvent e(QEvent::Leave);
    QApplication::sendEvent(&w, &e);
}

// A window with the skinned buttons set up as the finder's command buttons.
class SkinButtonTest : public ::testing::Test {
protected:
    void SetUp() override {
        window = std::make_unique<QWidget>();
        window->resize(300, 200);
    }

    CSkinButton* Make(int kind = SKIN_KIND_PUSH, int focus = IDB_BUTTON_OVER) {
        auto* b = new CSkinButton(window.get(), kind);
        b->setGeometry(20, 30, 75, 23);
        b->LoadStateBitmaps(IDB_BUTTON_NORMAL, IDB_BUTTON_DOWN, IDB_BUTTON_OVER,
                            IDB_BUTTON_DISABLED, focus, IDB_BUTTON_MASK, 1, 0, 0);
        b->SetCaptionColor(Qt::black);
        return b;
    }

    void ShowActive() {
        window->show();
        QApplication::setActiveWindow(window.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }

    std::unique_ptr<QWidget> window;
    const QPoint inside{30, 10};
    const QPoint outside{150, 80};
};

} // namespace

TEST_F(SkinButtonTest, CommandButtonSetUpTakesTheMaskShapeAndKeepsItsSize) {
    CSkinButton* b = Make();
    EXPECT_EQ(b->size(), QSize(75, 23));
    ASSERT_TRUE(b->Region().has_value());
    EXPECT_EQ(*b->Region(), QRegion(0, 0, 104, 34));
    EXPECT_EQ(b->mask(), QRegion(0, 0, 104, 34));
    EXPECT_EQ(b->DrawMode(), 1);
    EXPECT_EQ(b->CaptionColor(), QColor(Qt::black));
}

TEST_F(SkinButtonTest, EachStateShowsItsFace) {
    CSkinButton* b = Make(SKIN_KIND_PUSH, 0);
    const QSize size = b->size();
    EXPECT_EQ(Differences(Shot(*b), Face(IDB_BUTTON_NORMAL, size)), 0);

    b->setDown(true);
    EXPECT_EQ(Differences(Shot(*b), Face(IDB_BUTTON_DOWN, size)), 0);
    b->setDown(false);

    Enter(*b);
    EXPECT_TRUE(b->IsHover());
    EXPECT_EQ(Differences(Shot(*b), Face(IDB_BUTTON_OVER, size)), 0);
    Leave(*b);
    EXPECT_FALSE(b->IsHover());
    EXPECT_EQ(Differences(Shot(*b), Face(IDB_BUTTON_NORMAL, size)), 0);
}

TEST_F(SkinButtonTest, FocusShowsTheFocusFaceAndHoverComesFirst) {
    CSkinButton* b = Make(SKIN_KIND_PUSH, IDB_BUTTON_DOWN); // a focus face easy to tell apart
    ShowActive();
    b->setFocus();
    ASSERT_TRUE(b->hasFocus());
    EXPECT_EQ(Differences(Shot(*b), Face(IDB_BUTTON_DOWN, b->size())), 0);
    Enter(*b);
    EXPECT_EQ(Differences(Shot(*b), Face(IDB_BUTTON_OVER, b->size())), 0);
}

TEST_F(SkinButtonTest, PressedLookFollowsThePointerWhileHeld) {
    CSkinButton* b = Make(SKIN_KIND_PUSH, 0);
    QSignalSpy clicks(b, &QAbstractButton::clicked);
    Enter(*b);
    Press(*b, inside);
    EXPECT_TRUE(b->IsButtonDown());
    EXPECT_FALSE(b->IsHover()); // the press ends the hover look
    EXPECT_EQ(Differences(Shot(*b), Face(IDB_BUTTON_DOWN, b->size())), 0);

    MoveHeld(*b, outside);
    EXPECT_FALSE(b->isDown());
    EXPECT_FALSE(b->IsHover());
    EXPECT_EQ(Differences(Shot(*b), Face(IDB_BUTTON_NORMAL, b->size())), 0);

    MoveHeld(*b, inside);
    EXPECT_TRUE(b->isDown());
    EXPECT_FALSE(b->IsHover());
    EXPECT_EQ(Differences(Shot(*b), Face(IDB_BUTTON_DOWN, b->size())), 0);

    Release(*b, inside);
    EXPECT_FALSE(b->IsButtonDown());
    EXPECT_FALSE(b->isDown());
    EXPECT_EQ(clicks.count(), 1);

    // The next move over the button brings the hover look back.
    Mouse(*b, QEvent::MouseMove, inside, Qt::NoButton, Qt::NoButton);
    EXPECT_TRUE(b->IsHover());
}

TEST_F(SkinButtonTest, CheckBoxTogglesOnReleaseOverItBeforeTheClickIsHeard) {
    CSkinButton* b = Make(SKIN_KIND_CHECKBOX);
    int checkSeenByClick = -1;
    QObject::connect(b, &QAbstractButton::clicked, [&] { checkSeenByClick = b->OnGetCheck(); });
    Press(*b, inside);
    Release(*b, inside);
    EXPECT_EQ(b->OnGetCheck(), 1);
    EXPECT_EQ(checkSeenByClick, 1);
    EXPECT_EQ(Differences(Shot(*b), Face(IDB_BUTTON_DOWN, b->size())), 0); // checked: pressed look

    // A release away from the button changes nothing.
    Press(*b, inside);
    MoveHeld(*b, outside);
    Release(*b, outside);
    EXPECT_EQ(b->OnGetCheck(), 1);

    Press(*b, inside);
    Release(*b, inside);
    EXPECT_EQ(b->OnGetCheck(), 0);
}

TEST_F(SkinButtonTest, CheckBoxTogglesOnEverySpaceKeyDown) {
    CSkinButton* b = Make(SKIN_KIND_CHECKBOX);
    QTest::keyPress(b, Qt::Key_Space);
    EXPECT_EQ(b->OnGetCheck(), 1);
    QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, " ", true);
    QApplication::sendEvent(b, &repeat);
    EXPECT_EQ(b->OnGetCheck(), 0);
    QTest::keyRelease(b, Qt::Key_Space);

    CSkinButton* push = Make(SKIN_KIND_PUSH);
    QTest::keyPress(push, Qt::Key_Space);
    EXPECT_EQ(push->OnGetCheck(), 0);
}

TEST_F(SkinButtonTest, DoubleClickIsASecondPress) {
    CSkinButton* b = Make(SKIN_KIND_CHECKBOX);
    QSignalSpy clicks(b, &QAbstractButton::clicked);
    Press(*b, inside);
    Release(*b, inside);
    Mouse(*b, QEvent::MouseButtonDblClick, inside, Qt::LeftButton, Qt::LeftButton);
    EXPECT_TRUE(b->IsButtonDown());
    Release(*b, inside);
    EXPECT_EQ(b->OnGetCheck(), 0); // toggled twice
    EXPECT_EQ(clicks.count(), 2);
}

TEST_F(SkinButtonTest, RadioGroupIsUncheckedThroughPostedEvents) {
    QButtonGroup group;
    CSkinButton* a = Make(SKIN_KIND_RADIO);
    CSkinButton* b = Make(SKIN_KIND_RADIO);
    CSkinButton* c = Make(SKIN_KIND_RADIO);
    auto* plain = new QPushButton(window.get()); // any button of the group gets the event
    for (QAbstractButton* button :
         {static_cast<QAbstractButton*>(a), static_cast<QAbstractButton*>(b),
          static_cast<QAbstractButton*>(c), static_cast<QAbstractButton*>(plain)})
        group.addButton(button);

    a->OnSetCheck(1);
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(a->OnGetCheck(), 1);

    Press(*b, inside);
    Release(*b, inside);
    EXPECT_EQ(b->OnGetCheck(), 1);
    EXPECT_EQ(a->OnGetCheck(), 1); // not yet: the uncheck is posted
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(a->OnGetCheck(), 0);
    EXPECT_EQ(b->OnGetCheck(), 1);
    EXPECT_EQ(c->OnGetCheck(), 0);

    // A radio button's release and space always check, never uncheck.
    Press(*b, inside);
    Release(*b, inside);
    QTest::keyPress(b, Qt::Key_Space);
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(b->OnGetCheck(), 1);
}

TEST_F(SkinButtonTest, RadioAloneStaysCheckedAndSiblingsOutsideTheGroupAreUntouched) {
    CSkinButton* alone = Make(SKIN_KIND_RADIO);
    CSkinButton* sibling = Make(SKIN_KIND_RADIO);
    sibling->OnSetCheck(1);
    alone->OnSetCheck(1);
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(alone->OnGetCheck(), 1);
    EXPECT_EQ(sibling->OnGetCheck(), 1);
}

TEST_F(SkinButtonTest, CheckResultsFollowTheKind) {
    CSkinButton* push = Make(SKIN_KIND_PUSH);
    push->OnSetCheck(1);
    EXPECT_EQ(push->OnGetCheck(), 0);
    Press(*push, inside);
    Release(*push, inside);
    EXPECT_EQ(push->OnGetCheck(), 0);

    CSkinButton* check = Make(SKIN_KIND_CHECKBOX);
    check->OnSetCheck(2);
    EXPECT_EQ(check->OnGetCheck(), 1);
    check->OnSetCheck(0);
    EXPECT_EQ(check->OnGetCheck(), 0);

    EXPECT_EQ(CSkinButton(nullptr, 3).Kind(), SKIN_KIND_PUSH);
}

TEST_F(SkinButtonTest, DisabledWithoutBitmapShowsButtonFaceAndTwoColouredText) {
    CSkinButton* b = Make();
    QPalette pal = b->palette();
    pal.setColor(QPalette::Button, QColor(0, 200, 0));
    pal.setColor(QPalette::Light, QColor(255, 0, 0));
    pal.setColor(QPalette::Disabled, QPalette::WindowText, QColor(0, 0, 255));
    b->setPalette(pal);
    QFont font = b->font();
    font.setStyleStrategy(QFont::NoAntialias);
    font.setPixelSize(14);
    b->setFont(font);
    b->setEnabled(false);

    b->setText(QString());
    QImage fill(b->size(), QImage::Format_RGB32);
    fill.fill(QColor(0, 200, 0));
    EXPECT_EQ(Differences(Shot(*b), fill), 0);

    b->setText("Exit");
    const QImage shot = Shot(*b);
    QRect red, blue;
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x) {
            const QRgb p = shot.pixel(x, y);
            if (p == qRgb(255, 0, 0))
                red |= QRect(x, y, 1, 1);
            else if (p == qRgb(0, 0, 255))
                blue |= QRect(x, y, 1, 1);
        }
    ASSERT_FALSE(red.isEmpty());
    ASSERT_FALSE(blue.isEmpty());
    // The grey copy lies one pixel up and left of the highlight copy.
    EXPECT_EQ(blue.right(), red.right() - 1);
    EXPECT_EQ(blue.bottom(), red.bottom() - 1);
}

TEST_F(SkinButtonTest, DisabledSlotFallsBackToTheNormalPictureOnlyWithoutAnId) {
    CSkinButton* b = Make();
    b->LoadStateBitmaps(IDB_BUTTON_NORMAL, IDB_BUTTON_DOWN, IDB_BUTTON_OVER, 0, 0, IDB_BUTTON_MASK,
                        1, 0, 0);
    b->setEnabled(false);
    EXPECT_EQ(Differences(Shot(*b), Face(IDB_BUTTON_NORMAL, b->size())), 0);

    // Loading again replaces every slot: no normal picture now, so the face is filled.
    b->setEnabled(true);
    b->LoadStateBitmaps(0, IDB_BUTTON_DOWN, IDB_BUTTON_OVER, 0, 0, IDB_BUTTON_MASK, 1, 0, 0);
    QImage fill(b->size(), QImage::Format_RGB32);
    fill.fill(b->palette().color(QPalette::Button));
    EXPECT_EQ(Differences(Shot(*b), fill), 0);
}

TEST_F(SkinButtonTest, SetUpClampsModeAndMarginAndResizesToTheMaskInNormalMode) {
    CSkinButton* b = Make();
    b->LoadStateBitmaps(IDB_BUTTON_NORMAL, 0, 0, 0, 0, 0, 5, 1, -4);
    EXPECT_EQ(b->DrawMode(), 2);
    EXPECT_EQ(b->FocusMargin(), 0);
    EXPECT_EQ(b->Border(), 1);
    EXPECT_EQ(b->size(), QSize(75, 23)); // no mask: no resize

    b->LoadStateBitmaps(IDB_BUTTON_NORMAL, 0, 0, 0, 0, IDB_BUTTON_MASK, -1, 0, 3);
    EXPECT_EQ(b->DrawMode(), 0);
    EXPECT_EQ(b->FocusMargin(), 3);
    EXPECT_EQ(b->geometry(), QRect(20, 30, 104, 34)); // the mask's size, same place
}

TEST_F(SkinButtonTest, FocusRectangleOnlyWithAMargin) {
    CSkinButton* b = Make();
    b->SetCaptionColor(QColor(255, 0, 255));
    ShowActive();
    b->setFocus();
    ASSERT_TRUE(b->hasFocus());
    auto rowHasCaptionColour = [&](int y) {
        const QImage shot = Shot(*b);
        for (int x = 0; x < shot.width(); ++x)
            if (shot.pixel(x, y) == qRgb(255, 0, 255))
                return true;
        return false;
    };
    EXPECT_FALSE(rowHasCaptionColour(0));
    b->LoadStateBitmaps(IDB_BUTTON_NORMAL, IDB_BUTTON_DOWN, IDB_BUTTON_OVER, IDB_BUTTON_DISABLED,
                        IDB_BUTTON_OVER, IDB_BUTTON_MASK, 1, 0, 3);
    EXPECT_TRUE(rowHasCaptionColour(3));
    EXPECT_FALSE(rowHasCaptionColour(2));
}

TEST_F(SkinButtonTest, MaskLetsTheParentsPaintingThroughBitByBit) {
    // The parent paints a flat colour; mask 900 is grey (0x80) on its left half, black on
    // its right half, so the left half mixes parent and face, the right half is the face.
    class Flat : public QWidget {
        void paintEvent(QPaintEvent*) override {
            QPainter(this).fillRect(rect(), QColor(0x3c, 0xa5, 0x5a));
        }
    };
    Flat parent;
    parent.resize(200, 100);
    CSkinButton b(&parent);
    b.setGeometry(10, 10, 55, 29);
    b.LoadStateBitmaps(IDB_BUTTON_NORMAL, 0, 0, 0, 0, 900, 1, 0, 0);
    ASSERT_EQ(b.mask(), QRegion(0, 0, 55, 29));
    const QImage shot = Shot(b);
    const QImage face = Face(IDB_BUTTON_NORMAL, b.size());
    const QRgb background = qRgb(0x3c, 0xa5, 0x5a);
    for (int y = 0; y < 29; ++y)
        for (int x = 0; x < 55; ++x) {
            const QRgb m = x < 27 ? 0x808080 : 0;
            const QRgb want = ((background ^ face.pixel(x, y)) & m) ^ face.pixel(x, y);
            ASSERT_EQ(shot.pixel(x, y) & RGB_MASK, want & RGB_MASK) << x << "," << y;
        }
}
