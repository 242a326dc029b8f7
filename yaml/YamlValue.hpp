// The loaded value tree: what a YAML document becomes, and what the page renders.
#pragma once

#include "yaml/NodeNotes.hpp"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

namespace quessel::yaml {

struct YamlValue;
struct MappingEntry;

// The null value (`~`, `null`, an empty plain scalar).
struct Null {
    friend bool operator==(Null, Null) { return true; }
};

// An instant: seconds since 1970-01-01 00:00:00 UTC plus a fraction in nanoseconds (0 to
// 999,999,999; the fraction always counts forward, also before 1970).
struct Timestamp {
    std::int64_t seconds = 0;
    std::int32_t nanoseconds = 0;
    friend bool operator==(const Timestamp&, const Timestamp&) = default;
};

// A byte string decoded from `!!binary`.
struct Data {
    std::vector<std::uint8_t> bytes;
    friend bool operator==(const Data&, const Data&) = default;
};

// An ordered list of values.
using Sequence = std::vector<YamlValue>;

// A set of texts (`!!set`): members are unique under canonical equivalence; order is not
// meaningful.
using Set = std::vector<std::string>;

// An unordered dictionary from texts to values. Keys are unique under canonical equivalence;
// the entries are kept in the order they were first inserted, which carries no meaning (the
// renderer sorts them). Equality ignores that order.
class Mapping {
public:
    Mapping() = default;

    const std::vector<MappingEntry>& entries() const { return entries_; }
    std::vector<MappingEntry>& entries() { return entries_; }
    std::size_t size() const;
    bool empty() const;

    // The value under `key` (compared under canonical equivalence), or null when absent.
    const YamlValue* find(std::string_view key) const;

    friend bool operator==(const Mapping& a, const Mapping& b);

private:
    std::vector<MappingEntry> entries_;
};

// A heap-held value with value semantics, so that a pair can hold two values.
class BoxedValue {
public:
    BoxedValue();
    explicit BoxedValue(YamlValue value);
    BoxedValue(const BoxedValue& other);
    BoxedValue(BoxedValue&&) noexcept = default;
    BoxedValue& operator=(const BoxedValue& other);
    BoxedValue& operator=(BoxedValue&&) noexcept = default;
    ~BoxedValue();

    const YamlValue& operator*() const { return *value_; }
    const YamlValue* operator->() const { return value_.get(); }

private:
    std::unique_ptr<YamlValue> value_;
};

// One entry of an ordered map or a pairs collection; keys are full values, not texts.
struct Pair {
    BoxedValue key;
    BoxedValue value;
    friend bool operator==(const Pair& a, const Pair& b);
};

struct YamlValue {
    using Storage = std::variant<std::string, bool, std::int64_t, double, Null, Timestamp, Data,
                                 Mapping, Set, Sequence, Pair>;
    Storage storage;
    // What the source wrote beside the value; equality ignores it.
    NotesBox notes;

    YamlValue();
    template <typename T>
    requires std::is_constructible_v<Storage, T&&> YamlValue(T&& value)
        : storage(std::forward<T>(value)) {}
    YamlValue(const char* text);

    template <typename T>
    bool is() const {
        return std::holds_alternative<T>(storage);
    }
    template <typename T>
    const T& as() const {
        return std::get<T>(storage);
    }
    template <typename T>
    T& as() {
        return std::get<T>(storage);
    }

    // Structural equality; floats compare as IEEE values except that NaN equals NaN, so that
    // two loads of one document compare equal.
    friend bool operator==(const YamlValue& a, const YamlValue& b);
};

struct MappingEntry {
    std::string key;
    YamlValue value;
    NotesBox keyNotes{}; // what the source wrote beside the key
};

// Defined once MappingEntry is complete: making the variant needs every alternative's
// destructor, and clang instantiates it where the constructor is defined.
inline YamlValue::YamlValue() : storage(Null{}) {}
inline YamlValue::YamlValue(const char* text) : storage(std::string(text)) {}

} // namespace quessel::yaml
