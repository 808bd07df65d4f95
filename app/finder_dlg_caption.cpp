// The window's side of its skinned frame and of the notification area: the caption's
// buttons close the window or send it to the tray; the icon brings it back.

#include <QMouseEvent>

#include "app/desktop_hooks.h"
#include "app/finder_dlg.h"
#include "app/skinned_frame.h"
#include "app/tray_icon.h"

QRect CFinderDlg::CloseButtonRect() const {
    return m_frame->CloseButtonRect();
}

QRect CFinderDlg::TrayButtonRect() const {
    return m_frame->TrayButtonRect();
}

void CFinderDlg::paintEvent(QPaintEvent*) {
    m_frame->Paint();
}

void CFinderDlg::mousePressEvent(QMouseEvent* event) {
    QDialog::mousePressEvent(event);
    if (event->button() != Qt::LeftButton) {
        return;
    }
    switch (m_frame->OnLButtonDown(ToClient(event->position().toPoint()),
                                   event->globalPosition().toPoint())) {
    case CSkinnedFrame::Press::Close:
        close(); // the dialog's cancel path: the worker stops and is joined
        break;
    case CSkinnedFrame::Press::Tray:
        HideToTray();
        break;
    case CSkinnedFrame::Press::Drag:
    case CSkinnedFrame::Press::Nothing:
        break;
    }
}

void CFinderDlg::mouseMoveEvent(QMouseEvent* event) {
    QDialog::mouseMoveEvent(event);
    m_frame->OnMouseMove(ToClient(event->position().toPoint()), event->globalPosition().toPoint(),
                         (event->buttons() & Qt::LeftButton) != 0);
}

void CFinderDlg::mouseReleaseEvent(QMouseEvent* event) {
    QDialog::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton) {
        m_frame->OnLButtonUp();
    }
}

// Leaving the window puts the buttons' normal images back, as a move elsewhere does.
void CFinderDlg::leaveEvent(QEvent* event) {
    QDialog::leaveEvent(event);
    m_frame->OnMouseMove(QPoint(-1, -1), QPoint(), false);
}

// Without a notification area nothing could bring the window back: it stays shown.
void CFinderDlg::HideToTray() {
    if (!g_pfnIsSystemTrayAvailable()) {
        return;
    }
    // QDialog's own hide would also end the modal loop, and with it the program.
    QWidget::setVisible(false);
    m_trayIcon->Show();
    m_bInTray = true;
}

// Only a double-click brings the window back; single clicks do nothing, and the right
// button opens the icon's menu.
void CFinderDlg::OnTrayNotify(QSystemTrayIcon::ActivationReason reason) {
    if (reason == QSystemTrayIcon::DoubleClick) {
        OnTrayShow();
    }
}

void CFinderDlg::OnTrayShow() {
    if (!m_bInTray) {
        return;
    }
    show();
    raise();
    activateWindow();
    m_trayIcon->Hide();
    m_bInTray = false;
}

// Quit from the icon's menu ends the program as Exit does: the worker stops and is joined.
void CFinderDlg::OnTrayQuit() {
    m_trayIcon->Hide();
    m_bInTray = false;
    // The window went to the tray past QDialog (see HideToTray), and QDialog ends its loop
    // only in hiding a shown window: shown again, it is closed in the same turn.
    QWidget::setVisible(true);
    OnExit();
}

// To the taskbar, not to the notification area.
void CFinderDlg::OnMinimize() {
    showMinimized();
}
