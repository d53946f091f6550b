#include "cli_frontend.h"

#include <iostream>
#include <string>
#include <unistd.h>

#include "interrupt.h"
#include "text_util.h"

namespace vellumar::cli {

namespace {

constexpr int kBarWidth = 30;

} // namespace

CliFrontend::CliFrontend(std::optional<bool> answer, bool quiet)
    : m_answer(answer), m_quiet(quiet), m_terminal(::isatty(STDERR_FILENO) != 0) {}

CliFrontend::~CliFrontend() {
    endBar();
}

void CliFrontend::status(const std::string& text) {
    if (m_quiet) {
        return;
    }
    m_status = text;
    if (m_terminal) {
        drawBar();
    } else {
        std::cerr << text << '\n';
    }
}

void CliFrontend::progress(int percent) {
    m_percent = percent;
    if (!m_quiet && m_terminal) {
        drawBar();
    }
}

void CliFrontend::drawBar() {
    const int filled = m_percent * kBarWidth / 100;
    std::cerr << "\r\033[K[" << std::string(static_cast<std::size_t>(filled), '#')
              << std::string(static_cast<std::size_t>(kBarWidth - filled), ' ') << "] " << m_percent
              << "% " << m_status << std::flush;
    m_barShown = true;
}

void CliFrontend::endBar() {
    if (m_barShown) {
        std::cerr << '\n';
        m_barShown = false;
    }
}

void CliFrontend::notice(const std::string& text) {
    endBar();
    std::cerr << text << '\n';
}

bool CliFrontend::question(const std::string& text) {
    endBar();
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

bool CliFrontend::stopRequested() {
    return interruptRequested();
}

} // namespace vellumar::cli
