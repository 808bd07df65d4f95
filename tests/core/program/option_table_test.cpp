#include <gtest/gtest.h>

#include "core/program/option_table.h"

namespace {

// A port that refuses "0", a flag and an unlisted option; each value given is kept.
struct Taken {
    std::vector<std::string> values;
    COptionTable table;
    explicit Taken(OptionSpelling spelling) : table(spelling) {
        const auto keep = [this](const std::string& v) {
            values.push_back(v);
            return std::string(v == "0" ? "is zero" : "");
        };
        table.Add({"--port", "-p"}, "N", keep, "where\nto listen");
        table.Add({"--reply-broadcast"}, "", keep, "answer all");
        table.Add({"--hidden"}, "", keep);
    }
};

TEST(OptionTable, ReadTakesTheValueItsSpellingAllowsAndNamesWhatWentWrong) {
    using K = OptionFaultKind;
    const auto both = OptionSpelling::SeparateOrEquals;
    const struct {
        OptionSpelling spelling;
        std::vector<std::string> args;
        K kind;
        std::string read; // the fault's name|value|reason, and where i ends
        std::vector<std::string> applied;
    } cases[] = {
        // The next option is no value: the value was forgotten. Given with "=", it is one.
        {both,
         {"--port", "--reply-broadcast"},
         K::BadValue,
         "--port|--reply-broadcast|\"--reply-broadcast\" is an option, not a value (write "
         "--port=--reply-broadcast to mean it)|1",
         {}},
        {OptionSpelling::Separate,
         {"-p", "--x"},
         K::BadValue,
         "-p|--x|\"--x\" is an option, not a value|1",
         {}},
        {both, {"--port=--reply-broadcast"}, K::None, "|||0", {"--reply-broadcast"}},
        {both, {"-p=4=5"}, K::None, "|||0", {"4=5"}},
        {both, {"--port", "0"}, K::BadValue, "--port|0|is zero|1", {"0"}},
        {both, {"--port"}, K::MissingValue, "--port|||0", {}},
        {both, {"--reply-broadcast=no"}, K::UnwantedValue, "--reply-broadcast|no||0", {}},
        {both, {"--loud=yes", "3"}, K::Unknown, "--loud|||0", {}},
        {OptionSpelling::Separate, {"--port=4"}, K::Unknown, "--port=4|||0", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.args));
        Taken taken(c.spelling);
        std::size_t i = 0;
        const OptionFault fault = taken.table.Read(c.args, i);
        EXPECT_EQ(fault.kind, c.kind);
        EXPECT_EQ(fault.name + "|" + fault.value + "|" + fault.reason + "|" + std::to_string(i),
                  c.read);
        EXPECT_EQ(taken.values, c.applied);
    }
}

TEST(OptionTable, HelpListsTheOptionsWithATextEachLineFromItsColumn) {
    EXPECT_EQ(Taken(OptionSpelling::Separate).table.Help(14),
              "  --port N    where\n              to listen\n"
              "  --reply-broadcast  answer all\n");
}

} // namespace

namespace {

TEST(OptionTable, LongHelpTextsWrapAtTheirSpacesWithinTheWidth) {
    const std::string word = "word ";
    std::string text;
    for (int i = 0; i < 60; ++i) {
        text += word;
    }
    text += "\nnext";
    const std::string help = COptionTable::HelpLine("--long-option VALUE", text, 30);
    std::size_t lines = 0;
    for (std::size_t start = 0; start < help.size(); ++lines) {
        const std::size_t end = help.find('\n', start);
        const std::string line = help.substr(start, end - start);
        EXPECT_LE(line.size(), HELP_WIDTH) << line;
        EXPECT_EQ(line.back() == ' ', false) << "no space before a break: " << line;
        if (lines > 0) {
            EXPECT_EQ(line.substr(0, 30), std::string(30, ' ')) << line;
        }
        start = end + 1;
    }
    EXPECT_EQ(lines, 6u) << help; // 300 letters in lines of 70 columns, then "next"
    EXPECT_EQ(help.substr(help.size() - 5), "next\n");
    EXPECT_EQ(COptionTable::Wrapped("a b\n  c", 2), "  a b\n    c\n");
}

TEST(OptionTable, EveryFaultIsDescribedInOneWay) {
    EXPECT_EQ(DescribeOptionFault({}), "");
    EXPECT_EQ(DescribeOptionFault({OptionFaultKind::Unknown, "--x", "", "", false}),
              "unknown option \"--x\"");
    EXPECT_EQ(DescribeOptionFault({OptionFaultKind::MissingValue, "--x", "", "", false}),
              "--x needs a value");
    EXPECT_EQ(DescribeOptionFault({OptionFaultKind::UnwantedValue, "--x", "1", "", false}),
              "--x takes no value");
    EXPECT_EQ(DescribeOptionFault({OptionFaultKind::BadValue, "--x", "1", "\"1\" is odd", false}),
              "--x: \"1\" is odd");
    EXPECT_EQ(DescribeOptionFault({OptionFaultKind::BadValue, "--x", "", "not twice", true}),
              "not twice");
}

} // namespace
