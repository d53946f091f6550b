#pragma once

#include <chrono>
#include <optional>
#include <string>

#include "frontend.h"

namespace vellumar::cli {

// How much the command line tells while it works.
enum class Verbosity {
    Quiet,   // errors and warnings only
    Normal,  // on a terminal one progress line, else every status line
    Verbose, // every status line and every question, also on a terminal
};

// The command line's front end. Notices (errors and warnings) always go to stderr. A
// question takes the answer given on the command line; without one it is asked on the
// terminal, or answered No when nobody is there to answer; the question and the answer
// taken are shown unless the answer was given and the front end is quiet, or it draws a
// progress line. Status texts and progress go to stderr: as one line that rewrites itself
// on a terminal (the step, how far it is and the time it still needs), as plain lines
// otherwise and when verbose, not at all when quiet.
class CliFrontend : public Frontend {
public:
    explicit CliFrontend(std::optional<bool> answer = std::nullopt,
                         Verbosity verbosity = Verbosity::Quiet);
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

    // The summary at the end of a build is for everyone who did not ask for silence.
    bool wantsSummary() const { return m_verbosity != Verbosity::Quiet; }

private:
    bool drawsProgressLine() const;
    void drawProgressLine();
    // Ends the progress line before anything else is written.
    void endProgressLine();

    std::optional<bool> m_answer;
    Verbosity m_verbosity;
    bool m_terminal;
    bool m_lineShown = false;
    std::string m_status;
    std::string m_step; // the status without its running number
    int m_percent = 0;
    std::chrono::steady_clock::time_point m_stepStart;
    std::chrono::steady_clock::time_point m_lastDrawn;
};

// The step a status text belongs to: the text without the running number or page name that
// follows it ("Generating large picture 12" belongs to "Generating large picture").
std::string stepOf(const std::string& status);

// "0:07", "12:40", "1:02:03": how long something still needs, as a clock shows it.
std::string clockText(std::chrono::seconds duration);

} // namespace vellumar::cli
