// The printed pages: every line advances exactly 1/6 inch and lies inside the margins, as
// the PDF file shows it.
#include "gui/qt_printer.h"
#include "platform/engine.h"
#include "platform/pdf_file.h"
#include "platform/print_command.h"
#include "platform/print_queue.h"
#include "platform/printer.h"
#include "platform/program.h"
#include "support/app_fixture.h"
#include "support/file_faults.h"

#include <QFile>
#include <QFontMetricsF>
#include <QPdfWriter>

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <csignal>
#include <filesystem>
#include <mutex>
#include <sstream>
#include <string>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

#include <sys/wait.h>
#include <unistd.h>

namespace vantreth::testing {
namespace {

constexpr double kPageHeight = 11 * 72.0; // Letter, in points
constexpr double kMargin = 36.0;          // half an inch all round
constexpr double kRow = 12.0;             // 1/6 inch

struct Matrix {
    double a = 1, b = 0, c = 0, d = 1, e = 0, f = 0;
    Matrix Then(const Matrix& m) const { // this, then m
        return {a * m.a + b * m.c, a * m.b + b * m.d,       c * m.a + d * m.c,
                c * m.b + d * m.d, e * m.a + f * m.c + m.e, e * m.b + f * m.d + m.f};
    }
};

// Where a text object of a page starts to show glyphs: in points from the paper's left
// and top edges, with the width of one unit of text and the font size, in points.
struct TextAt {
    double x = 0, y = 0, unitWidth = 0, size = 0;
};

// Reads the text objects of one page's content stream (numbers, names, strings and the
// operators q Q cm BT Tf Tm Td Tj TJ; the rest is skipped).
std::vector<TextAt> TextPositions(const QByteArray& content) {
    std::vector<TextAt> found;
    std::vector<double> args;
    std::vector<Matrix> saved;
    Matrix ctm, tm;
    double fontSize = 0;
    bool shown = false;
    auto m = [&args] { return Matrix{args[0], args[1], args[2], args[3], args[4], args[5]}; };
    QByteArray spaced = content;
    std::istringstream in(
        spaced.replace('<', " <").replace('>', "> ").replace('[', ' ').replace(']', ' ').toStdString());
    for (std::string token; in >> token;) {
        if (token[0] == '/' || token[0] == '<')
            continue;
        char* end = nullptr;
        const double value = std::strtod(token.c_str(), &end);
        if (*end == '\0') {
            args.push_back(value);
            continue;
        }
        if (token == "q")
            saved.push_back(ctm);
        else if (token == "Q" && !saved.empty())
            ctm = saved.back(), saved.pop_back();
        else if (token == "cm" && args.size() == 6)
            ctm = m().Then(ctm);
        else if (token == "BT")
            tm = Matrix{}, shown = false;
        else if (token == "Tf" && !args.empty())
            fontSize = args.back();
        else if (token == "Tm" && args.size() == 6)
            tm = m();
        else if (token == "Td" && args.size() == 2)
            tm = Matrix{1, 0, 0, 1, args[0], args[1]}.Then(tm);
        else if ((token == "Tj" || token == "TJ") && !shown) {
            shown = true;
            const Matrix at = tm.Then(ctm);
            found.push_back(
                {at.e, kPageHeight - at.f, std::hypot(at.a, at.b), fontSize * std::hypot(at.c, at.d)});
        }
        args.clear();
    }
    return found;
}

// The text of every page of the PDF file: its compressed content streams that show text.
std::vector<std::vector<TextAt>> PagesOf(const std::filesystem::path& file) {
    QFile pdf(QString::fromStdString(file.string()));
    EXPECT_TRUE(pdf.open(QIODevice::ReadOnly));
    const QByteArray bytes = pdf.readAll();
    std::vector<std::vector<TextAt>> pages;
    for (qsizetype at = bytes.indexOf("stream\n"); at >= 0; at = bytes.indexOf("stream\n", at)) {
        at += 7;
        const qsizetype end = bytes.indexOf("endstream", at);
        if (end < 0 || bytes[at] != '\x78') // not compressed: a font file
            continue;
        // qUncompress wants the size first; it grows its buffer as it needs.
        const QByteArray content = qUncompress(QByteArray("\x00\x01\x00\x00", 4) + bytes.mid(at, end - at));
        if (content.contains("BT"))
            pages.push_back(TextPositions(content));
        at = end;
    }
    return pages;
}

// The printer's font as the PDF file draws it, in points: ascent, descent, a text's width.
struct Extent {
    double ascent = 0, descent = 0, width = 0;
};
Extent FontExtent(double size, const QString& text = QString()) {
    QPdfWriter writer(QStringLiteral("/dev/null"));
    writer.setResolution(1200);
    QFont font(QStringLiteral("Courier"));
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    font.setPointSizeF(size);
    const QFontMetricsF metrics(font, &writer);
    const double toPoints = 72.0 / 1200;
    return {metrics.ascent() * toPoints, metrics.descent() * toPoints,
            metrics.horizontalAdvance(text) * toPoints};
}

platform::PrintedPage Page(int lines, const std::string& text) {
    platform::PrintedPage page;
    for (int r = 0; r < lines; ++r)
        page.lines.push_back({text + " " + std::to_string(r + 1), false, 10});
    return page;
}

TEST(QtPrinterPages, EveryLineAdvancesOneSixthInchInsideTheMargins) {
    TempFolder folder;
    gui::QtPrinter printer(folder.path(), false);
    platform::PrintJob job;
    job.pages = {Page(60, "FIRST"), Page(60, "SECOND"), Page(7, "LAST")};
    job.pages[1].lines[59].bold = true;
    printer.Submit(job);

    const auto pages = PagesOf(printer.lastFile());
    ASSERT_EQ(pages.size(), job.pages.size());
    for (size_t p = 0; p < pages.size(); ++p) {
        const std::vector<TextAt>& lines = pages[p];
        ASSERT_EQ(lines.size(), job.pages[p].lines.size()) << "page " << p + 1;
        for (size_t r = 0; r < lines.size(); ++r) {
            SCOPED_TRACE("page " + std::to_string(p + 1) + ", line " + std::to_string(r + 1));
            // Bold or not, a line sits on the grid of the plain font of its size, in its row.
            const Extent font = FontExtent(lines[r].size);
            EXPECT_NEAR(lines[r].x, kMargin, 0.01);
            EXPECT_NEAR(lines[r].y, lines[0].y + r * kRow, 0.01);
            EXPECT_GE(lines[r].y - font.ascent, kMargin + r * kRow - 0.01);
            EXPECT_LE(lines[r].y + font.descent, kMargin + (r + 1) * kRow + 0.01);
            EXPECT_DOUBLE_EQ(lines[r].size, lines[0].size);
        }
        EXPECT_GT(lines[0].size, 9.0);
        EXPECT_LE(lines[0].size, 10.05);
    }
}

TEST(QtPrinterPages, ALineWiderThanThePageIsDrawnNarrower) {
    TempFolder folder;
    gui::QtPrinter printer(folder.path(), false);
    platform::PrintJob job;
    const std::string narrow(80, 'X'), wide(120, 'X');
    job.pages.push_back({{{narrow + "          ", false, 10}, {wide, false, 10}}});
    printer.Submit(job);

    const auto pages = PagesOf(printer.lastFile());
    ASSERT_EQ(pages.size(), 1u);
    ASSERT_EQ(pages[0].size(), 2u);
    const TextAt &normal = pages[0][0], &squeezed = pages[0][1];
    const double wideWidth = FontExtent(normal.size, QString::fromStdString(wide)).width;
    ASSERT_GT(wideWidth, 7.5 * 72);
    EXPECT_NEAR(squeezed.unitWidth / normal.unitWidth * wideWidth, 7.5 * 72, 0.5) << "squeezed to the page";
    EXPECT_NEAR(squeezed.x, kMargin, 0.01);
}

// With print_to_printer the saved PDFs are handed to the system's printing away from the
// window: a job the system does not take comes back as one box per step, naming the first
// reports and the count and keeping the PDFs; a system that does not answer is waited for
// once a step, and never by the window. A document of a step that is undone leaves nothing.
TEST(QtPrinterToPrinter, AStepThePrinterDoesNotTakeIsOneBoxAndKeepsItsPdfs) {
    struct Spooler final : platform::PrintSpooler {
        bool hangs = false;
        std::mutex mutex;
        std::vector<std::pair<std::filesystem::path, std::string>> handed;
        void Hand(const std::filesystem::path& pdf, const std::string& title) override {
            {
                std::lock_guard lock(mutex);
                handed.emplace_back(pdf, title);
            }
            if (hangs) {
                std::this_thread::sleep_for(std::chrono::milliseconds(300));
                throw platform::PrintNoAnswer("the print command lp did not answer within 30 seconds");
            }
            throw platform::PrintError("lp: Destination \"Q\" is not accepting jobs.");
        }
    };
    auto told = [](gui::QtPrinter& printer) {
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        std::vector<std::string> boxes;
        while (boxes.empty() && std::chrono::steady_clock::now() < until) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
            boxes = printer.TakeNotPrinted();
        }
        EXPECT_FALSE(printer.HandingOver());
        return boxes;
    };
    platform::PrintJob shift;
    shift.pages.push_back({{{"", false, 10}, {"   SHIFT   REPORT", true, 12}}});
    {
        Spooler spooler;
        TempFolder folder;
        gui::QtPrinter printer(folder.path(), true, &spooler);
        printer.Prepare(shift).reset();
        EXPECT_TRUE(std::filesystem::is_empty(folder.path()));
        printer.Submit(shift);
        const std::vector<std::string> boxes = told(printer);
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0], "The report could not be printed: \"SHIFT REPORT\" (lp: Destination \"Q\" is not "
                            "accepting jobs); its PDF is kept as " +
                                printer.lastFile().string() + ".");
        ASSERT_EQ(spooler.handed.size(), 1u);
        EXPECT_EQ(spooler.handed[0], std::make_pair(printer.lastFile(), std::string("SHIFT REPORT")));
        EXPECT_TRUE(std::filesystem::is_regular_file(printer.lastFile()));
    }
    for (const bool hangs : {false, true}) {
        SCOPED_TRACE(hangs ? "a printer that hangs" : "a printer that refuses");
        Spooler spooler;
        spooler.hangs = hangs;
        TempFolder folder;
        gui::QtPrinter printer(folder.path(), true, &spooler);
        platform::Printer steps(
            printer, [] { return true; }, platform::FilePath::Outside(folder.path()));
        for (int n = 1; n <= 7; ++n) {
            steps.Title("Folio, room " + std::to_string(n));
            steps.Print("Vantreth Motel");
            steps.EndDoc();
        }
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(steps.Release(), "");
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(200))
            << "the window waited";
        const std::vector<std::string> boxes = told(printer);
        ASSERT_EQ(boxes.size(), 1u);
        const std::string& box = boxes[0];
        EXPECT_EQ(box.rfind("7 reports could not be printed (", 0), 0u) << box;
        EXPECT_NE(box.find("\"Folio, room 5\"\nand 2 more.\nTheir PDFs are kept in the folder " +
                           folder.path().string() + "."),
                  std::string::npos)
            << box;
        EXPECT_EQ(box.find("room 6"), std::string::npos) << box;
        EXPECT_EQ(spooler.handed.size(), hangs ? 1u : 7u)
            << "a printer that does not answer is waited for once";
        EXPECT_EQ(spooler.handed.back().second, hangs ? "Folio, room 1" : "Folio, room 7");
        size_t pdfs = 0;
        for (const auto& entry : std::filesystem::directory_iterator(folder.path()))
            pdfs += entry.path().extension() == ".pdf";
        EXPECT_EQ(pdfs, 7u);
    }
}

// A report made outside a step goes to the printer only once it has its name: one that cannot
// be given its name is never handed over.
TEST(QtPrinterToPrinter, AReportMadeOutsideAStepIsHandedOverOnlyUnderItsName) {
    struct Spooler final : platform::PrintSpooler {
        std::mutex mutex;
        std::vector<bool> named; // whether the file had its name, for each hand-over
        void Hand(const std::filesystem::path& pdf, const std::string&) override {
            std::lock_guard lock(mutex);
            named.push_back(std::filesystem::is_regular_file(pdf));
        }
    };
    platform::PrintJob job;
    job.pages.push_back({{{"SHIFT REPORT", false, 10}}});
    for (const bool blocked : {false, true}) {
        SCOPED_TRACE(blocked ? "its name taken by a folder" : "its name free");
        Spooler spooler;
        TempFolder folder;
        {
            gui::QtPrinter printer(folder.path(), true, &spooler);
            std::unique_ptr<platform::PreparedPrint> prepared = printer.Prepare(job);
            if (blocked) {
                // "<name>.XXXXXX.vantreth-saving" is stored: a folder takes "<name>".
                for (const auto& entry : std::filesystem::directory_iterator(folder.path())) {
                    std::string name = entry.path().filename().string();
                    name.resize(name.size() - platform::kSavingSuffix.size() - 7);
                    std::filesystem::create_directories(folder.path() / name / "x");
                }
                EXPECT_THROW(prepared->Publish(), platform::PrintError);
            } else {
                prepared->Publish();
            }
            for (int waited = 0; printer.HandingOver() && waited < 500; ++waited) {
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
                printer.TakeNotPrinted();
            }
        }
        EXPECT_EQ(spooler.named, blocked ? std::vector<bool>{} : std::vector<bool>{true});
    }
}

// A step that prints three folios is stopped at each change it makes to the disk (killed, the
// power cut) or has that change fail. At the next start, once the saved steps are in the
// files: a saved step's reports not handed over are told in one box, their PDFs whole where
// it says; a step that was not saved printed nothing, kept no PDF and tells nothing.
class StoppedStep : public ::testing::Test {
protected:
    struct Spooler final : platform::PrintSpooler {
        std::mutex mutex;
        std::vector<std::string> handed;
        void Hand(const std::filesystem::path&, const std::string& title) override {
            std::lock_guard lock(mutex);
            handed.push_back(title);
        }
    };
    // The step: a change of its own and three folios.
    static void Step(platform::Printer& steps, const platform::DataFolder& data) {
        platform::ReplaceFileContent(data.File("saved"), "yes");
        for (int n = 1; n <= 3; ++n) {
            steps.Title("Folio, room " + std::to_string(n));
            steps.Print("Vantreth Motel");
            steps.EndDoc();
        }
    }
    // The next start: what the clerk is told, and whether the step was saved.
    static std::pair<std::string, bool> Restart() {
        platform::Engine journal(root());
        journal.Recover();
        const platform::DataFolder data(root(), &journal);
        Spooler spooler;
        gui::QtPrinter printer(print(), true, &spooler);
        printer.OpenIn(data);
        const std::string told = printer.LeftBehind();
        EXPECT_EQ(printer.LeftBehind(), told) << "told until shown";
        printer.NotPrintedShown();
        EXPECT_EQ(printer.LeftBehind(), "") << "told once shown";
        return {told, platform::ReadFile(data.File("saved")).value_or("") == "yes"};
    }
    static size_t WholePdfs() {
        size_t whole = 0;
        for (const auto& entry : std::filesystem::directory_iterator(print()))
            if (entry.path().extension() == ".pdf") {
                EXPECT_TRUE(platform::IsCompletePdf(
                    platform::ReadFile(platform::FilePath::Outside(entry.path())).value_or("")));
                ++whole;
            }
        return whole;
    }
    static std::string AllThreeTold() {
        return "3 reports could not be printed (the program was stopped while handing reports to the "
               "printer):\n\"Folio, room 1\"\n\"Folio, room 2\"\n\"Folio, room 3\"\nTheir PDFs are kept "
               "in the folder " +
               print().string() + ".";
    }
    static std::filesystem::path root() { return s_root; }
    static std::filesystem::path print() { return s_root / "print"; }

    void SetUp() override {
        m_data = std::make_unique<TempFolder>();
        s_root = m_data->path();
        std::filesystem::create_directories(print());
    }
    std::unique_ptr<TempFolder> m_data;
    static inline std::filesystem::path s_root;
};

TEST_F(StoppedStep, AtEachChangeASavedStepsReportsArePrintedOrToldAndAnUnsavedOnesNeither) {
    using Kind = platform::FileFaults::Kind;
    const struct {
        const char* what;
        Kind kind;
        bool powerCut;
    } ways[] = {{"killed", Kind::Crash, false},
                {"the power cut", Kind::Crash, true},
                {"a change that fails", Kind::Fail, false}};
    for (const auto& way : ways) {
        int stoppedSaved = 0; // stops after the commit point
        for (long n = 1;; ++n) {
            SCOPED_TRACE(std::string(way.what) + " at change " + std::to_string(n));
            SetUp();
            Spooler spooler;
            bool stopped = false, failed = false, reached = false;
            {
                vantreth::testing::CountingFaults faults;
                faults.TrackFlushes(way.powerCut);
                platform::Engine journal(root());
                vantreth::testing::FaultsGiven given(journal, faults);
                journal.Recover();
                const platform::DataFolder data(root(), &journal);
                gui::QtPrinter printer(print(), true, &spooler);
                printer.OpenIn(data);
                platform::Printer steps(
                    printer, [] { return true; }, data.FileAt(root()));
                faults.Forget();
                faults.Arm(n, way.kind);
                try {
                    platform::Transaction step(journal, "Printing the folios");
                    try {
                        Step(steps, data);
                        step.Commit();
                        reached = faults.count() >= n;
                        faults.Disarm();
                        steps.Release();
                    } catch (const platform::IoError&) {
                        reached = failed = true;
                        steps.Drop();
                        step.Rollback();
                    }
                } catch (const platform::SimulatedCrash&) {
                    reached = stopped = true;
                    if (way.powerCut)
                        faults.LoseUnflushed();
                }
                faults.Disarm();
                faults.TrackFlushes(false);
                for (int waited = 0; printer.HandingOver() && waited < 500; ++waited)
                    std::this_thread::sleep_for(std::chrono::milliseconds(10));
            }
            const auto [told, saved] = Restart();
            if (!stopped) {
                EXPECT_EQ(saved, !failed);
            }
            if (stopped && saved) {
                ++stoppedSaved;
                EXPECT_TRUE(spooler.handed.empty());
                EXPECT_EQ(told, AllThreeTold());
                EXPECT_EQ(WholePdfs(), 3u);
            } else if (saved) {
                EXPECT_EQ(spooler.handed,
                          (std::vector<std::string>{"Folio, room 1", "Folio, room 2", "Folio, room 3"}));
                EXPECT_EQ(told, "");
            } else {
                EXPECT_TRUE(spooler.handed.empty());
                EXPECT_EQ(told, "");
                EXPECT_EQ(WholePdfs(), 0u);
            }
            if (!reached || HasFailure())
                break;
        }
        EXPECT_EQ(stoppedSaved > 0, way.kind == Kind::Crash) << way.what;
    }
}

// The program killed outright the moment a step is saved, before any of its files is
// written: its next start, once the saved steps are in the files, tells each of the step's
// reports in a box, and where its PDF is.
TEST_F(StoppedStep, KilledAtTheCommitPointItsReportsAreToldAtTheNextStart) {
    struct KillAfterCommit final : platform::FileFaults {
        bool committed = false;
        Fault BeforeChange(const std::filesystem::path&, size_t) override { return {}; }
        Fault Before(const Change& change) override {
            if (committed)
                ::raise(SIGKILL);
            committed = change.op == Op::Flush && change.file.filename() == platform::kJournalName;
            return {};
        }
    };
    struct Desk final : platform::Form {
        explicit Desk(platform::Program& program) : Form(program, "Desk", "Desk", {0, 0, 300, 200}) {}
    };
    struct Run {
        Spooler spooler;
        platform::FakeClock clock;
        platform::ScriptedDialogs dialogs;
        platform::RecordingShell shell;
        gui::QtPrinter printer{print(), true, &spooler};
        platform::Program program{{&clock, &dialogs, &printer, &shell, root(), {}}};
        Run() {
            program.Register("Desk", [](platform::Program& p) { return std::make_unique<Desk>(p); });
            dialogs.AnswerAlways("Printer Error", platform::vbOK);
            dialogs.AnswerAlways("Data Folder", platform::vbOK); // the last step found saved
            program.Start("Desk");
        }
    };
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        Run run;
        run.program.Dispatch([&] { platform::ReplaceFileContent(run.program.data().File("saved"), "no"); });
        run.program.TimePassed(1); // a quiet moment: that step is in the files
        KillAfterCommit kill;      // its first flush is the commit point of the next step
        run.program.engine().SetFaults(&kill);
        run.program.Dispatch([&] { Step(run.program.printer(), run.program.data()); }, "Printing the folios");
        run.program.TimePassed(1); // the quiet moment after it writes its files
        ::_exit(0);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << "not killed at the commit point";
    Run next;
    EXPECT_EQ(platform::ReadFile(next.program.data().File("saved")).value_or(""), "yes");
    std::vector<std::string> told;
    for (const auto& shown : next.dialogs.shown())
        if (shown.title == "Printer Error")
            told.push_back(shown.prompt);
    EXPECT_EQ(told, std::vector<std::string>{AllThreeTold()});
    EXPECT_EQ(WholePdfs(), 3u);
}

// A saved step's reports reach the printer from its files: each PDF is whole on the disk when
// it is handed over, though the program writes a step's files at the quiet moment after it.
TEST_F(StoppedStep, ASavedStepsReportsAreWholeOnTheDiskWhenHandedOver) {
    struct Whole final : platform::PrintSpooler {
        std::mutex mutex;
        std::vector<bool> whole; // for each hand-over
        void Hand(const std::filesystem::path& pdf, const std::string&) override {
            const bool complete =
                platform::IsCompletePdf(platform::ReadFile(platform::FilePath::Outside(pdf)).value_or(""));
            std::lock_guard lock(mutex);
            whole.push_back(complete);
        }
    } spooler;
    struct Desk final : platform::Form {
        explicit Desk(platform::Program& program) : Form(program, "Desk", "Desk", {0, 0, 300, 200}) {}
    };
    platform::FakeClock clock;
    platform::ScriptedDialogs dialogs;
    platform::RecordingShell shell;
    gui::QtPrinter printer{print(), true, &spooler};
    platform::Program program{{&clock, &dialogs, &printer, &shell, root(), {}}};
    program.Register("Desk", [](platform::Program& p) { return std::make_unique<Desk>(p); });
    program.Start("Desk");
    program.Dispatch([&] { Step(program.printer(), program.data()); }, "Printing the folios");
    for (int waited = 0; printer.HandingOver() && waited < 500; ++waited)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    std::lock_guard lock(spooler.mutex);
    EXPECT_EQ(spooler.whole, std::vector<bool>(3, true));
}

// What the program owes the clerk about a saved step's reports is told until the box was shown:
// the program stopped with a "Printer Error" box up (at a step, or at the start) tells it again
// at the next start. A queue whose thread cannot be started after the commit point leaves the
// step saved and tells its reports as not printed, never the step as not finished.
TEST_F(StoppedStep, ABoxAboutReportsIsToldUntilShownAndTheStepStaysSaved) {
    struct Desk final : platform::Form {
        explicit Desk(platform::Program& program) : Form(program, "Desk", "Desk", {0, 0, 300, 200}) {}
    };
    const platform::PrintQueue::ThreadStarter noThread = [](std::function<void()>) -> std::thread {
        throw std::system_error(EAGAIN, std::generic_category(), "cannot start a thread");
    };
    struct Run {
        Spooler spooler;
        platform::FakeClock clock;
        platform::ScriptedDialogs dialogs;
        platform::RecordingShell shell;
        gui::QtPrinter printer;
        platform::Program program{{&clock, &dialogs, &printer, &shell, root(), {}}};
        Run(platform::PrintQueue::ThreadStarter start, bool killedAtTheBox)
            : printer(print(), true, &spooler, std::move(start)) {
            program.Register("Desk", [](platform::Program& p) { return std::make_unique<Desk>(p); });
            dialogs.AnswerAlways("Printer Error", platform::vbOK);
            dialogs.AnswerAlways("Error", platform::vbOK);
            if (killedAtTheBox)
                dialogs.on_shown = [](const platform::ScriptedDialogs::Shown& shown) {
                    if (shown.title == "Printer Error")
                        throw platform::SimulatedCrash{};
                };
            program.Start("Desk");
        }
        std::vector<std::string> Told() const {
            std::vector<std::string> told;
            for (const auto& shown : dialogs.shown())
                told.push_back(shown.title + ": " + shown.prompt);
            return told;
        }
    };
    const std::string notPrinted =
        "Printer Error: 3 reports could not be printed (the program could not start "
        "handing reports to the printer: cannot start a thread: ";
    {
        Run run(noThread, false);
        run.program.Dispatch([&] { Step(run.program.printer(), run.program.data()); }, "Printing the folios");
        const std::vector<std::string> told = run.Told();
        ASSERT_EQ(told.size(), 1u);
        EXPECT_EQ(told[0].rfind(notPrinted, 0), 0u) << told[0];
        EXPECT_EQ(platform::ReadFile(run.program.data().File("saved")).value_or(""), "yes");
    }
    EXPECT_EQ(WholePdfs(), 3u);
    SetUp();
    {
        Run run(noThread, true);
        EXPECT_THROW(run.program.Dispatch([&] { Step(run.program.printer(), run.program.data()); },
                                          "Printing the folios"),
                     platform::SimulatedCrash);
    }
    // Killed with the box up: told at the next start, and at the one after while it is not shown.
    for (const bool killed : {true, false}) {
        std::unique_ptr<Run> run;
        if (killed) {
            EXPECT_THROW(run = std::make_unique<Run>(nullptr, true), platform::SimulatedCrash);
        } else {
            run = std::make_unique<Run>(nullptr, false);
        }
        if (run) {
            EXPECT_EQ(run->Told(), std::vector<std::string>{"Printer Error: " + AllThreeTold()});
        }
    }
    EXPECT_EQ(Run(nullptr, false).Told(), std::vector<std::string>{}) << "told once shown";
}

// Reports finished inside a part of the step that is undone go with that part: they are
// neither kept nor printed, and the rest of the step prints.
TEST_F(StoppedStep, AReportOfAPartUndoneGoesWithIt) {
    Spooler spooler;
    {
        platform::Engine journal(root());
        journal.Recover();
        const platform::DataFolder data(root(), &journal);
        gui::QtPrinter printer(print(), true, &spooler);
        printer.OpenIn(data);
        platform::Printer steps(
            printer, [] { return true; }, data.FileAt(root()));
        platform::Transaction step(journal, "Printing the folios");
        EXPECT_THROW(step.AllOrNothing([&] {
            Step(steps, data);
            throw platform::IoError(root() / "saved", "Disk full");
        }),
                     platform::IoError);
        steps.Title("Folio, room 4");
        steps.Print("Vantreth Motel");
        steps.EndDoc();
        step.Commit();
        steps.Release();
        for (int waited = 0; printer.HandingOver() && waited < 500; ++waited)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_EQ(spooler.handed, std::vector<std::string>{"Folio, room 4"});
    EXPECT_EQ(WholePdfs(), 1u);
    EXPECT_EQ(Restart().first, "");
}

// A folder open only to be looked at refuses a report as it refuses every change, whether
// the report comes through the program's printer or straight to the device: nothing is
// stored, no box about the printer comes, and the step's refusal is the folder's.
TEST_F(StoppedStep, AFolderOnlyLookedAtRefusesAReportAsEveryChange) {
    Spooler spooler;
    platform::Engine journal(root());
    journal.SetReadOnly("the lock cannot be had");
    journal.Recover();
    const platform::DataFolder data(root(), &journal);
    gui::QtPrinter printer(print(), true, &spooler);
    printer.OpenIn(data);
    platform::Printer steps(
        printer, [] { return true; }, data.FileAt(root()));
    platform::PrintJob job;
    job.title = "Folio, room 1";
    job.pages.push_back({{{"Vantreth Motel"}}});
    for (const bool straight : {false, true}) {
        SCOPED_TRACE(straight ? "the device" : "the printer");
        platform::Transaction step(journal, "Printing the folio");
        try {
            if (straight) {
                (void)printer.Prepare(job);
            } else {
                steps.Title(job.title);
                steps.Print("Vantreth Motel");
                steps.EndDoc();
            }
            ADD_FAILURE() << "the report was taken";
        } catch (const platform::FolderReadOnly& e) {
            EXPECT_EQ(e.reason(), "the lock cannot be had");
        }
        EXPECT_EQ(steps.HeldCount(), 0u);
        step.Rollback();
        EXPECT_EQ(steps.Release(), "");
    }
    EXPECT_TRUE(std::filesystem::is_empty(print()));
    EXPECT_TRUE(spooler.handed.empty());
    EXPECT_TRUE(printer.TakeNotPrinted().empty());
}

} // namespace
} // namespace vantreth::testing
