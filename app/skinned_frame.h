#pragma once

#include <QFont>
#include <QImage>
#include <QPoint>
#include <QRect>

#include <optional>

class QWidget;
class QPainter;

// The skinned frame of the window: the skin's bitmaps and the command buttons' faces, the
// label font, the painting of the background and the self-drawn caption bar, its close and
// minimise-to-tray buttons with their glow under the pointer, and dragging by the caption.
class CSkinnedFrame {
public:
    explicit CSkinnedFrame(QWidget& dialog) : m_dialog(dialog) {}

    // Loaded once, so that no paint decodes a picture.
    void LoadSkin();
    void SetupFonts();
    void Paint();

    // What a press of the left button at this client point asks for.
    enum class Press { Close, Tray, Drag, Nothing };
    Press OnLButtonDown(QPoint point, QPoint globalPoint);
    void OnMouseMove(QPoint point, QPoint globalPoint, bool leftButtonDown);
    void OnLButtonUp();

    // Where the caption's buttons were last painted, in client coordinates; empty until the
    // first paint, so that no press counts as on them before.
    QRect CloseButtonRect() const { return m_closeButton; }
    QRect TrayButtonRect() const { return m_trayButton; }

private:
    void Glow(QPoint point);

    QWidget& m_dialog;
    QRect m_closeButton;
    QRect m_trayButton;
    QImage m_background;
    QImage m_caption;
    QImage m_logo;
    QImage m_frameLeft;
    QImage m_frameRight;
    QImage m_close;
    QImage m_closeGlow;
    QImage m_tray;
    QImage m_trayGlow;
    QFont m_captionFont;
    QFont m_labelFont;
    bool m_bCloseGlows = false; // the pointer is over the close button
    bool m_bTrayGlows = false;  // the pointer is over the minimise-to-tray button
    // Where the pointer holds the window while the desktop leaves the move to us.
    std::optional<QPoint> m_dragGrip;
};
