// The addresses every search also asks by unicast: kept in language.db, edited in the
// "Search addresses…" dialog, handed to the worker.

#include <utility>

#include "app/dialog_language_view.h"
#include "app/finder_dlg.h"
#include "app/search_targets_dialog.h"
#include "core/wire/search_targets.h"

// A list saved by hand with a bad line in it asks nothing by unicast rather than a part.
void CFinderDlg::LoadSearchTargets() {
    m_searchTargets = m_language.SavedSearchTargets();
    m_worker.SetSearchTargets(ParseSearchTargets(m_searchTargets).addresses);
}

void CFinderDlg::SetSearchTargets(std::vector<std::string> targets) {
    m_searchTargets = std::move(targets);
    m_language.SaveSearchTargets(m_searchTargets, *m_languageView);
    m_worker.SetSearchTargets(ParseSearchTargets(m_searchTargets).addresses);
    OnUpdate();
}

void CFinderDlg::OnSearchAddresses() {
    CSearchTargetsDialog dialog(*this, m_searchTargets);
    if (dialog.exec() == QDialog::Accepted) {
        SetSearchTargets(dialog.Targets());
    }
}
