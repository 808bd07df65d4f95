#include "app/desktop_hooks.h"

#include <QDesktopServices>
#include <QMessageBox>
#include <QPushButton>
#include <QSystemTrayIcon>
#include <QUrl>

static void ShowMessageBox(QWidget* parent, const QString& title, const QString& text) {
    QMessageBox::warning(parent, title, text);
}

static bool AskWithMessageBox(QWidget* parent, const QString& title, const QString& text,
                              const QString& yes, const QString& no) {
    QMessageBox box(QMessageBox::Warning, title, text, QMessageBox::NoButton, parent);
    QPushButton* accept = box.addButton(yes, QMessageBox::AcceptRole);
    QPushButton* reject = box.addButton(no, QMessageBox::RejectRole);
    box.setDefaultButton(reject);
    box.setEscapeButton(reject);
    box.exec();
    return box.clickedButton() == accept;
}

static void OpenWithDesktop(const QString& url) {
    QDesktopServices::openUrl(QUrl(url));
}

ShowMessageFunction g_pfnShowMessage = ShowMessageBox;
AskFunction g_pfnAsk = AskWithMessageBox;
OpenUrlFunction g_pfnOpenUrl = OpenWithDesktop;
TrayAvailableFunction g_pfnIsSystemTrayAvailable = QSystemTrayIcon::isSystemTrayAvailable;
LocalNetworksFunction g_pfnLocalNetworks = LocalNetworks;

void ShowMessage(QWidget* parent, const QString& title, const QString& text) {
    g_pfnShowMessage(parent, title, text);
}

bool Ask(QWidget* parent, const QString& title, const QString& text, const QString& yes,
         const QString& no) {
    return g_pfnAsk(parent, title, text, yes, no);
}

void OpenUrl(const QString& url) {
    g_pfnOpenUrl(url);
}
