#pragma once

#include <QIcon>
#include <QObject>
#include <QSystemTrayIcon>

class CWindowContext;

// The notification-area icon, shown only while the window is in the tray, and its menu:
// Show, Update, Search addresses…, Quit. Its tip counts the cameras listed. A double-click
// on it asks for the window, as Show does.
class CTrayIcon : public QObject {
    Q_OBJECT

public:
    CTrayIcon(QWidget* window, const CWindowContext& context, const QIcon& icon);

    void Show();
    void Hide();
    // Made afresh in the window's language whenever it changes.
    void FillMenu();
    void UpdateTip(int cameras);

signals:
    void ShowRequested();
    void UpdateRequested();
    void SearchAddressesRequested();
    void QuitRequested();

private:
    const CWindowContext& m_context;
    QSystemTrayIcon* m_trayIcon = nullptr;
};
