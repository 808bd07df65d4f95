#pragma once

#include "i18n/language_place.h"

// Where finder.exe finds its language.db: the one it ships lies next to the program (an
// unpacked zip, or the installed folder); the user's own copy, which keeps the language
// picked, lives in %APPDATA%\finder. Paths are UTF-8.
LanguageSearch WindowsLanguageSearch();
