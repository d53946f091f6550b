#pragma once

#include <optional>

#include "frontend.h"

namespace vellumar::cli {

// The command line's front end: notices go to stderr; status, progress and event pumping
// have no use in a terminal. A question takes the answer given on the command line; without
// one it is asked on the terminal, or answered No when nobody is there to answer.
class CliFrontend : public Frontend {
public:
    explicit CliFrontend(std::optional<bool> answer = std::nullopt) : m_answer(answer) {}

    void status(const std::string&) override {}
    void progress(int) override {}
    void notice(const std::string& text) override;
    bool question(const std::string& text) override;
    void processEvents() override {}

private:
    std::optional<bool> m_answer;
};

} // namespace vellumar::cli
