#include "converter/ServerLibrary.h"

#include <gtest/gtest.h>

#include <memory>

#include "ConverterFixture.h"
#include "converter/TextHandle.h"

using ServerLibraryTest = ConverterTest;

TEST_F(ServerLibraryTest, AMissingLibraryLeavesEveryEntryEmpty) {
    ServerLibrary library;
    EXPECT_FALSE(library.BindServerLibrary(MissingLibrary()));
    EXPECT_FALSE(library.Loaded());
    const ServerLibrary::Entries& e = library.Bound();
    EXPECT_FALSE(e.GetVersion || e.GetFunction || e.About || e.GetDescription || e.GetMask ||
                 e.NewKWZObject || e.NewKWZMLObject || e.Konwersja_Pliku_SHP_MAP);
    EXPECT_EQ(library.CallGetMask(), 0u);
    EXPECT_EQ(library.CallNewKWZObject(), nullptr);
    EXPECT_TRUE(MessageTexts().empty());
}

TEST_F(ServerLibraryTest, TheWholeLibraryBindsEightExportsAndIsFreedAtTheEnd) {
    {
        ServerLibrary library;
        ASSERT_TRUE(library.BindServerLibrary(FakeLibrary()));
        const ServerLibrary::Entries& e = library.Bound();
        EXPECT_TRUE(e.GetVersion && e.GetFunction && e.About && e.GetDescription && e.GetMask &&
                    e.NewKWZObject && e.NewKWZMLObject && e.Konwersja_Pliku_SHP_MAP);
        EXPECT_EQ(GlobalHandleToStr(library.CallGetMask()), "ArcView Shape (*.shp)|*.shp");
        std::unique_ptr<TKWZPrototyp> server(library.CallNewKWZObject());
        ASSERT_NE(server, nullptr);
        server->Clear();
    }
    const Lines calls = CallsAfterLoad();
    ASSERT_FALSE(calls.empty());
    // Only the two exports the program uses were called; the library went last.
    EXPECT_EQ(calls.back(), "unload");
    ASSERT_GE(calls.size(), 5u);
    EXPECT_EQ(calls[0].substr(0, 7), "GetMask");
    EXPECT_EQ(calls[2], "1|18|Clear");
    EXPECT_EQ(calls[3], "delete|1");
}

TEST_F(ServerLibraryTest, AMissingExportLeavesOnlyItsEntryEmpty) {
    ServerLibrary library;
    ASSERT_TRUE(library.BindServerLibrary(PartialLibrary()));
    const ServerLibrary::Entries& e = library.Bound();
    EXPECT_EQ(e.NewKWZObject, nullptr);
    EXPECT_EQ(e.GetMask, nullptr);
    EXPECT_TRUE(e.GetVersion && e.GetFunction && e.About && e.GetDescription && e.NewKWZMLObject &&
                e.Konwersja_Pliku_SHP_MAP);
    EXPECT_EQ(library.CallNewKWZObject(), nullptr);
    EXPECT_EQ(library.CallGetMask(), 0u);
    library.ReleaseServerLibrary();
    EXPECT_FALSE(library.Loaded());
    EXPECT_EQ(library.Bound().GetVersion, nullptr);
}

TEST_F(ServerLibraryTest, TheFactoryReturningNilGivesNoObject) {
    ::setenv("KESTREL_FAKE_NIL", "1", 1);
    ServerLibrary library;
    ASSERT_TRUE(library.BindServerLibrary(FakeLibrary()));
    EXPECT_EQ(library.CallNewKWZObject(), nullptr);
}
