#pragma once

#include <optional>
#include <string>

#include "frontend.h"

namespace vellumar::cli {

// The command line's front end. Notices go to stderr. A question takes the answer given on
// the command line; without one it is asked on the terminal, or answered No when nobody is
// there to answer; either way the question and the answer taken are shown. Status texts and
// progress go to stderr as a progress bar on a terminal and as plain lines otherwise,
// unless the front end is quiet.
class CliFrontend : public Frontend {
public:
    explicit CliFrontend(std::optional<bool> answer = std::nullopt, bool quiet = true);
    ~CliFrontend() override;
    CliFrontend(const CliFrontend&) = delete;
    CliFrontend& operator=(const CliFrontend&) = delete;

    void status(const std::string& text) override;
    void progress(int percent) override;
    void notice(const std::string& text) override;
    bool question(const std::string& text) override;
    void processEvents() override {}
    // Ctrl-C, once stopOnInterrupt() has been called.
    bool stopRequested() override;

private:
    void drawBar();
    // Ends the progress bar's line before anything else is written.
    void endBar();

    std::optional<bool> m_answer;
    bool m_quiet;
    bool m_terminal;
    bool m_barShown = false;
    std::string m_status;
    int m_percent = 0;
};

} // namespace vellumar::cli
