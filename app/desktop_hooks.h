#pragma once

#include <QString>

class QWidget;

// The two places where the finder hands something to the desktop: a modal message box and
// a URL for the default handler. Tests put their own functions here, so no test is left
// facing a modal box and no test starts a browser.

using ShowMessageFunction = void (*)(QWidget* parent, const QString& title, const QString& text);
using OpenUrlFunction = void (*)(const QString& url);

extern ShowMessageFunction g_pfnShowMessage;
extern OpenUrlFunction g_pfnOpenUrl;

void ShowMessage(QWidget* parent, const QString& title, const QString& text);
void OpenUrl(const QString& url);
