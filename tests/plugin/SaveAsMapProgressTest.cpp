// The shared progress window around the rows of the transfer (kept apart from the form tests:
// the progress window's header and the forms' cursor header do not go into one unit).
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>

#include "model/ListaObi.h"
#include "platform/DbfTable.h"
#include "platform/UiService.h"
#include "plugin/AttributeChoice.h"
#include "plugin/ConversionSettings.h"
#include "plugin/SaveAsMapTransfer.h"
#include "shape/DBaseFile.h"
#include "shape/ProgressFormShared.h"

namespace {

TEST(SaveAsMapProgress, OpensForTheRowsAndClosesAgainInsideAnOuterOperation) {
    const auto dir = std::filesystem::temp_directory_path() /
                     ("kestrel-shp2map-progress-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const std::string dbf = (dir / "a.dbf").string();
    TSimpleDBFile::CreateNew(dbf, 3, 1, 0, 4)->AddField("NR", 'N', 4, 0);
    {
        platform::DbfTable t;
        t.Open(dbf, platform::DbfTable::Mode::Append);
        t.Append();
        t.SetFieldInteger(0, 5);
        t.Close();
    }
    platform::UiService::Headless()->SetEcho(false);
    InitAttributeSlots();
    TListaObi objects;
    for (int i = 0; i < 3; ++i)
        objects.AddObject(std::make_unique<TObiekt>("1000", "", "", "", "", "", "", "", 1));

    ProgressOpen(0, 10, 1, "outer");
    const int created = platform::ProgressWindow::CreatedCount();
    const DbfTransferJob job{objects, dbf, (dir / "a.shp").string(), (dir / "a.map").string(),
                             nullptr, 1};
    EXPECT_TRUE(TransferDbf(job));
    EXPECT_EQ(ProgressNesting(), 1);  // the outer operation's window is still there
    EXPECT_EQ(platform::ProgressWindow::CreatedCount(), created);
    ASSERT_NE(ProgressForm(), nullptr);
    EXPECT_EQ(ProgressForm()->Window.State().max, 3);  // the inner range stays, as shared
    ProgressClose();
    EXPECT_EQ(ProgressNesting(), 0);
    EXPECT_TRUE(std::filesystem::exists(dir / "map_a.dbf"));
    std::filesystem::remove_all(dir);
}

}  // namespace
