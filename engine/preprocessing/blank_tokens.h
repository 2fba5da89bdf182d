#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

namespace kivo {

/// Finds where the first `count` tokens of `text` begin, tokens being separated by runs of
/// blanks (tabs belong to the tokens); `starts` receives their offsets, fewer when the text
/// holds fewer tokens.
void FindTokenStarts(std::string_view text, std::size_t count, std::vector<std::size_t>& starts);

/// The token that begins at offset `start`: up to the next blank or the end of the text.
std::string_view TokenAt(std::string_view text, std::size_t start);

}  // namespace kivo
