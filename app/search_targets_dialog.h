#pragma once

#include <QDialog>

#include <string>
#include <vector>

class CWindowContext;
class QLabel;
class QPlainTextEdit;

// "Search addresses…": the list of addresses, blocks and ranges every search also asks by
// unicast, one a line, for cameras behind a router or on a VLAN that a broadcast does not
// reach. OK keeps the dialog open and names the first line that is no target, or says
// that the list holds too many addresses; an empty list searches by broadcast alone.
class CSearchTargetsDialog : public QDialog {
    Q_OBJECT

public:
    CSearchTargetsDialog(QWidget* parent, const CWindowContext& context,
                         const std::vector<std::string>& targets);

    // The lines as accepted: trimmed, blank ones left out.
    std::vector<std::string> Targets() const;
    QPlainTextEdit* Editor() const { return m_edit; }
    QString Problem() const; // what OK found wrong last, empty when nothing

public slots:
    void accept() override;

private:
    const CWindowContext& m_context;
    QPlainTextEdit* m_edit;
    QLabel* m_problem;
};
