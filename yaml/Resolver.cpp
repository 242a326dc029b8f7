// Implicit tag resolution: which type a plain, untagged scalar's text denotes.
#include "yaml/Resolver.hpp"

#include "yaml/ScalarMatchers.hpp"
#include "yaml/TagName.hpp"

#include <glib.h>

#include <memory>
#include <stdexcept>
#include <utility>

namespace quessel::yaml {
namespace {

struct RegexRelease {
    void operator()(GRegex* regex) const { g_regex_unref(regex); }
};
struct ErrorRelease {
    void operator()(GError* error) const { g_error_free(error); }
};

// `$` is compiled to match only at the very end of the text, the meaning the hand-written
// standard matchers have (see ScalarMatchers.hpp), so that a custom rule and a standard one never
// disagree about a final line break. GRegex is immutable once compiled and may be matched from
// several threads; the shared pointer lets the rule be copied.
std::shared_ptr<GRegex> compile(const std::string& pattern) {
    GError* rawError = nullptr;
    GRegex* regex = g_regex_new(pattern.c_str(), G_REGEX_DOLLAR_ENDONLY,
                                static_cast<GRegexMatchFlags>(0), &rawError);
    const std::unique_ptr<GError, ErrorRelease> error(rawError);
    if (regex == nullptr) {
        throw std::invalid_argument("Invalid resolver pattern \"" + pattern +
                                    "\": " + (error ? error->message : "unknown error"));
    }
    return {regex, RegexRelease{}};
}

Resolver::Rule standardRule(std::string_view tag, std::string_view pattern,
                            bool (*matches)(std::string_view)) {
    return {std::string(tag), std::string(pattern), matches};
}

} // namespace

Resolver::Rule Resolver::Rule::fromPattern(std::string tag, std::string pattern) {
    auto regex = compile(pattern);
    auto matches = [regex = std::move(regex)](std::string_view text) {
        // Text that is not valid UTF-8 simply does not match.
        return g_regex_match_full(regex.get(), text.data() != nullptr ? text.data() : "",
                                  static_cast<gssize>(text.size()), 0,
                                  static_cast<GRegexMatchFlags>(0), nullptr, nullptr) != FALSE;
    };
    return {std::move(tag), std::move(pattern), std::move(matches)};
}

Resolver::Resolver(std::vector<Rule> rules) : rules_(std::move(rules)) {}

Resolver::Resolver(std::vector<Rule> rules, Classifier classifier)
    : rules_(std::move(rules)), classifier_(classifier) {}

const Resolver& Resolver::standard() {
    static const Resolver resolver(
        {
            standardRule(TagName::boolean, ScalarPattern::boolean, matchesBool),
            standardRule(TagName::integer, ScalarPattern::integer, matchesInt),
            standardRule(TagName::floating, ScalarPattern::floating, matchesFloat),
            standardRule(TagName::merge, ScalarPattern::merge, matchesMerge),
            standardRule(TagName::null, ScalarPattern::null, matchesNull),
            standardRule(TagName::timestamp, ScalarPattern::timestamp, matchesTimestamp),
            standardRule(TagName::value, ScalarPattern::value, matchesValue),
        },
        classifyPlainScalar);
    return resolver;
}

std::string_view Resolver::resolve(std::string_view text) const {
    if (classifier_ != nullptr) {
        return classifier_(text);
    }
    for (const Rule& rule : rules_) {
        if (rule.matches(text)) {
            return rule.tag;
        }
    }
    return TagName::str;
}

} // namespace quessel::yaml
