// Implicit tag resolution: which type a plain, untagged scalar's text denotes.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace quessel::yaml {

class Resolver {
public:
    struct Rule {
        std::string tag;
        // The rule's expression; `^` and `$` in it anchor at the ends of the whole text.
        std::string pattern;
        // Whether the expression finds a match in the text.
        std::function<bool(std::string_view)> matches;

        // A rule whose matcher is the compiled expression (case-sensitive, no options; `$`
        // matches only at the very end, not before a final line break). An expression that does
        // not compile throws std::invalid_argument.
        static Rule fromPattern(std::string tag, std::string pattern);
    };

    explicit Resolver(std::vector<Rule> rules);

    // The seven rules of YAML 1.1 (bool, int, float, merge, null, timestamp, value), in that
    // order, with hand-written matchers equivalent to their expressions. Made once per process.
    static const Resolver& standard();

    const std::vector<Rule>& rules() const { return rules_; }

    // The tag of a plain untagged scalar: the first rule whose expression finds a match in the
    // text (the standard expressions are anchored at both ends), or the string tag when none
    // does. The view stays valid as long as the resolver.
    std::string_view resolve(std::string_view text) const;

private:
    using Classifier = std::string_view (*)(std::string_view);

    Resolver(std::vector<Rule> rules, Classifier classifier);

    std::vector<Rule> rules_;
    // For the standard rules: one pass that gives the same answer as trying them in order.
    Classifier classifier_ = nullptr;
};

} // namespace quessel::yaml
