#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "model/KWZPrototypTP.h"
#include "model/Symbols.h"
#include "shape/Shape.h"

// The single-file server object: one shapefile (Shape) and one map (the lists of the base). The
// host calls its operations by place; none of them lets an exception out.
//
// The operations live in several files, one concern each:
//   KWZArcView.cpp            construction, file, extent, settings, batch and folder places
//   ServerDisplay.cpp         display dialog, drawing, snapping and identification places
//   ServerTransform.cpp       transformation places and the units dialog
//   ExportMap*.cpp            the MAP to shapefiles conversion (ExportMap)
//   SaveAsMap*.cpp            the shapefile to MAP conversion (SaveAsMap)
// No virtual operation may be added here: place N must stay slot N of the table that
// TKWZPrototyp declares.
class TKWZArcView : public TKWZPrototypTP {
  public:
    TKWZArcView();
    // Frees Shape (which writes its display-style file), then Symbols, then the map lists.
    ~TKWZArcView() override;

    /* 0 */ std::int32_t ConfigureDisplay(std::uint32_t ParentWindow) override;
    /* 1 */ std::int32_t OpenFile(KwzHandle FileName) override;
    /* 2 */ std::int32_t SaveFileAs(KwzHandle FileName) override;
    /* 3 */ std::int32_t Draw(std::uint32_t DC, double WorldMinX, double WorldMinY,
                              double WorldMaxX, double WorldMaxY, std::int32_t ScreenLeft,
                              std::int32_t ScreenTop, std::int32_t ScreenRight,
                              std::int32_t ScreenBottom, std::uint8_t Flag,
                              std::int32_t Param) override;
    /* 4 */ KwzHandle GetFileName() override;
    /* 5 */ std::int32_t GetShapeType() override;
    /* 6 */ std::int32_t GetRecordCount() override;
    /* 7 */ bool FindNearestPoint(double X, double Y, double Tolerance, double* FoundX,
                                  double* FoundY) override;
    /* 8 */ bool Identify(double X, double Y, double Tolerance, std::uint8_t Show) override;
    /* 9 */ bool GetExtent(double* MinX, double* MinY, double* MaxX, double* MaxY) override;
    /* 10 */ std::int32_t ConfigureConversion() override;
    /* 11 */ bool SaveAsMap(KwzHandle FileName, std::int32_t Mode) override;
    /* 12 */ bool ExportMap() override;
    /* 13 */ std::int32_t SetOutputFolder() override;
    // 14 LoadMap and 15 SaveMap are the base's.
    /* 16 */ std::int32_t TransformFileByCode(std::uint8_t Code, double Zone65, double Meridian,
                                              double ZoneCode) override;
    /* 17 */ bool ConfigureUnits() override;
    /* 18 */ bool Clear() override;
    /* 19 */ bool SetBatchConfig(KwzHandle ConfigFile, KwzHandle OutputFolder, std::int32_t Param1,
                                 std::int32_t Param2) override;
    /* 20 */ std::int32_t TransformMap(std::int32_t Source, std::int32_t Target) override;
    /* 21 */ std::int32_t TransformFile(std::int32_t Source, std::int32_t Target) override;

    // Opens the shapefile of that name in place of the loaded one (OpenFile).
    std::int32_t OpenShapeFile(const std::string& name);

    // Whether a shapefile opened keeps its attribute table open for the conversion (SaveAsMap),
    // which pairs the records loaded with the rows of that very table. A layer of the
    // multi-layer object is never converted and keeps nothing open: a layer list may give
    // thousands of layers.
    bool HoldsTableForConversion = true;

    // The loaded shapefile; present from construction on (Clear, OpenFile and the export replace
    // it by a new one). Only an allocation that fails midway leaves it empty: every place allows
    // for that.
    std::unique_ptr<TShape> Shape;
    // Symbols of the .sym file, filled by the export when layers are named after them.
    std::unique_ptr<TListaSYM> Symbols;
    // Set by SetBatchConfig: the conversions work in batch mode.
    bool BatchLoaded = false;
    std::string BatchFile;
    // Where the per-code export writes its files.
    std::string OutputFolder;
};
