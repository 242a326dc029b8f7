// A deterministic generator of realistic YAML documents of a requested size, for benchmarks.
#include "bench/DocumentGenerator.hpp"

#include <array>
#include <cstdio>
#include <map>
#include <string_view>

namespace quessel::bench {
namespace {

// xorshift64*: small, fast and the same on every platform.
class Random {
public:
    explicit Random(std::uint64_t seed) : state_(seed == 0 ? 1 : seed) {}
    std::uint64_t next() {
        state_ ^= state_ >> 12;
        state_ ^= state_ << 25;
        state_ ^= state_ >> 27;
        return state_ * 0x2545F4914F6CDD1DULL;
    }
    std::size_t below(std::size_t bound) { return static_cast<std::size_t>(next() % bound); }

private:
    std::uint64_t state_;
};

constexpr std::array<std::string_view, 16> words = {
    "alpha", "bravo",  "charlie", "delta", "echo", "foxtrot",  "golf",  "hotel",
    "india", "juliet", "kilo",    "lima",  "mike", "november", "oscar", "papa"};

constexpr std::array<std::string_view, 8> phrases = {
    "Grüße aus Köln", "naïve café résumé", "日本語のテキスト", "Ελληνικά κείμενα",
    "emoji 🚀 launch", "Привет, мир",       "ÆØÅ æøå",          "mixed ASCII and ünïcödé"};

class Writer {
public:
    Writer(std::string& out, Random& random) : out_(out), random_(random) {}

    void line(int indent, std::string_view text) {
        out_.append(static_cast<std::size_t>(indent), ' ');
        out_ += text;
        out_ += '\n';
    }
    std::string word() { return std::string(words[random_.below(words.size())]); }
    std::string phrase() { return std::string(phrases[random_.below(phrases.size())]); }
    std::string number(const char* format, double value) {
        char text[64];
        std::snprintf(text, sizeof text, format, value);
        return text;
    }
    std::string integer(std::uint64_t value) { return std::to_string(value); }
    Random& random() { return random_; }

private:
    std::string& out_;
    Random& random_;
};

void writeHeader(Writer& w) {
    w.line(0, "# Generated benchmark document: configuration and records.");
    w.line(0, "meta:");
    w.line(2, "generator: quessel-bench");
    w.line(2, "version: 1.4.2");
    w.line(2, "generated: 2024-05-01T12:30:00Z");
    w.line(0, "defaults: &defaults");
    w.line(2, "enabled: true");
    w.line(2, "retries: 3");
    w.line(2, "timeout: 2.5");
    w.line(2, "owner: ~");
    w.line(2, "labels: {tier: backend, region: eu-west-1}");
    w.line(0, "limits: &limits");
    w.line(2, "cpu: 500m");
    w.line(2, "memory: 256Mi");
    w.line(0, "shared:");
    w.line(2, "tags: &tags [alpha, beta, gamma]");
    w.line(2, "logo: !!binary |");
    w.line(4, "R0lGODlhDAAMAIQAAP//9/X17unp5WZmZgAAAOfn515eXvPz7Y6OjuDg4J+fn5");
    w.line(4, "OTk6enp56enmlpaWNjY6Ojo4SEhP/++f/++f/++f/++f/++f/++f/++f/++f/+");
    w.line(0, "records:");
}

void writeScalars(Writer& w, std::size_t id) {
    Random& r = w.random();
    w.line(4, "name: record-" + w.integer(id));
    w.line(4, "title: " + w.phrase());
    w.line(4, "quoted: \"" + w.word() + " \\\"" + w.word() + "\\\" \\t tab\"");
    w.line(4, "single: '" + w.word() + "''s " + w.word() + "'");
    w.line(4, "count: " + w.integer(r.below(100000)));
    w.line(4, "hex: 0x" + w.number("%.0f", static_cast<double>(r.below(65536))) + "F");
    w.line(4, "octal: 0" + w.integer(r.below(7) + 1) + w.integer(r.below(7)));
    w.line(4, "ratio: " + w.number("%.4f", static_cast<double>(r.below(1000000)) / 1000.0));
    w.line(4, "scientific: " + w.number("%.3e", static_cast<double>(r.below(1000)) * 1e5));
    w.line(4, std::string("active: ") + (r.below(2) == 0 ? "yes" : "false"));
    w.line(4, "parent: ~");
    w.line(4, "created: 2001-12-" + w.integer(10 + r.below(18)) + " 21:59:43.10 -5");
    w.line(4, "duration: " + w.integer(1 + r.below(59)) + ":" + w.integer(10 + r.below(49)));
}

void writeCollections(Writer& w, std::size_t id) {
    Random& r = w.random();
    w.line(4, "<<: *defaults");
    w.line(4, "tags: *tags");
    w.line(4, "resources:");
    w.line(6, "limits: *limits");
    w.line(6, "requests: {cpu: " + w.integer(100 + r.below(400)) + "m, memory: 128Mi}");
    w.line(4, "points: [" + w.integer(r.below(100)) + ", " + w.integer(r.below(100)) + ", " +
                  w.number("%.2f", static_cast<double>(r.below(1000)) / 10.0) + "]");
    w.line(4, "steps:");
    for (std::size_t step = 0, steps = 2 + r.below(3); step < steps; ++step) {
        w.line(6, "- name: " + w.word() + "-" + w.integer(step));
        w.line(8, "run: make " + w.word() + " && ./check --level " + w.integer(step));
        w.line(8, "env:");
        w.line(10, "KEY_" + w.integer(id % 97) + ": \"" + w.word() + "\"");
        w.line(10, "DEBUG: off");
    }
    w.line(4, "description: |");
    w.line(6, "Record " + w.integer(id) + " keeps " + w.word() + " and " + w.word() + ".");
    w.line(6, w.phrase() + " — a second line of literal text.");
    w.line(4, "summary: >");
    w.line(6, "folded text that " + w.word() + " wraps");
    w.line(6, "onto one line with " + w.word() + ".");
}

void writeRecord(Writer& w, std::size_t id) {
    w.line(2, "- id: " + w.integer(id));
    writeScalars(w, id);
    writeCollections(w, id);
    if (id % 50 == 0) {
        w.line(4, "extras: !!set {" + w.word() + "-a, " + w.word() + "-b}");
        w.line(4, "ordered: !!omap [{first: 1}, {second: 2}]");
        w.line(4, "deep: {a: {b: {c: {d: {e: [1, [2, [3, [4]]]]}}}}}");
    }
}

} // namespace

std::string generateDocument(std::size_t targetBytes, std::uint64_t seed) {
    std::string out;
    out.reserve(targetBytes + 4096);
    Random random(seed);
    Writer writer(out, random);
    writeHeader(writer);
    for (std::size_t id = 1; out.size() < targetBytes; ++id) {
        writeRecord(writer, id);
    }
    return out;
}

const std::string& benchmarkDocument(std::size_t megabytes) {
    static std::map<std::size_t, std::string> documents;
    std::string& text = documents[megabytes];
    if (text.empty()) {
        text = generateDocument(megabytes * 1024 * 1024);
    }
    return text;
}

} // namespace quessel::bench
