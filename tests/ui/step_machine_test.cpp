#include <QTest>

#include "step_machine.h"
#include "support/scripted_frontend.h"

using namespace vellumar;

class StepMachineTest : public QObject {
    Q_OBJECT
private slots:
    void openOldProjectNeedsASuccessfulLoad() {
        testing::ScriptedFrontend frontend;
        StepMachine steps;
        steps.next({true, false, 0, ""}, frontend);
        QCOMPARE(steps.step(), WizardStep::Project);
        QCOMPARE(frontend.notices, std::vector<std::string>{"Please select an old project."});
        steps.next({true, true, 0, ""}, frontend);
        QCOMPARE(steps.step(), WizardStep::Pictures);
    }

    void emptyPictureListAsksBeforeMovingOn() {
        testing::ScriptedFrontend frontend;
        StepMachine steps;
        steps.showStep(WizardStep::Pictures);
        frontend.answerNext(false);
        steps.next({}, frontend);
        QCOMPARE(steps.step(), WizardStep::Pictures);
        frontend.answerNext(true);
        steps.next({}, frontend);
        QCOMPARE(steps.step(), WizardStep::Settings);
        QCOMPARE(frontend.questions.size(), std::size_t{2});
        QCOMPARE(frontend.questions.front(), std::string("No picture is selected. Continue ?"));
        steps.showStep(WizardStep::Pictures);
        steps.next({false, false, 3, ""}, frontend);
        QCOMPARE(steps.step(), WizardStep::Settings);
    }

    void settingsPagesNeedADestinationAndRunInOrder() {
        testing::ScriptedFrontend frontend;
        StepMachine steps;
        steps.showStep(WizardStep::Settings);
        steps.next({false, false, 1, "   "}, frontend);
        QCOMPARE(steps.settingsPage(), 0);
        QCOMPARE(frontend.notices, std::vector<std::string>{"Please input a destination folder."});
        for (int page = 1; page < kSettingsPageCount; ++page) {
            steps.next({false, false, 1, "/tmp/g"}, frontend);
            QCOMPARE(steps.settingsPage(), page);
            QCOMPARE(steps.step(), WizardStep::Settings);
        }
        steps.next({false, false, 1, "/tmp/g"}, frontend);
        QCOMPARE(steps.step(), WizardStep::Build);
        steps.previous();
        QCOMPARE(steps.step(), WizardStep::Settings);
        QCOMPARE(steps.settingsPage(), kSettingsPageCount - 1);
    }

    void previousWalksBackThroughSubPages() {
        StepMachine steps;
        QVERIFY(!steps.previousEnabled());
        steps.showStep(WizardStep::Settings);
        steps.showSettingsPage(1);
        steps.previous();
        QCOMPARE(steps.settingsPage(), 0);
        QCOMPARE(steps.step(), WizardStep::Settings);
        steps.previous();
        QCOMPARE(steps.step(), WizardStep::Pictures);
        steps.showStep(WizardStep::Finish);
        QVERIFY(!steps.nextEnabled());
        testing::ScriptedFrontend frontend;
        steps.next({}, frontend);
        QCOMPARE(steps.step(), WizardStep::Finish);
    }

    void helpFileFollowsStepAndSubPage() {
        StepMachine steps;
        QCOMPARE(steps.helpFileName(), std::string("help0.txt"));
        steps.showStep(WizardStep::Settings);
        steps.showSettingsPage(2);
        QCOMPARE(steps.helpFileName(), std::string("help2_2.txt"));
        steps.showStep(WizardStep::Finish);
        QCOMPARE(steps.helpFileName(), std::string("help4.txt"));
    }
};

QTEST_GUILESS_MAIN(StepMachineTest)
#include "step_machine_test.moc"
