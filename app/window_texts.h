#pragma once

// The one window text that stays English in every language: it is shown when no
// language.db was found, so there is no translation to read it from.
inline constexpr char TEXT_LANGUAGE_NOT_FOUND[] =
    "language.db was not found, so the window stays in English. The finder looked for it "
    "here:";
