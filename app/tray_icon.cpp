#include "app/tray_icon.h"

#include <QMenu>

#include "app/window_context.h"
#include "core/messages/finder_texts.h"
#include "core/program/finder_version.h"

// The tip of the notification-area icon.
constexpr char TRAY_TIP[] = "Lanvista";

CTrayIcon::CTrayIcon(QWidget* window, const CWindowContext& context, const QIcon& icon)
    : QObject(window), m_context(context) {
    m_trayIcon = new QSystemTrayIcon(icon, window);
    // Only a double-click brings the window back; single clicks do nothing, and the right
    // button opens the icon's menu.
    connect(m_trayIcon, &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) {
                if (reason == QSystemTrayIcon::DoubleClick) {
                    emit ShowRequested();
                }
            });
    m_trayIcon->setContextMenu(new QMenu(window));
    FillMenu();
}

void CTrayIcon::Show() {
    m_trayIcon->show();
}

void CTrayIcon::Hide() {
    m_trayIcon->hide();
}

void CTrayIcon::FillMenu() {
    QMenu* menu = m_trayIcon->contextMenu();
    menu->clear();
    menu->addAction(m_context.Tr(TEXT_TRAY_SHOW), this, &CTrayIcon::ShowRequested);
    menu->addAction(m_context.Tr(TEXT_TRAY_UPDATE), this, &CTrayIcon::UpdateRequested);
    menu->addAction(m_context.Tr(TEXT_MENU_SEARCH_ADDRESSES), this,
                    &CTrayIcon::SearchAddressesRequested);
    menu->addSeparator();
    menu->addAction(m_context.Tr(TEXT_TRAY_QUIT), this, &CTrayIcon::QuitRequested);
}

// "Lanvista", the program and its version, then how many cameras are listed.
void CTrayIcon::UpdateTip(int cameras) {
    const QString count = cameras == 0   ? m_context.Tr(TEXT_TRAY_NO_CAMERA)
                          : cameras == 1 ? m_context.Tr(TEXT_TRAY_ONE_CAMERA)
                                         : m_context.Tr(TEXT_TRAY_CAMERAS).arg(cameras);
    m_trayIcon->setToolTip(
        QStringLiteral("%1 finder %2\n%3")
            .arg(QString::fromLatin1(TRAY_TIP), QString::fromLatin1(FinderVersion()), count));
}
