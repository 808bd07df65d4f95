// The skin tests run real widgets on Qt's offscreen platform.
#include <QApplication>
#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    setenv("XDG_RUNTIME_DIR", FINDER_RUNTIME_DIR, 0); // where the desktop gives none
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
