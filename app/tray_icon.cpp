#include "app/tray_icon.h"

#include <QMenu>

#include "app/finder_dlg.h"
#include "core/messages/finder_texts.h"
#include "core/program/finder_version.h"

CTrayIcon::CTrayIcon(CFinderDlg& dialog) : QObject(&dialog), m_dialog(dialog) {
    m_trayIcon = new QSystemTrayIcon(dialog.m_hIcon, &dialog);
    connect(m_trayIcon, &QSystemTrayIcon::activated, &dialog, &CFinderDlg::OnTrayNotify);
    m_trayIcon->setContextMenu(new QMenu(&dialog));
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
    menu->addAction(m_dialog.Tr(TEXT_TRAY_SHOW), &m_dialog, &CFinderDlg::OnTrayShow);
    menu->addAction(m_dialog.Tr(TEXT_TRAY_UPDATE), &m_dialog, &CFinderDlg::OnUpdate);
    menu->addAction(m_dialog.Tr(TEXT_MENU_SEARCH_ADDRESSES), &m_dialog,
                    &CFinderDlg::OnSearchAddresses);
    menu->addSeparator();
    menu->addAction(m_dialog.Tr(TEXT_TRAY_QUIT), &m_dialog, &CFinderDlg::OnTrayQuit);
}

// "Lanvista", the program and its version, then how many cameras are listed.
void CTrayIcon::UpdateTip(int cameras) {
    const QString count = cameras == 0   ? m_dialog.Tr(TEXT_TRAY_NO_CAMERA)
                          : cameras == 1 ? m_dialog.Tr(TEXT_TRAY_ONE_CAMERA)
                                         : m_dialog.Tr(TEXT_TRAY_CAMERAS).arg(cameras);
    m_trayIcon->setToolTip(
        QStringLiteral("%1 finder %2\n%3")
            .arg(QString::fromLatin1(TRAY_TIP), QString::fromLatin1(FinderVersion()), count));
}
