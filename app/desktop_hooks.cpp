#include "app/desktop_hooks.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>
#include <QSystemTrayIcon>
#include <QUrl>

static void ShowMessageBox(QWidget* parent, const QString& title, const QString& text) {
    QMessageBox box(QMessageBox::Warning, title, text, QMessageBox::Ok, parent);
    // What a message names (an address, a path) can be selected and copied.
    box.setTextInteractionFlags(Qt::TextSelectableByMouse);
    box.exec();
}

static bool OpenWithDesktop(const QString& url) {
    return QDesktopServices::openUrl(QUrl(url));
}

static QString AskWithFileDialog(QWidget* parent, const QString& title, const QString& filters,
                                 QString* selectedFilter) {
    return QFileDialog::getSaveFileName(parent, title, QString(), filters, selectedFilter);
}

ShowMessageFunction g_pfnShowMessage = ShowMessageBox;
OpenUrlFunction g_pfnOpenUrl = OpenWithDesktop;
AskSaveFileFunction g_pfnAskSaveFile = AskWithFileDialog;
TrayAvailableFunction g_pfnIsSystemTrayAvailable = QSystemTrayIcon::isSystemTrayAvailable;

void ShowMessage(QWidget* parent, const QString& title, const QString& text) {
    g_pfnShowMessage(parent, title, text);
}

bool OpenUrl(const QString& url) {
    return g_pfnOpenUrl(url);
}

QString AskSaveFile(QWidget* parent, const QString& title, const QString& filters,
                    QString* selectedFilter) {
    return g_pfnAskSaveFile(parent, title, filters, selectedFilter);
}
