// A fresh program on a fresh temporary data folder for every test, with a clock, message
// boxes, printer and shell that the test controls and reads back.
#pragma once

#include "app/app.h"
#include "app/headless.h"
#include "support/folder_image.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

namespace vantreth::testing {

class AppFixture : public ::testing::Test {
protected:
    AppFixture();
    ~AppFixture() override;

    // Makes the program anew on the same data folder (a restart).
    void Restart();
    // Makes the program anew on the same folder, open only to be looked at for `reason`.
    void RestartLookingOnly(std::string reason);
    // Starts the program the way the clerk does: the front desk is the first window.
    void StartProgram();

    App& app() { return *m_app; }
    platform::FakeClock& clock() { return m_services.clock; }
    platform::ScriptedDialogs& dialogs() { return m_services.dialogs; }
    platform::CapturePrinter& printer() { return m_services.printer; }
    platform::RecordingShell& shell() { return m_services.shell; }
    const std::filesystem::path& dataRoot() const { return m_data.path(); }
    // A data file as the disk holds it between the clerk's steps: after the quiet moment in which
    // the program writes the steps it saved into the files.
    std::filesystem::path DataFile(const std::string& relative) const {
        Settle();
        return m_data.path() / relative;
    }
    // The quiet moment between two of the clerk's steps: the steps saved go into the files.
    void Settle() const {
        if (m_app)
            m_app->engine().WriteCommitted();
    }
    // A data file read and changed on the disk beside the program, between its steps: not
    // through the program's engine.
    platform::FilePath OnDisk(const std::string& relative) const {
        return platform::FilePath::Outside(DataFile(relative));
    }

    // The whole content of a data file ("" when it does not exist).
    std::string ReadBytes(const std::string& relative) const;
    void WriteBytes(const std::string& relative, const std::string& bytes) const;
    bool Exists(const std::string& relative) const { return std::filesystem::exists(DataFile(relative)); }
    // Every file of the data folder with its bytes.
    FolderImage DataImage(EmptyFiles empty = EmptyFiles::Kept) const {
        Settle();
        return ImageOf(dataRoot(), empty);
    }

    template <class F> F& Form() { return app().Get<F>(); }
    bool IsLoaded(const std::string& name) { return app().IsLoaded(name); }
    // Loads the window as one step of the clerk's.
    void LoadWindow(platform::Form& form) {
        app().Dispatch([&] { app().Load(form); });
    }
    // Replaces what the box (a text or combo box) holds by what the clerk types: Backspace over
    // every character, then the text. The box must be on a loaded window and take keys; it shows
    // `shown` then (the text typed when not given).
    template <class Box> void Retype(Box& box, const std::string& text, const char* shown = nullptr) {
        ASSERT_TRUE(box.Parent().Loaded() && box.Usable()) << box.Name() << " cannot be typed into";
        for (size_t n = box.Text().size(); n > 0; --n)
            box.UserType(platform::vbKeyBack);
        ASSERT_EQ(box.Text(), "") << box.Name();
        box.UserTypeText(text);
        ASSERT_EQ(box.Text(), shown ? shown : text) << box.Name();
    }

    // Sets the clock: Now(12, 6, 2026, 9, 0, 0).
    void SetNow(int month, int day, int year, int hour, int minute, int second);

    // Every box must be answered in the test; this checks none is left over.
    void ExpectNoPendingAnswers() {
        EXPECT_EQ(m_services.dialogs.pending(), 0u) << "answers queued but never used";
    }
    // The last box shown, for checking its text and title.
    const platform::ScriptedDialogs::Shown& LastBox() const;

private:
    TempFolder m_data;
    HeadlessServices m_services;
    std::unique_ptr<App> m_app;
};

} // namespace vantreth::testing
