#include "win/language_search.h"

#include <windows.h>
// after windows.h, which it needs
#include <shlobj.h>

#include <string>

#include "win/wide_text.h"

static std::wstring ProgramFolder() {
    std::wstring path(MAX_PATH, L'\0');
    DWORD length = 0;
    while ((length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()))) ==
           path.size()) {
        path.resize(path.size() * 2);
    }
    path.resize(length);
    return path.substr(0, path.find_last_of(L"\\/") + 1);
}

static std::wstring UserFolder() {
    PWSTR roaming = nullptr;
    std::wstring folder;
    if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_RoamingAppData, 0, nullptr, &roaming))) {
        folder = std::wstring(roaming) + L"\\finder";
    }
    CoTaskMemFree(roaming);
    return folder;
}

LanguageSearch WindowsLanguageSearch() {
    LanguageSearch search;
    search.shipped.push_back(Narrow(ProgramFolder()) + LANG_PLACE_FILE);
    search.userFolder = Narrow(UserFolder());
    return search;
}
