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
#include "tests/host/PointShapefile.h"

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
