#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/BinaryFile.h"
#include "platform/Canvas.h"
#include "shape/BatchConfig.h"
#include "shape/ShpRecords.h"

class TListaPKT;
class TListaObi;

// Results of loading a shapefile.
enum : std::int32_t {
    kShapeLoaded = 0,
    kShapeUnsupportedType = 253,
    kShapeWrongVersion = 254,
    kShapeFileMissing = 255,
};

// What a load read: the records the files hold (the index's entries, and the records past its
// end when it was cut short) and how many of them could not be read (damaged, of a type without
// a layout, or left out of the index).
struct ShapeLoadCount {
    std::int64_t Held = 0;
    std::int64_t Lost = 0;
};

// The file's size in bytes (held to the int32 range); the read position is left where it was.
std::int32_t FileSizeOf(platform::BinaryFile& file);

namespace platform {
class PinnedFiles;
}

// One shapefile in memory: its 100-byte header as the file holds it, its records, and the
// display settings the layer draws it with.
class TShape {
  public:
    TShape();
    // Writes the display-style file (unless the shape was opened from a file that is not there,
    // or the style file is kept), then frees everything the shape owns.
    virtual ~TShape();
    TShape(const TShape&) = delete;
    TShape& operator=(const TShape&) = delete;

    std::array<std::uint8_t, 100> Header{};
    std::unique_ptr<TSHPRecords> Records;
    std::unique_ptr<platform::TFont> SymbolFont;
    std::unique_ptr<platform::TPen> LinePen;
    std::unique_ptr<platform::TBrush> AreaBrush;
    std::string Symbol = "{";
    bool Markowanie = false;
    bool Etykiety = false;
    std::int32_t NumerPola = -1;
    std::string FileName;
    std::int32_t PlanarUnitIndex = 0;
    std::int32_t AngularFormatIndex = 0;
    std::int32_t State = 0;  // 0 new, 1 loaded, 2 filled from map objects, 3 points transformed
    std::unique_ptr<TBatchConfig> BatchConfig;
    ShapeLoadCount LoadCount;  // of the last load

    static std::int32_t FreeShape(std::unique_ptr<TShape>& shape);

    // Replaces the attached batch configuration by one read from the file (a missing file
    // gives one that answers every lookup with its input); always true.
    bool AttachBatchConfig(std::string_view fileName);
    // -1 without a shape; otherwise loads and then reads the style file and the labels, all from
    // one whole set (SetFileNames). With `holdTable` a shape that loads keeps the attribute table
    // of that set open for its conversions (LoadedTable). A name longer than a short string is
    // refused with a message: 255, nothing read.
    static std::int32_t OpenShape(TShape* shape, const std::string& name, bool holdTable = false);
    // 255 without a shape; otherwise rebuilds the header, copies the attribute table of a
    // transformed shape (the held one, LoadedTable, when there is one) and saves, all files put in
    // place together; 0 or the save's result.
    // A name longer than a short string is refused with a message, as by SaveShapeFile.
    static std::int32_t SaveShapeAs(TShape* shape, const std::string& name);

    // Appends the records of the .shp and its .shx to Records.
    std::int32_t LoadShapeFile(const std::string& name);
    // Writes the .shp, .shx and style file, put in place together (platform/FileSet.h); 0, or the
    // Windows error number of a failure, which the user has been shown. Nothing is written, with
    // 0, for an empty name (reported) or a shape without records, and with
    // kErrorFilenameTooLong, after a message, for a name longer than a short string.
    std::int32_t SaveShapeFile(const std::string& name);
    // The header from the records: the type of the first record with geometry of its own; without
    // one, the type the header holds (as loaded), or `declared` when it holds none.
    std::int32_t RebuildHeader(std::int32_t declared = 0);

    bool GoFirstVertex();
    bool NextVertex();
    bool GetCurrentVertex(double& X, double& Y);
    bool SetCurrentVertex(double X, double Y);

    // Header fields.
    std::int32_t HeaderShapeType() const;
    std::int32_t HeaderVersion() const;

    // Appends one record per exportable map object (kinds 1 to 5, only the marked ones when
    // OnlyMarked) and rebuilds the header; -1 when a list is absent. Defined by the plug-in,
    // whose conversion settings choose each kind's geometry.
    std::int32_t ObjectsToShape(TListaPKT* Points, TListaObi* Objects, bool OnlyMarked,
                                bool SwapAxes);

    // Transformation of every point, and the units dialog (shape/ShapeTransform.cpp,
    // shape/UConfigUnit.cpp). Both transformations hand the points over northing first, leave Z
    // and M as they are, set State 3 and rebuild the header once they have run; a point that
    // cannot be transformed keeps its coordinates.
    // Through TransformPoint, with the planar unit and angular format converted on both sides;
    // P1 to P3 are Zone65, Meridian and ZoneCode. 0 without records; otherwise 0 when every point
    // was transformed, the dispatcher's result of the first point that was not, -1 when no record
    // has a point.
    std::int32_t TransformShape(std::uint8_t Code, double P1, double P2, double P3);
    // Through the outside library's system numbers (degrees for the geographic system). 0 without
    // records or when every point was transformed, kMultiTransformNoLibrary when the library
    // cannot be bound (nothing changes), kMultiTransformPointsFailed (shape/ShapeTransform.h).
    std::int32_t TransformShapeMulti(std::int32_t Source, std::int32_t Target);
    // The units dialog on PlanarUnitIndex and AngularFormatIndex; always true.
    bool EditUnits();

    // Display-style file and labels: filled in by their own readers and writers.
    void ReadStyleFile();
    void WriteStyleFile();
    // With `keep`, freeing the shape leaves the style file as it is, or missing.
    void KeepStyleFile(bool keep) { keepStyleFile_ = keep; }
    void ReadLabelsFromDbf();

    // Shapefile to map: appends one or more objects per record, each vertex a point of its own,
    // with the object codes of the conversion settings; Mark marks every new object, SwapAxes
    // puts the northing first. -1 when there are no records, else 0. Defined by the plug-in.
    std::int32_t ShapeToObjects(TListaPKT& Points, TListaObi& Objects, bool Mark, bool SwapAxes);

    // ---- Drawing, snapping, identification and the display dialogs. Positions, tolerances and
    // world windows are in host order (northing first); `parentWindow` is the host's window.
    // -1 without a shape, else DrawShape's result. The byte and the integer are not used.
    static std::int32_t PaintShape(TShape* shape, platform::HDC dc, const TWorldWindow& window,
                                   const platform::DcRect& screen, std::uint8_t unusedByte,
                                   std::int32_t unusedInt);
    // Draws every record, then the vertex marks and the labels when they are on; 0.
    std::int32_t DrawShape(platform::HDC dc, const TWorldWindow& window,
                           const platform::DcRect& screen, std::uint8_t unusedByte,
                           std::int32_t unusedInt);
    // The next vertex within the tolerance, searching on from the current record.
    bool SnapToVertex(double N, double E, double tolerance, double& outN, double& outE);
    // The next object at the position; with `show` its description window follows.
    bool Identify(bool show, double N, double E, double tolerance);
    // The description and attribute row of the identified record, in a modal window.
    void ShowObjectInfo();
    // The style dialog for the file's shape type, then the labels again; false.
    bool ConfigureDisplay(std::uint32_t parentWindow);
    // ConfigureDisplay when there is a shape; false.
    static bool EditDisplay(TShape* shape, std::uint32_t parentWindow);
    bool EditPointStyle(std::uint32_t parentWindow);
    bool EditLineStyle(std::uint32_t parentWindow);
    bool EditAreaStyle(std::uint32_t parentWindow);

    // The files of the set of a shapefile's name (.shp, .shx, .dbf, style file), to be taken
    // together (PinnedFiles.h).
    static std::vector<std::string> SetFileNames(const std::string& name);
    // The attribute table of the set the shape was loaded from, held open since the load when it
    // was asked to (a table missing then is held as missing): reading through it (PinnedFiles::
    // Reading) gives those rows, whatever has taken the name since. nullptr when none is held.
    const platform::PinnedFiles* LoadedTable() const { return table_.get(); }

  private:
    // WriteStyleFile; with keepSame a file that holds the style already is not written again.
    void WriteStyle(bool keepSame);

    // Whether the records' header and index fields come from a layout pass since the last load.
    bool laidOut_ = false;
    bool notLoaded_ = false;  // opened from a name that holds no shapefile it could load
    bool keepStyleFile_ = false;
    std::unique_ptr<platform::PinnedFiles> table_;
};
