#include "build_frontend.h"

namespace vellumar {

bool BuildFrontend::overwriteQuestion(const std::string& text) {
    if (m_answerForAll) {
        return *m_answerForAll;
    }
    switch (m_dialogs.askYesNoForAll(text)) {
    case Answer::YesToAll:
        m_answerForAll = true;
        return true;
    case Answer::NoToAll:
        m_answerForAll = false;
        return false;
    case Answer::Yes:
        return true;
    case Answer::No:
    case Answer::Cancel:
        return false;
    }
    return false;
}

} // namespace vellumar
