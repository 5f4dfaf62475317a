// The picture generator: writes every bitmap the game carries as a 24-bit BMP, or a contact sheet.
//   artgen <folder> [name...]              every picture (or the named ones) as <folder>/<name>.bmp
//   artgen --contact-sheet <out.png>       all pictures on one review sheet
//   artgen --zoom <name> <factor> <out.png> one picture enlarged
//   artgen --preview <level> <maps folder> <out.png>  a mock game screen (level 0: the menus)
//   artgen --icons <folder>                the desktop icon as <folder>/<N>x<N>/apps/vimbo2.png
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>
#include <vector>

#include "ContactSheet.hpp"
#include "Files.hpp"
#include "Icons.hpp"
#include "Pictures.hpp"
#include "Preview.hpp"

namespace {

int Usage() {
    std::fprintf(stderr, "usage: artgen <folder> [name...] | --contact-sheet <out.png> | "
                         "--zoom <name> <factor> <out.png> | --preview <level> <maps> <out.png> | "
                         "--icons <folder>\n");
    return 2;
}

bool Wanted(const std::string& name, const std::vector<std::string>& names) {
    if (names.empty())
        return true;
    for (const auto& n : names)
        if (n == name)
            return true;
    return false;
}

int Run(const std::vector<std::string>& args) {
    const std::vector<artgen::ArtItem> items = artgen::Catalogue();
    if (args.size() == 2 && args[0] == "--contact-sheet") {
        std::vector<artgen::NamedPicture> pictures;
        for (const auto& item : items)
            pictures.push_back({&item, item.make()});
        artgen::WritePng(artgen::MakeContactSheet(pictures), args[1]);
        return 0;
    }
    if (args.size() == 4 && args[0] == "--zoom") {
        for (const auto& item : items)
            if (item.name == args[1]) {
                artgen::WritePng(artgen::Enlarge({&item, item.make()}, std::atoi(args[2].c_str())), args[3]);
                return 0;
            }
        std::fprintf(stderr, "artgen: no picture named %s\n", args[1].c_str());
        return 1;
    }
    if (args.size() == 4 && args[0] == "--preview") {
        artgen::WritePng(artgen::MakePreview(std::atoi(args[1].c_str()), args[2]), args[3]);
        return 0;
    }
    if (args.size() == 2 && args[0] == "--icons") {
        artgen::WriteIcons(args[1]);
        return 0;
    }
    if (args.empty() || args[0].starts_with("--"))
        return Usage();
    const std::vector<std::string> names(args.begin() + 1, args.end());
    for (const auto& item : items)
        if (Wanted(item.name, names))
            artgen::WriteBmp(item.make(), args[0] + "/" + item.name + ".bmp");
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    try {
        return Run(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "artgen: %s\n", e.what());
        return 1;
    }
}
