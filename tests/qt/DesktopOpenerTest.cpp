#include "platform/qt/DesktopOpener.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <chrono>

#include "QtFixture.h"

namespace {

using platform::qt::OpenerResult;
using platform::qt::RunOpener;
using namespace std::chrono_literals;

// The opener's verdict decides whether the help was shown: it ended well, or it runs on (a
// browser of its own in the foreground) and the program goes on after the wait; it failed, as
// xdg-open does when no browser is there, or crashed; or it is not there at all.
TEST(DesktopOpener, TheOpenersVerdictDecides) {
    ScratchFolder folder;
    struct Case {
        const char* script;  // run by sh with the page as $1
        OpenerResult result;
    };
    const Case cases[] = {
        {"test \"$1\" = /strona.html", OpenerResult::Opened},
        {"test \"$1\" = /inna.html", OpenerResult::Failed},
        {"exit 3", OpenerResult::Failed},
        {"kill -KILL $$", OpenerResult::Failed},
        {"exec sleep 2", OpenerResult::Opened},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.script);
        QElapsedTimer clock;
        clock.start();
        EXPECT_EQ(RunOpener("sh", {"-c", c.script, "opener", "/strona.html"}, 300ms), c.result);
        EXPECT_LT(clock.elapsed(), 2000);
    }
    EXPECT_EQ(RunOpener(QString::fromStdString(folder.Path("brak-programu")), {}, 300ms),
              OpenerResult::NotStarted);
}

}  // namespace
