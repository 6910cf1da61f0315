// Native build only: what the in-memory files can force that Windows under
// Wine cannot - a write cut short, which leaves the file as it was - and which
// rewrites are announced.
#include <gtest/gtest.h>

#include "DataFiles.h"

namespace {

using namespace datatest;
namespace mf = tr::memfiles;

// Write gives 1 either way; the last error names the failing call.
TEST(NativeFiles, AShortWriteIsAnnouncedALockedFileIsNotTheErrorTellsThemApart) {
    Files files;
    ASSERT_TRUE(files.Put("out.dat", "old"));
    CTrNumeralKeyDB db;
    db.Add(CTrNumeralKeyData(1));
    mf::FailWritesAfter(10);
    ::SetLastError(0xdeadbeef);
    EXPECT_EQ(1, db.Write(files.Path("out.dat")));
    EXPECT_EQ(ERROR_DISK_FULL, ::GetLastError());
    EXPECT_EQ("old", files.Get("out.dat"));  // the cut rewrite replaced nothing
    EXPECT_EQ(1, mf::Announcements());
    mf::SetLocked(files.Path("out.dat"), true);
    EXPECT_EQ(1, db.Write(files.Path("out.dat")));
    EXPECT_EQ(ERROR_SHARING_VIOLATION, ::GetLastError());
    EXPECT_EQ(1, mf::Announcements());  // a file that cannot be opened is not announced
    // String-key files are announced as numeral-key ones are; the jog menu is not.
    EXPECT_EQ(1, CTrStringKeyDB().Write(files.Path("s.dat")));
    EXPECT_EQ(2, mf::Announcements());
    EXPECT_EQ(1, CTrJogDataDB().Write(files.Path("j.dat")));
    EXPECT_EQ(2, mf::Announcements());
}

}  // namespace
