#pragma once

#include <array>
#include <string>
#include <string_view>

namespace vellumar {

class Frontend;

enum class WizardStep { Project = 0, Pictures = 1, Settings = 2, Build = 3, Finish = 4 };
inline constexpr int kStepCount = 5;
inline constexpr int kSettingsPageCount = 6;

struct StepText {
    std::string_view tabLabel;
    std::string_view title;
    std::string_view description;
};
inline constexpr std::array<StepText, kStepCount> kStepTexts = {{
    {"1 Project", "1. Choose a project", "Build a new project or open an old project"},
    {"2 Pictures", "2. Select pictures",
     "Select some pictures or a directory containing pictures. Enter the info of each picture."},
    {"3 Settings", "3. Modify settings",
     "Modify all settings of the thumbnails, pictures and HTML pages"},
    {"4 Build", "4. Build the project", "Generate thumbnail HTML files and picture files."},
    {"5 Finish", "5. Finish and save", "Save the project settings and related files."},
}};

inline constexpr std::array<std::string_view, kSettingsPageCount> kSettingsPageCaptions = {
    "Folders",         "Style and thumbnail", "Large picture",
    "Thumbnail pages", "Picture HTML pages",  "Text"};

// What the guards of Next look at, read from the window when Next is pressed.
struct StepGuards {
    bool openOldProjectChosen = false;
    bool projectLoaded = false;
    int pictureCount = 0;
    std::string destFolder;
};

// The wizard's position: a step and, on the settings step, a sub-page. Next and Previous
// move it under the guards; the tab buttons jump anywhere without guards.
class StepMachine {
public:
    WizardStep step() const { return m_step; }
    int settingsPage() const { return m_settingsPage; }

    bool previousEnabled() const { return m_step != WizardStep::Project; }
    bool nextEnabled() const { return m_step != WizardStep::Finish; }

    // Messages and questions of the guards go to the front end.
    void next(const StepGuards& guards, Frontend& frontend);
    void previous();

    void showStep(WizardStep step) { m_step = step; }
    void showSettingsPage(int page) { m_settingsPage = page; }

    // The help text file of the current position: help<k>.txt, or help2_<s>.txt on the
    // settings step.
    std::string helpFileName() const;

private:
    WizardStep m_step = WizardStep::Project;
    int m_settingsPage = 0;
};

} // namespace vellumar
