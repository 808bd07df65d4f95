#include <QPainter>
#include <QScreen>
#include <QTest>
#include <QWindow>
#include <gtest/gtest.h>

#include <memory>

#include "skin/skin_bitmaps.h"
#include "skin/transparent_static.h"

namespace {

// A parent that paints the skin background over its whole area, as the finder's window does.
class SkinnedParent : public QWidget {
public:
    SkinnedParent() : m_background(LoadSkinBitmap(IDB_BACKGROUND)) { resize(320, 120); }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.drawImage(rect(), m_background);
    }

private:
    QImage m_background;
};

QFont Crisp() {
    QFont font;
    font.setPixelSize(16);
    font.setStyleStrategy(QFont::NoAntialias);
    return font;
}

// What the window shows on screen right now (its backing store), without any new painting.
QImage OnScreen(QWidget& window) {
    return window.windowHandle()
        ->screen()
        ->grabWindow(window.winId())
        .toImage()
        .convertToFormat(QImage::Format_RGB32);
}

struct Scene {
    std::unique_ptr<SkinnedParent> parent = std::make_unique<SkinnedParent>();
    CTransparentStatic* label = nullptr;

    explicit Scene(const QString& text) {
        label = new CTransparentStatic(parent.get());
        label->setFont(Crisp());
        label->setGeometry(10, 40, 280, 24);
        label->setText(text);
    }
    void Show() {
        parent->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(parent.get()));
        QCoreApplication::processEvents();
    }
};

} // namespace

TEST(TransparentStatic, ParentBackgroundShowsAroundTheText) {
    Scene scene("Hi");
    Scene bare("");
    const QImage shot = scene.parent->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QImage background = bare.parent->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QColor text = scene.label->TextColor();

    int textPixels = 0;
    for (int y = 40; y < 64; ++y)
        for (int x = 10; x < 290; ++x) {
            const QRgb p = shot.pixel(x, y);
            if (p == text.rgb())
                ++textPixels;
            else
                ASSERT_EQ(p, background.pixel(x, y)) << x << "," << y;
        }
    EXPECT_GT(textPixels, 10);
    // The background is the skin's gradient, not a flat label face.
    EXPECT_NE(background.pixel(20, 41), background.pixel(20, 62));
}

TEST(TransparentStatic, TextColourComesFromItsSetting) {
    Scene scene("Hi");
    const QColor previous = scene.label->SetTextColor(QColor(200, 0, 0));
    EXPECT_EQ(previous, QColor(16, 32, 64));
    const QImage shot = scene.parent->grab().toImage().convertToFormat(QImage::Format_RGB32);
    int red = 0;
    for (int y = 40; y < 64; ++y)
        for (int x = 10; x < 290; ++x)
            red += shot.pixel(x, y) == qRgb(200, 0, 0);
    EXPECT_GT(red, 10);
}

TEST(TransparentStatic, ShorterTextRepaintsAtOnceAndLeavesNoTrace) {
    Scene scene("A much longer status line than the next one");
    scene.Show();
    Scene expected("OK");
    expected.Show();
    const QRect area(10, 40, 280, 24);
    const QImage want = OnScreen(*expected.parent).copy(area);

    scene.label->setText("OK"); // no event processing after this: the repaint is immediate
    const QImage got = OnScreen(*scene.parent).copy(area);
    ASSERT_EQ(got.size(), want.size());
    int differences = 0;
    for (int y = 0; y < want.height(); ++y)
        for (int x = 0; x < want.width(); ++x)
            differences += got.pixel(x, y) != want.pixel(x, y);
    EXPECT_EQ(differences, 0);
}
