#pragma once

#include <QString>

class QWidget;

// The places where the finder hands something to the desktop or asks it: a modal message
// box, a URL for the default handler, a file name to save to, and whether there is a
// notification area. Tests put their own functions here, so no test is left facing a modal
// box or a file dialog, no test starts a browser, and the tray can be tested on a desktop
// that has none.

using ShowMessageFunction = void (*)(QWidget* parent, const QString& title, const QString& text);
// False when nothing on the desktop could open the URL.
using OpenUrlFunction = bool (*)(const QString& url);
// The file the user chose, or an empty text when the user cancelled; the filter chosen
// (one of the ";;"-separated filters) goes to selectedFilter.
using AskSaveFileFunction = QString (*)(QWidget* parent, const QString& title,
                                        const QString& filters, QString* selectedFilter);
using TrayAvailableFunction = bool (*)();

extern ShowMessageFunction g_pfnShowMessage;
extern OpenUrlFunction g_pfnOpenUrl;
extern AskSaveFileFunction g_pfnAskSaveFile;
extern TrayAvailableFunction g_pfnIsSystemTrayAvailable;

void ShowMessage(QWidget* parent, const QString& title, const QString& text);
bool OpenUrl(const QString& url);
QString AskSaveFile(QWidget* parent, const QString& title, const QString& filters,
                    QString* selectedFilter);
