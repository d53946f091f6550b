#pragma once

#include <memory>
#include <string>
#include <vector>

#include <QMainWindow>

#include "model/project.h"
#include "step_machine.h"
#include "stoppable_frontend.h"

class QAbstractButton;
class QButtonGroup;
class QLabel;
class QPushButton;
class QStackedWidget;

namespace vellumar {

class BuildStep;
class FinishStep;
class Frontend;
class PictureStep;
class ProjectStep;
class SettingsStep;
class TfrmAbout;
class TfrmHelp;
class UserDialogs;

// The wizard window: five steps with their guards, the project commands, Build All, help
// and the close query. The front end and the dialogs are handed in, so tests can drive the
// window without anything on screen waiting for a person.
class TfrmMain : public QMainWindow {
    Q_OBJECT
public:
    TfrmMain(std::string programFolder, Frontend& frontend, UserDialogs& dialogs,
             QWidget* parent = nullptr);
    ~TfrmMain() override;

    Project& project() { return m_project; }
    const StepMachine& steps() const { return m_steps; }
    const std::vector<std::string>& styles() const { return m_styles; }

    // The commands, as buttons and menus run them.
    void btnNextClick();
    void btnPrevClick();
    void showStep(WizardStep step);
    void newProject();
    void openProject();
    // Save project and Save project as; true when the project was written.
    bool saveProject();
    bool saveProjectAs();
    void btnBuildAllClick();
    // Asks the running build to stop after the picture or page in hand.
    void btnStopClick();
    void btnPreviewClick();
    void btnViewClick();
    void btnHelpClick();

    // Where the core's status texts and progress appear: on the build step while a build
    // runs, else on the status bar.
    void showCoreStatus(const QString& text);
    void showCoreProgress(int percent);

    ProjectStep* TabProject = nullptr;
    PictureStep* TabPic = nullptr;
    SettingsStep* TabSetting = nullptr;
    BuildStep* TabBuild = nullptr;
    FinishStep* TabFinish = nullptr;
    QLabel* lblStepTitle = nullptr;
    QLabel* lblDspn = nullptr;
    QPushButton* btnHelp = nullptr;
    QPushButton* btnPrev = nullptr;
    QPushButton* btnNext = nullptr;
    QPushButton* btnExit = nullptr;
    TfrmHelp* frmHelp = nullptr;
    TfrmAbout* frmAbout = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QWidget* buildHeader();
    QWidget* buildStepTabs();
    void buildMenus();
    void connectCommands();
    void stepShown();
    void setStatus(const QString& text);
    bool saveTo(const std::string& presetName, bool askForPath);
    void setCaption(const std::string& projectName);

    std::string m_programFolder;
    Frontend& m_frontend;
    UserDialogs& m_dialogs;
    Project m_project;
    std::vector<std::string> m_styles;
    StepMachine m_steps;
    QStackedWidget* m_pages = nullptr;
    QButtonGroup* m_stepTabs = nullptr;
    bool m_building = false;
    StoppableFrontend* m_runningBuild = nullptr; // while Build All runs: what Stop tells
};

} // namespace vellumar
