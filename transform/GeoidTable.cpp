#include "transform/GeoidTable.h"

#include <bit>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <new>

#include "platform/BinaryFile.h"
#include "platform/Cp1250.h"
#include "platform/FileSystem.h"
#include "platform/UiService.h"
#include "transform/TransformTexts.h"
#include "transform/UnitStorage.h"

namespace {
constinit UnitStorage<std::vector<TGeoidEntry>> geoidList;
}  // namespace
constinit std::vector<TGeoidEntry>& GeoidList = geoidList.object;
std::string& GeoidPath() {
    static std::string path;  // made on first use, whatever the order of the library's start-up
    return path;
}

namespace {

constexpr std::size_t kMaxPath = 255;
constexpr std::size_t kNameBytes = 8;

double ReadLittleEndianDouble(const unsigned char* p) {
    std::uint64_t bits = 0;
    for (int i = 7; i >= 0; --i) bits = (bits << 8) | p[i];
    return std::bit_cast<double>(bits);
}

}  // namespace

std::string DefaultGeoidPath() {
    std::error_code error;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
    // A system name, like every name the library shows or opens.
    std::string path =
        (error ? std::string() : platform::Utf8ToCp1250(exe.parent_path().string())) +
        "/geoida.bin";
    if (path.size() > kMaxPath) path.resize(kMaxPath);
    return path;
}

int LoadGeoidFile(const std::string& Path) {
    GeoidList.clear();
    GeoidPath() = Path.substr(0, kMaxPath);
    // A folder, a device or a pipe in the file's place is refused as it is opened.
    platform::BinaryFile file;
    if (!file.Open(GeoidPath(), platform::BinaryFile::Mode::Read)) return -1;
    unsigned char record[kGeoidRecordSize];
    // One record at a time: the table grows with what the file really holds, never by a count.
    while (file.Read(record, kGeoidRecordSize) == kGeoidRecordSize) {
        try {
            const std::size_t length = record[0] > kNameBytes ? kNameBytes : record[0];
            GeoidList.push_back(
                {std::string(reinterpret_cast<const char*>(record + 1), length),
                 TNPoint(ReadLittleEndianDouble(record + 9), ReadLittleEndianDouble(record + 17),
                         ReadLittleEndianDouble(record + 25))});
        } catch (const std::bad_alloc&) {
            platform::MessageBox(0, transform_texts::OutOfMemory(), "", platform::MB_OK);
            return 0;
        }
    }
    // A record the device cannot deliver is reported as one that cannot be stored; the reading
    // ends there, since the position after a failed read is unknown. A short tail is no failure.
    if (file.LastError() != 0)
        platform::MessageBox(0, transform_texts::OutOfMemory(), "", platform::MB_OK);
    return 0;
}

int LoadGeoid() {
    return LoadGeoidFile(DefaultGeoidPath());
}

void InitGeoid() {
    if (LoadGeoid() == -1) {
        const std::string& text = platform::NotRegularFile(GeoidPath())
                                      ? transform_texts::GeoidNotRegular()
                                      : transform_texts::GeoidReadError();
        platform::MessageBox(0, text + GeoidPath(), "", platform::MB_OK);
    }
}

void DoneGeoid() {
    GeoidList.clear();
    GeoidList.shrink_to_fit();
}
