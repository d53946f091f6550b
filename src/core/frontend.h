#pragma once

#include <string>

namespace vellumar {

// Everything the core needs from whoever drives it. The core never opens a window or
// prints; the wizard, the command line and the tests each supply their own front end.
class Frontend {
public:
    virtual ~Frontend() = default;

    // One-line description of the work in progress.
    virtual void status(const std::string& text) = 0;
    // Share of the current work done, 0..100.
    virtual void progress(int percent) = 0;
    // A message the user acknowledges with OK.
    virtual void notice(const std::string& text) = 0;
    // A Yes/No confirmation; true means Yes.
    virtual bool question(const std::string& text) = 0;
    // The question asked before each existing file a build would replace; front ends that
    // can let one answer stand for the rest of the build override it.
    virtual bool overwriteQuestion(const std::string& text) { return question(text); }
    // Lets the front end handle pending events so long work keeps the window alive.
    virtual void processEvents() = 0;
    // Whether the user asked to stop the long work in progress; asked between pictures and
    // pages. Front ends without a way to ask keep the default.
    virtual bool stopRequested() { return false; }
};

// Shows nothing and answers every question No: for work nobody watches, such as benchmarks
// and fuzzing.
class SilentFrontend : public Frontend {
public:
    void status(const std::string&) override {}
    void progress(int) override {}
    void notice(const std::string&) override {}
    bool question(const std::string&) override { return false; }
    void processEvents() override {}
};

} // namespace vellumar
