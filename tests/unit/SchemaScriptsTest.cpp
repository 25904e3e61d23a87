#include <gtest/gtest.h>

#include "data/CSchemaSetup.hpp"

namespace tokeiya {
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

}  // namespace
}  // namespace tokeiya
