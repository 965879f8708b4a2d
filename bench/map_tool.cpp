// The MAP reader and writer as whole processes, to time beside cat:
//   map_tool generate POINTS FILE   writes a generated map of POINTS points
//   map_tool read FILE              reads FILE into the map model
//   map_tool copy FILE OUT          reads FILE and writes it again as OUT (version 7)
#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench/GeneratedMap.h"
#include "platform/UiService.h"

int main(int argc, char** argv) {
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "generate" && argc == 4)
        return bench::WriteGeneratedMap(std::atoi(argv[2]), argv[3]) == 0 ? 0 : 1;
    if ((command != "read" || argc != 3) && (command != "copy" || argc != 4)) {
        std::fprintf(stderr, "usage: map_tool generate POINTS FILE | read FILE | copy FILE OUT\n");
        return 2;
    }
    platform::UiService::Headless()->SetEcho(false);
    bench::MapLists map;
    std::int32_t result = 0;
    ReadMapFile(argv[2], false, *map.points, *map.objects, result);
    if (result != 0) return 1;
    if (command == "copy") {
        WriteMapFile("map_tool", "1.00", 7, argv[3], false, map.points.get(), map.objects.get(),
                     result);
    }
    return result == 0 ? 0 : 1;
}
