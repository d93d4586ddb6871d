#pragma once

namespace maravelundi {

// How the Malayalam of a Unicode output is spelled (see SpellingFilter.h):
// legacy, as converted; modern, as Malayalam is written in Unicode today.
enum class Spelling { kLegacy, kModern };

}  // namespace maravelundi
