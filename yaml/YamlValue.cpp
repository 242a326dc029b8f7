// The loaded value tree: what a YAML document becomes, and what the page renders.
#include "yaml/YamlValue.hpp"

#include "yaml/CanonicalText.hpp"

#include <algorithm>
#include <cmath>

namespace quessel::yaml {

std::size_t Mapping::size() const { return entries_.size(); }

bool Mapping::empty() const { return entries_.empty(); }

const YamlValue* Mapping::find(std::string_view key) const {
    for (const MappingEntry& entry : entries_) {
        if (canonicallyEqual(entry.key, key)) {
            return &entry.value;
        }
    }
    return nullptr;
}

bool operator==(const Mapping& a, const Mapping& b) {
    if (a.size() != b.size()) {
        return false;
    }
    return std::all_of(a.entries_.begin(), a.entries_.end(), [&b](const MappingEntry& entry) {
        const YamlValue* other = b.find(entry.key);
        return other != nullptr && *other == entry.value;
    });
}

BoxedValue::BoxedValue() : value_(std::make_unique<YamlValue>()) {}

BoxedValue::BoxedValue(YamlValue value) : value_(std::make_unique<YamlValue>(std::move(value))) {}

BoxedValue::BoxedValue(const BoxedValue& other)
    : value_(std::make_unique<YamlValue>(*other.value_)) {}

BoxedValue& BoxedValue::operator=(const BoxedValue& other) {
    if (this != &other) {
        value_ = std::make_unique<YamlValue>(*other.value_);
    }
    return *this;
}

BoxedValue::~BoxedValue() = default;

bool operator==(const Pair& a, const Pair& b) { return *a.key == *b.key && *a.value == *b.value; }

namespace {

bool sameSet(const Set& a, const Set& b) {
    if (a.size() != b.size()) {
        return false;
    }
    return std::all_of(a.begin(), a.end(), [&b](const std::string& member) {
        return std::any_of(b.begin(), b.end(), [&member](const std::string& other) {
            return canonicallyEqual(member, other);
        });
    });
}

} // namespace

bool operator==(const YamlValue& a, const YamlValue& b) {
    if (a.storage.index() != b.storage.index()) {
        return false;
    }
    if (a.is<double>()) {
        const double x = a.as<double>();
        const double y = b.as<double>();
        return (std::isnan(x) && std::isnan(y)) || x == y;
    }
    if (a.is<std::string>()) {
        return canonicallyEqual(a.as<std::string>(), b.as<std::string>());
    }
    if (a.is<Set>()) {
        return sameSet(a.as<Set>(), b.as<Set>());
    }
    return a.storage == b.storage;
}

} // namespace quessel::yaml
