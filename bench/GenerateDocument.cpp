// Writes a generated benchmark document of a given size, for trying the viewer on large files:
//   quessel_generate_document 50 /tmp/large.yaml
#include "bench/DocumentGenerator.hpp"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s MEGABYTES FILE\n", argv[0]);
        return 2;
    }
    const long megabytes = std::strtol(argv[1], nullptr, 10);
    if (megabytes <= 0) {
        std::fprintf(stderr, "error: the size must be a positive number of megabytes\n");
        return 2;
    }
    const std::string text =
        quessel::bench::generateDocument(static_cast<std::size_t>(megabytes) * 1024 * 1024);
    std::ofstream file(argv[2], std::ios::binary);
    file.write(text.data(), static_cast<std::streamsize>(text.size()));
    if (!file.flush()) {
        std::fprintf(stderr, "error: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
