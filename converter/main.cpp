// The converter program Pontra.
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "converter/PontraApplication.h"

int main(int argc, char** argv) {
    try {
        return PontraMain(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const std::exception& error) {
        std::fprintf(stderr, "pontra: %s\n", error.what());
        return 1;
    }
}
