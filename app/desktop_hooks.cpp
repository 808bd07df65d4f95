#include "app/desktop_hooks.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QSystemTrayIcon>
#include <QUrl>

static void ShowMessageBox(QWidget* parent, const QString& title, const QString& text) {
    QMessageBox box(QMessageBox::Warning, title, text, QMessageBox::Ok, parent);
    // What a message names (an address, a path) can be selected and copied.
    box.setTextInteractionFlags(Qt::TextSelectableByMouse);
    box.exec();
}

static bool AskWithMessageBox(QWidget* parent, const QString& title, const QString& text,
                              const QString& yes, const QString& no, const QString& details) {
    QMessageBox box(QMessageBox::Warning, title, text, QMessageBox::NoButton, parent);
    box.setDetailedText(details); // folded: the box and its answers stay on the screen
    QPushButton* accept = box.addButton(yes, QMessageBox::AcceptRole);
    QPushButton* reject = box.addButton(no, QMessageBox::RejectRole);
    box.setDefaultButton(reject);
    box.setEscapeButton(reject);
    box.exec();
    return box.clickedButton() == accept;
}

static bool OpenWithDesktop(const QString& url) {
    return QDesktopServices::openUrl(QUrl(url));
}

static QString AskWithFileDialog(QWidget* parent, const QString& title, const QString& filters,
                                 QString* selectedFilter) {
    return QFileDialog::getSaveFileName(parent, title, QString(), filters, selectedFilter);
}

static QString AskWithOpenDialog(QWidget* parent, const QString& title, const QString& filters) {
    return QFileDialog::getOpenFileName(parent, title, QString(), filters);
}

ShowMessageFunction g_pfnShowMessage = ShowMessageBox;
AskFunction g_pfnAsk = AskWithMessageBox;
OpenUrlFunction g_pfnOpenUrl = OpenWithDesktop;
AskSaveFileFunction g_pfnAskSaveFile = AskWithFileDialog;
AskOpenFileFunction g_pfnAskOpenFile = AskWithOpenDialog;
TrayAvailableFunction g_pfnIsSystemTrayAvailable = QSystemTrayIcon::isSystemTrayAvailable;
LocalNetworksFunction g_pfnLocalNetworks = LocalNetworks;

void ShowMessage(QWidget* parent, const QString& title, const QString& text) {
    g_pfnShowMessage(parent, title, text);
}

bool Ask(QWidget* parent, const QString& title, const QString& text, const QString& yes,
         const QString& no, const QString& details) {
    return g_pfnAsk(parent, title, text, yes, no, details);
}

bool OpenUrl(const QString& url) {
    return g_pfnOpenUrl(url);
}

QString AskSaveFile(QWidget* parent, const QString& title, const QString& filters,
                    QString* selectedFilter) {
    return g_pfnAskSaveFile(parent, title, filters, selectedFilter);
}

QString AskOpenFile(QWidget* parent, const QString& title, const QString& filters) {
    return g_pfnAskOpenFile(parent, title, filters);
}
