#include "common/file_naming.h"

#include <gtest/gtest.h>

namespace kivo {
namespace {

TEST(FileNaming, StripLastExtension) {
    const std::pair<const char*, const char*> cases[] = {
        {"a.b.cwa", "a.b"},
        {"abc", "abc"},
        {"abc.", "abc"},
        {".con", ""},
        {"/runs/ditch.cwa", "/runs/ditch"},
        {"/runs.v2/ditch", "/runs.v2/ditch"},  // a dot in the directory is no extension
        {"", ""},
    };
    for (const auto& [name, stripped] : cases)
        EXPECT_EQ(StripLastExtension(name), stripped) << name;
}

TEST(FileNaming, DirectoryAndFileParts) {
    struct Case {
        const char* path;
        const char* directory;
        const char* file;
    };
    const Case cases[] = {
        {"/runs/ditch.cwa", "/runs/", "ditch.cwa"},
        {"ditch.cwa", "", "ditch.cwa"},
        {"runs/sub/", "runs/sub/", ""},
        {"/x", "/", "x"},
        {"", "", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DirectoryPart(c.path), c.directory) << c.path;
        EXPECT_EQ(FileNamePart(c.path), c.file) << c.path;
    }
    EXPECT_EQ(DirectorySeparator(), '/');
}

TEST(FileNaming, ConcentrationFileName) {
    EXPECT_EQ(ConcentrationFileName("/runs/ditch.cwa", 5), "ditch_seg5.con");
    EXPECT_EQ(ConcentrationFileName("a.b.out", 12), "a.b_seg12.con");
    EXPECT_EQ(ConcentrationFileName("relative/pond", 0), "pond_seg0.con");
    EXPECT_EQ(ConcentrationFileName("/runs.v2/stream", 1), "stream_seg1.con");
}

TEST(FileNaming, ResultFileBaseCutsDirectoryAndFourCharacters) {
    const std::pair<const char*, const char*> cases[] = {
        {"ditch_seg5.con", "ditch_seg5"},
        {"/data/series.con", "series"},
        {"/data/series.cn", "serie"},  // the last four characters go, whatever they are
        {"/data/a.co", ""},
        {"x.con", "x"},
        {".con", ""},
        {"", ""},
    };
    for (const auto& [file, base] : cases) EXPECT_EQ(ResultFileBase(file), base) << file;
}

}  // namespace
}  // namespace kivo
