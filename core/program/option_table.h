#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

// Takes an option's value ("" for a flag) into the options being read: an empty text when
// the value is accepted, else why not.
using OptionApply = std::function<std::string(const std::string& value)>;

// Whether "--name=value" gives a value too, or only the argument after the name does.
enum class OptionSpelling { Separate, SeparateOrEquals };

// No line of a program's help is wider than this: help texts are wrapped to it.
constexpr std::size_t HELP_WIDTH = 100;

enum class OptionFaultKind { None, Unknown, MissingValue, UnwantedValue, BadValue };

// What went wrong with one option; each program words it in its own way.
struct OptionFault {
    OptionFaultKind kind = OptionFaultKind::None;
    std::string name; // as typed, without "=value"
    std::string value;
    std::string reason; // BadValue: what apply answered
    bool flag = false;  // BadValue: the option takes no value, so reason says it all

    explicit operator bool() const { return kind != OptionFaultKind::None; }
};

// The one wording of every option fault in the finder's programs: unknown option "--x",
// --x needs a value, --x takes no value, --x: <why> (a flag refused says why alone).
std::string DescribeOptionFault(const OptionFault& fault);

// The options a program understands, how each takes its value and how the help lists them.
// A program reads its arguments in its own order and hands each option to Read; what is
// not an option (a command, a MAC, another toolkit's options) stays with the program.
class COptionTable {
public:
    explicit COptionTable(OptionSpelling spelling) : m_spelling(spelling) {}

    // An option of these names (the help lists the first); valueName as the help shows the
    // value ("N", "ADDR"), empty for a flag. The help text may run over several lines; an
    // option without one is not listed.
    void Add(std::vector<std::string> names, std::string valueName, OptionApply apply,
             std::string help = {});

    // Reads the option args[i] names, with its value from "=value" or from the next
    // argument; i ends on the last argument taken. A next argument that starts with "--" is
    // refused as a value: it is the next option, and the value was forgotten.
    OptionFault Read(const std::vector<std::string>& args, std::size_t& i) const;

    // Gives a value to the option called name, as if typed after it (a setting from the
    // environment, say).
    OptionFault Give(const std::string& name, const std::string& value) const;

    // One help line per listed option, in the order added, its text from column on.
    std::string Help(std::size_t column) const;

    // "  LEFT", padded to column (two spaces at least), then text wrapped to HELP_WIDTH;
    // its further lines (at each '\n' of text, or where a line is full) start at column.
    static std::string HelpLine(const std::string& left, const std::string& text,
                                std::size_t column);

    // Text wrapped at its spaces into lines of at most HELP_WIDTH, each starting with
    // indent spaces; a '\n' in text starts a new line.
    static std::string Wrapped(const std::string& text, std::size_t indent);

private:
    struct Entry {
        std::vector<std::string> names;
        std::string valueName;
        OptionApply apply;
        std::string help;
    };

    const Entry* Find(const std::string& name) const;
    static OptionFault Apply(const Entry& entry, const std::string& name, const std::string& value);

    OptionSpelling m_spelling;
    std::vector<Entry> m_entries;
};
