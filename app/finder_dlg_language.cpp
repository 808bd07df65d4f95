// The dialog's side of the language store: open at start, fill the list and apply the
// saved language, apply the user's pick. The store decides what goes where.

#include <QCoreApplication>

#include "app/desktop_hooks.h"
#include "app/dialog_language_view.h"
#include "app/finder_dlg.h"
#include "app/language_paths.h"

void CFinderDlg::SetLanguagePlace(const LanguagePlace& place) {
    m_languageDbPath = place.path;
    m_bLanguageReadOnly = place.readOnly;
    m_languageNotice = LanguagePlaceMessage(place);
}

void CFinderDlg::OpenLanguageDb() {
    if (!m_languageNotice.isEmpty()) {
        ShowMessage(this, QCoreApplication::applicationName(), m_languageNotice);
    }
    // No database at all has been reported just now: the template texts stay, and the
    // store has nothing more to say about it.
    if (m_languageDbPath.empty()) {
        return;
    }
    m_language.OpenLanguageDb(m_languageDbPath, *m_languageView, m_bLanguageReadOnly);
}

void CFinderDlg::InitLanguageList() {
    if (!m_languageDbPath.empty()) {
        m_language.InitLanguageList(*m_languageView);
    }
}

// Only a pick of the user's comes here: the store's own selections raise no notice.
void CFinderDlg::OnSelchangeLanguage() {
    m_language.OnSelchangeLanguage(*m_languageView);
}
