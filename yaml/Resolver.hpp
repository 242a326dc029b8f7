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
        // The rule's expression, anchored at both ends of the text (kept for diagnostics).
        std::string pattern;
        // Whether the whole text matches the expression.
        std::function<bool(std::string_view)> matches;

        // A rule whose matcher is the compiled expression (case-sensitive, no options). An
        // expression that does not compile throws std::invalid_argument.
        static Rule fromPattern(std::string tag, std::string pattern);
    };

    explicit Resolver(std::vector<Rule> rules);

    // The seven rules of YAML 1.1 (bool, int, float, merge, null, timestamp, value), in that
    // order, with hand-written matchers equivalent to their expressions. Made once per process.
    static const Resolver& standard();

    const std::vector<Rule>& rules() const { return rules_; }

    // The tag of a plain untagged scalar: the first rule whose expression matches the whole
    // text, or the string tag when none does. The view stays valid as long as the resolver.
    std::string_view resolve(std::string_view text) const;

private:
    std::vector<Rule> rules_;
};

} // namespace quessel::yaml
