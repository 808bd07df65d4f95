// The skinned frame: the skin's bitmaps and the command buttons' faces, the label font,
// and the painting of the background and the self-drawn caption bar.

#include <QFontDatabase>
#include <QPainter>

#include "app/dialog_units.h"
#include "app/finder_dlg.h"
#include "skin/skin_bitmaps.h"
#include "skin/skin_button.h"

// The label font: Arial in a 16-pixel cell, thin. The cell is ascent plus descent, about
// 1.15 em for Arial and its metric twins, so the em is 14 pixels.
constexpr int LABEL_FONT_PIXELS = 14;

// Where the caption text is drawn, in client coordinates: left, top, right, bottom.
constexpr QRect CAPTION_TEXT_RECT(QPoint(90, 7), QPoint(350 - 1, 30 - 1));
constexpr QPoint LOGO_POSITION(3, 0);

void CFinderDlg::SetupSkin() {
    m_bmpBackground = LoadSkinBitmap(IDB_BACKGROUND);
    m_bmpCaption = LoadSkinBitmap(IDB_CAPTION);
    m_bmpFrameLeft = LoadSkinBitmap(IDB_FRAME_LEFT);
    m_bmpFrameRight = LoadSkinBitmap(IDB_FRAME_RIGHT);
    m_bmpLogo = LoadSkinBitmap(IDB_LOGO);
    m_bmpClose = LoadSkinBitmap(IDB_CLOSE);
    m_bmpCloseGlow = LoadSkinBitmap(IDB_CLOSE_GLOW);
    m_bmpTray = LoadSkinBitmap(IDB_TRAY_BUTTON);
    m_bmpTrayGlow = LoadSkinBitmap(IDB_TRAY_GLOW);
    m_fontCaption = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    for (CSkinButton* button : {m_btnExit, m_btnSubmit, m_btnUpdate}) {
        button->LoadStateBitmaps(IDB_BUTTON_NORMAL, IDB_BUTTON_DOWN, IDB_BUTTON_OVER,
                                 IDB_BUTTON_DISABLED, IDB_BUTTON_OVER, IDB_BUTTON_MASK, 1, 0, 0);
        button->SetCaptionColor(QColor(0, 0, 0));
    }
}

// The fifteen labels, the MAC group box and the three command buttons; the list, the
// combo box, the edits, the radio buttons and the "ADSL / DSL" frame keep the template font.
void CFinderDlg::SetupFonts() {
    m_fontLabels = QFont(QStringLiteral("Arial"));
    m_fontLabels.setStyleHint(QFont::SansSerif);
    m_fontLabels.setPixelSize(LABEL_FONT_PIXELS);
    m_fontLabels.setWeight(QFont::Thin);
    for (int id :
         {IDC_LABEL_ACCOUNT, IDC_LABEL_PASSWORD, IDC_LABEL_MAC, IDC_MAC_GROUP, IDC_LABEL_NAME,
          IDC_LABEL_IP, IDC_LABEL_NETMASK, IDC_LABEL_GATEWAY, IDC_LABEL_HTTP_PORT, IDC_LABEL_PPPOE,
          IDC_LABEL_DHCP, IDC_LABEL_STATIC, IDC_LABEL_ADDRESS, IDC_LABEL_STATUS, IDC_STATUS,
          IDC_INFO, IDC_EXIT, IDC_SUBMIT, IDC_UPDATE}) {
        ControlById(id)->setFont(m_fontLabels);
    }
}

void CFinderDlg::paintEvent(QPaintEvent*) {
    OnPaint();
}

// Background, caption strip, close button, its frame end, tray button, the other frame
// end, the caption text and the logo, in this order, in client coordinates; then the
// thin frame around the client area. Children are not clipped away: the transparent
// labels show this painting behind their text.
void CFinderDlg::OnPaint() {
    QPainter painter(this);
    const QRect client = ClientRect();
    const int w = client.width();
    painter.save();
    painter.translate(DIALOG_BORDER, DIALOG_BORDER);
    painter.setClipRect(client);

    painter.drawImage(client, m_bmpBackground);
    painter.drawImage(QRect(0, 0, w + 10, CAPTION_HEIGHT), m_bmpCaption);

    m_rcCloseButton = QRect(w - 52, 0, CAPTION_BUTTON_WIDTH, CAPTION_HEIGHT);
    painter.drawImage(m_rcCloseButton, m_bCloseGlows ? m_bmpCloseGlow : m_bmpClose);
    painter.drawImage(QRect(w - 24, 0, CAPTION_BUTTON_WIDTH, CAPTION_HEIGHT), m_bmpFrameRight);

    // The bar is drawn one pixel taller than its rectangle, into the row below the strip.
    m_rcTrayButton = QRect(w - 80, 0, CAPTION_BUTTON_WIDTH, CAPTION_HEIGHT);
    painter.drawImage(QRect(w - 80, 0, CAPTION_BUTTON_WIDTH, CAPTION_HEIGHT + 1),
                      m_bTrayGlows ? m_bmpTrayGlow : m_bmpTray);
    painter.drawImage(QRect(w - 108, 0, CAPTION_BUTTON_WIDTH, CAPTION_HEIGHT), m_bmpFrameLeft);

    painter.setPen(QColor(255, 255, 255));
    painter.setFont(m_fontCaption);
    painter.drawText(CAPTION_TEXT_RECT, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                     windowTitle());

    painter.drawImage(LOGO_POSITION, m_bmpLogo);
    painter.restore();

    painter.setPen(Qt::black);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}
