// The skin's steps of the dialog's start-up; the skinned frame fills them. Until then the
// dialog keeps the desktop's own look.

#include "finder_dlg.h"

void CFinderDlg::SetupSkin() {}

void CFinderDlg::SetupFonts() {}
