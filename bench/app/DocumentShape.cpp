// What the large-document benchmark needs to know about a loaded document.
#include "bench/app/DocumentShape.hpp"

#include "bench/DocumentGenerator.hpp"
#include "yaml/Load.hpp"
#include "yaml/ValueText.hpp"

#include <algorithm>
#include <map>
#include <vector>

namespace quessel::bench {
namespace {

using yaml::Mapping;
using yaml::Sequence;
using yaml::YamlValue;

std::string lowered(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(), [](char c) {
        return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    });
    return out;
}

// Keys made of letters, digits, '_' and '-' only: no case folding beyond ASCII can make them
// match something the check below did not see.
bool plainKey(std::string_view key) {
    return key.size() >= 4 && std::all_of(key.begin(), key.end(), [](char c) {
               return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                      c == '_' || c == '-';
           });
}

void countKeys(const YamlValue& value, std::map<std::string, std::size_t>& keys) {
    if (const auto* mapping = std::get_if<Mapping>(&value.storage)) {
        for (const auto& entry : mapping->entries()) {
            if (plainKey(entry.key)) {
                ++keys[lowered(entry.key)];
            }
            countKeys(entry.value, keys);
        }
    } else if (const auto* sequence = std::get_if<Sequence>(&value.storage)) {
        for (const auto& element : *sequence) {
            countKeys(element, keys);
        }
    }
}

// Every text the page shows for a value: keys and displayed scalars, one per line.
void appendShownText(const YamlValue& value, std::string& out) {
    if (const auto* mapping = std::get_if<Mapping>(&value.storage)) {
        for (const auto& entry : mapping->entries()) {
            out += lowered(entry.key);
            out += '\n';
            appendShownText(entry.value, out);
        }
    } else if (const auto* sequence = std::get_if<Sequence>(&value.storage)) {
        for (const auto& element : *sequence) {
            appendShownText(element, out);
        }
    } else {
        out += lowered(yaml::displayText(value));
        out += '\n';
    }
}

} // namespace

std::size_t pageLines(const YamlValue& value) {
    std::size_t lines = 0;
    if (const auto* mapping = std::get_if<Mapping>(&value.storage)) {
        for (const auto& entry : mapping->entries()) {
            lines += 1 + pageLines(entry.value);
        }
    } else if (const auto* sequence = std::get_if<Sequence>(&value.storage)) {
        for (const auto& element : *sequence) {
            lines += 1 + pageLines(element);
        }
    }
    return lines;
}

std::optional<SubtreeTarget> biggestTopLevelSubtree(const YamlValue& root) {
    const auto* mapping = std::get_if<Mapping>(&root.storage);
    if (mapping == nullptr || mapping->empty()) {
        return std::nullopt;
    }
    const auto& entries = mapping->entries();
    const auto biggest =
        std::max_element(entries.begin(), entries.end(), [](const auto& a, const auto& b) {
            return pageLines(a.value) < pageLines(b.value);
        });
    // Everything outside the subtree, the previews' "N items" and the line's own key included.
    std::string outside = " items\n" + lowered(biggest->key) + '\n';
    for (auto entry = entries.begin(); entry != entries.end(); ++entry) {
        if (entry != biggest) {
            outside += lowered(entry->key) + '\n';
            appendShownText(entry->value, outside);
        }
    }
    std::map<std::string, std::size_t> keys;
    countKeys(biggest->value, keys);
    std::vector<std::pair<std::string, std::size_t>> candidates(keys.begin(), keys.end());
    // Long keys first: they are the least likely to hide in a scalar the check cannot see.
    std::stable_sort(candidates.begin(), candidates.end(),
                     [](const auto& a, const auto& b) { return a.first.size() > b.first.size(); });
    for (const auto& [key, count] : candidates) {
        if (count >= 2 && outside.find(key) == std::string::npos) {
            return SubtreeTarget{biggest->key, 1 + pageLines(biggest->value), key};
        }
    }
    return std::nullopt;
}

std::string documentOfLines(std::size_t lines) {
    // The generator's records are alike: scale from a sample, then grow in small steps.
    const std::string sample = generateDocument(64 * 1024);
    const std::size_t sampleLines = pageLines(*yaml::load(sample));
    auto bytes =
        static_cast<std::size_t>(static_cast<double>(sample.size()) * static_cast<double>(lines) /
                                 static_cast<double>(sampleLines) * 0.97);
    for (;; bytes += 256) {
        std::string text = generateDocument(bytes);
        if (pageLines(*yaml::load(text)) >= lines) {
            return text;
        }
    }
}

} // namespace quessel::bench
