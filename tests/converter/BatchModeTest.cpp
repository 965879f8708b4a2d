// The command-line batch mode, run by the main window's creation handler against the fake
// library.
#include <gtest/gtest.h>

#include "ConverterFixture.h"
#include "platform/GlobalMemory.h"

using BatchModeTest = ConverterTest;

TEST_F(BatchModeTest, LowerCaseKeysConvertAMapAndTheProgramEndsWhenShown) {
    {
        auto app = Start({"map=a.map", "cfg=b.ini", "shpdir=c:\\out", "action=map2shp"});
        EXPECT_TRUE(app->Form1().FBatchDone());
        EXPECT_EQ(app->Form1().FServer(), nullptr);
        EXPECT_EQ(CallsAfterLoad(),
                  (Lines{"new|1", "1|14|LoadMap|a.map", "1|19|SetBatchConfig|b.ini|c:\\out|0|0",
                         "1|12|ExportMap", "delete|1"}));
        forms->QueueForm([](platform::Form&) { ADD_FAILURE() << "no user may act"; });
        app->Run();
        EXPECT_FALSE(app->Form1().Showing());
        EXPECT_EQ(forms->PendingScripts(), 1u);  // the window closed before anyone could act
        forms->Reset();
    }
    EXPECT_EQ(Calls().back(), "unload");
    // b.ini is not there: the conversion ran with the defaults, after a warning.
    EXPECT_EQ(MessageTexts(), (Lines{"Brak pliku konfiguracji; konwersja z ustawieniami "
                                     "domyślnymi: b.ini"}));
}

TEST_F(BatchModeTest, ShpToMapOpensTheShapefileAndWritesTheMap) {
    auto app = Start({"ACTION=SHP2MAP", "SHP=d.shp", "CFG=b.ini", "MAP=e.map"});
    EXPECT_EQ(CallsAfterLoad(),
              (Lines{"new|1", "1|1|OpenFile|d.shp", "1|19|SetBatchConfig|b.ini|0|0|0",
                     "1|11|SaveAsMap|e.map|0", "delete|1"}));
    EXPECT_TRUE(app->Form1().FBatchDone());
}

TEST_F(BatchModeTest, AnIncompleteCommandLineConvertsNothingAndLeavesTheWindowOpen) {
    auto app = Start({"ACTION=SHP2MAP", "MAP=e.map", "CFG=b.ini", "SHPDIR=d.shp"});
    EXPECT_TRUE(CallsAfterLoad().empty());
    EXPECT_FALSE(app->Form1().FBatchDone());
    app->Form1().Show();
    EXPECT_TRUE(app->Form1().Showing());
    app->Form1().Hide();
}

TEST_F(BatchModeTest, EachNewJobOnTheCommandLineConvertsOnceAndRepeatsDoNot) {
    auto app = Start({"CFG=b.ini", "SHPDIR=out", "ACTION=MAP2SHP", "MAP=a.map", "SHP=x.shp",
                      "MAP=a.map", "MAP=b.map", "unrelated"});
    EXPECT_EQ(CallsAfterLoad(),
              (Lines{"new|1", "1|14|LoadMap|a.map", "1|19|SetBatchConfig|b.ini|out|0|0",
                     "1|12|ExportMap", "delete|1", "new|2", "2|14|LoadMap|b.map",
                     "2|19|SetBatchConfig|b.ini|out|0|0", "2|12|ExportMap", "delete|2"}));
}

TEST_F(BatchModeTest, WithoutAServerObjectTheErrorIsShownAndTheProgramStillEnds) {
    auto app = Start({"MAP=a.map", "CFG=b.ini", "SHPDIR=out", "ACTION=MAP2SHP"}, MissingLibrary());
    EXPECT_EQ(MessageTexts(), Lines{kNoLibraryError});
    EXPECT_EQ(boxes->Messages()[0].caption, app->Title);
    EXPECT_TRUE(app->Form1().FBatchDone());
    app->Run();
    EXPECT_FALSE(app->Form1().Showing());

    ::setenv("KESTREL_FAKE_NIL", "1", 1);
    boxes->ClearMessages();
    auto nil = Start({"MAP=a.map", "CFG=b.ini", "SHP=in.shp", "ACTION=SHP2MAP"});
    EXPECT_EQ(MessageTexts(), Lines{kCreateError});
    EXPECT_EQ(nil->Form1().FServer(), nullptr);
}

TEST_F(BatchModeTest, ArgumentTextsAreWindows1250BytesAndTheirHandlesAreFreed) {
    const std::string map = platform::Utf8ToCp1250("Łęczyca żółta.map");
    auto app = Start({"MAP=" + map, "CFG=b.ini", "SHPDIR=out", "ACTION=MAP2SHP"});
    EXPECT_EQ(Calls()[2], "1|14|LoadMap|" + map);
    const auto handles = ArgumentHandles(RawCalls());
    ASSERT_EQ(handles.size(), 3u);
    for (std::uint32_t handle : handles) EXPECT_EQ(platform::GlobalSize(handle), 0u) << handle;
}
