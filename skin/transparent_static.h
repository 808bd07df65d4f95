#pragma once

#include <QColor>
#include <QLabel>

// A text label that shows its parent's painted background behind its text. Qt paints a child
// that fills no background of its own over whatever its parent painted there, on every repaint,
// so the label keeps no copy of the parent's pixels: it simply never fills its background.
class CTransparentStatic : public QLabel {
    Q_OBJECT

public:
    explicit CTransparentStatic(QWidget* parent = nullptr);
    explicit CTransparentStatic(const QString& text, QWidget* parent = nullptr);

    // Replaces the text and repaints the label before returning; the parent's background is
    // painted under it anew, so nothing of a longer old text remains. Hides QLabel::setText:
    // call it through a CTransparentStatic.
    void setText(const QString& text);

    // Sets the text colour (m_crText); returns the previous one.
    QColor SetTextColor(QColor colour);
    QColor TextColor() const { return m_crText; }

    // One line: a text wider than the label ends in "…" where the label's edge would cut
    // it; text() stays whole.
    void SetElided(bool elided);
    // Whether the text shown now is cut short.
    bool IsCut() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    bool m_bElided = false;
    // Dark navy: reads well on the light-grey skin background.
    QColor m_crText{16, 32, 64};
};
