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
    m_languagePlace = place;
}

// Said once at start, in English when there is no database to translate it; otherwise
// once the saved language is applied.
void CFinderDlg::ShowLanguageNotice() {
    const QString notice = LanguagePlaceMessage(m_languagePlace, WindowTextLookup());
    if (!notice.isEmpty()) {
        ShowMessage(this, QCoreApplication::applicationName(), notice);
    }
}

void CFinderDlg::OpenLanguageDb() {
    if (m_languagePlace.note == LanguagePlaceNote::NotFound) {
        ShowLanguageNotice();
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
        ShowLanguageNotice();
    }
}

// Only a pick of the user's comes here: the store's own selections raise no notice.
void CFinderDlg::OnSelchangeLanguage() {
    m_language.OnSelchangeLanguage(*m_languageView);
}
