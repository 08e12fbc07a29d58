// The idle figures; see idle.h. Wake-ups are the times the process went to sleep waiting
// and was woken (its voluntary context switches).
#include "bench/idle.h"

#include "app/app.h"
#include "gui/qt_dialogs.h"
#include "gui/qt_front_end.h"
#include "gui/qt_printer.h"
#include "gui/qt_shell.h"
#include "gui/qt_window.h"
#include "platform/clock.h"
#include "platform/files.h"
#include "records/filenames.h"
#include "records/motel_settings.h"

#include <QApplication>
#include <QDialog>
#include <QEventLoop>
#include <QTimer>

#include <cstdlib>
#include <sys/resource.h>

namespace vantreth::bench {

namespace {

struct Usage {
    double cpuMs = 0;
    long wakes = 0;
};

Usage Now() {
    rusage r{};
    ::getrusage(RUSAGE_SELF, &r);
    const auto ms = [](const timeval& t) { return t.tv_sec * 1000.0 + t.tv_usec / 1000.0; };
    return {ms(r.ru_utime) + ms(r.ru_stime), r.ru_nvcsw};
}

// Runs the event loop for `ms`.
void Run(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

} // namespace

std::optional<IdleFigures> MeasureIdle(const std::filesystem::path& data, int seconds) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    int argc = 1;
    char name[] = "vantreth-bench";
    char* argv[] = {name, nullptr};
    QApplication qt(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);

    const platform::DataFolder folder(data, nullptr); // not open yet: the program opens it
    records::MotelSettings settings = records::MotelSettings::Load(folder.File(records::kSettingsFile));
    settings.callBoxDevice = "none";
    settings.printToPrinter = false;
    platform::BusinessClock clock(folder.File("clock"));
    gui::QtDialogs dialogs;
    gui::QtPrinter printer(folder.root() / records::kPrintFolder, false);
    gui::QtShell shell;
    platform::Services services;
    services.clock = &clock;
    services.dialogs = &dialogs;
    services.printer = &printer;
    services.shell = &shell;
    services.dataRoot = folder.root();
    App app(services, settings);
    gui::QtFrontEnd frontEnd(app);
    dialogs.SetFrontWindow([&frontEnd]() -> QWidget* { return frontEnd.FrontWindow(); });
    app.Start("Form1");
    if (app.Ended())
        return std::nullopt;

    const int ms = seconds * 1000;
    IdleFigures figures;
    Run(1000); // the desk comes up and settles
    const Usage deskStart = Now();
    Run(ms);
    const Usage deskEnd = Now();
    figures.deskCpuPercent = (deskEnd.cpuMs - deskStart.cpuMs) / ms * 100;
    figures.deskWakesPerSecond = static_cast<double>(deskEnd.wakes - deskStart.wakes) / seconds;

    // A box of a clerk's step, measured once it is up and drawn.
    Usage boxStart, boxEnd;
    QTimer::singleShot(1000, [&boxStart] { boxStart = Now(); });
    QTimer::singleShot(1000 + ms, [&boxEnd, &dialogs] {
        boxEnd = Now();
        if (QWidget* box = dialogs.OpenBox())
            static_cast<QDialog*>(box)->accept();
    });
    app.Dispatch([&app] { app.Get("Form1").MsgBox("Idle with a box up.", platform::vbOKOnly, "Benchmark"); },
                 "a box");
    figures.boxCpuPercent = (boxEnd.cpuMs - boxStart.cpuMs) / ms * 100;
    figures.boxWakesPerSecond = static_cast<double>(boxEnd.wakes - boxStart.wakes) / seconds;
    return figures;
}

} // namespace vantreth::bench
