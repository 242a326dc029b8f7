// How often each UTF-16 code unit occurs in the rows' text as the page shows it.
#include "page/UnitCounts.hpp"

#include "page/Decimal.hpp"
#include "yaml/Utf8.hpp"

namespace quessel::page {

void UnitCounts::add(std::string_view utf8) {
    const std::size_t size = utf8.size();
    for (std::size_t i = 0; i < size;) {
        const auto byte = static_cast<unsigned char>(utf8[i]);
        if (byte < 0x80) {
            if (byte == '\r') {
                ++counts_['\n'];
                i += i + 1 < size && utf8[i + 1] == '\n' ? 2 : 1;
                continue;
            }
            if (byte != 0) {
                ++counts_[byte];
            }
            ++i;
            continue;
        }
        const yaml::utf8::Decoded decoded = yaml::utf8::decode(utf8, i);
        if (decoded.scalar == 0xFFFD && decoded.length == 1) {
            known_ = false;
            return;
        }
        addScalar(decoded.scalar);
        i += decoded.length;
    }
}

void UnitCounts::addDigits(std::uint64_t number) {
    do {
        ++counts_['0' + number % 10];
        number /= 10;
    } while (number != 0);
}

void UnitCounts::addScalar(char32_t scalar) {
    if (scalar < 0x10000) {
        ++counts_[scalar];
        return;
    }
    const char32_t offset = scalar - 0x10000;
    ++counts_[0xD800 + (offset >> 10U)];
    ++counts_[0xDC00 + (offset & 0x3FFU)];
}

void UnitCounts::appendJson(std::string& out) const {
    out.push_back('[');
    bool first = true;
    for (std::size_t unit = 0; unit < counts_.size(); ++unit) {
        if (counts_[unit] == 0) {
            continue;
        }
        if (!first) {
            out.push_back(',');
        }
        first = false;
        appendDecimal(out, unit);
        out.push_back(',');
        appendDecimal(out, counts_[unit]);
    }
    out.push_back(']');
}

} // namespace quessel::page
