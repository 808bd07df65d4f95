#pragma once

#include <QString>

class QWidget;

// The places where the finder hands something to the desktop or asks it: a modal message
// box, a URL for the default handler, and whether there is a notification area. Tests put
// their own functions here, so no test is left facing a modal box, no test starts a
// browser, and the tray can be tested on a desktop that has none.

using ShowMessageFunction = void (*)(QWidget* parent, const QString& title, const QString& text);
using OpenUrlFunction = void (*)(const QString& url);
using TrayAvailableFunction = bool (*)();

extern ShowMessageFunction g_pfnShowMessage;
extern OpenUrlFunction g_pfnOpenUrl;
extern TrayAvailableFunction g_pfnIsSystemTrayAvailable;

void ShowMessage(QWidget* parent, const QString& title, const QString& text);
void OpenUrl(const QString& url);
