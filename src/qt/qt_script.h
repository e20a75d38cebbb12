// A script driving the real window. The lines run one after another from a timer, so a line that
// opens a modal dialog or message box does not stop the script: the following lines run inside
// that dialog's loop (and inside the stop poll of a long operation), as a user's would. `at MS`
// lines fire MS milliseconds after the start. Lines that cannot be applied print
// `error LINE "WHY"`.
#pragma once
#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <cstdio>
#include <functional>

#include "headless/script.h"

class QtBackend;
class QWidget;

class QtScriptDriver : public QObject {
    Q_OBJECT
public:
    QtScriptDriver(Script script, QtBackend& backend, std::FILE* out = stdout);
    void start();
    bool finished() const { return next_ >= script_.sequence.size(); }

private:
    void advance();
    // False when the target of the action is not there yet (the line is tried again).
    bool apply(const ScriptAction& action, std::string& why);
    void error(const ScriptAction& action, const std::string& why);
    void quit();
    // Runs WORK from the event queue. A timer does not fire again while its own handler runs, so
    // anything that may open a nested loop is run outside the ticker's handler.
    void run_queued(std::function<void()> work);
    QWidget* top_dialog() const;

    Script script_;
    QtBackend& backend_;
    std::FILE* out_;
    QTimer ticker_;
    QElapsedTimer elapsed_;
    size_t next_ = 0;
    qint64 resume_at_ = 0;      // a `wait` holds the sequence until then
    qint64 tried_since_ = -1;   // the current line has waited for its target since then
    bool applying_ = false;     // the current line is being tried (not yet taken)
    bool queued_ = false;       // a taken line waits to be run from the event queue
};
