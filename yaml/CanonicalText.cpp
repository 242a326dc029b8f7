// Text comparison under Unicode canonical equivalence (NFC), with a fast path for ASCII.
#include "yaml/CanonicalText.hpp"

#include <unicode/bytestream.h>
#include <unicode/normalizer2.h>
#include <unicode/stringpiece.h>

#include <cstring>
#include <functional>
#include <stdexcept>

namespace quessel::yaml {
namespace {

const icu::Normalizer2& nfc() {
    // Normalizer2 instances are owned by ICU and live for the whole process.
    static const icu::Normalizer2* const instance = [] {
        UErrorCode status = U_ZERO_ERROR;
        const icu::Normalizer2* normalizer = icu::Normalizer2::getNFCInstance(status);
        if (U_FAILURE(status) || normalizer == nullptr) {
            throw std::runtime_error("Unicode normalisation data is unavailable");
        }
        return normalizer;
    }();
    return *instance;
}

icu::StringPiece piece(std::string_view text) {
    return {text.data(), static_cast<int32_t>(text.size())};
}

bool isCanonical(std::string_view text) {
    if (isAscii(text)) {
        return true;
    }
    UErrorCode status = U_ZERO_ERROR;
    const bool normalized = nfc().isNormalizedUTF8(piece(text), status);
    return U_SUCCESS(status) && normalized;
}

} // namespace

bool isAscii(std::string_view text) noexcept {
    // Eight bytes at a time: the common case is long runs of ASCII.
    const char* p = text.data();
    std::size_t n = text.size();
    for (; n >= 8; p += 8, n -= 8) {
        std::uint64_t word;
        std::memcpy(&word, p, 8);
        if (word & 0x8080808080808080ULL) {
            return false;
        }
    }
    for (; n > 0; ++p, --n) {
        if (static_cast<unsigned char>(*p) >= 0x80) {
            return false;
        }
    }
    return true;
}

std::string canonicalForm(std::string_view text) {
    if (isCanonical(text)) {
        return std::string(text);
    }
    std::string result;
    result.reserve(text.size());
    icu::StringByteSink<std::string> sink(&result);
    UErrorCode status = U_ZERO_ERROR;
    nfc().normalizeUTF8(0, piece(text), sink, nullptr, status);
    if (U_FAILURE(status)) {
        return std::string(text);
    }
    return result;
}

bool canonicallyEqual(std::string_view a, std::string_view b) {
    if (a == b) {
        return true;
    }
    if (isAscii(a) && isAscii(b)) {
        return false;
    }
    return canonicalForm(a) == canonicalForm(b);
}

int compareCanonically(std::string_view a, std::string_view b) {
    if (isAscii(a) && isAscii(b)) {
        return a.compare(b);
    }
    return std::string_view(canonicalForm(a)).compare(canonicalForm(b));
}

std::size_t canonicalHash(std::string_view text) {
    if (isCanonical(text)) {
        return std::hash<std::string_view>{}(text);
    }
    return std::hash<std::string>{}(canonicalForm(text));
}

} // namespace quessel::yaml
