#pragma once

#include <QString>

#include "i18n/language_place.h"
#include "i18n/window_texts.h"

// Where the finder looks for the language.db it ships, in this order: next to the program
// (the build tree), in share/finder beside the program's bin folder (an installed finder,
// wherever its prefix), then in the application's folder of every system data folder
// ($XDG_DATA_DIRS). The user's own copy lives in Qt's application data folder (for the
// finder ~/.local/share/finder). Needs the QApplication.
LanguageSearch FinderLanguageSearch();

// The one message a place gives the user at start; empty when there is nothing to say. A
// database that was found says it in the language of `tr`.
QString LanguagePlaceMessage(const LanguagePlace& place, const TextLookup& tr = EnglishText);
