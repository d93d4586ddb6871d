#pragma once
// The twelve glyph tables of the Rachana fonts, two generations of six fonts.
// Each takes the current character as a glyph string and returns its ML-TT
// glyph string, which may be empty.

#include <string>
#include <string_view>

#include "transcode/FontTable.h"

namespace maravelundi {

const FontTable& MapV2Font1Table();
const FontTable& MapV2Font2Table();
const FontTable& MapV2Font3Table();
const FontTable& MapV2Font4Table();
const FontTable& MapV2Font5Table();
const FontTable& MapV2Font6Table();
const FontTable& MapV7Font1Table();
const FontTable& MapV7Font2Table();
const FontTable& MapV7Font3Table();
const FontTable& MapV7Font4Table();
const FontTable& MapV7Font5Table();
const FontTable& MapV7Font6Table();

std::u16string MapV2Font1(std::u16string_view glyph);
std::u16string MapV2Font2(std::u16string_view glyph);
std::u16string MapV2Font3(std::u16string_view glyph);
std::u16string MapV2Font4(std::u16string_view glyph);
std::u16string MapV2Font5(std::u16string_view glyph);
std::u16string MapV2Font6(std::u16string_view glyph);
std::u16string MapV7Font1(std::u16string_view glyph);
std::u16string MapV7Font2(std::u16string_view glyph);
std::u16string MapV7Font3(std::u16string_view glyph);
std::u16string MapV7Font4(std::u16string_view glyph);
std::u16string MapV7Font5(std::u16string_view glyph);
std::u16string MapV7Font6(std::u16string_view glyph);

}  // namespace maravelundi
