#include "engine/preprocessing/blank_tokens.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace kivo {
namespace {

std::vector<std::string> SplitSimply(const std::string& text) {
    std::vector<std::string> tokens;
    std::string token;
    for (const char c : text) {
        if (c == ' ') {
            if (!token.empty()) tokens.push_back(token);
            token.clear();
        } else {
            token.push_back(c);
        }
    }
    if (!token.empty()) tokens.push_back(token);
    return tokens;
}

std::vector<std::string> SplitWithStarts(const std::string& text, std::size_t count) {
    std::vector<std::size_t> starts;
    FindTokenStarts(text, count, starts);
    std::vector<std::string> tokens;
    for (const std::size_t start : starts) tokens.emplace_back(TokenAt(text, start));
    return tokens;
}

TEST(BlankTokensTest, SplitsAtBlankRunsAcrossBlockBoundaries) {
    // Mixes of blanks, tabs and letters up to 40 bytes long from a fixed seed, so that tokens
    // and blank runs start and end at all offsets of the sixteen-byte blocks.
    unsigned state = 12345;
    for (int round = 0; round < 2000; ++round) {
        std::string text;
        const std::size_t length = round % 41;
        for (std::size_t i = 0; i < length; ++i) {
            state = state * 1103515245u + 12345u;
            const unsigned pick = (state >> 16) % 8;
            text.push_back(pick < 3 ? ' ' : pick == 3 ? '\t' : static_cast<char>('a' + pick));
        }
        SCOPED_TRACE("\"" + text + "\"");
        const std::vector<std::string> all = SplitSimply(text);
        EXPECT_EQ(SplitWithStarts(text, 1000), all);
        const std::size_t few = round % 4;
        EXPECT_EQ(SplitWithStarts(text, few),
                  std::vector<std::string>(all.begin(), all.begin() + std::min(few, all.size())));
    }
}

}  // namespace
}  // namespace kivo
