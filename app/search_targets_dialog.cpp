#include "app/search_targets_dialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include "app/window_context.h"
#include "core/messages/finder_texts.h"
#include "core/wire/search_targets.h"

CSearchTargetsDialog::CSearchTargetsDialog(QWidget* parent, const CWindowContext& context,
                                           const std::vector<std::string>& targets)
    : QDialog(parent), m_context(context), m_edit(new QPlainTextEdit(this)),
      m_problem(new QLabel(this)) {
    setWindowTitle(context.Tr(TEXT_TARGETS_TITLE));
    auto* help = new QLabel(context.Tr(TEXT_TARGETS_HELP), this);
    help->setWordWrap(true);
    QStringList lines;
    for (const std::string& target : targets) {
        lines << QString::fromStdString(target);
    }
    m_edit->setPlainText(lines.join(QLatin1Char('\n')));
    m_problem->setWordWrap(true);
    m_problem->setStyleSheet(QStringLiteral("color: #b00000"));
    m_problem->hide();
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &CSearchTargetsDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CSearchTargetsDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(help);
    layout->addWidget(m_edit);
    layout->addWidget(m_problem);
    layout->addWidget(buttons);
    resize(420, 300);
}

std::vector<std::string> CSearchTargetsDialog::Targets() const {
    std::vector<std::string> targets;
    for (const QString& line : m_edit->toPlainText().split(QLatin1Char('\n'))) {
        if (const QString target = line.trimmed(); !target.isEmpty()) {
            targets.push_back(target.toStdString());
        }
    }
    return targets;
}

QString CSearchTargetsDialog::Problem() const {
    return m_problem->isVisible() ? m_problem->text() : QString();
}

// Each line on its own first, so the message names the line; then the list as a whole. The
// editor keeps the focus, to mend what was said.
void CSearchTargetsDialog::accept() {
    const QStringList lines = m_edit->toPlainText().split(QLatin1Char('\n'));
    const std::string limit = std::to_string(SEARCH_TARGET_LIMIT);
    QString problem;
    for (int i = 0; i < lines.size() && problem.isEmpty(); ++i) {
        const std::string line = lines[i].trimmed().toStdString();
        const std::string number = std::to_string(i + 1);
        switch (line.empty() ? SearchTargetFault::None : ParseSearchTargets({line}).fault) {
        case SearchTargetFault::None:
            break;
        case SearchTargetFault::Reversed:
            problem = m_context.TrFilled(TEXT_TARGETS_REVERSED, {number, line});
            break;
        case SearchTargetFault::TooMany:
            problem = m_context.TrFilled(TEXT_TARGETS_TOO_WIDE, {number, limit, line});
            break;
        case SearchTargetFault::NotATarget:
            problem = m_context.TrFilled(TEXT_TARGETS_BAD_LINE, {number, line});
            break;
        }
    }
    if (problem.isEmpty() && !ParseSearchTargets(Targets()).Ok()) {
        problem = m_context.TrFilled(TEXT_TARGETS_TOO_MANY, {limit});
    }
    m_problem->setText(problem);
    m_problem->setVisible(!problem.isEmpty());
    if (problem.isEmpty()) {
        QDialog::accept();
    } else {
        m_edit->setFocus();
    }
}
