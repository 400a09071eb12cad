#pragma once

// The two shapes a member check asks of a result: exactly this type, or
// convertible to it.

#include <concepts>

template <class T, class U>
concept Is = std::same_as<T, U>;
template <class T, class U>
concept As = std::convertible_to<T, U>;
