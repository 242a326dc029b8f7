// The coloured span of a value that is not a mapping or a sequence.
#include "app/page/ScalarMarkup.hpp"

#include "app/page/Decimal.hpp"
#include "app/page/HtmlEscape.hpp"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <type_traits>

namespace quessel::app {

using namespace yaml;

namespace {

// %.16g without the locale: GTK sets LC_NUMERIC from the environment, and a decimal comma
// must not reach the page. NaN carries no sign on the page.
void appendFloat(std::string& out, double value) {
    if (std::isnan(value)) {
        out.append("nan");
        return;
    }
    char text[32];
    const auto result =
        std::to_chars(text, text + sizeof text, value, std::chars_format::general, 16);
    out.append(text, result.ptr);
}

// INTERIM until yaml/ValueText lands.
std::string describe(const YamlValue& value);

std::string describeTimestamp(const Timestamp& t) {
    std::int64_t days = t.seconds / 86400;
    std::int64_t rest = t.seconds % 86400;
    if (rest < 0) {
        rest += 86400;
        --days;
    }
    days += 719468;
    const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const std::int64_t doe = days - era * 146097;
    const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const std::int64_t mp = (5 * doy + 2) / 153;
    const std::int64_t day = doy - (153 * mp + 2) / 5 + 1;
    const std::int64_t month = mp < 10 ? mp + 3 : mp - 9;
    const std::int64_t year = yoe + era * 400 + (month <= 2 ? 1 : 0);
    char text[64];
    std::snprintf(text, sizeof text, "%04lld-%02lld-%02lld %02lld:%02lld:%02lld +0000",
                  static_cast<long long>(year), static_cast<long long>(month),
                  static_cast<long long>(day), static_cast<long long>(rest / 3600),
                  static_cast<long long>(rest / 60 % 60), static_cast<long long>(rest % 60));
    return text;
}

std::string describe(const YamlValue& value) {
    return std::visit(
        [](const auto& v) -> std::string {
            using T = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<T, std::string>) {
                return v;
            } else if constexpr (std::is_same_v<T, bool>) {
                return v ? "true" : "false";
            } else if constexpr (std::is_same_v<T, std::int64_t>) {
                return std::to_string(v);
            } else if constexpr (std::is_same_v<T, double>) {
                std::string out;
                appendFloat(out, v);
                return out;
            } else if constexpr (std::is_same_v<T, Null>) {
                return "null";
            } else if constexpr (std::is_same_v<T, Timestamp>) {
                return describeTimestamp(v);
            } else if constexpr (std::is_same_v<T, Data>) {
                return std::to_string(v.bytes.size()) + " bytes";
            } else if constexpr (std::is_same_v<T, Set>) {
                std::string out = "[";
                for (std::size_t i = 0; i < v.size(); ++i) {
                    out += (i == 0 ? "" : ", ") + v[i];
                }
                return out + "]";
            } else if constexpr (std::is_same_v<T, Pair>) {
                return "(" + describe(*v.key) + ", " + describe(*v.value) + ")";
            } else {
                return "...";
            }
        },
        value.storage);
}

void appendStringSpan(std::string& out, std::string_view text) {
    out.append(R"(<span class="string">)");
    appendEscaped(out, text);
    out.append("</span>");
}

} // namespace

void appendScalarMarkup(std::string& out, const YamlValue& value) {
    if (const auto* text = std::get_if<std::string>(&value.storage)) {
        appendStringSpan(out, *text);
    } else if (const auto* boolean = std::get_if<bool>(&value.storage)) {
        out.append(*boolean ? R"(<span class="boolean">true</span>)"
                            : R"(<span class="boolean">false</span>)");
    } else if (const auto* integer = std::get_if<std::int64_t>(&value.storage)) {
        out.append(R"(<span class="number">)");
        appendDecimal(out, *integer);
        out.append("</span>");
    } else if (const auto* real = std::get_if<double>(&value.storage)) {
        out.append(R"(<span class="number">)");
        appendFloat(out, *real);
        out.append("</span>");
    } else if (value.is<Null>()) {
        out.append(R"(<span class="null">null</span>)");
    } else {
        appendStringSpan(out, describe(value));
    }
}

} // namespace quessel::app
