#include "cli_frontend.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <iostream>
#include <string>
#include <unistd.h>

#include "interrupt.h"
#include "text_util.h"

namespace vellumar::cli {

namespace {

constexpr int kBarWidth = 20;
// A terminal redrawn more often than this only flickers.
constexpr auto kRedrawInterval = std::chrono::milliseconds(100);
// Before this share of a step, a guess at the time left says more noise than time.
constexpr int kFirstEstimatePercent = 3;

std::string timeLeftText(std::chrono::steady_clock::duration spent, int percent) {
    if (percent < kFirstEstimatePercent || percent >= 100) {
        return {};
    }
    const auto left =
        std::chrono::duration_cast<std::chrono::seconds>(spent * (100 - percent) / percent);
    return ", " + clockText(left) + " left";
}

} // namespace

std::string stepOf(const std::string& status) {
    std::size_t end = status.size();
    while (end > 0 && status[end - 1] != ' ') {
        --end;
    }
    const std::string last = status.substr(end);
    const bool counts =
        std::any_of(last.begin(), last.end(), [](unsigned char c) { return std::isdigit(c) != 0; });
    return counts && end > 0 ? status.substr(0, end - 1) : status;
}

std::string clockText(std::chrono::seconds duration) {
    const long long total = duration.count();
    char text[32];
    if (total >= 3600) {
        std::snprintf(text, sizeof text, "%lld:%02lld:%02lld", total / 3600, total / 60 % 60,
                      total % 60);
    } else {
        std::snprintf(text, sizeof text, "%lld:%02lld", total / 60, total % 60);
    }
    return text;
}

CliFrontend::CliFrontend(std::optional<bool> answer, Verbosity verbosity)
    : m_answer(answer), m_verbosity(verbosity), m_terminal(::isatty(STDERR_FILENO) != 0) {}

CliFrontend::~CliFrontend() {
    endProgressLine();
}

bool CliFrontend::drawsProgressLine() const {
    return m_terminal && m_verbosity == Verbosity::Normal;
}

void CliFrontend::status(const std::string& text) {
    if (m_verbosity == Verbosity::Quiet) {
        return;
    }
    if (!drawsProgressLine()) {
        std::cerr << text << '\n';
        return;
    }
    m_status = text;
    const std::string step = stepOf(text);
    if (step != m_step) {
        m_step = step;
        m_percent = 0;
        m_stepStart = std::chrono::steady_clock::now();
    }
    drawProgressLine();
}

void CliFrontend::progress(int percent) {
    m_percent = percent;
    if (drawsProgressLine()) {
        drawProgressLine();
    }
}

void CliFrontend::drawProgressLine() {
    const auto now = std::chrono::steady_clock::now();
    // Every picture says its status and its progress; drawing each would cost more than
    // a small picture's build. The end of a step is always drawn.
    if (m_lineShown && m_percent < 100 && now - m_lastDrawn < kRedrawInterval) {
        return;
    }
    m_lastDrawn = now;
    const int filled = m_percent * kBarWidth / 100;
    std::cerr << "\r\033[K[" << std::string(static_cast<std::size_t>(filled), '#')
              << std::string(static_cast<std::size_t>(kBarWidth - filled), ' ') << "] " << m_percent
              << "% " << m_status << timeLeftText(now - m_stepStart, m_percent) << std::flush;
    m_lineShown = true;
}

void CliFrontend::endProgressLine() {
    if (m_lineShown) {
        std::cerr << "\r\033[K" << std::flush;
        m_lineShown = false;
    }
}

void CliFrontend::notice(const std::string& text) {
    endProgressLine();
    std::cerr << text << '\n';
}

bool CliFrontend::question(const std::string& text) {
    if (!m_answer && ::isatty(STDIN_FILENO)) {
        endProgressLine();
        std::cerr << text << " [y/N] " << std::flush;
        std::string reply;
        std::getline(std::cin, reply);
        reply = toLowerAscii(trimBlanks(reply));
        return reply == "y" || reply == "yes";
    }
    const bool yes = m_answer.value_or(false);
    // An answer nobody gave is news; one given on the command line is only news when every
    // line is wanted, or when the lines are all there is to read.
    const bool shown = !m_answer || m_verbosity == Verbosity::Verbose ||
                       (m_verbosity == Verbosity::Normal && !m_terminal);
    if (shown) {
        endProgressLine();
        std::cerr << text << ' ' << (yes ? "Yes" : "No") << '\n';
    }
    return yes;
}

bool CliFrontend::stopRequested() {
    return interruptRequested();
}

} // namespace vellumar::cli
