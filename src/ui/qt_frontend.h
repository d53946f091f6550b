#pragma once

#include <functional>

#include <QPointer>
#include <QWidget>

#include "frontend.h"

namespace vellumar {

// The wizard's front end for the core: notices and questions are message boxes over the
// main window, status and progress go where the window points them, and pending events are
// handled between pictures so the window stays alive during long work.
class QtFrontend : public Frontend {
public:
    using StatusSink = std::function<void(const QString&)>;
    using ProgressSink = std::function<void(int)>;

    void setParentWindow(QWidget* parent) { m_parent = parent; }

    void setStatusSink(StatusSink sink) { m_status = std::move(sink); }
    void setProgressSink(ProgressSink sink) { m_progress = std::move(sink); }

    void status(const std::string& text) override;
    void progress(int percent) override;
    void notice(const std::string& text) override;
    bool question(const std::string& text) override;
    void processEvents() override;

private:
    QPointer<QWidget> m_parent;
    StatusSink m_status;
    ProgressSink m_progress;
};

} // namespace vellumar
