#include "command_line.h"

#include "commands.h"

namespace vellumar::cli {

const std::vector<Command>& commands() {
    static const std::vector<Command> table = {
        {"formats", "formats                      list the readable picture formats", runFormats},
        {"info", "info FILE...                 decode pictures and print their sizes", runInfo},
    };
    return table;
}

std::string usageText() {
    std::string text = "Usage: vellumar-cli COMMAND [ARGUMENTS]\n"
                       "Builds static HTML photo galleries from Vellumar projects.\n\n"
                       "Commands:\n";
    for (const Command& command : commands()) {
        text += "  " + std::string(command.synopsis) + "\n";
    }
    text += "\nExit status: 0 on success, 1 on failure, 2 on wrong usage.\n";
    return text;
}

void expectNoArguments(const Arguments& arguments) {
    if (!arguments.empty()) {
        throw UsageError("unexpected argument '" + arguments.front() + "'");
    }
}

} // namespace vellumar::cli
