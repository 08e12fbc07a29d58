// Tests of the installation settings file: defaults, reading, writing it out.
#include "platform/engine.h"
#include "platform/files.h"
#include "records/motel_settings.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace records {
namespace {

namespace fs = std::filesystem;

class SettingsTest : public ::testing::Test {
protected:
    void Write(std::string_view text) const { std::ofstream(m_dir / "settings", std::ios::binary) << text; }
    // The settings file, read and written on the disk (the folder is not open).
    platform::FilePath SettingsFile() const { return platform::FilePath::Outside(m_dir / "settings"); }

    vantreth::testing::TempFolder m_temp;
    const fs::path m_dir = m_temp.path();
};

TEST_F(SettingsTest, MissingFileGivesDefaultsAndIsWrittenOut) {
    MotelSettings s = MotelSettings::Load(SettingsFile());
    const MotelSettings defaults;
    EXPECT_EQ(s.motelName, defaults.motelName);
    EXPECT_EQ(s.callBoxDevice, "");
    EXPECT_TRUE(s.printToPrinter);
    ASSERT_TRUE(fs::exists(m_dir / "settings"));

    std::ifstream in(m_dir / "settings");
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_NE(text.str().find("motel_name = Vantreth Motel\n"), std::string::npos) << text.str();
    EXPECT_NE(text.str().find("print_to_printer = yes\n"), std::string::npos) << text.str();
    EXPECT_NE(text.str().find("\n# "), std::string::npos) << "the file explains itself";
}

// A new settings file sends the reports to the printer only when the computer has one; a
// file that exists is read as it stands, without asking.
TEST_F(SettingsTest, FirstStartPrintsOnlyWithADefaultPrinter) {
    for (const bool printer : {true, false}) {
        fs::remove(m_dir / "settings");
        int asked = 0;
        auto hasPrinter = [&] { return ++asked, printer; };
        EXPECT_EQ(MotelSettings::Load(SettingsFile(), nullptr, hasPrinter).printToPrinter, printer);
        std::ifstream in(m_dir / "settings");
        std::stringstream text;
        text << in.rdbuf();
        EXPECT_NE(text.str().find(printer ? "print_to_printer = yes\n" : "print_to_printer = no\n"),
                  std::string::npos)
            << text.str();
        EXPECT_EQ(MotelSettings::Load(SettingsFile(), nullptr, [printer] { return !printer; }).printToPrinter,
                  printer);
        EXPECT_EQ(asked, 1);
    }
}

TEST_F(SettingsTest, MissingFolderGivesDefaultsWithoutFailing) {
    MotelSettings s = MotelSettings::Load(platform::FilePath::Outside(m_dir / "none" / "settings"));
    EXPECT_EQ(s.street, MotelSettings().street);
    EXPECT_FALSE(fs::exists(m_dir / "none"));
}

TEST_F(SettingsTest, KeysAreReadAndTheRestIgnored) {
    Write("# my motel\r\n"
          "motel_name =  Sleepy Pines  \r\n"
          "  street=12 Route 9\n"
          "TOWN = Hilltop, OR 97000\n"
          "unknown = whatever\n"
          "no equals sign here\n"
          "phone = (555) 555-0199 # ext 2\n"
          "support_mail = desk@sleepy.example\n"
          "call_box_device = /dev/ttyUSB0\n"
          "print_to_printer = No\n");
    MotelSettings s = MotelSettings::Load(SettingsFile());
    EXPECT_EQ(s.motelName, "Sleepy Pines");
    EXPECT_EQ(s.street, "12 Route 9");
    EXPECT_EQ(s.town, "Hilltop, OR 97000");
    EXPECT_EQ(s.phone, "(555) 555-0199 # ext 2");
    EXPECT_EQ(s.supportMail, "desk@sleepy.example");
    EXPECT_EQ(s.callBoxDevice, "/dev/ttyUSB0");
    EXPECT_FALSE(s.printToPrinter);
}

TEST_F(SettingsTest, MissingKeysAndBadFlagsKeepDefaults) {
    Write("motel_name = Only Name\nprint_to_printer = maybe\n");
    MotelSettings s = MotelSettings::Load(SettingsFile());
    EXPECT_EQ(s.motelName, "Only Name");
    EXPECT_EQ(s.town, MotelSettings().town);
    EXPECT_TRUE(s.printToPrinter);
}

TEST_F(SettingsTest, SaveAndLoadRoundTripIncludingAccents) {
    MotelSettings s;
    s.motelName = "Caf\xE9 Motel"; // Windows-1252 é
    s.street = "1 Rue \x80 Way";   // €
    s.callBoxDevice = "none";
    s.printToPrinter = false;
    s.Save(SettingsFile());

    std::ifstream in(m_dir / "settings");
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_NE(text.str().find("motel_name = Caf\xC3\xA9 Motel\n"), std::string::npos) << "stored as UTF-8";

    MotelSettings back = MotelSettings::Load(SettingsFile());
    EXPECT_EQ(back.motelName, s.motelName);
    EXPECT_EQ(back.street, s.street);
    EXPECT_EQ(back.callBoxDevice, "none");
    EXPECT_FALSE(back.printToPrinter);
}

TEST_F(SettingsTest, QuotedValuesKeepTheirBlanksAndLetterheadLinesAreSetOneByOne) {
    Write("motel_name = \"  Pines  \"\n"
          "toll_free = 1-800-555-0100\n"
          "fax =   555-0102  \n"
          "letterhead_line1 = \"                               PINES MOTEL\"\n"
          "LETTERHEAD_LINE3 = \"\"\n"
          "letterhead_line4 =\n"
          "letterhead_line5 = \"not a line\"\n"
          "# letterhead_line2 = \"commented out\"\n");
    MotelSettings s = MotelSettings::Load(SettingsFile());
    EXPECT_EQ(s.motelName, "  Pines  ");
    EXPECT_EQ(s.tollFree, "1-800-555-0100");
    EXPECT_EQ(s.fax, "555-0102");
    const std::array<std::optional<std::string>, 4> set = {std::string(31, ' ') + "PINES MOTEL", std::nullopt,
                                                           std::string(), std::nullopt};
    EXPECT_EQ(s.letterheadLines, set) << "an empty value leaves the line built; \"\" is an empty line";
    const std::array<std::string, 4> letterhead = {
        std::string(31, ' ') + "PINES MOTEL", std::string(31, ' ') + MotelSettings().street, "",
        "  Phone: " + MotelSettings().phone + "    Toll Free: 1-800-555-0100    Fax:555-0102"};
    EXPECT_EQ(s.Letterhead(), letterhead);
}

TEST_F(SettingsTest, LetterheadLinesAndBlankEdgedValuesRoundTrip) {
    MotelSettings s;
    s.motelName = " Edge ";
    s.fax = "555-0102";
    s.letterheadLines[1] = "    12 ROUTE 9";
    s.letterheadLines[3] = "";
    s.Save(SettingsFile());

    std::ifstream in(m_dir / "settings");
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_NE(text.str().find("\nletterhead_line2 = \"    12 ROUTE 9\"\n"), std::string::npos) << text.str();
    EXPECT_NE(text.str().find("\n# letterhead_line1 = \"" + std::string(31, ' ') + " Edge \"\n"),
              std::string::npos)
        << "a line not set is shown as built, commented out";
    EXPECT_NE(text.str().find("\ntoll_free = \n"), std::string::npos) << text.str();

    MotelSettings back = MotelSettings::Load(SettingsFile());
    EXPECT_EQ(back.motelName, " Edge ");
    EXPECT_EQ(back.fax, "555-0102");
    EXPECT_EQ(back.letterheadLines, s.letterheadLines);
    EXPECT_EQ(back.Letterhead(), s.Letterhead());
}

// The defaults stand when the file cannot be written at the first start (a full disk) or
// cannot be read, and the clerk is told which.
TEST_F(SettingsTest, AFileThatCannotBeWrittenOrReadIsSaid) {
    struct DiskFull final : platform::FileFaults {
        Fault BeforeChange(const fs::path&, size_t) override { return {Kind::Fail, ENOSPC}; }
    };
    struct Case {
        const char* name;
        bool diskFull, folderInItsPlace;
        const char* told; // "" for nothing
    };
    const Case cases[] = {
        {"a first start", false, false, ""},
        {"a first start on a full disk", true, false, "could not be written (No space left"},
        {"a folder in its place", false, true, "could not be read"}};
    for (const Case& c : cases) {
        vantreth::testing::TempFolder temp;
        const fs::path file = temp.path() / "settings";
        if (c.folderInItsPlace)
            fs::create_directory(file);
        DiskFull full;
        platform::Engine engine(temp.path(), c.diskFull ? &full : nullptr);
        std::string told;
        const MotelSettings s = MotelSettings::Load(platform::FilePath(file, &engine), &told);
        EXPECT_EQ(s.motelName, MotelSettings().motelName) << c.name;
        if (*c.told == '\0')
            EXPECT_EQ(told, "") << c.name;
        else
            EXPECT_NE(told.find(c.told), std::string::npos) << c.name << ": " << told;
        EXPECT_EQ(fs::is_regular_file(file), *c.told == '\0') << c.name;
    }
}

} // namespace
} // namespace records

namespace records {
namespace {

// A folder only looked at gets no settings file written: the defaults are given all the same.
TEST_F(SettingsTest, AMissingFileIsWrittenOnlyWhereTheFolderMayBeWritten) {
    for (const bool mayWrite : {false, true}) {
        fs::remove(m_dir / "settings");
        std::string problem;
        const MotelSettings s = MotelSettings::Load(SettingsFile(), &problem, nullptr, mayWrite);
        EXPECT_EQ(s.motelName, MotelSettings().motelName) << mayWrite;
        EXPECT_EQ(fs::exists(m_dir / "settings"), mayWrite);
        EXPECT_TRUE(problem.empty()) << problem;
    }
}

} // namespace
} // namespace records
