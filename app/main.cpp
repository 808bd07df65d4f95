#include <QApplication>

#include <cstdio>

#include "app/finder_app.h"
#include "app/finder_options.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    const FinderOptions options = ParseFinderOptions(argc, argv);
    if (!options.error.empty()) {
        std::fprintf(stderr, "finder: %s\n", options.error.c_str());
        std::fprintf(stderr, "usage: finder [--local-port N] [--broadcast ADDR] "
                             "[--device-port N]\n");
        return 2;
    }
    theApp.SetEndpoints(options.endpoints);
    theApp.InitInstance();
    return theApp.ExitInstance();
}
