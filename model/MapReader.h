#pragma once

#include <cstdint>

#include "model/ListaObi.h"
#include "model/ListaPKT.h"
#include "platform/TextFile.h"

// Reads the lines of a MAP file that follow its header into a map's two lists, straight from
// the file's buffer: points, vertices and objects are made in the lists' own storage.
class MapReader {
  public:
    // The longest line of a MAP file: no line of a map comes near it (the reader keeps 255 bytes
    // of a line).
    static constexpr std::uint64_t kLineBytesMax = 1024 * 1024;

    // Puts the bound on a file just opened: a line that never ends stops the reading.
    static void Bound(platform::TextFileReader& file);

    MapReader(platform::TextFileReader& file, int version, bool selectAll, TListaPKT& points,
              TListaObi& objects);

    // Returns 0, 255 after a line that cannot be handled or input beyond what a map holds (the
    // message already shown), or a read error.
    std::int32_t Run();
    // Extents of the objects, both lists on their first element, nothing added since.
    void Finish();

    std::int32_t BadLines() const { return badLines_; }
    std::int32_t FirstBadLine() const { return firstBadLine_; }

  private:
    void HandleLine(std::string_view line);
    // Reports the line that could not be handled; returns 255.
    std::int32_t LineFailed() const;
    void BadNumber();
    TObiekt& CurrentObject();
    void AddPoint(TObiekt& object, std::string_view name, std::uint8_t flags, double x, double y,
                  float h);
    void OldFormPoint(std::string_view line);
    void PFormPoint(std::string_view line);
    void ObjectHeader(std::string_view line);
    void Attribute(std::string_view line);
    void Vector(std::string_view line);

    platform::TextFileReader& file_;
    const int version_;
    const bool selectAll_;
    TListaPKT& points_;
    TListaObi& objects_;
    TObiekt* current_ = nullptr;
    TObiekt* firstRead_ = nullptr;
    std::int32_t lineCounter_ = 0;
    std::int32_t badLines_ = 0;
    std::int32_t firstBadLine_ = 0;
};
