#include "engine/completion_notice.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include "tests/engine/notice_listener.h"
#include "tests/test_support.h"

namespace kivo {
namespace {

TEST(CompletionNotice, SocketNameHashesTheExactTitle) {
    const std::string user = std::to_string(getuid());
    // FNV-1a 64 of "" and of "a".
    EXPECT_EQ(NoticeSocketName(""), "kivo-gui-" + user + "-cbf29ce484222325");
    EXPECT_EQ(NoticeSocketName("a"), "kivo-gui-" + user + "-af63dc4c8601ec8c");
    EXPECT_NE(NoticeSocketName("KIVO GUI - /x/a.kvo"), NoticeSocketName("KIVO GUI - /x/a.kvo "));
    EXPECT_EQ(NoticeSocketPath("t"), "/tmp/" + NoticeSocketName("t"));
}

TEST(CompletionNotice, ReachesOnlyTheFrontEndOfThatSettingsFile) {
    test::TempDir directory;
    const std::string settingsFile = directory.File("run.kvo");
    test::NoticeListener listener(NoticeSocketPath("KIVO GUI - " + settingsFile));
    std::string notice;

    SendCompletionNotice(settingsFile + " ");
    SendCompletionNotice(directory.File("other.kvo"));
    EXPECT_FALSE(listener.Accept(notice));

    SendCompletionNotice(settingsFile);
    ASSERT_TRUE(listener.Accept(notice));
    EXPECT_EQ(notice, "1425\n");
}

// Returns at once without a front end, also when a stale socket file is left.
TEST(CompletionNotice, NobodyListening) {
    test::TempDir directory;
    const std::string settingsFile = directory.File("run.kvo");
    SendCompletionNotice(settingsFile);  // no socket file at all
    const std::string path = NoticeSocketPath("KIVO GUI - " + settingsFile);
    test::NoticeListener::LeaveStaleSocket(path);  // a front end that has gone
    SendCompletionNotice(settingsFile);
    unlink(path.c_str());
}

}  // namespace
}  // namespace kivo
