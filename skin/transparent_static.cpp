#include "skin/transparent_static.h"

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
