#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <numeric>
#include <string>
#include <string_view>
#include <vector>

#include "data/CSchemaSetup.hpp"

namespace tokeiya {
namespace embedded {
const std::map<std::string, std::string_view>& Files();
}
namespace {

TEST(SchemaScripts, SplitAtGoLinesOnly) {
    std::vector<std::string> batches = CSchemaSetup::SplitBatches(
        "CREATE TABLE a (x INT);\n"
        "GO\n"
        "  go  \r\n"
        "-- only a comment\n"
        "GO\n"
        "CREATE FUNCTION f() AS $$ SELECT 1; -- GO inside\n$$;\n"
        "GOTO\n"
        "Go\n"
        "INSERT INTO a VALUES (1);");
    ASSERT_EQ(3u, batches.size());
    EXPECT_EQ("CREATE TABLE a (x INT);\n", batches[0]);
    EXPECT_EQ("CREATE FUNCTION f() AS $$ SELECT 1; -- GO inside\n$$;\nGOTO\n", batches[1]);
    EXPECT_EQ("INSERT INTO a VALUES (1);\n", batches[2]);
    EXPECT_TRUE(CSchemaSetup::SplitBatches("\n-- nothing\nGO\n").empty());
}

// A database is upgraded by number, so every engine needs the same numbers, 1 to the
// newest without a gap or a repeat; the SQL Server scripts, which cannot run here, too.
TEST(SchemaScripts, EveryEngineHasTheSameNumbersFromOne) {
    std::map<std::string, std::vector<int>> versions;
    for (const auto& [name, text] : embedded::Files()) {
        std::string_view path(name);
        ASSERT_EQ("db/", path.substr(0, 3)) << name;
        size_t slash = path.find('/', 3);
        ASSERT_NE(std::string_view::npos, slash) << name;
        versions[name.substr(3, slash - 3)].push_back(std::atoi(name.c_str() + slash + 1));
    }
    ASSERT_EQ(3u, versions.size());
    std::vector<int> expected(versions["sqlite"].size());
    std::iota(expected.begin(), expected.end(), 1);
    ASSERT_GE(expected.size(), 3u);
    for (const auto& [engine, numbers] : versions) {
        EXPECT_EQ(expected, numbers) << engine;
    }
}

// The ODBC drivers scan a whole batch, comments included, for parameter markers, quotes,
// statement ends and escape braces, so comments hold none of them.
TEST(SchemaScripts, CommentsHoldNothingTheDriversScanFor) {
    for (const auto& [name, text] : embedded::Files()) {
        size_t lineNumber = 0;
        size_t i = 0;
        while (i < text.size()) {
            size_t end = std::min(text.find('\n', i), text.size());
            std::string_view line = text.substr(i, end - i);
            ++lineNumber;
            size_t comment = line.find("--");
            if (comment != std::string_view::npos) {
                EXPECT_EQ(std::string_view::npos, line.find_first_of(";'?{}", comment))
                    << name << ":" << lineNumber << ": " << line;
            }
            i = end + 1;
        }
    }
}

}  // namespace
}  // namespace tokeiya
