#include "skin/transparent_static.h"

#include <QPainter>

CTransparentStatic::CTransparentStatic(QWidget* parent) : CTransparentStatic(QString(), parent) {}

CTransparentStatic::CTransparentStatic(const QString& text, QWidget* parent)
    : QLabel(text, parent) {
    setAutoFillBackground(false);
    setAttribute(Qt::WA_OpaquePaintEvent, false);
    SetTextColor(m_crText);
}

void CTransparentStatic::setText(const QString& text) {
    QLabel::setText(text);
    repaint();
}

QColor CTransparentStatic::SetTextColor(QColor colour) {
    const QColor previous = m_crText;
    m_crText = colour;
    // The colour lives in the palette, so a paint creates nothing.
    QPalette pal = palette();
    pal.setColor(QPalette::WindowText, m_crText);
    setPalette(pal);
    return previous;
}

void CTransparentStatic::SetElided(bool elided) {
    m_bElided = elided;
    setWordWrap(!elided);
    update();
}

bool CTransparentStatic::IsCut() const {
    return m_bElided && fontMetrics().horizontalAdvance(text()) > contentsRect().width();
}

void CTransparentStatic::paintEvent(QPaintEvent* event) {
    if (!m_bElided) {
        QLabel::paintEvent(event);
        return;
    }
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::WindowText));
    const QRect area = contentsRect();
    painter.drawText(area, static_cast<int>(alignment()) | Qt::TextSingleLine,
                     fontMetrics().elidedText(text(), Qt::ElideRight, area.width()));
}
