#include "model/MapFile.h"

#include "model/FormatSettings.h"
#include "model/MapReader.h"
#include "model/MapWriter.h"
#include "model/ModelTexts.h"
#include "platform/FileSystem.h"
#include "platform/NumberText.h"
#include "platform/OsError.h"
#include "platform/ShortString.h"
#include "platform/StringResources.h"
#include "platform/UiService.h"

namespace {

constexpr std::size_t kResourceBuffer = 40;

void ShowResourceBox(unsigned resource, std::string_view fileName) {
    const std::string format = model_texts::Resources().Load(resource, kResourceBuffer);
    platform::MessageBox(0, platform::FormatText(format, {fileName}), "",
                         platform::MB_OK | platform::MB_ICONWARNING);
}

// The header's version, or the reader's result for a header it refuses.
// A version field that does not convert cleanly is taken as "not a MAP header" (254): nothing of
// such a file is read.
std::int32_t HeaderVersion(const std::string& header, int& version) {
    if (header.empty() || header[0] != ';') return kMapNotMapFile;
    std::size_t at = header.find("ver");
    if (at == std::string::npos) at = header.find("VER");
    if (at == std::string::npos) return kMapNotMapFile;
    const std::string_view field =
        at + 5 < header.size() ? std::string_view(header).substr(at + 5, 5) : std::string_view();
    const auto number = platform::StrToFloatStrict(field);
    if (!number || *number < 3.0) return kMapNotMapFile;
    if (*number >= 9.0) return kMapTooNew;
    version = static_cast<int>(*number);
    return 0;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
std::string RemoveSpaces(std::string_view Text) {
    std::string result;
    result.reserve(Text.size());
    for (char c : Text)
        if (c != ' ') result += c;
    return result;
}

void NewMapLists(std::unique_ptr<TListaPKT>& Points, std::unique_ptr<TListaObi>& Objects) {
    Objects.reset();
    Points.reset();
    Points = std::make_unique<TListaPKT>();
    Objects = std::make_unique<TListaObi>();
}

void ShowFileResult(std::int16_t Result, std::string_view FileName) {
    if (Result == 0) return;
    // A folder, device or pipe in the file's place is refused as it is opened.
    if (Result == platform::kErrorAccessDenied && platform::NotRegularFile(FileName)) {
        platform::MessageBox(0, platform::FormatText(model_texts::NotRegularFile(), {FileName}), "",
                             platform::MB_OK | platform::MB_ICONWARNING);
        return;
    }
    ShowResourceBox(
        Result == kMapReadFailed ? model_texts::kResReadError : model_texts::kResFileError,
        FileName);
}

void ReadMapFile(std::string_view FileName, bool SelectAll, TListaPKT& Points, TListaObi& Objects,
                 std::int32_t& Result) {
    // A name cut short would read another file.
    if (!platform::NameFits(FileName)) {
        Result = platform::kErrorFilenameTooLong;
        return;
    }
    const std::string name(FileName);
    if (name.empty()) {
        Result = kMapReadFailed;
        return;
    }
    platform::TextFileReader file;
    Result = file.Open(name);
    if (Result == 0) {
        MapReader::Bound(file);
        std::string header;
        file.ReadLine(header);
        int version = 0;
        if (file.Error() != 0) {
            Result = file.Error();
        } else if (const std::int32_t refused = HeaderVersion(header, version); refused != 0) {
            file.Close();
            Result = refused;
            ShowResourceBox(
                refused == kMapTooNew ? model_texts::kResMapTooNew : model_texts::kResNotMapFile,
                name);
            return;
        } else {
            MapReader reader(file, version, SelectAll, Points, Objects);
            Result = reader.Run();
            reader.Finish();
            if (reader.BadLines() > 0) {
                platform::MessageBox(0,
                                     platform::FormatText(model_texts::BadNumbersInLines(),
                                                          {name, std::to_string(reader.BadLines()),
                                                           std::to_string(reader.FirstBadLine())}),
                                     "", platform::MB_OK | platform::MB_ICONWARNING);
            }
        }
        const std::int32_t closed = file.Close();
        if (Result == 0) Result = closed;
    }
    ShowFileResult(static_cast<std::int16_t>(Result), name);
}

void WriteMapFile(std::string_view Generator, std::string_view VersionText, std::int32_t Version,
                  std::string_view FileName, bool OnlyMarked, TListaPKT* Points, TListaObi* Objects,
                  std::int32_t& Result) {
    Result = 0;
    if (Points == nullptr || Objects == nullptr || Points->Count() == 0 || Objects->Count() == 0)
        return;
    // Only versions 3 to 8 have a format; anything else is refused before a file is touched.
    if (Version < 3 || Version > 8) {
        Result = platform::kErrorInvalidParameter;
        return;
    }
    if (!platform::NameFits(FileName)) {
        Result = platform::kErrorFilenameTooLong;
        return;
    }
    const std::string name(FileName);
    platform::TextFileWriter file;
    Result = file.Create(name);
    if (Result != 0) return;

    const char savedSeparator = GlobalNumberFormat.GetDecimalSeparator();
    GlobalNumberFormat.SetDecimalSeparator('.');
    Points->GoFirst();
    Objects->GoFirst();
    MapWriter writer(file, Version, GlobalNumberFormat.GetDecimalSeparator());
    writer.Header(Generator, VersionText, name);
    for (const TElement* e = Objects->First(); e != nullptr && Result == 0; e = e->GetNext()) {
        const auto& object = *static_cast<const TObiekt*>(e);
        if (!object.HasVertices()) continue;
        if (OnlyMarked && !(object.Flags & kObjectMarked)) continue;
        writer.Object(object);
        Result = writer.Error();
    }
    writer.End();
    GlobalNumberFormat.SetDecimalSeparator(savedSeparator);

    // Closed before the result is shown, so that an error of the last writes is reported too;
    // a failed close leaves the old file in place.
    const std::int32_t closed = file.Close();
    if (Result == 0) Result = closed;
    ShowFileResult(static_cast<std::int16_t>(Result), name);
}
