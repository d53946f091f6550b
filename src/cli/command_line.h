#pragma once

#include <stdexcept>
#include <string>
#include <vector>

namespace vellumar::cli {

// Wrong usage of the command line: reported with the usage text and exit status 2.
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

using Arguments = std::vector<std::string>;

// A subcommand: its name, a one-line summary for --help, and what runs it. The arguments
// are those after the subcommand's name; the result is the exit status.
struct Command {
    const char* name;
    const char* synopsis;
    int (*run)(const Arguments& arguments);
};

const std::vector<Command>& commands();

std::string usageText();

// Fails with UsageError unless the arguments are empty.
void expectNoArguments(const Arguments& arguments);

} // namespace vellumar::cli
