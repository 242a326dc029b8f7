// The frame every page shares: head, palette, style sheet, the body's fixed pieces, the script.
#include "page/PageTemplate.hpp"

#include "page/Decimal.hpp"
#include "page/HtmlEscape.hpp"
#include "page/PageProtocol.hpp"
#include "page/PageResources.hpp"

#include <array>

namespace quessel::page {
namespace {

struct PaletteColour {
    std::string_view property;
    std::string_view light;
    std::string_view dark;
};

// The null colour is one fixed value for both appearances. The cursor's row is tinted and edged
// in a blue that no value colour uses, so that it stands apart from search marks.
constexpr std::array<PaletteColour, 16> palette = {{
    {"--bg-color", "#ffffff", "#1e1e1e"},
    {"--text-color", "#333333", "#d4d4d4"},
    {"--key-color", "#881391", "#c586c0"},
    {"--string-color", "#1a1aa6", "#ce9178"},
    {"--number-color", "#1c00cf", "#b5cea8"},
    {"--boolean-color", "#0d22aa", "#569cd6"},
    {"--null-color", "#808080", "#808080"},
    {"--bracket-color", "#666666", "#808080"},
    {"--highlight-bg", "rgba(255, 235, 59, 0.5)", "rgba(255, 235, 59, 0.4)"},
    {"--current-highlight-bg", "rgba(255, 193, 7, 0.85)", "rgba(255, 193, 7, 0.7)"},
    {"--error-bg", "#f8d7da", "#5a1d1d"},
    {"--error-text", "#721c24", "#f8d7da"},
    {"--toggle-color", "#999999", "#6e6e6e"},
    {"--collapsed-bg", "#f0f0f0", "#2d2d2d"},
    {"--cursor-bg", "rgba(26, 115, 232, 0.12)", "rgba(77, 163, 255, 0.2)"},
    {"--cursor-edge", "#1a73e8", "#4da3ff"},
}};

constexpr std::string_view documentStart = "<!DOCTYPE html>\n<html>\n<head>\n"
                                           "<meta charset=\"UTF-8\">\n<style>\n";
constexpr std::string_view headEnd = "</style>\n</head>\n<body>\n    ";
constexpr std::string_view contentStart = "\n    <div class=\"yaml-content\">";
constexpr std::string_view scriptStart = "\n\n    <script>";
constexpr std::string_view documentEnd = "</script>\n</body>\n</html>";

// The style sheet file writes the body's font size as this variable, so that the file stays
// valid CSS; the page gets the size in pixels in its place.
constexpr std::string_view fontSizeMarker = "var(--page-font-size)";

void appendPalette(std::string& out, Appearance appearance) {
    out.append(":root {\n");
    for (const PaletteColour& colour : palette) {
        out.append(colour.property);
        out.append(": ");
        out.append(appearance == Appearance::dark ? colour.dark : colour.light);
        out.append(";\n");
    }
    out.append("}\n");
}

void appendStyleSheet(std::string& out, int fontSize) {
    const std::size_t marker = pageStyleSheet.find(fontSizeMarker);
    out.append(pageStyleSheet.substr(0, marker));
    if (marker == std::string_view::npos) {
        return;
    }
    appendDecimal(out, fontSize);
    out.append("px");
    out.append(pageStyleSheet.substr(marker + fontSizeMarker.size()));
}

} // namespace

void appendPageStart(std::string& out, Appearance appearance, int fontSize,
                     std::string_view extraStyle) {
    out.append(documentStart);
    appendPalette(out, appearance);
    appendStyleSheet(out, fontSize);
    out.append(extraStyle);
    out.append(headEnd);
}

void appendErrorBanner(std::string& out, std::string_view message) {
    out.append("<div class=\"error-banner\">");
    appendEscaped(out, message);
    out.append("</div>");
}

void appendErrorBanner(std::string& out, const ErrorBanner& banner) {
    appendErrorBanner(out, banner.message);
    if (!banner.detail.empty()) {
        out.append("<div class=\"error-detail\">");
        appendEscaped(out, banner.detail);
        out.append("</div>");
    }
}

void appendContentStart(std::string& out) {
    out.append(contentStart);
}

void appendContentEnd(std::string& out) {
    out.append("</div>");
}

void appendPageEnd(std::string& out, std::string_view script) {
    out.append(scriptStart);
    out.append(script);
    out.append(documentEnd);
}

std::string scriptOfParts(std::initializer_list<std::string_view> parts) {
    std::string script = "(function () {\n'use strict';\n";
    protocol::appendProtocolScript(script);
    for (const std::string_view part : parts) {
        script.append(part);
        script.push_back('\n');
    }
    script.append("})();");
    return script;
}

std::size_t fixedPageSize(std::string_view script) {
    constexpr std::size_t paletteAndBanner = 1024;
    return documentStart.size() + pageStyleSheet.size() + headEnd.size() + contentStart.size() +
           scriptStart.size() + script.size() + documentEnd.size() + paletteAndBanner;
}

} // namespace quessel::page
