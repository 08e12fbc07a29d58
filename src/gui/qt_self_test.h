// The program's self-test (vantreth --self-test): the front desk comes up with the
// first-run guide, and its exit button ends the program.
#pragma once

#include <string>

namespace vantreth::gui {

class QtDialogs;
class QtFrontEnd;

class QtSelfTest {
public:
    QtSelfTest(QtFrontEnd& frontEnd, QtDialogs& dialogs) : m_frontEnd(frontEnd), m_dialogs(dialogs) {}

    // Runs the checks once the event loop runs, and stops the loop when they are done
    // or the time is up.
    void Schedule();
    // After the event loop: 0 when every check ran and passed.
    int Outcome();

private:
    void Run();
    bool Check(bool ok, const std::string& what);
    void Finish();

    QtFrontEnd& m_frontEnd;
    QtDialogs& m_dialogs;
    std::string m_failure;
    bool m_done = false;
};

} // namespace vantreth::gui
