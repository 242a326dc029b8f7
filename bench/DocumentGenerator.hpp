// A deterministic generator of realistic YAML documents of a requested size, for benchmarks.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace quessel::bench {

// A document of at least `targetBytes` bytes (a little more: it ends after a whole record) that
// looks like configuration and data files do: a top-level mapping of nested mappings and
// sequences in block and flow styles, every scalar kind (plain, quoted and block texts,
// integers in several notations, floats, booleans, nulls, timestamps, Base64 data), anchors with
// aliases and merge keys, and non-ASCII text. The same size and seed always give the same text.
std::string generateDocument(std::size_t targetBytes, std::uint64_t seed = 0x5EED);

// The benchmark document of `megabytes` MiB with the default seed, generated once per process.
const std::string& benchmarkDocument(std::size_t megabytes);

} // namespace quessel::bench
