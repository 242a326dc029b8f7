// The coloured, collapsible tree markup of a loaded value.
#pragma once

#include "yaml/YamlValue.hpp"

#include <cstddef>
#include <string>
#include <vector>

namespace quessel::page {

class NodeIdSource;

// Writes one line element per mapping entry or sequence element, with a collapse toggle for
// every entry whose value is a non-empty collection. The markup relies on the page's style
// sheet and on the page script's toggle(id); it holds no whitespace between elements.
class TreeRenderer {
public:
    // Node ids come from the calling thread's generator.
    TreeRenderer();
    explicit TreeRenderer(NodeIdSource& ids) : ids_(ids) {}

    std::string renderYAML(const yaml::YamlValue& value, std::ptrdiff_t indent);
    std::string renderMapping(const yaml::Mapping& mapping, std::ptrdiff_t indent);
    std::string renderSequence(const yaml::Sequence& sequence, std::ptrdiff_t indent);

    // The same markup, appended: page generation writes the tree straight into the page.
    void appendYAML(std::string& out, const yaml::YamlValue& value, std::ptrdiff_t indent);
    void appendMapping(std::string& out, const yaml::Mapping& mapping, std::ptrdiff_t indent);
    void appendSequence(std::string& out, const yaml::Sequence& sequence, std::ptrdiff_t indent);
    // The documents of a stream of several, each under a collapsible header line.
    void appendDocuments(std::string& out, const std::vector<yaml::YamlValue>& documents);

    // Makes the renderer stop once the markup it wrote would hold more than `limit` lines, so
    // that a page too long for markup is given up after at most that many lines. What was
    // written by then is unfinished: discard it when exceeded() says so.
    void limitLines(std::size_t limit) { lineLimit_ = limit; }
    bool exceeded() const { return exceeded_; }

private:
    struct EntryLabel;
    class EntryId;

    void appendEntry(std::string& out, const EntryId& id, const EntryLabel& label,
                     const yaml::YamlValue& value, std::ptrdiff_t indent);
    void appendCollapsibleEntry(std::string& out, const EntryId& id, const EntryLabel& label,
                                const yaml::YamlValue& value, std::size_t count,
                                std::ptrdiff_t indent);

    // Counts a collection's entries as lines before any is written; false once over the limit.
    bool countLines(std::size_t count);

    NodeIdSource& ids_;
    std::size_t lineLimit_ = static_cast<std::size_t>(-1);
    std::size_t lines_ = 0;
    bool exceeded_ = false;
};

} // namespace quessel::page
