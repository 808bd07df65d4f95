#pragma once

#include <QObject>
#include <QSystemTrayIcon>

class CFinderDlg;

// The notification-area icon, shown only while the window is in the tray, and its menu:
// Show, Update, Quit. Its tip counts the cameras listed.
class CTrayIcon : public QObject {
    Q_OBJECT

public:
    explicit CTrayIcon(CFinderDlg& dialog);

    void Show();
    void Hide();
    // Made afresh in the window's language whenever it changes.
    void FillMenu();
    void UpdateTip(int cameras);

private:
    CFinderDlg& m_dialog;
    QSystemTrayIcon* m_trayIcon = nullptr;
};
