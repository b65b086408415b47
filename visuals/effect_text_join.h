// Joins pieces of effect text into one zero-terminated text at compile time.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>

template <std::size_t... N>
consteval std::array<char, (N + ...) - sizeof...(N) + 1> joinEffectText(const char (&... pieces)[N]) {
  std::array<char, (N + ...) - sizeof...(N) + 1> text{};
  std::size_t at = 0;
  ((std::copy_n(pieces, N - 1, text.begin() + static_cast<std::ptrdiff_t>(at)), at += N - 1), ...);
  text[at] = '\0';
  return text;
}
