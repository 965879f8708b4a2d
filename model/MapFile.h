#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "model/ListaObi.h"
#include "model/ListaPKT.h"

// The host's MAP text files, versions 3 to 8: reading into and writing from the map's two lists.

// Reader's own results (anything else non-zero is an operating-system error number).
inline constexpr std::int32_t kMapTooNew = 253;      // version above 8
inline constexpr std::int32_t kMapNotMapFile = 254;  // not a MAP header, or version below 3
inline constexpr std::int32_t kMapReadFailed = 255;  // empty name, or a line could not be handled

// Reads the file into the two lists (made empty by the caller with NewMapLists). Every object is
// marked when SelectAll is true. Non-zero results are shown to the user. Input that goes beyond
// what a map holds (a line without an end) stops the reading with 255 and a message; what was
// read before stays in the lists. A folder, device or pipe in the file's place is refused at
// once, never waited for, and a name longer than a short string is refused too, each with a
// message (nothing read).
void ReadMapFile(std::string_view FileName, bool SelectAll, TListaPKT& Points, TListaObi& Objects,
                 std::int32_t& Result);

// Writes the objects (only the marked ones when OnlyMarked) in the given version, 3 to 8.
// Nothing is written, with result 0, when a list is missing or empty; nothing either, with a
// message, when the name is longer than a short string.
void WriteMapFile(std::string_view Generator, std::string_view VersionText, std::int32_t Version,
                  std::string_view FileName, bool OnlyMarked, TListaPKT* Points, TListaObi* Objects,
                  std::int32_t& Result);

// Frees both lists with their elements and puts new empty lists in their place.
void NewMapLists(std::unique_ptr<TListaPKT>& Points, std::unique_ptr<TListaObi>& Objects);

// Nothing for 0; otherwise a warning box naming the file (saying that it is no regular file when
// that is why it could not be opened).
void ShowFileResult(std::int16_t Result, std::string_view FileName);

std::string RemoveSpaces(std::string_view Text);

// Objects of classes 6 and 7 carry their text on a line of its own in version 3.
inline bool CodeHasTextLine(std::string_view Code) {
    return !Code.empty() && (Code[0] == '6' || Code[0] == '7');
}
