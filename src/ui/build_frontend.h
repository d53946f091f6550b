#pragma once

#include <optional>

#include "frontend.h"
#include "user_dialogs.h"

namespace vellumar {

// The wizard's front end while a build or a preview runs: everything goes to the window's
// own front end, except that the overwrite question also offers "Yes to all" and "No to
// all", whose answer holds until this build ends, and the build is told to stop once asked.
class BuildFrontend : public Frontend {
public:
    BuildFrontend(Frontend& inner, UserDialogs& dialogs) : m_inner(inner), m_dialogs(dialogs) {}

    void requestStop() { m_stopRequested = true; }

    void status(const std::string& text) override { m_inner.status(text); }
    void progress(int percent) override { m_inner.progress(percent); }
    void notice(const std::string& text) override { m_inner.notice(text); }
    bool question(const std::string& text) override { return m_inner.question(text); }
    bool overwriteQuestion(const std::string& text) override;
    void processEvents() override { m_inner.processEvents(); }
    bool stopRequested() override { return m_stopRequested || m_inner.stopRequested(); }

private:
    Frontend& m_inner;
    UserDialogs& m_dialogs;
    bool m_stopRequested = false;
    std::optional<bool> m_answerForAll;
};

} // namespace vellumar
