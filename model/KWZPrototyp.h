#pragma once

#include <cstdint>

// The plug-in object interfaces that the host and the converter call by place: place N of a
// table is slot N of the object's virtual table, so the operations are declared in place order
// and the virtual destructor after the last place. Texts cross as 32-bit global memory handles.
// No exception may leave an operation.

using KwzHandle = std::uint32_t;

// The single-file server interface: 22 operations.
class TKWZPrototyp {
  public:
    /* 0 */ virtual std::int32_t ConfigureDisplay(std::uint32_t ParentWindow) = 0;
    /* 1 */ virtual std::int32_t OpenFile(KwzHandle FileName) = 0;
    /* 2 */ virtual std::int32_t SaveFileAs(KwzHandle FileName) = 0;
    /* 3 */ virtual std::int32_t Draw(std::uint32_t DC, double WorldMinX, double WorldMinY,
                                      double WorldMaxX, double WorldMaxY, std::int32_t ScreenLeft,
                                      std::int32_t ScreenTop, std::int32_t ScreenRight,
                                      std::int32_t ScreenBottom, std::uint8_t Flag,
                                      std::int32_t Param) = 0;
    /* 4 */ virtual KwzHandle GetFileName() = 0;
    /* 5 */ virtual std::int32_t GetShapeType() = 0;
    /* 6 */ virtual std::int32_t GetRecordCount() = 0;
    /* 7 */ virtual bool FindNearestPoint(double X, double Y, double Tolerance, double* FoundX,
                                          double* FoundY) = 0;
    /* 8 */ virtual bool Identify(double X, double Y, double Tolerance, std::uint8_t Show) = 0;
    /* 9 */ virtual bool GetExtent(double* MinX, double* MinY, double* MaxX, double* MaxY) = 0;
    /* 10 */ virtual std::int32_t ConfigureConversion() = 0;
    /* 11 */ virtual bool SaveAsMap(KwzHandle FileName, std::int32_t Mode) = 0;
    /* 12 */ virtual bool ExportMap() = 0;
    /* 13 */ virtual std::int32_t SetOutputFolder() = 0;
    /* 14 */ virtual bool LoadMap(KwzHandle FileName) = 0;
    /* 15 */ virtual bool SaveMap(KwzHandle FileName) = 0;
    /* 16 */ virtual std::int32_t TransformFileByCode(std::uint8_t Code, double Zone65,
                                                      double Meridian, double ZoneCode) = 0;
    /* 17 */ virtual bool ConfigureUnits() = 0;
    /* 18 */ virtual bool Clear() = 0;
    /* 19 */ virtual bool SetBatchConfig(KwzHandle ConfigFile, KwzHandle OutputFolder,
                                         std::int32_t Param1, std::int32_t Param2) = 0;
    /* 20 */ virtual std::int32_t TransformMap(std::int32_t Source, std::int32_t Target) = 0;
    /* 21 */ virtual std::int32_t TransformFile(std::int32_t Source, std::int32_t Target) = 0;
    // After the last place: the callers reach it through the object, never by place.
    virtual ~TKWZPrototyp() = default;

  protected:
    TKWZPrototyp() = default;
    TKWZPrototyp(const TKWZPrototyp&) = delete;
    TKWZPrototyp& operator=(const TKWZPrototyp&) = delete;
};

// The multi-layer interface: 5 operations and the active layer.
class TKWZMLPrototyp {
  public:
    /* 0 */ virtual bool AddLayers() = 0;
    /* 1 */ virtual bool ConfigureLayers() = 0;
    /* 2 */ virtual bool Draw(std::uint32_t DC, double WorldMinX, double WorldMinY,
                              double WorldMaxX, double WorldMaxY, std::int32_t ScreenLeft,
                              std::int32_t ScreenTop, std::int32_t ScreenRight,
                              std::int32_t ScreenBottom, std::uint8_t Flag, std::int32_t Param) = 0;
    /* 3 */ virtual bool Identify(double X, double Y, double Tolerance, std::uint8_t Show) = 0;
    /* 4 */ virtual bool GetExtent(double* MinX, double* MinY, double* MaxX, double* MaxY) = 0;
    virtual ~TKWZMLPrototyp() = default;

    std::int32_t ActiveLayer = -1;  // index of the active layer, -1 for none

  protected:
    TKWZMLPrototyp() = default;
    TKWZMLPrototyp(const TKWZMLPrototyp&) = delete;
    TKWZMLPrototyp& operator=(const TKWZMLPrototyp&) = delete;
};
