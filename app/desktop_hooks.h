#pragma once

#include <QString>

#include "core/net/net_interfaces.h"

class QWidget;

// The places where the finder hands something to the desktop or asks it: a modal message
// box, a modal question, a URL for the default handler, a file name to save to or to open,
// whether there is a notification area, and the networks of this PC. Tests put their own
// functions here, so no test is left facing a modal box or a file dialog, no test starts a
// browser, the tray can be tested on a desktop that has none, and a test knows which networks
// the finder believes it is on.

using ShowMessageFunction = void (*)(QWidget* parent, const QString& title, const QString& text);
// True for the first answer; the second is the default, also for Esc and closing the box.
// details: a longer list the box keeps folded under its text (empty: none).
using AskFunction = bool (*)(QWidget* parent, const QString& title, const QString& text,
                             const QString& yes, const QString& no, const QString& details);
// False when nothing on the desktop could open the URL.
using OpenUrlFunction = bool (*)(const QString& url);
// The file the user chose, or an empty text when the user cancelled; the filter chosen
// (one of the ";;"-separated filters) goes to selectedFilter.
using AskSaveFileFunction = QString (*)(QWidget* parent, const QString& title,
                                        const QString& filters, QString* selectedFilter);
// The file the user chose to open, or an empty text when the user cancelled.
using AskOpenFileFunction = QString (*)(QWidget* parent, const QString& title,
                                        const QString& filters);
using TrayAvailableFunction = bool (*)();

extern ShowMessageFunction g_pfnShowMessage;
extern AskFunction g_pfnAsk;
extern OpenUrlFunction g_pfnOpenUrl;
extern AskSaveFileFunction g_pfnAskSaveFile;
extern AskOpenFileFunction g_pfnAskOpenFile;
extern TrayAvailableFunction g_pfnIsSystemTrayAvailable;
extern LocalNetworksFunction g_pfnLocalNetworks;

void ShowMessage(QWidget* parent, const QString& title, const QString& text);
bool Ask(QWidget* parent, const QString& title, const QString& text, const QString& yes,
         const QString& no, const QString& details = QString());
bool OpenUrl(const QString& url);
QString AskSaveFile(QWidget* parent, const QString& title, const QString& filters,
                    QString* selectedFilter);
QString AskOpenFile(QWidget* parent, const QString& title, const QString& filters);
