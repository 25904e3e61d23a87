// ggdpack: builds the screen definition package from text definitions.
//
//   ggdpack OUTPUT.ggd INPUT.tgd...
//
// Each text definition becomes one record named after its file name (for example
// "CalcuA.tgd"), in the order given. With no input the package is empty: every lookup in
// it fails and the screens keep the look their code gives them. The output is replaced
// only when every input was read.

#include <cstdio>
#include <optional>
#include <set>
#include <string>

#include "engine/CByteWriter.hpp"
#include "engine/CCRBase.hpp"
#include "tools/PackageOutput.hpp"

namespace {

constexpr const char* kUsage =
    "usage: ggdpack OUTPUT.ggd [INPUT.tgd...]\n"
    "Packs text screen definitions into one package, each under its file name.\n";

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2 || argv[1][0] == '-') {
        std::fputs(kUsage, stderr);
        return 2;
    }
    const std::string output = argv[1];
    tokeiya::CByteWriter package;
    std::set<std::string> names;
    for (int i = 2; i < argc; ++i) {
        const std::string input = argv[i];
        const std::optional<std::string> name = tokeiya::tools::RecordNameOf(input);
        if (!name || name->empty()) {
            std::fprintf(stderr, "ggdpack: %s: the file name cannot be a definition name\n",
                         input.c_str());
            return 1;
        }
        if (!names.insert(*name).second) {
            std::fprintf(stderr, "ggdpack: %s: a definition of that name is already packed\n",
                         input.c_str());
            return 1;
        }
        tokeiya::CCRBase surface;
        if (!surface.ReadTextDefinitionFile(input)) {
            std::fprintf(stderr, "ggdpack: %s: cannot be read, or asks for too large a grid\n",
                         input.c_str());
            return 1;
        }
        if (!surface.WriteBinaryDefinition(package, *name)) {
            std::fprintf(stderr, "ggdpack: %s: the file name is too long for a package record\n",
                         input.c_str());
            return 1;
        }
    }
    if (!tokeiya::tools::WritePackage(output, package.Data())) {
        std::fprintf(stderr, "ggdpack: %s: cannot be written\n", output.c_str());
        return 1;
    }
    return 0;
}
