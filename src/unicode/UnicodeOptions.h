#pragma once
// Choices that shape every Unicode output beyond the document itself.

#include "families/Spelling.h"

namespace maravelundi {

struct UnicodeOptions {
  // Fonts of the other legacy families (ML-Nandini, MLB-..., ...) convert
  // too, each by its own encoding; off, every "ML-" font is read as ML-TT
  // and other fonts are copied.
  bool legacyFamilies = false;
  Spelling spelling = Spelling::kLegacy;
};

}  // namespace maravelundi
