#include "plugin/KWZArcView.h"

#include "model/TextHandles.h"
#include "platform/BinaryFile.h"
#include "platform/ShortString.h"
#include "plugin/ConversionSettings.h"
#include "plugin/FileSettings.h"
#include "plugin/ServerTexts.h"
#include "plugin/UConfigConv.h"

// Every place catches at its own boundary: the host cannot take an exception. What a place
// returns after one is its failure value.

TKWZArcView::TKWZArcView()
    : Shape(std::make_unique<TShape>()), Symbols(std::make_unique<TListaSYM>()) {}

TKWZArcView::~TKWZArcView() {
    Shape.reset();
    Symbols.reset();
}

std::int32_t TKWZArcView::OpenFile(KwzHandle FileName) try {
    if (FileName == 0) return 1;
    // The name whole: the shape refuses one that does not fit a short string.
    return OpenShapeFile(GlobalToStr(FileName));
} catch (...) {
    return kShapeFileMissing;
}

std::int32_t TKWZArcView::OpenShapeFile(const std::string& name) {
    // A shape holds one file: a second file would add its records to the first one's under
    // the second one's header. The attached batch configuration stays with the object.
    if (!Shape || Shape->State != 0 || !Shape->FileName.empty()) {
        std::unique_ptr<TBatchConfig> batch = Shape ? std::move(Shape->BatchConfig) : nullptr;
        Shape.reset();
        Shape = std::make_unique<TShape>();
        Shape->BatchConfig = std::move(batch);
    }
    const std::int32_t result = TShape::OpenShape(Shape.get(), name, HoldsTableForConversion);
    if (ConversionSettings.INI) ReadFileSettings(*this);
    return result;
}

std::int32_t TKWZArcView::SaveFileAs(KwzHandle FileName) try {
    if (FileName == 0) return 1;
    return TShape::SaveShapeAs(Shape.get(), GlobalToStr(FileName));
} catch (...) {
    return 255;
}

KwzHandle TKWZArcView::GetFileName() try {
    return StrToGlobal(Shape ? Shape->FileName : std::string());
} catch (...) {
    return 0;
}

std::int32_t TKWZArcView::GetShapeType() try {
    return Shape ? Shape->HeaderShapeType() : 0;
} catch (...) {
    return 0;
}

std::int32_t TKWZArcView::GetRecordCount() try {
    return Shape && Shape->Records ? Shape->Records->Count() : 0;
} catch (...) {
    return 0;
}

// The host's X is the northing (the shapefile's Y), its Y the easting (the shapefile's X).
bool TKWZArcView::GetExtent(double* MinX, double* MinY, double* MaxX, double* MaxY) try {
    if (!MinX || !MinY || !MaxX || !MaxY) return false;
    if (!Shape || !Shape->Records) {
        *MinX = 0;
        *MinY = 0;
        *MaxX = 1;
        *MaxY = 1;
        return false;
    }
    // The box keeps the caller's values when no record has points.
    double xMin = *MinY, yMin = *MinX, xMax = *MaxY, yMax = *MaxX;
    Shape->Records->GetBox(xMin, yMin, xMax, yMax);
    *MinX = yMin;
    *MinY = xMin;
    *MaxX = yMax;
    *MaxY = xMax;
    return true;
} catch (...) {
    return false;
}

// No result of its own: 0.
std::int32_t TKWZArcView::ConfigureConversion() try {
    EditConversionSettings();
    return 0;
} catch (...) {
    return 0;
}

// A folder that cannot be created (a file of that name, no rights) is reported and leaves
// OutputFolder as it was. Without a map file there is no name to take the folder from.
std::int32_t TKWZArcView::SetOutputFolder() try {
    if (FileName.empty()) return 0;
    const std::string folder = platform::ChangeFileExt(FileName, "");
    if (!platform::DirectoryExists(folder) && !platform::CreateDirectory(folder)) {
        servertexts::Show(servertexts::FolderCreateError(folder));
        return 0;
    }
    OutputFolder = folder;
    return 0;
} catch (...) {
    return 0;
}

// Returns the map lists' result (true); Symbols, the batch state, OutputFolder and FileName stay.
bool TKWZArcView::Clear() try {
    Shape.reset();
    Shape = std::make_unique<TShape>();
    return TKWZPrototypTP::Clear();
} catch (...) {
    return false;
}

// No result of its own: false. The two integers are not used.
bool TKWZArcView::SetBatchConfig(KwzHandle ConfigFile, KwzHandle Folder, std::int32_t Param1,
                                 std::int32_t Param2) try {
    (void)Param1;
    (void)Param2;
    BatchLoaded = false;
    BatchFile = GlobalToStr(ConfigFile);
    if (!Shape) Shape = std::make_unique<TShape>();
    // A name cut short would be another file's configuration: none is attached.
    BatchLoaded = platform::NameFits(BatchFile) && Shape->AttachBatchConfig(BatchFile);
    OutputFolder = GlobalToStr(Folder);
    if (BatchLoaded && Objects && Objects->Count() > 0 && Shape->BatchConfig) {
        for (TElement* e = Objects->First(); e != nullptr; e = e->GetNext()) {
            auto* object = static_cast<TObiekt*>(e);
            object->Code = platform::Cut(Shape->BatchConfig->GetReplacementCode(object->Code),
                                         platform::kCodeMax);
        }
    }
    return false;
} catch (...) {
    return false;
}
