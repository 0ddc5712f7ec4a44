#pragma once
// Where a control's parent places it: free (alNone), along one side with the parent's full
// width or height, or over the whole client area (alClient).
#include <cstdint>

enum class TAlign : std::uint8_t { alNone, alTop, alBottom, alLeft, alRight, alClient };
