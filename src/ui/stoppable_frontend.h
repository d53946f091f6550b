#pragma once

#include "frontend.h"

namespace vellumar {

// The wizard's front end during a build: everything goes to the window's own front end,
// and the build is told to stop once the Stop button has been pressed.
class StoppableFrontend : public Frontend {
public:
    explicit StoppableFrontend(Frontend& inner) : m_inner(inner) {}

    void requestStop() { m_stopRequested = true; }

    void status(const std::string& text) override { m_inner.status(text); }
    void progress(int percent) override { m_inner.progress(percent); }
    void notice(const std::string& text) override { m_inner.notice(text); }
    bool question(const std::string& text) override { return m_inner.question(text); }
    void processEvents() override { m_inner.processEvents(); }
    bool stopRequested() override { return m_stopRequested || m_inner.stopRequested(); }

private:
    Frontend& m_inner;
    bool m_stopRequested = false;
};

} // namespace vellumar
