// gfdpack: builds the function-key label package from label sources.
//
//   gfdpack OUTPUT.gfd INPUT.tfd...
//
// Each source becomes one record named after its file name (for example "CalcuA.tfd"), in
// the order given; its format is described with gfd::ParseSource. Sources are CP932, as the
// package is. A label that does not fit its 19 bytes, or that would cut a double-byte
// character, is refused, never shortened. The output is replaced only when every input was
// read.

#include <cstdio>
#include <fstream>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "tools/PackageOutput.hpp"
#include "widgets/FunctionLabelFile.hpp"

namespace {

constexpr const char* kUsage =
    "usage: gfdpack OUTPUT.gfd [INPUT.tfd...]\n"
    "Packs function-key label sources into one package, each under its file name.\n";

// Sources are a few hundred bytes; anything larger is not one.
constexpr std::streamsize kMaxSourceBytes = 64 * 1024;

std::optional<std::string> ReadSource(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        return std::nullopt;
    }
    std::string text(static_cast<std::size_t>(kMaxSourceBytes) + 1, '\0');
    file.read(text.data(), kMaxSourceBytes + 1);
    if (file.bad() || file.gcount() > kMaxSourceBytes) {
        return std::nullopt;
    }
    text.resize(static_cast<std::size_t>(file.gcount()));
    return text;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2 || argv[1][0] == '-') {
        std::fputs(kUsage, stderr);
        return 2;
    }
    const std::string output = argv[1];
    std::vector<unsigned char> package;
    std::set<std::string> names;
    for (int i = 2; i < argc; ++i) {
        const std::string input = argv[i];
        const std::optional<std::string> name = tokeiya::tools::RecordNameOf(input);
        if (!name || !tokeiya::gfd::CheckName(*name).empty()) {
            std::fprintf(stderr, "gfdpack: %s: the file name cannot be a record name\n",
                         input.c_str());
            return 1;
        }
        if (!names.insert(*name).second) {
            std::fprintf(stderr, "gfdpack: %s: a record of that name is already packed\n",
                         input.c_str());
            return 1;
        }
        const std::optional<std::string> text = ReadSource(input);
        if (!text) {
            std::fprintf(stderr, "gfdpack: %s: cannot be read\n", input.c_str());
            return 1;
        }
        std::string error;
        const std::optional<tokeiya::gfd::LabelRecord> record =
            tokeiya::gfd::ParseSource(*text, *name, error);
        if (!record || !tokeiya::gfd::AppendRecord(package, *record)) {
            std::fprintf(stderr, "gfdpack: %s: %s\n", input.c_str(), error.c_str());
            return 1;
        }
    }
    if (!tokeiya::tools::WritePackage(output, package)) {
        std::fprintf(stderr, "gfdpack: %s: cannot be written\n", output.c_str());
        return 1;
    }
    return 0;
}
