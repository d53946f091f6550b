#include "cli_frontend.h"

#include <iostream>
#include <string>
#include <unistd.h>

#include "text_util.h"

namespace vellumar::cli {

void CliFrontend::notice(const std::string& text) {
    std::cerr << text << '\n';
}

bool CliFrontend::question(const std::string& text) {
    if (!m_answer && ::isatty(STDIN_FILENO)) {
        std::cerr << text << " [y/N] " << std::flush;
        std::string reply;
        std::getline(std::cin, reply);
        reply = toLowerAscii(trimBlanks(reply));
        return reply == "y" || reply == "yes";
    }
    const bool yes = m_answer.value_or(false);
    std::cerr << text << ' ' << (yes ? "Yes" : "No") << '\n';
    return yes;
}

} // namespace vellumar::cli
