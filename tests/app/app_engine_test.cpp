// The program as the clerk runs it, over its storage engine: what it gives the engine.
#include "platform/engine.h"
#include "records/filenames.h"
#include "support/app_fixture.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace platform {
namespace {

using ProgramReachTest = vantreth::testing::AppFixture;

// The program gives its engine how far each kind of file reaches: a step writing a one-record
// file past its record is refused, nothing of it saved.
TEST_F(ProgramReachTest, AStepWritingPastWhereAFileOfItsKindReachesIsRefused) {
    for (const std::string_view kind : {records::kFolioFile, records::kDateStatusFile}) {
        const long long reach = records::OneRecordFileLength(kind).value();
        PendingChanges changes;
        changes.Write(FilePath(DataFile(std::string(kind)), &app().engine()), reach, "x");
        try {
            app().engine().Commit("writing too far", changes);
            ADD_FAILURE() << kind << ": written past byte " << reach;
        } catch (const IoError& e) {
            EXPECT_NE(std::string(e.what()).find("where no file of its kind reaches"), std::string::npos)
                << e.what();
        }
        EXPECT_LE(static_cast<long long>(ReadBytes(std::string(kind)).size()), reach) << kind;
    }
}

} // namespace
} // namespace platform
