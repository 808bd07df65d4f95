#include "skin/skin_button.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <qdrawutil.h>

#include <algorithm>

#include "skin/bitmap_paint.h"
#include "skin/skin_bitmaps.h"

namespace {

constexpr int TEXT_FLAGS = Qt::AlignCenter | Qt::TextSingleLine | Qt::TextShowMnemonic;

int ValidKind(int kind) {
    return kind == SKIN_KIND_CHECKBOX || kind == SKIN_KIND_RADIO ? kind : SKIN_KIND_PUSH;
}

// Only a mask bit of 1 lets the background through; an all-black mask (the skin's) never does.
bool MaskShowsBackground(const QImage& mask) {
    for (int y = 0; y < mask.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(mask.constScanLine(y));
        for (int x = 0; x < mask.width(); ++x) {
            if ((line[x] & RGB_MASK) != 0) {
                return true;
            }
        }
    }
    return false;
}

} // namespace

CSkinButton::CSkinButton(QWidget* parent, int kind) : CSkinButton(QString(), parent, kind) {}

CSkinButton::CSkinButton(const QString& text, QWidget* parent, int kind)
    : QPushButton(text, parent), m_nKind(ValidKind(kind)),
      m_crText(palette().color(QPalette::ButtonText)) {
    // Moves without a pressed button must arrive too: they bring the hover look back after a
    // press, as the pointer's first move over the button does.
    setMouseTracking(true);
}

void CSkinButton::LoadStateBitmaps(int normal, int down, int over, int disabled, int focus,
                                   int mask, short drawMode, short border, short focusMargin) {
    // Every slot is replaced; id 0 (or one that names no bitmap) leaves it empty.
    m_bmpNormal = LoadSkinBitmap(normal);
    m_bmpDown = LoadSkinBitmap(down);
    m_bmpOver = LoadSkinBitmap(over);
    m_bmpFocus = LoadSkinBitmap(focus);
    m_bmpMask = QImage();
    m_bMaskShowsBackground = false;
    // The disabled slot falls back to a copy of the normal picture only when no disabled id is
    // given; an id that names no bitmap leaves it empty (the button face then shows).
    m_bmpDisabled = LoadSkinBitmap(disabled != 0 ? disabled : normal);

    m_nDrawMode = std::clamp<short>(drawMode, DRAW_MODE_NORMAL, DRAW_MODE_TILE);
    m_nBorder = border;
    m_nFocusMargin = std::max<short>(focusMargin, 0);

    if (!mask) {
        return;
    }
    m_bmpMask = LoadSkinBitmap(mask);
    m_bMaskShowsBackground = MaskShowsBackground(m_bmpMask);
    m_hRegion = BuildMaskRegion(m_bmpMask, qRgb(255, 255, 255));
    // An empty QRegion would clear the widget's mask instead of hiding everything, so a mask
    // without a single solid pixel is recorded but not applied: the button stays reachable.
    if (m_hRegion && !m_hRegion->isEmpty()) {
        setMask(*m_hRegion);
        update();
    }
    if (m_nDrawMode == DRAW_MODE_NORMAL && !m_bmpMask.isNull()) {
        resize(m_bmpMask.size());
    }
}

QColor CSkinButton::SetCaptionColor(QColor colour) {
    const QColor previous = m_crText;
    m_crText = colour;
    return previous;
}

void CSkinButton::SetTipText(const QString& text) {
    setToolTip(text);
}

int CSkinButton::OnSetCheck(int check) {
    m_bChecked = check != 0 && m_nKind != SKIN_KIND_PUSH;
    if (m_nKind == SKIN_KIND_RADIO && m_bChecked) {
        PostGroupUncheck();
    }
    update();
    return 0;
}

int CSkinButton::OnGetCheck() const {
    return m_bChecked ? 1 : 0;
}

void CSkinButton::PostGroupUncheck() {
    const QButtonGroup* buttons = group();
    if (!buttons) {
        return;
    }
    for (QAbstractButton* other : buttons->buttons()) {
        if (other != this) {
            QCoreApplication::postEvent(other, new QEvent(WM_GROUP_UNCHECK));
        }
    }
}

void CSkinButton::OnGroupUncheck() {
    if (!m_bChecked) {
        return;
    }
    m_bChecked = false;
    update();
}

bool CSkinButton::event(QEvent* e) {
    if (e->type() == WM_GROUP_UNCHECK) {
        OnGroupUncheck();
        return true;
    }
    return QPushButton::event(e);
}

bool CSkinButton::hitButton(const QPoint& pos) const {
    // Outside the mask's shape the pointer is not over the button.
    return rect().contains(pos) && (mask().isEmpty() || mask().contains(pos));
}

void CSkinButton::enterEvent(QEnterEvent* e) {
    if (!m_bButtonDown && !m_bHover) {
        m_bHover = true;
        update();
    }
    QPushButton::enterEvent(e);
}

void CSkinButton::leaveEvent(QEvent* e) {
    m_bHover = false;
    update();
    QPushButton::leaveEvent(e);
}

void CSkinButton::mousePressEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton) {
        QPushButton::mousePressEvent(e);
        return;
    }
    m_bHover = false;
    // The base takes the focus and the pushed state; the pushed look then follows the pointer
    // (QAbstractButton sets the down state from hitButton on every move while held).
    QPushButton::mousePressEvent(e);
    m_bButtonDown = true;
}

void CSkinButton::mouseMoveEvent(QMouseEvent* e) {
    if (!m_bButtonDown && !m_bHover && hitButton(e->position().toPoint())) {
        m_bHover = true;
        update();
    }
    QPushButton::mouseMoveEvent(e);
}

void CSkinButton::mouseReleaseEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton) {
        QPushButton::mouseReleaseEvent(e);
        return;
    }
    // The check state changes before the base reports the click.
    if (m_nKind != SKIN_KIND_PUSH && hitButton(e->position().toPoint())) {
        OnSetCheck(m_nKind == SKIN_KIND_CHECKBOX ? !m_bChecked : 1);
    }
    m_bButtonDown = false;
    QPushButton::mouseReleaseEvent(e);
}

void CSkinButton::mouseDoubleClickEvent(QMouseEvent* e) {
    // A double-click is a second press: a check box toggles twice, the parent hears two clicks.
    mousePressEvent(e);
}

void CSkinButton::keyPressEvent(QKeyEvent* e) {
    // Every key-down of space toggles, auto-repeats included.
    if (m_nKind != SKIN_KIND_PUSH && e->key() == Qt::Key_Space) {
        OnSetCheck(m_nKind == SKIN_KIND_CHECKBOX ? !m_bChecked : 1);
    }
    QPushButton::keyPressEvent(e);
}

void CSkinButton::focusOutEvent(QFocusEvent* e) {
    m_bButtonDown = false;
    QPushButton::focusOutEvent(e);
}

QImage CSkinButton::BackgroundUnder() const {
    QImage background(size(), QImage::Format_RGB32);
    background.fill(palette().color(QPalette::Button));
    if (m_bmpMask.isNull() || !m_bMaskShowsBackground) {
        return background;
    }
    // The parent's own painting under the button, without its other children.
    if (QWidget* parent = parentWidget()) {
        parent->render(&background, QPoint(), QRegion(geometry()), QWidget::DrawWindowBackground);
    }
    return background;
}

void CSkinButton::PaintFace(QImage& work, const QImage& bitmap) const {
    if (bitmap.isNull()) {
        work.fill(palette().color(QPalette::Button));
    } else {
        PaintStateBitmap(work, bitmap, work.rect(), m_nDrawMode, m_bmpMask);
    }
}

void CSkinButton::DrawCaption(QPainter& p, QRect textRect) const {
    p.setPen(m_crText);
    p.drawText(textRect, TEXT_FLAGS, text());
}

void CSkinButton::paintEvent(QPaintEvent*) {
    const QRect r = rect();
    if (r.isEmpty()) {
        return;
    }
    const int m = m_nFocusMargin;
    QRect textRect = r.adjusted(m + 2, 0, -(m + 2), 0);
    // The face is composed off-screen over what lies under the button (the mask may let it
    // through) and copied to the screen once.
    QImage work = BackgroundUnder();

    if (!isEnabled()) {
        PaintFace(work, m_bmpDisabled);
        QPainter p(&work);
        p.setFont(font());
        if (m_nBorder) {
            qDrawWinButton(&p, r, palette(), false);
        }
        p.setPen(palette().color(QPalette::Light));
        p.drawText(textRect, TEXT_FLAGS, text());
        p.setPen(palette().color(QPalette::Disabled, QPalette::WindowText));
        p.drawText(textRect.translated(-1, -1), TEXT_FLAGS, text());
    } else {
        const bool pressed = isDown() || m_bChecked;
        if (pressed) {
            PaintFace(work, m_bmpDown);
            textRect.translate(1, 1);
        } else if (m_bmpNormal.isNull()) {
            PaintFace(work, m_bmpNormal);
        } else if (m_bHover && !m_bmpOver.isNull()) {
            PaintFace(work, m_bmpOver);
        } else if (hasFocus() && !m_bmpFocus.isNull()) {
            PaintFace(work, m_bmpFocus);
        } else {
            PaintFace(work, m_bmpNormal);
        }
        QPainter p(&work);
        p.setFont(font());
        if (m_nBorder) {
            qDrawWinButton(&p, r, palette(), pressed);
        }
        if (hasFocus() && m > 0) {
            p.setPen(QPen(m_crText, 1, Qt::DotLine));
            p.drawRect(r.adjusted(m, m, -m - 1, -m - 1));
        }
        DrawCaption(p, textRect);
    }
    QPainter screen(this);
    screen.drawImage(0, 0, work);
}
