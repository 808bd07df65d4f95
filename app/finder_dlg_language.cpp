// The language store's steps of the dialog's start-up; the store fills them.

#include "finder_dlg.h"

void CFinderDlg::OpenLanguageDb() {}

void CFinderDlg::InitLanguageList() {}
