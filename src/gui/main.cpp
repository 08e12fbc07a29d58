// The Vantreth program: the front desk on the Qt desktop.
//   vantreth [--data DIR] [--self-test] [--screenshots DIR]
// VANTRETH_DATA names the data folder when --data is not given; VANTRETH_SCREENSHOT_ON_LOAD=DIR
// saves a picture of every window as it comes up.
#include "qt_dialogs.h"
#include "qt_front_end.h"
#include "qt_printer.h"
#include "qt_self_test.h"
#include "qt_shell.h"
#include "qt_window.h"

#include "app/app.h"
#include "platform/clock.h"
#include "platform/files.h"
#include "platform/folder_lock.h"
#include "platform/print_command.h"
#include "records/filenames.h"
#include "records/motel_settings.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QMessageBox>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

namespace {

using namespace vantreth::gui;

struct Options {
    std::filesystem::path data;
    bool selfTest = false;
    QString screenshots;
};

// A message that stops the start: on the screen, or on the output in a self-test.
void TellStartFailed(const Options& options, const QString& message) {
    if (options.selfTest)
        std::printf("self-test FAILED: %s\n", message.toStdString().c_str());
    else
        QMessageBox::critical(nullptr, QStringLiteral("Vantreth"), message);
}

int Run(const Options& options) {
    // Not open yet: the program opens it, with its engine, below; until then its files are read
    // on the disk as they stand.
    platform::DataFolder data(options.data, nullptr);
    records::MotelSettings settings;
    std::string settingsProblem;  // the settings file could not be read or written
    std::string ownerOnlyProblem; // the folder stays readable by other users
    std::unique_ptr<platform::BusinessClock> clock;
    // One copy of the program per data folder: the lock is held until Run returns.
    std::optional<platform::FolderLock> lock;
    try {
        // A new folder is made whole; one that exists is changed only once its lock is held.
        std::error_code missing;
        if (!std::filesystem::exists(data.root(), missing))
            data.EnsureLayout(records::DataSubFolders());
        lock.emplace(platform::FolderLock::Acquire(data.root()));
        if (lock->state() == platform::FolderLock::State::Taken) {
            TellStartFailed(options, QStringLiteral("Vantreth is already running on this data folder (%1).\n"
                                                    "Use the copy that is open, or close it first.")
                                         .arg(QString::fromStdString(data.root().string())));
            return 1;
        }
        if (lock->Held()) {
            data.EnsureLayout(records::DataSubFolders());
            ownerOnlyProblem = data.KeepOwnerOnly(records::DataSubFolders(), true);
            for (const std::filesystem::path& file :
                 platform::RemoveInterruptedSaves(data.root(), records::DataSubFolders()))
                std::fprintf(stderr, "vantreth: removed %s, left by a save that was cut short\n",
                             file.c_str());
        } else {
            std::fprintf(stderr, "vantreth: %s: %s; the folder is only looked at, never changed\n",
                         lock->file().c_str(), lock->reason().c_str());
            ownerOnlyProblem = data.KeepOwnerOnly(records::DataSubFolders(), false);
        }
        settings = records::MotelSettings::Load(
            data.File(records::kSettingsFile), &settingsProblem, [] { return platform::HasDefaultPrinter(); },
            lock->Held());
        clock = std::make_unique<platform::BusinessClock>(data.File("clock"));
    } catch (const platform::IoError& e) {
        const QString message =
            QStringLiteral("The data folder %1 cannot be used: %2 (%3).")
                .arg(QString::fromStdString(data.root().string()), QString::fromStdString(e.reason()),
                     QString::fromStdString(e.file().string()));
        TellStartFailed(options, message);
        return 1;
    }
    if (options.selfTest) {
        settings.callBoxDevice = "none";
        settings.printToPrinter = false;
    }

    QtDialogs dialogs;
    dialogs.SetUnattended(options.selfTest);
    QtPrinter printer(data.root() / records::kPrintFolder, settings.printToPrinter);
    QtShell shell;
    platform::Services services;
    services.clock = clock.get();
    services.dialogs = &dialogs;
    services.printer = &printer;
    services.shell = &shell;
    services.dataRoot = data.root();
    if (!lock->Held()) // looked at only: no change, and another copy's journal left alone
        services.readOnlyReason = lock->reason();

    vantreth::App app(services, settings);
    if (!settingsProblem.empty())
        app.TellAtStart(settingsProblem, "Settings");
    if (!lock->Held())
        app.TellAtStart("The data folder " + data.root().string() + " is open only to be looked at (" +
                            lock->reason() + "): nothing can be changed in it.",
                        "Data Folder");
    if (!ownerOnlyProblem.empty())
        app.TellAtStart(ownerOnlyProblem, "Data Folder");
    QtFrontEnd frontEnd(app);
    frontEnd.on_ended = [] { QCoreApplication::exit(0); };
    dialogs.SetFrontWindow([&frontEnd]() -> QWidget* { return frontEnd.FrontWindow(); });
    if (const char* dir = std::getenv("VANTRETH_SCREENSHOT_ON_LOAD"); dir != nullptr && *dir != '\0')
        frontEnd.SetScreenshotOnLoad(QString::fromLocal8Bit(dir));
    if (!options.screenshots.isEmpty())
        QTimer::singleShot(500, &frontEnd,
                           [&frontEnd, &options] { frontEnd.SaveScreenshots(options.screenshots); });
    QtSelfTest selfTest(frontEnd, dialogs);
    if (options.selfTest)
        selfTest.Schedule();

    app.Start("Form1");
    const int result = app.Ended() ? 0 : QApplication::exec();
    return options.selfTest ? selfTest.Outcome() : result;
}

// A new, empty folder for the self-test's data.
std::filesystem::path NewTemporaryFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "vantreth-self-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr)
        return {};
    return pattern;
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vantreth"));
    // The program ends when its last window is unloaded, not when Qt sees no window it
    // counts (a window that belongs to another does not count).
    QApplication::setQuitOnLastWindowClosed(false);
    QFont font = QApplication::font();
    font.setPointSize(9);
    QApplication::setFont(font);

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("The motel front desk."));
    parser.addHelpOption();
    const QCommandLineOption dataOption(QStringLiteral("data"), QStringLiteral("Keep the data in DIR."),
                                        QStringLiteral("DIR"));
    const QCommandLineOption selfTestOption(
        QStringLiteral("self-test"),
        QStringLiteral("Start on a new, empty data folder, check that the front desk comes up and that its "
                       "exit button ends the program, then remove the folder."));
    const QCommandLineOption shotsOption(QStringLiteral("screenshots"),
                                         QStringLiteral("Save a picture of every window as DIR/<window>.png "
                                                        "once the program has started."),
                                         QStringLiteral("DIR"));
    parser.addOptions({dataOption, selfTestOption, shotsOption});
    parser.process(application);

    Options options;
    options.selfTest = parser.isSet(selfTestOption);
    options.screenshots = parser.value(shotsOption);
    if (options.selfTest) {
        options.data = NewTemporaryFolder();
        if (options.data.empty()) {
            std::printf("self-test FAILED: no temporary folder could be made\n");
            return 1;
        }
    } else if (parser.isSet(dataOption)) {
        options.data = parser.value(dataOption).toStdString();
    } else {
        options.data = platform::DataFolder::DefaultRoot();
    }

    const int result = Run(options);
    if (options.selfTest) {
        std::error_code ec;
        std::filesystem::remove_all(options.data, ec);
    }
    return result;
}
