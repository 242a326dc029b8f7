// Where each collection of a text is written, from libyaml's event marks.
#include "yaml/CollectionSpans.hpp"

#include "yaml/LibyamlEvent.hpp"
#include "yaml/Utf8.hpp"
#include "yaml/WhiteSpaceOnly.hpp"

namespace quessel::yaml {
namespace {

Mark markOf(const yaml_mark_t& mark) {
    return Mark{static_cast<std::int64_t>(mark.line) + 1,
                static_cast<std::int64_t>(mark.column) + 1};
}

bool before(Mark a, Mark b) {
    return a.line < b.line || (a.line == b.line && a.column < b.column);
}

// libyaml needs a non-null input, also for no bytes.
constexpr unsigned char noInput[1] = {0};

} // namespace

CollectionSpans::CollectionSpans(const MarkOffsets& offsets, Parser::Encoding encoding)
    : offsets_(offsets) {
    // Fed to libyaml as Parser feeds it, so that the marks are the ones composition saw.
    const std::string_view text = offsets.text();
    std::string_view input = isWhiteSpaceOnly(text) ? std::string_view() : text;
    if (encoding == Parser::Encoding::utf16) {
        yaml_parser_set_encoding(parser_.get(), YAML_UTF16LE_ENCODING);
        buffer_ = utf8::toUtf16LittleEndian(input);
        input = buffer_;
    } else {
        yaml_parser_set_encoding(parser_.get(), YAML_UTF8_ENCODING);
    }
    const auto* bytes =
        input.empty() ? noInput : reinterpret_cast<const unsigned char*>(input.data());
    yaml_parser_set_input_string(parser_.get(), bytes, input.size());
}

CollectionSpans::~CollectionSpans() = default;

const CollectionSpan* CollectionSpans::find(std::size_t document, std::size_t collection) {
    while (!closed(document, collection) && readEvent()) {
    }
    return closed(document, collection) ? &documents_[document][collection] : nullptr;
}

bool CollectionSpans::closed(std::size_t document, std::size_t collection) const {
    return document < documents_.size() && collection < documents_[document].size() &&
           documents_[document][collection].closed;
}

bool CollectionSpans::readEvent() {
    if (ended_) {
        return false;
    }
    LibyamlEvent event;
    if (yaml_parser_parse(parser_.get(), event.get()) == 0) {
        ended_ = true;
        return false;
    }
    switch (event.type()) {
    case YAML_DOCUMENT_START_EVENT:
        documents_.emplace_back();
        open_.clear();
        break;
    case YAML_SCALAR_EVENT:
        scalar(*event.get());
        break;
    case YAML_ALIAS_EVENT:
        lastContent_ = markOf(event->end_mark);
        break;
    case YAML_SEQUENCE_START_EVENT:
        open(*event.get(), true);
        break;
    case YAML_MAPPING_START_EVENT:
        open(*event.get(), false);
        break;
    case YAML_SEQUENCE_END_EVENT:
    case YAML_MAPPING_END_EVENT:
        close(*event.get());
        break;
    case YAML_STREAM_END_EVENT:
        ended_ = true;
        break;
    default:
        break;
    }
    return !ended_;
}

// A start event's end mark is after the opening bracket of a flow collection, at the first key
// of a block mapping and at the first dash of a block sequence, but after the dash of one that
// is not indented under its key. A single pair in a flow sequence (`[a: b]`) is a mapping
// without brackets: its start event takes no room, and its end event is where the next token
// starts, like a block collection's.
void CollectionSpans::open(const yaml_event_t& event, bool sequence) {
    const bool flow = sequence ? event.data.sequence_start.style == YAML_FLOW_SEQUENCE_STYLE
                               : event.data.mapping_start.style == YAML_FLOW_MAPPING_STYLE;
    const bool bracketed = flow && event.start_mark.index != event.end_mark.index;
    Mark begin = markOf(event.end_mark);
    if (bracketed) {
        --begin.column;
    } else if (sequence && !flow) {
        const auto at = offsets_.offsetOf(begin);
        if (at && *at < offsets_.text().size() && offsets_.text()[*at] != '-') {
            --begin.column;
        }
    }
    if (documents_.empty()) {
        documents_.emplace_back();
    }
    std::vector<CollectionSpan>& spans = documents_.back();
    open_.push_back(spans.size());
    spans.push_back({begin, begin, bracketed});
}

// A block collection has no end of its own: libyaml marks its end where the next token
// starts, past blank and comment lines.
void CollectionSpans::close(const yaml_event_t& event) {
    if (open_.empty() || documents_.empty()) {
        return;
    }
    CollectionSpan& span = documents_.back()[open_.back()];
    open_.pop_back();
    span.closed = true;
    if (span.bracketed) {
        span.end = markOf(event.end_mark);
        lastContent_ = span.end;
    } else if (before(span.begin, lastContent_)) {
        span.end = lastContent_;
    }
}

// An empty scalar stands right after the indicator it follows (`key:`, `-`, `?`), except a
// missing value after an explicit key, which libyaml marks where the next token starts: that
// one may lie beyond the collection.
void CollectionSpans::scalar(const yaml_event_t& event) {
    if (event.start_mark.index == event.end_mark.index) {
        const auto at = offsets_.offsetOf(markOf(event.start_mark));
        if (!at || *at == 0) {
            return;
        }
        const char previous = offsets_.text()[*at - 1];
        if (previous != ':' && previous != '-' && previous != '?') {
            return;
        }
    }
    lastContent_ = markOf(event.end_mark);
}

} // namespace quessel::yaml
