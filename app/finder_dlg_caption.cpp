// The self-drawn caption bar at work: its close and minimise-to-tray buttons, dragging the
// window by it, the glow under the pointer, the notification-area icon, and minimising.

#include <QMouseEvent>
#include <QWindow>

#include "app/desktop_hooks.h"
#include "app/dialog_units.h"
#include "app/finder_dlg.h"

void CFinderDlg::mousePressEvent(QMouseEvent* event) {
    QDialog::mousePressEvent(event);
    if (event->button() == Qt::LeftButton) {
        OnLButtonDown(ToClient(event->position().toPoint()), event->globalPosition().toPoint());
    }
}

void CFinderDlg::mouseMoveEvent(QMouseEvent* event) {
    QDialog::mouseMoveEvent(event);
    if (m_dragGrip && (event->buttons() & Qt::LeftButton)) {
        DragBy(event->globalPosition().toPoint());
    }
    OnMouseMove(ToClient(event->position().toPoint()));
}

void CFinderDlg::mouseReleaseEvent(QMouseEvent* event) {
    QDialog::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton) {
        m_dragGrip.reset();
    }
}

// Leaving the window puts the buttons' normal images back, as a move elsewhere does.
void CFinderDlg::leaveEvent(QEvent* event) {
    QDialog::leaveEvent(event);
    OnMouseMove(QPoint(-1, -1));
}

// Both caption buttons act on the press. The rest of the caption bar moves the window.
void CFinderDlg::OnLButtonDown(QPoint point, QPoint globalPoint) {
    if (m_rcCloseButton.contains(point)) {
        close(); // the dialog's cancel path: the worker stops and is joined
        return;
    }
    if (m_rcTrayButton.contains(point)) {
        HideToTray();
        return;
    }
    if (isMaximized() || point.y() < 0 || point.y() >= CAPTION_HEIGHT ||
        !ClientRect().contains(point)) {
        return;
    }
    // The desktop moves the window itself where it can; elsewhere it follows the pointer.
    QWindow* window = windowHandle();
    if (window == nullptr || !window->startSystemMove()) {
        m_dragGrip = globalPoint - pos();
    }
}

void CFinderDlg::DragBy(QPoint globalPoint) {
    move(globalPoint - *m_dragGrip);
}

// The glowing image under the pointer, the normal one elsewhere; only a change repaints.
void CFinderDlg::OnMouseMove(QPoint point) {
    const bool closeGlows = m_rcCloseButton.contains(point);
    const bool trayGlows = m_rcTrayButton.contains(point);
    if (closeGlows != m_bCloseGlows) {
        m_bCloseGlows = closeGlows;
        update(ToWidget(m_rcCloseButton));
    }
    if (trayGlows != m_bTrayGlows) {
        m_bTrayGlows = trayGlows;
        update(ToWidget(m_rcTrayButton.adjusted(0, 0, 0, 1)));
    }
}

// Without a notification area nothing could bring the window back: it stays shown.
void CFinderDlg::HideToTray() {
    if (!g_pfnIsSystemTrayAvailable()) {
        return;
    }
    // QDialog's own hide would also end the modal loop, and with it the program.
    QWidget::setVisible(false);
    m_nid->show();
    m_bInTray = true;
}

// Only a double-click brings the window back; single clicks and the right button do nothing.
void CFinderDlg::OnTrayNotify(QSystemTrayIcon::ActivationReason reason) {
    if (reason != QSystemTrayIcon::DoubleClick || !m_bInTray) {
        return;
    }
    show();
    raise();
    activateWindow();
    m_nid->hide();
    m_bInTray = false;
}

// To the taskbar, not to the notification area.
void CFinderDlg::OnMinimize() {
    showMinimized();
}
