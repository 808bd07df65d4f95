#include "core/program/option_table.h"

#include <algorithm>
#include <optional>
#include <utility>

void COptionTable::Add(std::vector<std::string> names, std::string valueName, OptionApply apply,
                       std::string help) {
    m_entries.push_back(
        {std::move(names), std::move(valueName), std::move(apply), std::move(help)});
}

static OptionFault Fault(OptionFaultKind kind, const std::string& name,
                         const std::string& value = {}) {
    return {kind, name, value, {}, false};
}

const COptionTable::Entry* COptionTable::Find(const std::string& name) const {
    const auto found = std::find_if(m_entries.begin(), m_entries.end(), [&](const auto& entry) {
        return std::find(entry.names.begin(), entry.names.end(), name) != entry.names.end();
    });
    return found == m_entries.end() ? nullptr : &*found;
}

OptionFault COptionTable::Apply(const Entry& entry, const std::string& name,
                                const std::string& value) {
    std::string reason = entry.apply(value);
    if (reason.empty()) {
        return {};
    }
    return {OptionFaultKind::BadValue, name, value, std::move(reason), entry.valueName.empty()};
}

// The name is looked up before a value is looked for, so an unknown option is reported as
// such even at the end of the line.
OptionFault COptionTable::Read(const std::vector<std::string>& args, std::size_t& i) const {
    std::string name = args[i];
    std::optional<std::string> value;
    if (const std::size_t equals = name.find('=');
        m_spelling == OptionSpelling::SeparateOrEquals && equals != std::string::npos) {
        value = name.substr(equals + 1);
        name.resize(equals);
    }
    const Entry* entry = Find(name);
    if (entry == nullptr) {
        return Fault(OptionFaultKind::Unknown, name);
    }
    if (entry->valueName.empty()) {
        return value ? Fault(OptionFaultKind::UnwantedValue, name, *value)
                     : Apply(*entry, name, "");
    }
    if (!value) {
        if (i + 1 >= args.size()) {
            return Fault(OptionFaultKind::MissingValue, name);
        }
        value = args[++i];
        // "--name --force": the value was forgotten, and the next option would become it.
        if (value->rfind("--", 0) == 0) {
            OptionFault fault = Fault(OptionFaultKind::BadValue, name, *value);
            fault.reason = "\"" + *value + "\" is an option, not a value" +
                           (m_spelling == OptionSpelling::SeparateOrEquals
                                ? " (write " + name + "=" + *value + " to mean it)"
                                : "");
            return fault;
        }
    }
    return Apply(*entry, name, *value);
}

OptionFault COptionTable::Give(const std::string& name, const std::string& value) const {
    const Entry* entry = Find(name);
    return entry == nullptr ? Fault(OptionFaultKind::Unknown, name) : Apply(*entry, name, value);
}

std::string COptionTable::Help(std::size_t column) const {
    std::string help;
    for (const Entry& entry : m_entries) {
        if (!entry.help.empty()) {
            const std::string value = entry.valueName.empty() ? "" : " " + entry.valueName;
            help += HelpLine(entry.names.front() + value, entry.help, column);
        }
    }
    return help;
}

// Text wrapped into lines of at most HELP_WIDTH; the first starts with first, the others
// with indent spaces. A word wider than a line stays whole: it is no place to break.
static std::string Wrap(const std::string& text, std::string first, std::size_t indent) {
    std::string wrapped;
    std::string line = std::move(first);
    std::size_t start = 0;
    while (true) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        bool fresh = true; // no word on the line yet
        for (std::size_t word = start; word < end;) {
            const std::size_t space = std::min(text.find(' ', word), end);
            const std::string piece = text.substr(word, space - word);
            if (!fresh && line.size() + 1 + piece.size() > HELP_WIDTH) {
                wrapped += line + "\n";
                line.assign(indent, ' ');
                fresh = true;
            }
            line += (fresh ? "" : " ") + piece;
            fresh = false;
            word = space + 1;
        }
        wrapped += line + "\n";
        if (end == text.size()) {
            return wrapped;
        }
        line.assign(indent, ' ');
        start = end + 1;
    }
}

std::string COptionTable::HelpLine(const std::string& left, const std::string& text,
                                   std::size_t column) {
    std::string line = "  " + left;
    line.append(std::max(column, line.size() + 2) - line.size(), ' ');
    return Wrap(text, line, column);
}

std::string COptionTable::Wrapped(const std::string& text, std::size_t indent) {
    return Wrap(text, std::string(indent, ' '), indent);
}

std::string DescribeOptionFault(const OptionFault& fault) {
    switch (fault.kind) {
    case OptionFaultKind::None:
        return "";
    case OptionFaultKind::Unknown:
        return "unknown option \"" + fault.name + "\"";
    case OptionFaultKind::MissingValue:
        return fault.name + " needs a value";
    case OptionFaultKind::UnwantedValue:
        return fault.name + " takes no value";
    case OptionFaultKind::BadValue:
        break;
    }
    return fault.flag ? fault.reason : fault.name + ": " + fault.reason;
}
