#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "engine/CCRBase.hpp"
#include "fuzz/DefinitionFuzzTargets.hpp"

namespace tokeiya {
namespace {

// Every stored fuzzer input, crashes found earlier among them, through the fuzzers' checks.
void Replay(const std::string& folder, std::string (*run)(std::span<const unsigned char>)) {
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        std::ifstream in(entry.path(), std::ios::binary);
        const std::vector<unsigned char> data((std::istreambuf_iterator<char>(in)), {});
        EXPECT_EQ("", run(data)) << entry.path().filename();
        ++files;
    }
    EXPECT_GT(files, 3) << folder << " holds the seeds";
}

TEST(DefinitionFuzzReplay, TextDefinitions) {
    Replay(TOKEIYA_FUZZ_CORPUS "/tgd", &fuzz::RunTgd);
}

TEST(DefinitionFuzzReplay, Packages) {
    Replay(TOKEIYA_FUZZ_CORPUS "/ggd", &fuzz::RunGgd);
}

// The seeds with every number out of bounds must load (clamped), not be refused before the
// clamping is reached.
TEST(DefinitionFuzzReplay, TheOutOfBoundsSeedsLoadWithinBounds) {
    CCRBase text;
    ASSERT_TRUE(text.ReadTextDefinitionFile(TOKEIYA_FUZZ_CORPUS "/tgd/bounds.tgd"));
    EXPECT_EQ(7u, text.Items().Size());
    EXPECT_EQ("", fuzz::CheckBounds(text));

    std::ifstream in(TOKEIYA_FUZZ_CORPUS "/ggd/bounds.ggd", std::ios::binary);
    const std::vector<unsigned char> data((std::istreambuf_iterator<char>(in)), {});
    for (const char* name : {"A.tgd", "B.tgd"}) {
        CCRBase package;
        ASSERT_TRUE(package.LoadFromPackageData(data, name)) << name;
        EXPECT_EQ("", fuzz::CheckBounds(package)) << name;
    }
}

}  // namespace
}  // namespace tokeiya
