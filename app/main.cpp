#include <QApplication>

#include <cstdio>

#include "app/finder_app.h"
#include "app/finder_options.h"
#include "core/program/finder_version.h"

int main(int argc, char* argv[]) {
    // Read before Qt starts: --help, --version and a bad option need no display.
    const FinderOptions options = ParseFinderOptions(argc, argv);
    if (options.help) {
        std::fputs(FinderUsage().c_str(), stdout);
        return FINDER_EXIT_OK;
    }
    if (options.version) {
        std::fputs(VersionLine("finder").c_str(), stdout);
        return FINDER_EXIT_OK;
    }
    if (!options.error.empty()) {
        std::fprintf(stderr, "finder: %s\nTry 'finder --help'.\n", options.error.c_str());
        return FINDER_EXIT_USAGE;
    }
    QApplication application(argc, argv);
    // The name gives the user's data folder (~/.local/share/finder) and the desktop entry.
    QApplication::setApplicationName(QStringLiteral("finder"));
    QApplication::setApplicationVersion(QString::fromLatin1(FinderVersion()));
    QApplication::setDesktopFileName(QStringLiteral(FINDER_DESKTOP_ID));
    theApp.SetEndpoints(options.endpoints);
    theApp.InitInstance();
    return theApp.ExitInstance();
}
