#pragma once

#include <memory>
#include <string>
#include <vector>

#include <QMainWindow>

#include "build_frontend.h"
#include "model/project.h"
#include "step_machine.h"

class QAbstractButton;
class QAction;
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
    // Opens the project the program was started with (a double click on it in a file
    // manager): the first step shows it chosen and the wizard moves on to its pictures. One
    // that cannot be opened leaves the wizard as it was, with the load failure message.
    void openProjectFrom(const std::string& path);
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

    QAction* actNewProject = nullptr;
    QAction* actOpenProject = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    QWidget* buildHeader();
    QWidget* buildStepTabs();
    void buildMenus();
    void connectCommands();
    void stepShown();
    // Sized to fit the screen it opens on, however much the screen is scaled.
    void fitToScreen();
    // The logo and the step tab pictures, drawn for the screen's pixel ratio.
    void paintArtwork();
    void setStatus(const QString& text);
    bool saveTo(const std::string& presetName, bool askForPath);
    bool loadProjectFile(const std::string& path);
    void setCaption(const std::string& projectName);
    // Runs a build or the preview with the commands that could change the project disabled:
    // the build reads the picture list and the settings until it ends.
    template <typename Build>
    void runLocked(Build&& build);
    void setProjectLocked(bool locked);

    std::string m_programFolder;
    Frontend& m_frontend;
    UserDialogs& m_dialogs;
    Project m_project;
    std::vector<std::string> m_styles;
    StepMachine m_steps;
    QStackedWidget* m_pages = nullptr;
    QLabel* m_logo = nullptr;
    QButtonGroup* m_stepTabs = nullptr;
    BuildFrontend* m_runningBuild = nullptr; // while a build or the preview runs
    bool m_closeAfterBuild = false;
    bool m_fitted = false; // sized to the screen on the first show
};

} // namespace vellumar
