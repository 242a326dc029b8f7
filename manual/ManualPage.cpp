// A program's manual page in roff (the man macros), written from the table that also writes its
// --help text.
#include "manual/ManualPage.hpp"

#include <cstdio>

namespace quessel::manual {
namespace {

// The code point of the UTF-8 sequence at `position`, and its length. The tables are UTF-8 that
// we write ourselves; a stray byte is given as itself so that nothing is lost silently.
char32_t decode(std::string_view text, std::size_t& position) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(position);
    const std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    if (length == 1 || position + length > text.size()) {
        ++position;
        return lead;
    }
    char32_t scalar = lead & (0x7F >> length);
    for (std::size_t i = 1; i < length; ++i) {
        scalar = (scalar << 6) | (byte(position + i) & 0x3F);
    }
    position += length;
    return scalar;
}

// groff's way of naming any character: \[u2026] for the ellipsis.
std::string namedCharacter(char32_t scalar) {
    char name[16];
    std::snprintf(name, sizeof name, "\\[u%04X]", static_cast<unsigned>(scalar));
    return name;
}

// A placeholder the user replaces (FILE, N): capital letters, digits and underscores only.
bool isPlaceholder(std::string_view word) {
    bool letter = false;
    for (const char c : word) {
        if (c >= 'A' && c <= 'Z') {
            letter = true;
        } else if (!(c >= '0' && c <= '9') && c != '_') {
            return false;
        }
    }
    return letter;
}

std::string font(std::string_view word) {
    if (word.empty()) {
        return {};
    }
    return (isPlaceholder(word) ? "\\fI" : "\\fB") + roffText(word) + "\\fR";
}

// A usage line or an option's argument in the manual pages' convention: what is typed as
// written in bold, placeholders in italics, brackets, bars and ellipses in roman.
std::string commandSyntax(std::string_view text) {
    std::string result;
    std::size_t wordStart = 0;
    for (std::size_t i = 0; i <= text.size(); ++i) {
        const bool end = i == text.size();
        const bool punctuation = !end && (text[i] == '[' || text[i] == ']' || text[i] == '|' ||
                                          text[i] == ' ' || text.substr(i).starts_with("..."));
        if (!end && !punctuation) {
            continue;
        }
        result += font(text.substr(wordStart, i - wordStart));
        if (end) {
            break;
        }
        // Brackets, bars, spaces and dots mean nothing to roff within a line.
        const std::size_t length = text[i] == '.' ? 3 : 1;
        result += text.substr(i, length);
        i += length - 1;
        wordStart = i + 1;
    }
    return result;
}

std::string optionHeading(const Option& option) {
    std::string heading;
    std::string_view names = option.names;
    while (!names.empty()) {
        const std::size_t comma = names.find(", ");
        heading += font(names.substr(0, comma));
        if (comma == std::string_view::npos) {
            break;
        }
        heading += ", ";
        names.remove_prefix(comma + 2);
    }
    if (!option.argument.empty()) {
        heading += ' ' + commandSyntax(option.argument);
    }
    return heading;
}

// A paragraph of prose as one input line: roff fills it, so its line feeds are only spaces.
std::string prose(std::string_view text) {
    std::string line(text);
    for (char& c : line) {
        if (c == '\n') {
            c = ' ';
        }
    }
    const std::size_t start = line.find_first_not_of(' ');
    return start == std::string::npos ? std::string() : roffText(line.substr(start)) + '\n';
}

void appendEntries(std::string& page, std::string_view section, std::string_view fontEscape,
                   const std::vector<Entry>& entries) {
    if (entries.empty()) {
        return;
    }
    page += ".SH \"";
    page += section;
    page += "\"\n";
    for (const Entry& entry : entries) {
        page += ".TP\n";
        page += fontEscape;
        page += roffText(entry.term) + "\\fR\n";
        page += prose(entry.description);
    }
}

std::string uppercase(std::string_view text) {
    std::string result(text);
    for (char& c : result) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return result;
}

void appendHeader(std::string& page, const CommandManual& manual, std::string_view source,
                  std::string_view date) {
    page += ".\\\" The manual page of " + manual.name +
            ", written at build time from the table its --help text is written from.\n";
    page += ".TH \"" + roffText(uppercase(manual.name)) + "\" \"1\" \"" + roffText(date) + "\" \"" +
            roffText(source) + "\" \"User Commands\"\n";
    // Identifiers (recentFiles, --font-size) are not words to hyphenate, and ragged lines read
    // better than lines spread to the margin without hyphenation.
    page += ".nh\n.ad l\n";
    page += ".SH NAME\n";
    page += roffText(manual.name) + " \\- " + prose(manual.summary);
    page += ".SH SYNOPSIS\n";
    for (std::size_t i = 0; i < manual.usage.size(); ++i) {
        if (i > 0) {
            page += ".br\n";
        }
        page += font(manual.name) + ' ' + commandSyntax(manual.usage[i]) + '\n';
    }
}

void appendBody(std::string& page, const CommandManual& manual) {
    page += ".SH DESCRIPTION\n";
    for (std::size_t i = 0; i < manual.description.size(); ++i) {
        page += i > 0 ? ".PP\n" : "";
        page += prose(manual.description[i]);
    }
    if (!manual.options.empty()) {
        page += ".SH OPTIONS\n";
        for (const Option& option : manual.options) {
            page += ".TP\n" + optionHeading(option) + '\n' + prose(option.description);
        }
    }
    appendEntries(page, "EXIT STATUS", "\\fB", manual.exitStatuses);
    appendEntries(page, "ENVIRONMENT", "\\fB", manual.environment);
    appendEntries(page, "FILES", "\\fI", manual.files);
}

void appendReferences(std::string& page, const CommandManual& manual) {
    if (!manual.examples.empty()) {
        page += ".SH EXAMPLES\n";
        for (const Example& example : manual.examples) {
            page += ".PP\n" + prose(example.description + ":");
            page += ".PP\n.RS 4\n.nf\n" + roffText(example.command) + "\n.fi\n.RE\n";
        }
    }
    if (!manual.seeAlso.empty()) {
        page += ".SH \"SEE ALSO\"\n";
        for (std::size_t i = 0; i < manual.seeAlso.size(); ++i) {
            const std::string& reference = manual.seeAlso[i];
            const std::size_t parenthesis = reference.find('(');
            page += ".BR " + roffText(reference.substr(0, parenthesis)) + ' ' +
                    roffText(reference.substr(std::min(parenthesis, reference.size()))) +
                    (i + 1 < manual.seeAlso.size() ? ",\n" : "\n");
        }
    }
}

} // namespace

std::string roffText(std::string_view text) {
    std::string result;
    bool lineStart = true;
    for (std::size_t position = 0; position < text.size();) {
        const char32_t scalar = decode(text, position);
        if (lineStart && (scalar == '.' || scalar == '\'')) {
            result += "\\&";
        }
        lineStart = scalar == '\n';
        if (scalar == '\\') {
            result += "\\e";
        } else if (scalar == '-') {
            result += "\\-";
        } else if (scalar >= 0x80) {
            result += namedCharacter(scalar);
        } else {
            result += static_cast<char>(scalar);
        }
    }
    return result;
}

std::string manualPage(const CommandManual& manual, std::string_view source,
                       std::string_view date) {
    std::string page;
    appendHeader(page, manual, source, date);
    appendBody(page, manual);
    appendReferences(page, manual);
    return page;
}

} // namespace quessel::manual
