#pragma once

#include <deque>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "frontend.h"

namespace vellumar::testing {

// A front end for tests: records everything the core says and answers questions from a
// script. A question the script does not answer fails the test loudly. Besides one list per
// kind, `events` keeps everything in the order said: "status <text>", "progress <percent>",
// "notice <text>" and "question <text>".
class ScriptedFrontend : public Frontend {
public:
    void answerNext(bool yes) { m_answers.push_back(yes); }
    // The user asks to stop once this status has been shown.
    void stopAfterStatus(std::string text) { m_stopAfter = std::move(text); }

    void status(const std::string& text) override {
        statuses.push_back(text);
        events.push_back("status " + text);
        m_stopping = m_stopping || (!m_stopAfter.empty() && text == m_stopAfter);
        if (onStatus) {
            onStatus(text);
        }
    }
    void progress(int percent) override {
        progressValues.push_back(percent);
        events.push_back("progress " + std::to_string(percent));
    }
    void notice(const std::string& text) override {
        notices.push_back(text);
        events.push_back("notice " + text);
    }
    bool question(const std::string& text) override {
        questions.push_back(text);
        events.push_back("question " + text);
        if (m_answers.empty()) {
            throw std::logic_error("unexpected question: " + text);
        }
        const bool answer = m_answers.front();
        m_answers.pop_front();
        return answer;
    }
    void processEvents() override { ++eventPumps; }
    bool stopRequested() override { return m_stopping; }

    bool allAnswersUsed() const { return m_answers.empty(); }

    std::vector<std::string> statuses;
    std::vector<int> progressValues;
    std::vector<std::string> notices;
    std::vector<std::string> questions;
    std::vector<std::string> events;
    int eventPumps = 0;
    // Called after each status, to look at the work while it stands there.
    std::function<void(const std::string&)> onStatus;

private:
    std::deque<bool> m_answers;
    std::string m_stopAfter;
    bool m_stopping = false;
};

} // namespace vellumar::testing
