// How often each UTF-16 code unit occurs in the rows' text as the page shows it: the virtualised
// page's search answers a search for one character from these counts, without reading the text.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quessel::page {

class UnitCounts {
public:
    UnitCounts() : counts_(std::size_t{1} << 16, 0) {}

    // Counts text as the engine's HTML parser makes it of a text node: NUL is dropped, CR LF and
    // a lone CR become LF. Text that is not UTF-8 leaves the counts unknown: how the engine
    // replaces its bytes is not counted here.
    void add(std::string_view utf8);
    void addUnit(char16_t unit) { ++counts_[unit]; }
    void addDigits(std::uint64_t number);

    bool known() const noexcept { return known_; }

    // [unit, count, unit, count, ...] for every unit that occurs, in ascending order of units.
    void appendJson(std::string& out) const;

private:
    void addScalar(char32_t scalar);

    std::vector<std::uint32_t> counts_;
    bool known_ = true;
};

} // namespace quessel::page
