#include <iostream>

#include "command_line.h"

int main(int argc, char** argv) {
    const vellumar::cli::Arguments all(argv + 1, argv + argc);
    if (all.empty()) {
        std::cerr << vellumar::cli::usageText();
        return 2;
    }
    if (all.front() == "--help" || all.front() == "-h" || all.front() == "help") {
        std::cout << vellumar::cli::usageText();
        return 0;
    }
    for (const vellumar::cli::Command& command : vellumar::cli::commands()) {
        if (all.front() != command.name) {
            continue;
        }
        try {
            return command.run(vellumar::cli::Arguments(all.begin() + 1, all.end()));
        } catch (const vellumar::cli::UsageError& error) {
            std::cerr << "vellumar-cli " << command.name << ": " << error.what() << "\n\n"
                      << vellumar::cli::usageText();
            return 2;
        } catch (const std::exception& error) {
            std::cerr << error.what() << '\n';
            return 1;
        }
    }
    std::cerr << "vellumar-cli: unknown command '" << all.front() << "'\n\n"
              << vellumar::cli::usageText();
    return 2;
}
