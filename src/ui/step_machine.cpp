#include "step_machine.h"

#include "frontend.h"
#include "text_util.h"

namespace vellumar {

namespace {

WizardStep stepAfter(WizardStep step) {
    return static_cast<WizardStep>(static_cast<int>(step) + 1);
}
WizardStep stepBefore(WizardStep step) {
    return static_cast<WizardStep>(static_cast<int>(step) - 1);
}

} // namespace

void StepMachine::next(const StepGuards& guards, Frontend& frontend) {
    switch (m_step) {
    case WizardStep::Project:
        if (guards.openOldProjectChosen && !guards.projectLoaded) {
            frontend.notice("Please select an old project.");
            return;
        }
        break;
    case WizardStep::Pictures:
        if (guards.pictureCount == 0 && !frontend.question("No picture is selected. Continue ?")) {
            return;
        }
        break;
    case WizardStep::Settings:
        if (m_settingsPage == 0 && trimBlanks(guards.destFolder).empty()) {
            frontend.notice("Please input a destination folder.");
            return;
        }
        if (m_settingsPage < kSettingsPageCount - 1) {
            ++m_settingsPage;
            return;
        }
        break;
    case WizardStep::Build:
        break;
    case WizardStep::Finish:
        return;
    }
    m_step = stepAfter(m_step);
}

void StepMachine::previous() {
    if (m_step == WizardStep::Project) {
        return;
    }
    if (m_step == WizardStep::Settings && m_settingsPage > 0) {
        --m_settingsPage;
        return;
    }
    m_step = stepBefore(m_step);
}

std::string StepMachine::helpFileName() const {
    if (m_step == WizardStep::Settings) {
        return "help2_" + std::to_string(m_settingsPage) + ".txt";
    }
    return "help" + std::to_string(static_cast<int>(m_step)) + ".txt";
}

} // namespace vellumar
