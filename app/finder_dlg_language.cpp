// The dialog's side of the language store: open at start, fill the list and apply the
// saved language, apply the user's pick. The store decides what goes where.

#include "app/dialog_language_view.h"
#include "app/finder_dlg.h"

void CFinderDlg::OpenLanguageDb() {
    m_language.OpenLanguageDb(m_languageDbPath, *m_languageView);
}

void CFinderDlg::InitLanguageList() {
    m_language.InitLanguageList(*m_languageView);
}

// Only a pick of the user's comes here: the store's own selections raise no notice.
void CFinderDlg::OnSelchangeLanguage() {
    m_language.OnSelchangeLanguage(*m_languageView);
}
