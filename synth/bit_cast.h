// The bits of one value read as another type of the same size, at compile
// time too: std::bit_cast, for standard libraries that lack it.
#pragma once

#include <type_traits>

template <typename To, typename From>
constexpr To bitCast(const From& from) noexcept {
  static_assert(sizeof(To) == sizeof(From), "same size");
  static_assert(std::is_trivially_copyable_v<To> && std::is_trivially_copyable_v<From>, "plain bits");
  return __builtin_bit_cast(To, from);
}
