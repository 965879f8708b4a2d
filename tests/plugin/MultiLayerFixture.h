#pragma once

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "SettingsFixture.h"
#include "plugin/KWZArcView.h"
#include "plugin/LayerList.h"
#include "plugin/SHPLayer.h"

// A server object that records what the multi-layer object asks of it, as "name Op args", and
// answers with what the test set: an Identify hit, a box.
class RecordingView : public TKWZArcView {
  public:
    RecordingView(std::vector<std::string>& log, std::string name)
        : log_(log), name_(std::move(name)) {}
    ~RecordingView() override {
        if (destroyed) *destroyed = true;
    }

    std::int32_t ConfigureDisplay(std::uint32_t parent) override {
        Record() << "ConfigureDisplay " << parent;
        return 0;
    }
    std::int32_t Draw(std::uint32_t dc, double minX, double minY, double maxX, double maxY,
                      std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom,
                      std::uint8_t flag, std::int32_t param) override {
        Record() << "Draw " << dc << ' ' << minX << ' ' << minY << ' ' << maxX << ' ' << maxY << ' '
                 << left << ' ' << top << ' ' << right << ' ' << bottom << ' ' << int{flag} << ' '
                 << param;
        return 0;
    }
    bool Identify(double x, double y, double tolerance, std::uint8_t show) override {
        Record() << "Identify " << x << ' ' << y << ' ' << tolerance << ' ' << int{show};
        return hit;
    }
    bool GetExtent(double* minX, double* minY, double* maxX, double* maxY) override {
        Record() << "GetExtent";
        if (box) {
            *minX = (*box)[0];
            *minY = (*box)[1];
            *maxX = (*box)[2];
            *maxY = (*box)[3];
        }
        return true;
    }

    bool hit = false;
    std::optional<std::array<double, 4>> box;  // none: the box is left as given
    bool* destroyed = nullptr;

  private:
    // Writes the line when the returned stream goes.
    struct Line {
        Line(std::vector<std::string>& log, const std::string& name) : log(log) {
            text << name << ' ';
        }
        ~Line() { log.push_back(text.str()); }
        template <class T>
        Line& operator<<(const T& value) {
            text << value;
            return *this;
        }
        std::vector<std::string>& log;
        std::ostringstream text;
    };
    Line Record() { return Line(log_, name_); }

    std::vector<std::string>& log_;
    std::string name_;
};

// A layer over a recording view.
inline std::unique_ptr<TSHPLayer> RecordingLayer(std::vector<std::string>& log,
                                                 const std::string& name, bool visible,
                                                 RecordingView** view = nullptr) {
    auto recording = std::make_unique<RecordingView>(log, name);
    if (view) *view = recording.get();
    auto layer = std::make_unique<TSHPLayer>(std::move(recording));
    layer->FileName = "C:\\dane\\" + name + ".shp";
    layer->Visible = visible;
    return layer;
}

// Each test has its own folder, registry and headless user (SettingsTest).
class MultiLayerTest : public SettingsTest {
  protected:
    std::string File(const std::string& name) const {
        return (RegistryFile().parent_path() / name).string();
    }
    static void WriteFile(const std::string& path, const std::string& bytes) {
        std::ofstream(path, std::ios::binary) << bytes;
    }
    static std::string ReadFile(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    // The message boxes shown so far, in UTF-8.
    std::vector<std::string> Messages() const {
        std::vector<std::string> texts;
        for (const auto& m : boxes->Messages()) texts.push_back(platform::Cp1250ToUtf8(m.text));
        return texts;
    }
    static std::string Cp(std::string_view utf8) { return platform::Utf8ToCp1250(utf8); }

    // The texts of the list's items, in order.
    static std::vector<std::string> Texts(const TLayerList& list) {
        std::vector<std::string> texts;
        for (int i = 0; i < list.Count(); ++i) texts.push_back(list.Strings(i));
        return texts;
    }
};

// A point shapefile (.shp and .shx) with one record per (X, Y): X the easting, Y the northing.
inline void WritePointShapefile(const std::string& shpPath,
                                const std::vector<std::pair<double, double>>& points) {
    auto be32 = [](std::string& s, std::size_t at, std::int32_t v) {
        const auto u = static_cast<std::uint32_t>(v);
        for (int i = 0; i < 4; ++i) s[at + i] = static_cast<char>(u >> (24 - 8 * i));
    };
    auto le32 = [](std::string& s, std::size_t at, std::int32_t v) {
        const auto u = static_cast<std::uint32_t>(v);
        for (int i = 0; i < 4; ++i) s[at + i] = static_cast<char>(u >> (8 * i));
    };
    auto leDouble = [](std::string& s, std::size_t at, double v) {
        std::uint64_t u;
        std::memcpy(&u, &v, sizeof u);
        for (int i = 0; i < 8; ++i) s[at + i] = static_cast<char>(u >> (8 * i));
    };
    std::string shp(100, '\0'), shx(100, '\0');
    for (std::size_t i = 0; i < points.size(); ++i) {
        const std::size_t at = shp.size();
        shp.resize(at + 28);
        be32(shp, at, static_cast<std::int32_t>(i + 1));
        be32(shp, at + 4, 10);
        le32(shp, at + 8, 1);
        leDouble(shp, at + 12, points[i].first);
        leDouble(shp, at + 20, points[i].second);
        const std::size_t entry = shx.size();
        shx.resize(entry + 8);
        be32(shx, entry, static_cast<std::int32_t>(at / 2));
        be32(shx, entry + 4, 10);
    }
    for (std::string* s : {&shp, &shx}) {
        be32(*s, 0, 9994);
        be32(*s, 24, static_cast<std::int32_t>(s->size() / 2));
        le32(*s, 28, 1000);
        le32(*s, 32, 1);
    }
    std::ofstream(shpPath, std::ios::binary) << shp;
    std::ofstream(shpPath.substr(0, shpPath.size() - 4) + ".shx", std::ios::binary) << shx;
}
