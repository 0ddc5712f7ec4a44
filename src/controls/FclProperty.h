#pragma once
// The library's property setters store a value only when it differs, and then tell their
// owner. StoreChanged does the first half and says whether anything changed.
#include <utility>

template <typename T, typename U>
bool StoreChanged(T& field, U&& value) {
    if (field == value) return false;
    field = std::forward<U>(value);
    return true;
}
