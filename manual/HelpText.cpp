// A program's --help text, written from the table that also writes its manual page.
#include "manual/HelpText.hpp"

#include <algorithm>
#include <string_view>

namespace quessel::manual {
namespace {

// Columns on a terminal: UTF-8 continuation bytes take none. (None of the tables holds a wide
// or combining character.)
std::size_t columns(std::string_view text) {
    return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
}

// The words of `text`: runs between spaces, except that a bracketed group ("[--page KIND]")
// stays one word, so usage lines break between options and not inside one.
std::vector<std::string_view> words(std::string_view text) {
    std::vector<std::string_view> result;
    std::size_t start = std::string_view::npos;
    int depth = 0;
    for (std::size_t i = 0; i <= text.size(); ++i) {
        const char c = i < text.size() ? text[i] : ' ';
        const bool separates = (c == ' ' || c == '\n') && depth == 0;
        if (separates) {
            if (start != std::string_view::npos) {
                result.push_back(text.substr(start, i - start));
            }
            start = std::string_view::npos;
            continue;
        }
        if (start == std::string_view::npos) {
            start = i;
        }
        depth += c == '[' ? 1 : c == ']' && depth > 0 ? -1 : 0;
    }
    return result;
}

// `text` filled into lines of at most helpWidth columns, the first starting at column `first`
// (the caller has written that much of the line already) and the others indented by `indent`.
// A word longer than a line gets a line of its own.
std::string fill(std::string_view text, std::size_t first, std::size_t indent) {
    std::string result;
    std::size_t column = first;
    bool lineEmpty = true;
    for (const std::string_view word : words(text)) {
        const std::size_t width = columns(word);
        if (!lineEmpty && column + 1 + width > helpWidth) {
            result += '\n';
            result.append(indent, ' ');
            column = indent;
            lineEmpty = true;
        }
        if (!lineEmpty) {
            result += ' ';
            ++column;
        }
        result += word;
        column += width;
        lineEmpty = false;
    }
    result += '\n';
    return result;
}

// Terms in a column, their descriptions beside them. A term too wide for the column puts its
// description on the next line, where it would otherwise push the description off the page.
constexpr std::size_t termIndent = 2;
constexpr std::size_t widestTermColumn = 27;

void appendEntries(std::string& text, std::string_view title, const std::vector<Entry>& entries) {
    if (entries.empty()) {
        return;
    }
    std::size_t column = 0;
    for (const Entry& entry : entries) {
        column = std::max(column, termIndent + columns(entry.term) + 2);
    }
    column = std::min(column, widestTermColumn);
    text += '\n';
    text += title;
    text += ":\n";
    for (const Entry& entry : entries) {
        text.append(termIndent, ' ');
        text += entry.term;
        const std::size_t end = termIndent + columns(entry.term);
        if (end + 2 > column) {
            text += '\n';
            text.append(column, ' ');
        } else {
            text.append(column - end, ' ');
        }
        text += fill(entry.description, column, column);
    }
}

void appendExamples(std::string& text, const std::vector<Example>& examples) {
    if (examples.empty()) {
        return;
    }
    text += "\nExamples:\n";
    for (const Example& example : examples) {
        text.append(termIndent, ' ');
        text += fill(example.description + ":", termIndent, termIndent);
        text.append(2 * termIndent, ' ');
        text += example.command;
        text += '\n';
    }
}

} // namespace

std::string usageText(const CommandManual& manual) {
    static constexpr std::string_view first = "Usage: ";
    static constexpr std::string_view next = "       ";
    std::string text;
    for (std::size_t i = 0; i < manual.usage.size(); ++i) {
        const std::string lead = std::string(i == 0 ? first : next) + manual.name + ' ';
        text += lead;
        text += fill(manual.usage[i], columns(lead), columns(lead));
    }
    return text;
}

std::string helpText(const CommandManual& manual) {
    std::string text = usageText(manual);
    for (const std::string& paragraph : manual.description) {
        text += '\n';
        text += fill(paragraph, 0, 0);
    }
    std::vector<Entry> options;
    for (const Option& option : manual.options) {
        options.push_back(
            {option.argument.empty() ? option.names : option.names + ' ' + option.argument,
             option.description});
    }
    appendEntries(text, "Options", options);
    appendEntries(text, "Exit status", manual.exitStatuses);
    appendEntries(text, "Environment", manual.environment);
    appendEntries(text, "Files", manual.files);
    appendExamples(text, manual.examples);
    return text;
}

} // namespace quessel::manual
