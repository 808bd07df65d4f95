// The self-drawn caption bar at work: its close and minimise-to-tray buttons, dragging the
// window by it, the glow under the pointer, the notification-area icon, and minimising.

#include <QAbstractItemModel>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QWindow>

#include "app/desktop_hooks.h"
#include "app/dialog_units.h"
#include "app/finder_dlg.h"
#include "core/messages/finder_texts.h"
#include "core/program/finder_version.h"

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

// The icon, shown only while the window is in the tray, with its menu: Show, Update, Quit.
void CFinderDlg::CreateTrayIcon() {
    m_nid = new QSystemTrayIcon(m_hIcon, this);
    connect(m_nid, &QSystemTrayIcon::activated, this, &CFinderDlg::OnTrayNotify);
    m_nid->setContextMenu(new QMenu(this));
    FillTrayMenu();
    // The tip counts the cameras listed: it follows every entry added and every clearing.
    const QAbstractItemModel* model = m_lstDevices->model();
    connect(model, &QAbstractItemModel::rowsInserted, this, &CFinderDlg::UpdateTrayTip);
    connect(model, &QAbstractItemModel::rowsRemoved, this, &CFinderDlg::UpdateTrayTip);
    connect(model, &QAbstractItemModel::modelReset, this, &CFinderDlg::UpdateTrayTip);
    UpdateTrayTip();
}

// Made afresh in the window's language whenever it changes.
void CFinderDlg::FillTrayMenu() {
    QMenu* menu = m_nid->contextMenu();
    menu->clear();
    menu->addAction(Tr(TEXT_TRAY_SHOW), this, &CFinderDlg::OnTrayShow);
    menu->addAction(Tr(TEXT_TRAY_UPDATE), this, &CFinderDlg::OnUpdate);
    menu->addSeparator();
    menu->addAction(Tr(TEXT_TRAY_QUIT), this, &CFinderDlg::OnTrayQuit);
}

// "Lanvista", the program and its version, then how many cameras are listed.
void CFinderDlg::UpdateTrayTip() {
    const int count = m_lstDevices->count();
    const QString cameras = count == 0   ? Tr(TEXT_TRAY_NO_CAMERA)
                            : count == 1 ? Tr(TEXT_TRAY_ONE_CAMERA)
                                         : Tr(TEXT_TRAY_CAMERAS).arg(count);
    m_nid->setToolTip(
        QStringLiteral("%1 finder %2\n%3")
            .arg(QString::fromLatin1(TRAY_TIP), QString::fromLatin1(FinderVersion()), cameras));
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
    m_nid->hide();
    m_bInTray = false;
}

// Quit from the icon's menu ends the program as Exit does: the worker stops and is joined.
void CFinderDlg::OnTrayQuit() {
    m_nid->hide();
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
