// Place 12 of the single-file server object: the map it holds written as shapefiles.
#include "platform/Cursor.h"
#include "plugin/ExportMapFiles.h"
#include "plugin/KWZArcView.h"
#include "plugin/ServerTexts.h"

// True when the export wrote what it should (the converter's batch mode tells scripts so).
bool TKWZArcView::ExportMap() {
    bool written = false;
    try {
        written = ExportMapFiles(TMapExport{Points.get(), Objects.get(), Shape, Symbols,
                                            BatchLoaded, BatchFile, OutputFolder, FileName});
    } catch (...) {
        // Nothing may leave an operation; what the export did not report itself is said here.
        platform::SetScreenCursor(platform::crDefault);
        servertexts::ShowConversionInterrupted();
    }
    // The object keeps a shape at all times.
    if (!Shape) Shape = std::make_unique<TShape>();
    return written;
}
