#include "app/skinned_frame.h"

#include <QFontDatabase>
#include <QPainter>
#include <QWindow>

#include "app/dialog_units.h"
#include "app/qt_helpers.h"
#include "res/control_ids.h"
#include "skin/skin_bitmaps.h"
#include "skin/skin_button.h"

// The label font: Arial in a 16-pixel cell, thin. The cell is ascent plus descent, about
// 1.15 em for Arial and its metric twins, so the em is 14 pixels.
constexpr int LABEL_FONT_PIXELS = 14;

// Where the caption text is drawn, in client coordinates: left, top, right, bottom.
constexpr QRect CAPTION_TEXT_RECT(QPoint(90, 7), QPoint(350 - 1, 30 - 1));
constexpr QPoint LOGO_POSITION(3, 0);

void CSkinnedFrame::LoadSkin() {
    m_background = LoadSkinBitmap(IDB_BACKGROUND);
    m_caption = LoadSkinBitmap(IDB_CAPTION);
    m_frameLeft = LoadSkinBitmap(IDB_FRAME_LEFT);
    m_frameRight = LoadSkinBitmap(IDB_FRAME_RIGHT);
    m_logo = LoadSkinBitmap(IDB_LOGO);
    m_close = LoadSkinBitmap(IDB_CLOSE);
    m_closeGlow = LoadSkinBitmap(IDB_CLOSE_GLOW);
    m_tray = LoadSkinBitmap(IDB_TRAY_BUTTON);
    m_trayGlow = LoadSkinBitmap(IDB_TRAY_GLOW);
    m_captionFont = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    for (int id : {IDC_EXIT, IDC_SUBMIT, IDC_UPDATE}) {
        auto* button = static_cast<CSkinButton*>(ControlById(&m_dialog, id));
        button->LoadStateBitmaps(IDB_BUTTON_NORMAL, IDB_BUTTON_DOWN, IDB_BUTTON_OVER,
                                 IDB_BUTTON_DISABLED, IDB_BUTTON_OVER, IDB_BUTTON_MASK, 1, 0, 0);
        button->SetCaptionColor(QColor(0, 0, 0));
    }
}

// The fifteen labels, the MAC group box and the three command buttons; the list, the
// combo box, the edits, the radio buttons and the "ADSL / DSL" frame keep the template font.
void CSkinnedFrame::SetupFonts() {
    m_labelFont = QFont(QStringLiteral("Arial"));
    m_labelFont.setStyleHint(QFont::SansSerif);
    m_labelFont.setPixelSize(LABEL_FONT_PIXELS);
    m_labelFont.setWeight(QFont::Thin);
    for (int id :
         {IDC_LABEL_ACCOUNT, IDC_LABEL_PASSWORD, IDC_LABEL_MAC, IDC_MAC_GROUP, IDC_LABEL_NAME,
          IDC_LABEL_IP, IDC_LABEL_NETMASK, IDC_LABEL_GATEWAY, IDC_LABEL_HTTP_PORT, IDC_LABEL_PPPOE,
          IDC_LABEL_DHCP, IDC_LABEL_STATIC, IDC_LABEL_ADDRESS, IDC_LABEL_STATUS, IDC_STATUS,
          IDC_INFO, IDC_EXIT, IDC_SUBMIT, IDC_UPDATE}) {
        ControlById(&m_dialog, id)->setFont(m_labelFont);
    }
}

// Background, caption strip, close button, its frame end, tray button, the other frame
// end, the caption text and the logo, in this order, in client coordinates; then the
// thin frame around the client area. Children are not clipped away: the transparent
// labels show this painting behind their text.
void CSkinnedFrame::Paint() {
    QPainter painter(&m_dialog);
    const QRect client = QRect(QPoint(0, 0), m_dialog.contentsRect().size());
    const int w = client.width();
    painter.save();
    painter.translate(DIALOG_BORDER, DIALOG_BORDER);
    painter.setClipRect(client);

    painter.drawImage(client, m_background);
    painter.drawImage(QRect(0, 0, w + 10, CAPTION_HEIGHT), m_caption);

    m_closeButton = QRect(w - 52, 0, CAPTION_BUTTON_WIDTH, CAPTION_HEIGHT);
    painter.drawImage(m_closeButton, m_bCloseGlows ? m_closeGlow : m_close);
    painter.drawImage(QRect(w - 24, 0, CAPTION_BUTTON_WIDTH, CAPTION_HEIGHT), m_frameRight);

    // The bar is drawn one pixel taller than its rectangle, into the row below the strip.
    m_trayButton = QRect(w - 80, 0, CAPTION_BUTTON_WIDTH, CAPTION_HEIGHT);
    painter.drawImage(QRect(w - 80, 0, CAPTION_BUTTON_WIDTH, CAPTION_HEIGHT + 1),
                      m_bTrayGlows ? m_trayGlow : m_tray);
    painter.drawImage(QRect(w - 108, 0, CAPTION_BUTTON_WIDTH, CAPTION_HEIGHT), m_frameLeft);

    painter.setPen(QColor(255, 255, 255));
    painter.setFont(m_captionFont);
    painter.drawText(CAPTION_TEXT_RECT, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                     m_dialog.windowTitle());

    painter.drawImage(LOGO_POSITION, m_logo);
    painter.restore();

    painter.setPen(Qt::black);
    painter.drawRect(m_dialog.rect().adjusted(0, 0, -1, -1));
}

// Both caption buttons act on the press. The rest of the caption bar moves the window.
CSkinnedFrame::Press CSkinnedFrame::OnLButtonDown(QPoint point, QPoint globalPoint) {
    if (m_closeButton.contains(point)) {
        return Press::Close;
    }
    if (m_trayButton.contains(point)) {
        return Press::Tray;
    }
    if (m_dialog.isMaximized() || point.y() < 0 || point.y() >= CAPTION_HEIGHT ||
        !QRect(QPoint(0, 0), m_dialog.contentsRect().size()).contains(point)) {
        return Press::Nothing;
    }
    // The desktop moves the window itself where it can; elsewhere it follows the pointer.
    QWindow* window = m_dialog.windowHandle();
    if (window == nullptr || !window->startSystemMove()) {
        m_dragGrip = globalPoint - m_dialog.pos();
    }
    return Press::Drag;
}

void CSkinnedFrame::OnMouseMove(QPoint point, QPoint globalPoint, bool leftButtonDown) {
    if (m_dragGrip && leftButtonDown) {
        m_dialog.move(globalPoint - *m_dragGrip);
    }
    Glow(point);
}

void CSkinnedFrame::OnLButtonUp() {
    m_dragGrip.reset();
}

// The glowing image under the pointer, the normal one elsewhere; only a change repaints.
void CSkinnedFrame::Glow(QPoint point) {
    const bool closeGlows = m_closeButton.contains(point);
    const bool trayGlows = m_trayButton.contains(point);
    if (closeGlows != m_bCloseGlows) {
        m_bCloseGlows = closeGlows;
        m_dialog.update(ToWidget(m_closeButton));
    }
    if (trayGlows != m_bTrayGlows) {
        m_bTrayGlows = trayGlows;
        m_dialog.update(ToWidget(m_trayButton.adjusted(0, 0, 0, 1)));
    }
}
