#include <gtest/gtest.h>

#include "app/browser_command.h"

namespace {

TEST(BrowserCommand, KeepsTheFolderAndNamesTheBrowser) {
    EXPECT_EQ(BrowserCommand("\"C:\\Program Files\\Internet Explorer\\iexplore.exe\" %1"),
              "\"C:\\Program Files\\Internet Explorer\\iexplore.exe ");
    EXPECT_EQ(BrowserCommand("D:\\Web\\browser.exe -nohome"), "D:\\Web\\iexplore.exe ");
    EXPECT_EQ(BrowserCommand("\\"), "\\iexplore.exe ");
}

TEST(BrowserCommand, DropsEverythingAfterTheLastBackslash) {
    // Arguments holding backslashes count too: the last one wins.
    EXPECT_EQ(BrowserCommand("C:\\ie\\iexplore.exe -k C:\\pages\\home.htm"),
              "C:\\ie\\iexplore.exe -k C:\\pages\\iexplore.exe ");
}

TEST(BrowserCommand, FallsBackWithoutABackslash) {
    EXPECT_EQ(BrowserCommand("iexplore.exe"), "C:\\Program Files\\Internet Explorer\\iexplore.exe");
    EXPECT_EQ(BrowserCommand(""), "C:\\Program Files\\Internet Explorer\\iexplore.exe");
}

TEST(BrowserCommand, EndsAtTheFirstZeroByte) {
    using namespace std::string_literals;
    EXPECT_EQ(BrowserCommand("C:\\a\\b.exe\0D:\\x\\y"s), "C:\\a\\iexplore.exe ");
    EXPECT_EQ(BrowserCommand("plain\0D:\\x\\y"s),
              "C:\\Program Files\\Internet Explorer\\iexplore.exe");
}

TEST(BrowserCommand, NeverExceedsTheCommandBuffer) {
    // The kept part plus "iexplore.exe " fits exactly in 260 characters...
    const std::string fits = std::string(246, 'a') + "\\x.exe";
    ASSERT_TRUE(BrowserCommand(fits).has_value());
    EXPECT_EQ(BrowserCommand(fits)->size(), 260u);
    // ...one more and no browser is started (the page still opens).
    EXPECT_FALSE(BrowserCommand(std::string(247, 'a') + "\\x.exe").has_value());
    // A value too long to read starts nothing.
    EXPECT_FALSE(BrowserCommand(std::string(261, '\\')).has_value());
    EXPECT_TRUE(BrowserCommand(std::string(200, 'b')).has_value());
}

TEST(BrowserCommand, ThisPlatformHasNoRegistryValue) {
#ifndef _WIN32
    EXPECT_FALSE(ReadBrowserRegistryValue().has_value());
#endif
}

} // namespace
