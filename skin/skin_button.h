#pragma once

#include <QColor>
#include <QEvent>
#include <QImage>
#include <QPushButton>
#include <QRegion>

#include <optional>

// Posted to the other buttons of a radio button's group when it becomes checked; a checked
// skinned button that receives it clears its check state. Carries nothing.
inline constexpr QEvent::Type WM_GROUP_UNCHECK = static_cast<QEvent::Type>(QEvent::User + 0x100);

// Kinds of skinned button.
enum : int {
    SKIN_KIND_PUSH = 0,
    SKIN_KIND_CHECKBOX = 2,
    SKIN_KIND_RADIO = 4,
};

// A push button whose face is painted from state bitmaps (normal, pressed, disabled, pointer
// over, focus, and a mask that also gives the button its shape), with its text centred on top.
// It keeps its own check state for the check-box and radio kinds; the kind is fixed when the
// button is made. A radio button's group is the QButtonGroup it belongs to (none: alone).
class CSkinButton : public QPushButton {
    Q_OBJECT

public:
    explicit CSkinButton(QWidget* parent = nullptr, int kind = SKIN_KIND_PUSH);
    explicit CSkinButton(const QString& text, QWidget* parent = nullptr, int kind = SKIN_KIND_PUSH);

    // Loads the six state bitmaps by skin id (0: none), clamps and stores the drawing settings,
    // and applies the mask's shape; in draw mode 0 the button takes the mask's size.
    void LoadStateBitmaps(int normal, int down, int over, int disabled, int focus, int mask,
                          short drawMode, short border, short focusMargin);
    // Sets the text colour of the enabled states; returns the previous one. Does not repaint.
    QColor SetCaptionColor(QColor colour);
    void SetTipText(const QString& text);

    // Sets the check state (any nonzero value checks); a push button stays unchecked.
    // A radio button that becomes checked posts WM_GROUP_UNCHECK to the rest of its group.
    int OnSetCheck(int check);
    int OnGetCheck() const;

    int Kind() const { return m_nKind; }
    bool IsHover() const { return m_bHover; }
    bool IsButtonDown() const { return m_bButtonDown; }
    int DrawMode() const { return m_nDrawMode; }
    int Border() const { return m_nBorder; }
    int FocusMargin() const { return m_nFocusMargin; }
    QColor CaptionColor() const { return m_crText; }
    const std::optional<QRegion>& Region() const { return m_hRegion; }

protected:
    bool event(QEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    void enterEvent(QEnterEvent* e) override;
    void leaveEvent(QEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    bool hitButton(const QPoint& pos) const override;

private:
    void OnGroupUncheck();
    void PostGroupUncheck();
    void PaintFace(QImage& work, const QImage& bitmap) const;
    void DrawCaption(QPainter& p, QRect textRect) const;
    QImage BackgroundUnder() const;

    bool m_bChecked = false;
    int m_nKind;
    bool m_bHover = false;
    bool m_bButtonDown = false;
    QImage m_bmpNormal;
    QImage m_bmpDown;
    QImage m_bmpDisabled;
    QImage m_bmpMask;
    QImage m_bmpOver;
    QImage m_bmpFocus;
    short m_nFocusMargin = 0;
    QColor m_crText;
    std::optional<QRegion> m_hRegion;
    bool m_bMaskShowsBackground = false; // some mask pixel lets the background through
    int m_nBorder = 0;
    short m_nDrawMode = 1;
};
