#include "common/text_lines.h"

#include <gtest/gtest.h>

#include "common/text_file_writer.h"
#include "tests/test_support.h"

namespace kivo {
namespace {

std::vector<std::string> ReadAllLines(const std::string& path, TextLineReader& reader) {
    std::vector<std::string> lines;
    EXPECT_TRUE(reader.Open(path));
    std::string_view line;
    while (reader.NextLine(line)) {
        lines.emplace_back(line);
        EXPECT_EQ(reader.LineNumber(), static_cast<long>(lines.size()));
    }
    return lines;
}

struct LineCase {
    const char* name;
    std::string bytes;
    std::vector<std::string> lines;
};

TEST(TextLines, ReaderAndSplitterAgreeOnLineRules) {
    const std::vector<LineCase> cases = {
        {"empty file", "", {}},
        {"CR LF", "a\r\nbb\r\n", {"a", "bb"}},
        {"LF alone", "a\nbb\n", {"a", "bb"}},
        {"no final line end", "a\r\nlast", {"a", "last"}},
        {"blank lines kept", "\r\n\nx\n", {"", "", "x"}},
        {"1A ends the input",
         "a\r\nb\x1A"
         "c\r\nd\r\n",
         {"a", "b"}},
        {"1A right after a line end", "a\r\n\x1A\r\n", {"a"}},
        {"lone CR inside a line stays", "a\rb\r\n", {"a\rb"}},
        {"CR at the very end is a cut line end", "a\r\nb\r", {"a", "b"}},
        {"8-bit bytes unchanged", "\xB5g/L\r\n", {"\xB5g/L"}},
    };
    test::TempDir dir;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = dir.File("lines.txt");
        test::WriteFile(path, c.bytes);
        TextLineReader reader;
        EXPECT_EQ(ReadAllLines(path, reader), c.lines);
        EXPECT_TRUE(reader.ReachedEnd());
        EXPECT_FALSE(reader.Failed());

        std::vector<std::string> split;
        for (auto line : SplitTextLines(c.bytes)) split.emplace_back(line);
        EXPECT_EQ(split, c.lines);
    }
}

TEST(TextLines, LinesAcrossBlockBordersAreWhole) {
    // Lines of varying length so that line ends, CRs and line bodies all meet the reading
    // block borders somewhere, plus one line longer than a block.
    std::string bytes;
    std::vector<std::string> expected;
    for (int i = 0; bytes.size() < 3 * (1u << 20); ++i) {
        std::string line(static_cast<std::size_t>(i % 97), static_cast<char>('a' + i % 26));
        line += std::to_string(i);
        expected.push_back(line);
        bytes += line + "\r\n";
    }
    expected.push_back(std::string((1u << 20) + 10, 'z'));
    bytes += expected.back() + "\r\nend";
    expected.push_back("end");

    test::TempDir dir;
    test::WriteFile(dir.File("big.txt"), bytes);
    TextLineReader reader;
    const auto lines = ReadAllLines(dir.File("big.txt"), reader);
    ASSERT_EQ(lines.size(), expected.size());
    for (std::size_t i = 0; i < lines.size(); ++i)
        ASSERT_EQ(lines[i], expected[i]) << "line " << i + 1;
}

TEST(TextLines, CrLfSplitAcrossBlockBorderIsOneLineEnd) {
    // The CR is the last byte of the first block, its LF the first byte of the second.
    const std::size_t block = 1u << 20;
    std::string bytes(block - 1, 'x');
    bytes += "\r\nsecond\r\n";
    test::TempDir dir;
    test::WriteFile(dir.File("split.txt"), bytes);
    TextLineReader reader;
    const auto lines = ReadAllLines(dir.File("split.txt"), reader);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], std::string(block - 1, 'x'));
    EXPECT_EQ(lines[1], "second");
}

TEST(TextLines, MissingFileFailsAndIsNoEnd) {
    test::TempDir dir;
    TextLineReader reader;
    EXPECT_FALSE(reader.Open(dir.File("missing.txt")));
    EXPECT_TRUE(reader.Failed());
    std::string_view line;
    EXPECT_FALSE(reader.NextLine(line));
    EXPECT_FALSE(reader.ReachedEnd());

    std::string bytes = "old";
    EXPECT_FALSE(ReadWholeFile(dir.File("missing.txt"), bytes));
    EXPECT_TRUE(bytes.empty());
}

TEST(TextLines, ReadingADirectoryFails) {
    test::TempDir dir;
    TextLineReader reader;
    std::string_view line;
    if (reader.Open(dir.Path().string())) {
        EXPECT_FALSE(reader.NextLine(line));
    }
    EXPECT_TRUE(reader.Failed());
    EXPECT_FALSE(reader.ReachedEnd());
}

TEST(TextFileWriter, WritesBytesUnchangedWithCrLf) {
    test::TempDir dir;
    TextFileWriter writer;
    ASSERT_TRUE(writer.Open(dir.File("out.txt")));
    writer.WriteLine("a\tb");
    writer.Write("\xB5g/L");
    writer.WriteLine("");
    const std::string large(3 * (1u << 20) + 7, 'q');  // more than the buffer at once
    writer.Write(large);
    writer.WriteLine("tail");
    EXPECT_TRUE(writer.Close());
    EXPECT_EQ(test::ReadFile(dir.File("out.txt")), "a\tb\r\n\xB5g/L\r\n" + large + "tail\r\n");
}

TEST(TextFileWriter, FailuresAreReportedAtClose) {
    test::TempDir dir;
    TextFileWriter cannotOpen;
    EXPECT_FALSE(cannotOpen.Open(dir.File("no such dir/out.txt")));
    cannotOpen.WriteLine("x");
    EXPECT_FALSE(cannotOpen.Close());

    // A full device takes the bytes into the buffer and refuses them when they are written.
    TextFileWriter full;
    if (!full.Open("/dev/full")) GTEST_SKIP() << "/dev/full is not available";
    full.WriteLine("lost");
    EXPECT_FALSE(full.Close());
    EXPECT_TRUE(full.Failed());
}

}  // namespace
}  // namespace kivo
