#pragma once

#include <deque>
#include <functional>
#include <stdexcept>

#include "user_dialogs.h"

namespace vellumar::testing {

// Answers the wizard's choosers from a script and records what it opened externally.
class ScriptedDialogs : public UserDialogs {
public:
    std::deque<std::optional<std::string>> projectFilesToOpen;
    std::deque<std::optional<std::string>> projectFilesToSave;
    std::deque<std::vector<std::string>> picturesToChoose;
    std::deque<std::optional<std::string>> picturesToChooseIn;
    std::vector<std::string> pictureFolders;
    std::deque<std::optional<Color>> colorsToChoose;
    std::deque<std::optional<FolderToAdd>> foldersToAdd;
    std::deque<std::optional<std::string>> destinationFolders;
    std::vector<std::string> savePresets;
    std::vector<std::string> openedExternally;
    std::deque<Answer> answers;
    std::vector<std::string> questions;
    // Runs while a question is open, as a person could act on the window before answering.
    std::function<void()> whileAsking;

    std::optional<std::string> openProjectFile() override { return next(projectFilesToOpen); }
    std::optional<std::string> saveProjectFile(const std::string& presetName) override {
        savePresets.push_back(presetName);
        return next(projectFilesToSave);
    }
    std::vector<std::string> choosePictures(const std::string&) override {
        return next(picturesToChoose);
    }
    std::optional<std::string> choosePictureIn(const std::string& folder) override {
        pictureFolders.push_back(folder);
        return next(picturesToChooseIn);
    }
    std::optional<Color> chooseColor() override { return next(colorsToChoose); }
    std::optional<FolderToAdd> chooseFolderToAdd() override { return next(foldersToAdd); }
    std::optional<std::string> chooseDestinationFolder() override {
        return next(destinationFolders);
    }
    Answer askYesNoCancel(const std::string& text) override { return ask(text); }
    Answer askYesNoForAll(const std::string& text) override { return ask(text); }
    void openExternally(const std::string& fileOrUrl) override {
        openedExternally.push_back(fileOrUrl);
    }

private:
    Answer ask(const std::string& text) {
        questions.push_back(text);
        if (whileAsking) {
            whileAsking();
        }
        return next(answers);
    }

    template <typename T>
    static T next(std::deque<T>& answers) {
        if (answers.empty()) {
            throw std::logic_error("a chooser was opened that the test did not expect");
        }
        T answer = std::move(answers.front());
        answers.pop_front();
        return answer;
    }
};

} // namespace vellumar::testing
