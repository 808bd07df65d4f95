#include "app/desktop_hooks.h"

#include <QDesktopServices>
#include <QMessageBox>
#include <QSystemTrayIcon>
#include <QUrl>

static void ShowMessageBox(QWidget* parent, const QString& title, const QString& text) {
    QMessageBox::warning(parent, title, text);
}

static void OpenWithDesktop(const QString& url) {
    QDesktopServices::openUrl(QUrl(url));
}

ShowMessageFunction g_pfnShowMessage = ShowMessageBox;
OpenUrlFunction g_pfnOpenUrl = OpenWithDesktop;
TrayAvailableFunction g_pfnIsSystemTrayAvailable = QSystemTrayIcon::isSystemTrayAvailable;

void ShowMessage(QWidget* parent, const QString& title, const QString& text) {
    g_pfnShowMessage(parent, title, text);
}

void OpenUrl(const QString& url) {
    g_pfnOpenUrl(url);
}
