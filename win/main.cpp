#include <windows.h>

#include "win/finder_app.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    const int status = theApp.InitInstance();
    const int exit = theApp.ExitInstance();
    return status != 0 ? status : exit;
}
