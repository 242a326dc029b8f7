// A child process for the encoding tests: the default encoding is made once per process, from
// the environment, so each setting needs a fresh process. Prints what it found after whatever
// the first use printed.
#include "yaml/Parser.hpp"

#include <cstdio>
#include <string>

int main() {
    using quessel::yaml::Parser;
    const Parser::Encoding first = Parser::defaultEncoding();
    const Parser::Encoding second = Parser::defaultEncoding();
    std::printf("%s %s\n", std::string(Parser::rawValue(first)).c_str(),
                std::string(Parser::rawValue(second)).c_str());
    return 0;
}
