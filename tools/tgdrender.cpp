// tgdrender: paints screen and report layouts into PNG pictures, so that a person can look
// at a layout without running the program.
//
//   tgdrender OUTPUT-FOLDER LAYOUT.tgd...     writes OUTPUT-FOLDER/<layout>.png for each

#include <cstdio>
#include <filesystem>
#include <string>

#include "engine/CCRBase.hpp"
#include "platform/gdi/CMemoryDC.hpp"

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fputs("usage: tgdrender OUTPUT-FOLDER LAYOUT.tgd...\n", stderr);
        return 2;
    }
    std::filesystem::path folder = argv[1];
    std::filesystem::create_directories(folder);
    int failures = 0;
    for (int i = 2; i < argc; ++i) {
        std::filesystem::path layout = argv[i];
        bool portrait = layout.stem().string().rfind("Print", 0) == 0;
        // Screens at a desktop window's size, reports at an A4 page's proportions.
        const int width = portrait ? 1000 : 1600;
        const int height = portrait ? 1414 : 1000;
        tokeiya::CCRBase surface;
        surface.SetRect(tokeiya::CRect{0, 0, width, height});
        if (!surface.ReadTextDefinitionFile(layout.string())) {
            std::fprintf(stderr, "tgdrender: cannot read %s\n", layout.c_str());
            ++failures;
            continue;
        }
        tokeiya::CMemoryDC dc(width, height);
        dc.FillSolidRect(tokeiya::CRect{0, 0, width, height}, 0xFFFFFF);
        surface.Draw(dc);
        std::filesystem::path png = folder / (layout.stem().string() + ".png");
        if (!dc.WritePng(png.string())) {
            std::fprintf(stderr, "tgdrender: cannot write %s\n", png.c_str());
            ++failures;
        }
    }
    return failures == 0 ? 0 : 1;
}
