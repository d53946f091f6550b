#include "main_window.h"

#include <QAbstractButton>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWindow>

#include "about_dialog.h"
#include "artwork.h"
#include "frontend.h"
#include "help_dialog.h"
#include "model/project_file.h"
#include "model/style_list.h"
#include "path_text.h"
#include "picture_step.h"
#include "pipeline/build_all.h"
#include "pipeline/gallery_preview.h"
#include "pipeline/page_steps.h"
#include "project_error.h"
#include "qt_text.h"
#include "readers/reader_table.h"
#include "scroll_page.h"
#include "settings_step.h"
#include "style_page.h"
#include "user_dialogs.h"
#include "wizard_pages.h"

namespace vellumar {

namespace {

constexpr const char* kCaption = "Vellumar";
constexpr const char* kSupportMail = "mailto:support@vellumar.org";

} // namespace

TfrmMain::TfrmMain(std::string programFolder, Frontend& frontend, UserDialogs& dialogs,
                   QWidget* parent)
    : QMainWindow(parent), m_programFolder(std::move(programFolder)), m_frontend(frontend),
      m_dialogs(dialogs) {
    setWindowTitle(QString::fromLatin1(kCaption));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setWindowIcon(logoPicture(64));

    TabProject = new ProjectStep;
    TabPic = new PictureStep(m_project, m_frontend, m_dialogs);
    m_styles = listStyles(m_programFolder);
    TabSetting = new SettingsStep(
        {m_project.settings(), m_project.styleLinkImages(), m_programFolder, m_frontend, m_dialogs},
        m_styles);
    TabBuild = new BuildStep;
    TabFinish = new FinishStep;
    m_pages = new QStackedWidget;
    // The settings step scrolls each sub-page below its tabs; the others scroll whole.
    m_pages->addWidget(scrollable(TabProject));
    m_pages->addWidget(scrollable(TabPic));
    m_pages->addWidget(TabSetting);
    m_pages->addWidget(scrollable(TabBuild));
    m_pages->addWidget(scrollable(TabFinish));

    btnHelp = new QPushButton(tr("Help"));
    btnPrev = new QPushButton(tr("<< Previous"));
    btnNext = new QPushButton(tr("Next >>"));
    btnExit = new QPushButton(tr("Exit"));
    btnNext->setDefault(true);
    btnHelp->setShortcut(QKeySequence(Qt::Key_F1));
    auto* buttonRow = new QHBoxLayout;
    buttonRow->addWidget(btnHelp);
    buttonRow->addStretch(1);
    buttonRow->addWidget(btnPrev);
    buttonRow->addWidget(btnNext);
    buttonRow->addSpacing(16);
    buttonRow->addWidget(btnExit);

    auto* rule = new QFrame;
    rule->setFrameShape(QFrame::HLine);
    rule->setFrameShadow(QFrame::Sunken);

    auto* central = new QWidget;
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 6);
    layout->addWidget(buildHeader());
    layout->addWidget(buildStepTabs());
    auto* body = new QVBoxLayout;
    body->setContentsMargins(10, 0, 10, 0);
    body->addWidget(m_pages, 1);
    body->addWidget(rule);
    body->addLayout(buttonRow);
    layout->addLayout(body, 1);
    setCentralWidget(central);
    statusBar()->setSizeGripEnabled(false);

    frmHelp = new TfrmHelp(m_dialogs, this);
    frmAbout = new TfrmAbout(this);

    buildMenus();
    connectCommands();
    // Enter on a focused button presses it, as in a dialog; anywhere else it means Next.
    for (QPushButton* button : findChildren<QPushButton*>()) {
        button->setAutoDefault(true);
    }
    if (!m_styles.empty()) {
        TabSetting->TabStyle->applyStyle(m_styles.front());
    }
    m_project.markUnchanged();
    showStep(WizardStep::Project);
}

TfrmMain::~TfrmMain() {
    // The pages hold on to the project, and an editor that loses the focus as they are taken
    // down still writes into it: they go while it is there.
    delete centralWidget();
}

QWidget* TfrmMain::buildHeader() {
    auto* header = new QFrame;
    header->setAutoFillBackground(true);
    QPalette palette = header->palette();
    palette.setColor(QPalette::Window, Qt::white);
    header->setPalette(palette);

    lblStepTitle = new QLabel;
    QFont titleFont = lblStepTitle->font();
    titleFont.setBold(true);
    titleFont.setItalic(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.4);
    lblStepTitle->setFont(titleFont);
    lblStepTitle->setStyleSheet(QStringLiteral("color: #1f4fa0"));
    lblDspn = new QLabel;
    lblDspn->setWordWrap(true);
    m_logo = new QLabel;

    auto* texts = new QVBoxLayout;
    texts->addWidget(lblStepTitle);
    texts->addWidget(lblDspn);
    auto* layout = new QHBoxLayout(header);
    layout->setContentsMargins(14, 8, 14, 8);
    layout->addLayout(texts, 1);
    layout->addWidget(m_logo);
    return header;
}

QWidget* TfrmMain::buildStepTabs() {
    auto* tabs = new QWidget;
    auto* layout = new QHBoxLayout(tabs);
    layout->setContentsMargins(10, 8, 10, 4);
    m_stepTabs = new QButtonGroup(this);
    for (int step = 0; step < kStepCount; ++step) {
        auto* tab = new QToolButton;
        tab->setCheckable(true);
        tab->setAutoRaise(true);
        tab->setToolTip(fromView(kStepTexts[static_cast<std::size_t>(step)].title));
        tab->setIconSize(kStepTabSize);
        m_stepTabs->addButton(tab, step);
        layout->addWidget(tab);
    }
    layout->addStretch(1);
    connect(m_stepTabs, &QButtonGroup::idClicked, this,
            [this](int step) { showStep(static_cast<WizardStep>(step)); });
    return tabs;
}

void TfrmMain::buildMenus() {
    QMenu* file = menuBar()->addMenu(tr("&File"));
    actNewProject = file->addAction(tr("&New project"), this, [this] {
        TabProject->rbNew->setChecked(true);
        newProject();
    });
    actNewProject->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    actOpenProject = file->addAction(tr("&Open project"), this, &TfrmMain::openProject);
    actOpenProject->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    file->addSeparator();
    file->addAction(tr("&Save project"), this, &TfrmMain::saveProject)
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    file->addAction(tr("Save project &as"), this, &TfrmMain::saveProjectAs)
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    file->addSeparator();
    file->addAction(tr("E&xit"), this, &QWidget::close)
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));

    const std::string manual = m_programFolder + "Help.html";
    QMenu* help = menuBar()->addMenu(tr("&Help"));
    help->addAction(tr("&Content"), this, [this, manual] { m_dialogs.openExternally(manual); });
    help->addSeparator();
    help->addAction(tr("&Home page"), this, [this, manual] { m_dialogs.openExternally(manual); });
    help->addAction(tr("Send &email"), this, [this] { m_dialogs.openExternally(kSupportMail); });
    help->addSeparator();
    help->addAction(tr("&About ..."), this, [this] { frmAbout->exec(); });
}

void TfrmMain::connectCommands() {
    connect(btnNext, &QPushButton::clicked, this, &TfrmMain::btnNextClick);
    connect(btnPrev, &QPushButton::clicked, this, &TfrmMain::btnPrevClick);
    connect(btnExit, &QPushButton::clicked, this, &QWidget::close);
    connect(btnHelp, &QPushButton::clicked, this, &TfrmMain::btnHelpClick);
    connect(TabProject->rbNew, &QRadioButton::toggled, this, [this](bool checked) {
        if (checked) {
            newProject();
        }
    });
    connect(TabProject->rbOld, &QRadioButton::toggled, this, [this](bool checked) {
        if (checked) {
            openProject();
        }
    });
    connect(TabSetting->SettingPage, &QTabWidget::currentChanged, this,
            [this](int page) { m_steps.showSettingsPage(page); });
    connect(TabBuild->btnBuildAll, &QPushButton::clicked, this, &TfrmMain::btnBuildAllClick);
    connect(TabBuild->btnStop, &QPushButton::clicked, this, &TfrmMain::btnStopClick);
    connect(TabBuild->btnPreview, &QPushButton::clicked, this, &TfrmMain::btnPreviewClick);
    connect(TabBuild->btnView, &QPushButton::clicked, this, &TfrmMain::btnViewClick);
    connect(TabFinish->btnSavePjt, &QPushButton::clicked, this, &TfrmMain::saveProject);
    connect(TabFinish->btnSavePjtAs, &QPushButton::clicked, this, &TfrmMain::saveProjectAs);
    connect(TabPic, &PictureStep::statusChanged, this, &TfrmMain::setStatus);
}

void TfrmMain::showStep(WizardStep step) {
    m_steps.showStep(step);
    stepShown();
}

void TfrmMain::stepShown() {
    const int step = static_cast<int>(m_steps.step());
    m_pages->setCurrentIndex(step);
    TabSetting->SettingPage->setCurrentIndex(m_steps.settingsPage());
    const StepText& text = kStepTexts[static_cast<std::size_t>(step)];
    lblStepTitle->setText(fromView(text.title));
    lblDspn->setText(fromView(text.description));
    for (int tab = 0; tab < kStepCount; ++tab) {
        m_stepTabs->button(tab)->setChecked(tab == step);
    }
    paintArtwork();
    btnPrev->setEnabled(m_steps.previousEnabled());
    btnNext->setEnabled(m_steps.nextEnabled());
}

void TfrmMain::fitToScreen() {
    // Room for the window frame, which is not known before the window is shown.
    constexpr QSize kFrameAllowance(16, 48);
    const QRect available = screen()->availableGeometry();
    // The pages' own sizes leave none of them scrolling, where the screen has room for that.
    const QSize wanted = sizeHint().expandedTo(QSize(760, 560));
    resize(wanted.boundedTo(available.size() - kFrameAllowance));
    move(available.center() - rect().center());
}

void TfrmMain::paintArtwork() {
    const qreal ratio = devicePixelRatioF();
    m_logo->setPixmap(logoPicture(48, ratio));
    for (int tab = 0; tab < kStepCount; ++tab) {
        m_stepTabs->button(tab)->setIcon(
            stepTabPicture(fromView(kStepTexts[static_cast<std::size_t>(tab)].tabLabel),
                           tab == static_cast<int>(m_steps.step()), ratio));
    }
}

void TfrmMain::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!event->spontaneous() && !m_fitted) {
        // Only now do the menu and status bars take their part of the window's size.
        m_fitted = true;
        fitToScreen();
    }
    // A move to a screen of another pixel ratio redraws the pictures for it.
    connect(windowHandle(), &QWindow::screenChanged, this, &TfrmMain::paintArtwork,
            Qt::UniqueConnection);
    paintArtwork();
}

void TfrmMain::btnNextClick() {
    StepGuards guards;
    guards.openOldProjectChosen = TabProject->rbOld->isChecked();
    guards.projectLoaded = m_project.loaded();
    guards.pictureCount = m_project.pictures().count();
    guards.destFolder = m_project.settings().DestFolder;
    m_steps.next(guards, m_frontend);
    stepShown();
}

void TfrmMain::btnPrevClick() {
    m_steps.previous();
    stepShown();
}

void TfrmMain::setCaption(const std::string& projectName) {
    setWindowTitle(QString::fromLatin1(kCaption) + QStringLiteral(" - ") +
                   QString::fromStdString(projectName));
}

void TfrmMain::setStatus(const QString& text) {
    statusBar()->showMessage(text);
}

void TfrmMain::newProject() {
    TabProject->lblPjtName->hide();
    m_project.startNew();
    TabPic->refill(0);
    setCaption(kUntitledProject);
}

void TfrmMain::openProject() {
    TabProject->lblPjtName->show();
    if (const auto path = m_dialogs.openProjectFile()) {
        loadProjectFile(*path);
    }
    btnNextClick();
}

void TfrmMain::openProjectFrom(const std::string& path) {
    {
        // Choosing the button by hand asks for a file; this one is given.
        const QSignalBlocker quiet(TabProject->rbOld);
        TabProject->rbOld->setChecked(true);
    }
    TabProject->lblPjtName->show();
    if (loadProjectFile(path)) {
        btnNextClick();
    }
}

bool TfrmMain::loadProjectFile(const std::string& path) {
    TabProject->lblPjtName->setText(QString::fromStdString(path));
    if (!m_project.open(path, m_styles, m_frontend, pictureFormats())) {
        return false;
    }
    TabPic->refill(m_project.pictures().isEmpty() ? 0 : 1);
    TabSetting->showSettings();
    setCaption(fileNameOf(path));
    return true;
}

bool TfrmMain::saveTo(const std::string& presetName, bool askForPath) {
    std::string path = m_project.path();
    if (askForPath) {
        const auto chosen = m_dialogs.saveProjectFile(presetName);
        if (!chosen) {
            return false;
        }
        path = *chosen;
    }
    try {
        m_project.save(path);
        return true;
    } catch (const ProjectError& error) {
        m_frontend.notice(error.what());
        return false;
    }
}

bool TfrmMain::saveProject() {
    if (TabProject->rbNew->isChecked()) {
        return saveTo(std::string(kUntitledProject) + ".vlm", true);
    }
    return saveTo("*.vlm", !m_project.loaded());
}

bool TfrmMain::saveProjectAs() {
    return saveTo("*.vlm", true);
}

template <typename Build>
void TfrmMain::runLocked(Build&& build) {
    BuildFrontend frontend(m_frontend, m_dialogs);
    {
        // Unlocked on every way out, an unexpected exception included.
        struct Unlock {
            TfrmMain& window;
            ~Unlock() {
                window.setProjectLocked(false);
                window.m_runningBuild = nullptr;
            }
        };
        m_runningBuild = &frontend;
        setProjectLocked(true);
        const Unlock unlock{*this};
        build(frontend);
    }
    if (m_closeAfterBuild) {
        m_closeAfterBuild = false;
        close();
    }
}

void TfrmMain::setProjectLocked(bool locked) {
    TabBuild->btnBuildAll->setEnabled(!locked);
    TabBuild->btnPreview->setEnabled(!locked);
    TabBuild->btnStop->setEnabled(locked);
    TabProject->setEnabled(!locked);
    TabPic->setLocked(locked);
    TabSetting->setLocked(locked);
    actNewProject->setEnabled(!locked);
    actOpenProject->setEnabled(!locked);
}

void TfrmMain::btnBuildAllClick() {
    BuildOptions options;
    options.keepGoing = TabBuild->cbSkipUnreadable->isChecked();
    runLocked([&](Frontend& frontend) {
        BuildAll(m_project, m_programFolder, pictureFormats(), frontend, options);
    });
}

void TfrmMain::btnStopClick() {
    if (m_runningBuild) {
        m_runningBuild->requestStop();
    }
}

void TfrmMain::btnPreviewClick() {
    std::optional<std::string> page;
    runLocked([&](Frontend& frontend) {
        page = buildPreview(m_project, m_programFolder, pictureFormats(), frontend);
    });
    if (page) {
        m_dialogs.openExternally(*page);
    }
}

void TfrmMain::btnViewClick() {
    if (const auto page = builtIndexPage(m_project.settings(), m_frontend)) {
        m_dialogs.openExternally(*page);
    }
}

void TfrmMain::showCoreStatus(const QString& text) {
    if (m_runningBuild) {
        TabBuild->lblProgress->setText(text);
    } else {
        setStatus(text);
    }
}

void TfrmMain::showCoreProgress(int percent) {
    // The work resets its progress once it has finished; a bar back at nought beside
    // "Finished" would read as a build that never started.
    if (percent == 0 && m_runningBuild &&
        TabBuild->lblProgress->text() ==
            QLatin1String(kFinishedStatus.data(), kFinishedStatus.size())) {
        percent = 100;
    }
    TabBuild->ProgressBar->setValue(percent);
}

void TfrmMain::btnHelpClick() {
    frmHelp->setFiles(QString::fromStdString(m_programFolder + m_steps.helpFileName()),
                      QString::fromStdString(m_programFolder + "Help.html"));
    frmHelp->show();
    frmHelp->raise();
    frmHelp->activateWindow();
    frmHelp->reloadText();
}

void TfrmMain::keyPressEvent(QKeyEvent* event) {
    // Only Enter that no control took reaches the window.
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && btnNext->isEnabled()) {
        btnNext->click();
        return;
    }
    QMainWindow::keyPressEvent(event);
}

void TfrmMain::closeEvent(QCloseEvent* event) {
    // The build runs inside this window's handlers: it is stopped first, and the window
    // closes once it has ended.
    if (m_runningBuild) {
        m_runningBuild->requestStop();
        m_closeAfterBuild = true;
        event->ignore();
        return;
    }
    // Changes made after a save are offered too, and a save that does not happen (cancelled
    // or failed) keeps the window open, so nothing is lost by closing.
    if (m_project.hasUnsavedChanges()) {
        const Answer answer = m_dialogs.askYesNoCancel("Do you want to save project before exit ?");
        if (answer == Answer::Cancel || (answer == Answer::Yes && !saveProject())) {
            event->ignore();
            return;
        }
    }
    event->accept();
}

} // namespace vellumar
