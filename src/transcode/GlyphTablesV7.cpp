// Glyph tables of the Rachana version 7 fonts: for each code of a source
// font, the ML-TT glyph codes that draw the same text in "ML-TTRevathi".
// Rows are kept in the order the tables have always listed them; a value is
// the ML-TT codes as a byte string.

#include "transcode/GlyphTables.h"

namespace maravelundi {
namespace {

// MapV7Font1: 137 rows; unlisted codes give the code itself.
constexpr GlyphRow kMapV7Font1Rows[] = {
    {0x21, "\x21"}, {0x22, "\x27"}, {0x25, "\x25"}, {0x27, "\x27"},
    {0x28, "\x28"}, {0x29, "\x29"}, {0x2A, "\x2A"}, {0x2B, "\x2B"},
    {0x2C, "\x2C"}, {0x2E, "\x2E"}, {0x2F, "\x2F"}, {0x30, "\x30"},
    {0x31, "\x31"}, {0x32, "\x32"}, {0x33, "\x33"}, {0x34, "\x34"},
    {0x35, "\x35"}, {0x36, "\x36"}, {0x37, "\x37"}, {0x38, "\x38"},
    {0x39, "\x39"}, {0x3A, "\x3A"}, {0x3B, "\x3B"}, {0x3C, "\x3C"},
    {0x3D, "\x3D"}, {0x3E, "\x3E"}, {0x3F, "\x3F"}, {0x40, "\x40"},
    {0x41, "\x41"}, {0x42, "\x42"}, {0x43, "\x43"}, {0x44, "\x44"},
    {0x45, "\x45"}, {0x46, "\x46"}, {0x47, "\x47"}, {0x48, "\x48"},
    {0x49, "\x49"}, {0x4A, "\x4A"}, {0x4B, "\x4B"}, {0x4C, "\x4C"},
    {0x4D, "\x4D"}, {0x4E, "\x4E"}, {0x4F, "\x4F"}, {0x50, "\x50"},
    {0x51, "\x51"}, {0x52, "\x52"}, {0x53, "\x53"}, {0x54, "\x54"},
    {0x55, "\x55"}, {0x56, "\x56"}, {0x57, "\x57"}, {0x58, "\x58"},
    {0x59, "\x59"}, {0x5A, "\x5A"}, {0x5B, "\x5B"}, {0x5C, "\x5C"},
    {0x5D, "\x5D"}, {0x5E, "\x5E"}, {0x5F, "\x5F"}, {0x60, "\x22"},
    {0x61, "\x61"}, {0x62, "\x62"}, {0x63, "\x63"}, {0x64, "\x65"},
    {0x65, "\x68"}, {0x66, "\x69"}, {0x67, "\x6A"}, {0x68, "\x6B"},
    {0x69, "\x6C"}, {0x6A, "\x66"}, {0x6B, "\x67"}, {0x6C, "\x64"},
    {0x6D, "\x76"}, {0x6E, "\x6D"}, {0x6F, "\x6E"}, {0x70, "\x6F"},
    {0x71, "\x70"}, {0x72, "\x71"}, {0x73, "\x72"}, {0x74, "\x73"},
    {0x75, "\x74"}, {0x76, "\x75"}, {0x77, "\x77"}, {0x78, "\x78"},
    {0x79, "\x79"}, {0x7A, "\x79\x70"}, {0x7B, "\x79\x71"}, {0x7C, "\x7A"},
    {0x7D, "\x7B"}, {0x82, "\x27"}, {0x91, "\x22"}, {0x92, "\x27"},
    {0x93, "\x22"}, {0x94, "\x27\x27"}, {0xA1, "\x45"}, {0xA6, "\x73\x46"},
    {0xA8, "\x48\x6D"}, {0xA9, "\x48\x75"}, {0xAD, "\xFE"}, {0xAE, "\xAC"},
    {0xAF, "\xFE"}, {0xB0, "\xB3"}, {0xB1, "\xC0"}, {0xB2, "\xC2"},
    {0xB3, "\xC4"}, {0xB4, "\xA2"}, {0xB7, "\x2E"}, {0xB8, "\xA3"},
    {0xB9, "\xA6"}, {0xBA, "\xA7"}, {0xBC, "\xAA"}, {0xBD, "\xAB"},
    {0xBE, "\xAD"}, {0xBF, "\xAF"}, {0xC0, "\xB5"}, {0xC1, "\xB6"},
    {0xC2, "\xE2"}, {0xC3, "\xB8"}, {0xC4, "\xBC"}, {0xC5, "\xBD"},
    {0xC6, "\x62\x76\xA1"}, {0xC7, "\xBF"}, {0xC8, "\xC3"}, {0xC9, "\xC5"},
    {0xCA, "\xE4"}, {0xCC, "\x76\x2D\x66"}, {0xCD, "\x66\x2D\x6E"}, {0xCE, "\x43\x75"},
    {0xCF, "\x44\x75"}, {0xD0, "\xA1"}, {0xD1, "\xA8"}, {0xF5, "\x60"},
    {0xFB, "\x76"}, {0x20, "\x20"}, {0x0D, "\x0D"}, {0x0A, "\x0A"},
    {0xF4, "\xFE"},
};

// MapV7Font2: 171 rows; unlisted codes give a space.
constexpr GlyphRow kMapV7Font2Rows[] = {
    {0x21, "\x49\x70"}, {0x22, "\x27\x27"}, {0x23, "\x49\x72"}, {0x24, "\xA2"},
    {0x25, "\xA1\x70"}, {0x26, "\xA1\x71"}, {0x27, "\x27"}, {0x28, "\x7B\xA1"},
    {0x29, "\x7B\xA1\x70"}, {0x2A, "\x7B\xA1\x71"}, {0x2B, "\xCE"}, {0x2C, "\xCE\x70"},
    {0x2E, "\x2E"}, {0x2F, "\xFE"}, {0x30, "\x49\x76\x57\x70"}, {0x31, "\x49\x76\x57\x71"},
    {0x32, "\xE0"}, {0x33, "\xE0\x70"}, {0x34, "\xE0\x71"}, {0x35, "\xE0\x72"},
    {0x36, "\x7B\xE0"}, {0x37, "\x7B\xE0\x70"}, {0x38, "\x7B\xE0\x71"}, {0x39, "\x49\x76\x5C"},
    {0x3A, "\x49\x76\x5C\x70"}, {0x3B, "\x49\x76\x5C\x71"}, {0x3C, "\x49\x76\x61"}, {0x3D, "\x49\x76\x61\x70"},
    {0x3E, "\x49\x76\x61\x71"}, {0x3F, "\x7B\x49"}, {0x40, "\x7B\x49\x70"}, {0x41, "\x7B\x49\x71"},
    {0x42, "\xA2"}, {0x43, "\xA2\x70"}, {0x44, "\xA2\x71"}, {0x45, "\xA3\x70"},
    {0x46, "\xA3\x71"}, {0x47, "\xA3\x72"}, {0x48, "\xA3\x76\x57"}, {0x49, "\xA3\x76\x57\x70"},
    {0x4A, "\xA3\x76\x57\x71"}, {0x4B, "\xA3\x76\x61"}, {0x4C, "\xA3\x76\x61\x70"}, {0x4D, "\xA3\x76\x61\x71"},
    {0x4E, "\xA3\x76\x61\x72"}, {0x4F, "\x49\x76\x6B"}, {0x50, "\x49\x76\x6B\x70"}, {0x51, "\x49\x76\x6B\x71"},
    {0x52, "\x49\x76\x6B\x72"}, {0x53, "\x49\x76\xE4"}, {0x54, "\x49\x76\xE4\x70"}, {0x55, "\x49\x76\xE4\x71"},
    {0x56, "\x4A\x70"}, {0x57, "\x4A\x71"}, {0x58, "\x4A\x72"}, {0x59, "\x4B\x70"},
    {0x5A, "\x4B\x71"}, {0x5B, "\x4B\x72"}, {0x5C, "\xA4"}, {0x5D, "\xA4\x70"},
    {0x5E, "\xA4\x71"}, {0x5F, "\xFE"}, {0x60, "\x2C"}, {0x61, "\x4B\x76\x5A"},
    {0x62, "\x4B\x76\x5A\x70"}, {0x63, "\x4B\x76\x5A\x71"}, {0x64, "\x4B\x76\x5A\x72"}, {0x65, "\x4B\x76\xB2"},
    {0x66, "\x4B\x76\xB2\x70"}, {0x67, "\x4B\x76\xB2\x71"}, {0x68, "\x4B\x76\xB2\x72"}, {0x69, "\x4B\x76\x7B\xB2"},
    {0x6A, "\x4B\x76\x7B\xB2\x70"}, {0x6B, "\x4B\x76\x7B\xB2\x71"}, {0x6C, "\xE1"}, {0x6D, "\xE1\x70"},
    {0x6E, "\xE1\x71"}, {0x6F, "\xDC"}, {0x70, "\xDC\x70"}, {0x71, "\xDC\x71"},
    {0x72, "\x7B\x4B"}, {0x73, "\x7B\x4B\x70"}, {0x74, "\x7B\x4B\x71"}, {0x75, "\xA5"},
    {0x76, "\xA5\x70"}, {0x77, "\xA5\x71"}, {0x78, "\x4C\x70"}, {0x79, "\x4C\x71"},
    {0x7A, "\x4C\x72"}, {0x7B, "\x4C\x76\x5C"}, {0x7C, "\x4C\x76\x5C\x70"}, {0x7D, "\x4C\x76\x5C\x71"},
    {0x7E, "\x7B\x4C"}, {0xA1, "\x7B\x4C\x70"}, {0xA6, "\xA1\x72"}, {0xA8, "\xA1\x72"},
    {0xA9, "\x49\x71"}, {0xAA, "\x49\x71"}, {0xAE, "\xA8\x70"}, {0xB0, "\xA8\x71"},
    {0xB1, "\xD1"}, {0xB2, "\xD1\x70"}, {0xB3, "\xD1\x71"}, {0xB4, "\xD1\x72"},
    {0xB7, "\x2E"}, {0xB8, "\x7B\xD1\x70"}, {0xB9, "\x7B\xD1\x71"}, {0xBA, "\x4F\x70"},
    {0xBC, "\x4F\x72"}, {0xBD, "\x7B\x4F"}, {0xBE, "\x7B\x4F\x70"}, {0xBF, "\x7B\x4F\x71"},
    {0xC0, "\x50\x70"}, {0xC1, "\x50\x71"}, {0xC2, "\x50\x72"}, {0xC3, "\xD6"},
    {0xC4, "\xD6\x70"}, {0xC5, "\xD6\x71"}, {0xC6, "\xD6\x72"}, {0xC7, "\xDA"},
    {0xC8, "\xDA\x70"}, {0xC9, "\xDA\x71"}, {0xCA, "\x7B\x50"}, {0xCB, "\x7B\x50\x70"},
    {0xCC, "\x7B\x50\x71"}, {0xCD, "\x51\x70"}, {0xCE, "\x51\x71"}, {0xCF, "\x51\x72"},
    {0xD0, "\x7B\x51"}, {0xD1, "\x7B\x51\x70"}, {0xD2, "\x7B\x51\x71"}, {0xD3, "\x52\x70"},
    {0xD4, "\x52\x71"}, {0xD5, "\xA9"}, {0xD6, "\xA9\x70"}, {0xD7, "\xA9\x71"},
    {0xD8, "\xA9\x72"}, {0xD9, "\x52\x76\x4F"}, {0xDA, "\x52\x76\x4F\x70"}, {0xDB, "\x52\x76\x4F\x71"},
    {0xDC, "\x52\x76\x4F\x72"}, {0xDD, "\x52\x76\x50"}, {0xDE, "\x52\x76\x50\x70"}, {0xDF, "\x52\x76\x50\x71"},
    {0xE0, "\xAA\x70"}, {0xE1, "\xAA\x71"}, {0xE2, "\x53\x70"}, {0xE3, "\x53\x71"},
    {0xE4, "\x53\x72"}, {0xE5, "\xAB\x70"}, {0xE6, "\xAB\x71"}, {0xE7, "\x7B\x53"},
    {0xE8, "\x7B\x53\x70"}, {0xE9, "\x7B\x53\x71"}, {0xEA, "\x54\x70"}, {0xEB, "\x54\x71"},
    {0xEC, "\x55\x70"}, {0xED, "\x55\x71"}, {0xEE, "\x55\x72"}, {0xEF, "\xCD"},
    {0xF0, "\xCD\x70"}, {0xF1, "\xCD\x71"}, {0xF2, "\xCD\x72"}, {0xF3, "\x55\x76\x56"},
    {0xF4, "\x55\x76\x56\x70"}, {0xF5, "\x55\x76\x56\x71"}, {0xFA, "\x4E\x71"}, {0xFB, "\xA4\x72"},
    {0x20, "\x20"}, {0x0D, "\x0D"}, {0x0A, "\x0A"},
};

// MapV7Font3: 181 rows; unlisted codes give a space.
constexpr GlyphRow kMapV7Font3Rows[] = {
    {0x21, "\x55\x76\x61"}, {0x22, "\x27\x27"}, {0x23, "\x55\x76\x61\x71"}, {0x24, "\x55\x76\x61\x72"},
    {0x25, "\x7B\x55"}, {0x26, "\x7B\x55\x70"}, {0x27, "\x27"}, {0x28, "\x56\x70"},
    {0x29, "\x56\x71"}, {0x2A, "\x56\x72"}, {0x2B, "\x7B\x56"}, {0x2C, "\x7B\x56\x70"},
    {0x2E, "\x2E"}, {0x30, "\x57\x71"}, {0x31, "\xAD\x70"}, {0x32, "\xAD\x71"},
    {0x33, "\x7B\xAD"}, {0x34, "\x7B\xAD\x70"}, {0x35, "\x7B\xAD\x71"}, {0x36, "\x57\x76\x54"},
    {0x37, "\xDE"}, {0x38, "\xDE\x70"}, {0x39, "\xDE\x71"}, {0x3A, "\xDE\x72"},
    {0x3B, "\x7B\xDE"}, {0x3C, "\x7B\xDE\x70"}, {0x3D, "\x7B\xDE\x71"}, {0x3E, "\x57\x76\x56"},
    {0x3F, "\x57\x76\x56\x70"}, {0x40, "\x57\x76\x56\x71"}, {0x41, "\x57\x76\x56\x72"}, {0x42, "\xAE"},
    {0x43, "\xAE\x70"}, {0x44, "\xAE\x71"}, {0x45, "\xD7"}, {0x46, "\xD7\x70"},
    {0x47, "\xD7\x71"}, {0x48, "\x58\x70"}, {0x49, "\x58\x71"}, {0x4A, "\x58\x72"},
    {0x4B, "\xAF\x70"}, {0x4C, "\xAF\x71"}, {0x4D, "\xAF\x72"}, {0x4E, "\x7B\xAF"},
    {0x4F, "\x7B\xAF\x70"}, {0x50, "\x7B\xAF\x71"}, {0x51, "\xB0"}, {0x52, "\xB0\x70"},
    {0x53, "\xB0\x71"}, {0x54, "\xB0\x72"}, {0x55, "\x58\x76\x5C"}, {0x56, "\xDB"},
    {0x57, "\xDB\x70"}, {0x58, "\xDB\x71"}, {0x59, "\xDB\x72"}, {0x5A, "\xDF"},
    {0x5B, "\xDF\x70"}, {0x5C, "\xDF\x71"}, {0x5D, "\xDF\x72"}, {0x5E, "\x7B\x58"},
    {0x5F, "\xFE"}, {0x60, "\x2C"}, {0x61, "\x7B\x58\x71"}, {0x62, "\x58\x76\x66"},
    {0x63, "\x58\x76\x66\x70"}, {0x64, "\x58\x76\x66\x71"}, {0x65, "\xD5"}, {0x66, "\xD5\x70"},
    {0x67, "\xD5\x71"}, {0x68, "\xD5\x72"}, {0x69, "\xD5\x76\x59"}, {0x6A, "\xD5\x76\x59\x70"},
    {0x6B, "\xD5\x76\x59\x71"}, {0x6C, "\xD5\x76\x59\x72"}, {0x6D, "\xD5\x76\x5C"}, {0x6E, "\xD5\x76\x5C\x70"},
    {0x6F, "\xD5\x76\x5C\x71"}, {0x70, "\xD5\x76\x61"}, {0x71, "\xD5\x76\x61\x70"}, {0x72, "\xD5\x76\x61\x71"},
    {0x73, "\xD5\x76\x61\x72"}, {0x74, "\x7B\xD5"}, {0x75, "\x7B\xD5\x70"}, {0x76, "\x7B\xD5\x71"},
    {0x77, "\x59\x70"}, {0x78, "\x59\x71"}, {0x79, "\x59\x76\x5C"}, {0x7A, "\x59\x76\x5C\x70"},
    {0x7B, "\x59\x76\x5C\x71"}, {0x7C, "\x59\x76\x61"}, {0x7D, "\x59\x76\x61\x70"}, {0x7E, "\x59\x76\x61\x71"},
    {0x91, "\x22"}, {0x92, "\x27"}, {0x93, "\x22"}, {0x94, "\x27\x27"},
    {0x95, "\x2E"}, {0x96, "\xFE"}, {0x97, "\xFE"}, {0xA1, "\x59\x76\x61\x72"},
    {0xA6, "\xB1\x70"}, {0xA8, "\xB1\x71"}, {0xA9, "\xB1\x72"}, {0xAA, "\xB2"},
    {0xAE, "\xB2\x72"}, {0xB0, "\xB2\x76\x5C"}, {0xB1, "\xB2\x76\x5C\x70"}, {0xB2, "\xB2\x76\x5C\x71"},
    {0xB3, "\xB2\x76\x61"}, {0xB4, "\xB2\x76\x61\x70"}, {0xB7, "\x2E"}, {0xB8, "\xB2\x76\x61\x72"},
    {0xB9, "\x7B\xB2"}, {0xBA, "\x7B\xB2\x70"}, {0xBC, "\x7B\x5A"}, {0xBD, "\x7B\x5A\x70"},
    {0xBE, "\x7B\x5A\x71"}, {0xBF, "\x5B\x70"}, {0xC0, "\x5B\x71"}, {0xC1, "\x5B\x72"},
    {0xC2, "\x5B\x76\x5C"}, {0xC3, "\x5B\x76\x5C\x70"}, {0xC4, "\x5B\x76\x5C\x71"}, {0xC5, "\x5B\x76\x61"},
    {0xC6, "\x5B\x76\x61\x70"}, {0xC7, "\x5B\x76\x61\x71"}, {0xC8, "\x5B\x76\x61\x72"}, {0xC9, "\x7B\x5B"},
    {0xCA, "\x7B\x5B\x70"}, {0xCB, "\x7B\x5B\x71"}, {0xCC, "\x5C\x70"}, {0xCE, "\x5C\x71"},
    {0xCF, "\x5C\x72"}, {0xD0, "\xB4"}, {0xD1, "\xB4\x70"}, {0xD2, "\xB4\x71"},
    {0xD3, "\xB4\x72"}, {0xD4, "\x7B\xB4"}, {0xD5, "\x7B\xB4\x70"}, {0xD6, "\x7B\xB4\x71"},
    {0xD7, "\xD9"}, {0xD8, "\xD9\x70"}, {0xD9, "\xD9\x71"}, {0xDA, "\xD9\x72"},
    {0xDB, "\xB5\x70"}, {0xDC, "\xB5\x71"}, {0xDD, "\xB5\x72"}, {0xDE, "\x7B\xB5"},
    {0xDF, "\x7B\xB5\x70"}, {0xE0, "\x7B\xB5\x71"}, {0xE1, "\xD4"}, {0xE2, "\xD4\x70"},
    {0xE3, "\xD4\x71"}, {0xE4, "\xD4\x72"}, {0xE5, "\x7B\xD4"}, {0xE6, "\x7B\xD4\x70"},
    {0xE7, "\x7B\xD4\x71"}, {0xE8, "\xB6\x70"}, {0xE9, "\xB6\x71"}, {0xEA, "\xB6\x72"},
    {0xEB, "\x7B\xB6"}, {0xEC, "\x7B\xB6\x70"}, {0xED, "\x7B\xB6\x71"}, {0xEE, "\xB7"},
    {0xEF, "\xB7\x70"}, {0xF0, "\xB7\x71"}, {0xF1, "\xB7\x72"}, {0xF2, "\x7B\xB7"},
    {0xF3, "\x7B\xB7\x70"}, {0xF4, "\x7B\xB7\x71"}, {0xF5, "\x7B\x5C"}, {0xF6, "\x7B\x5C\x70"},
    {0xF7, "\x7B\x5C\x71"}, {0xF8, "\xE2\x70"}, {0xF9, "\xE2\x71"}, {0xFA, "\xB2\x71"},
    {0xFB, "\x7B\x58\x70"}, {0xFC, "\x57\x70"}, {0x20, "\x20"}, {0x0D, "\x0D"},
    {0x0A, "\x0A"},
};

// MapV7Font4: 181 rows; unlisted codes give a space.
constexpr GlyphRow kMapV7Font4Rows[] = {
    {0x21, "\x5D\x70"}, {0x22, "\x27\x27"}, {0x23, "\x5D\x72"}, {0x24, "\x5D\x76\x53"},
    {0x25, "\x5D\x76\x53\x70"}, {0x26, "\x5D\x76\x53\x71"}, {0x27, "\x5D\x76\x58"}, {0x28, "\x5D\x76\x58\x70"},
    {0x29, "\x5D\x76\x58\x71"}, {0x2A, "\x5D\x76\x58\x72"}, {0x2B, "\x5D\x76\x5C"}, {0x2C, "\x5D\x76\x5C\x70"},
    {0x2E, "\x2E"}, {0x2F, "\xFE"}, {0x30, "\xB8\x71"}, {0x31, "\xB8\x72"},
    {0x32, "\x5D\x76\x5E"}, {0x33, "\x5D\x76\x5E\x70"}, {0x34, "\x5D\x76\x5E\x71"}, {0x35, "\x7B\x5D"},
    {0x36, "\x7B\x5D\x70"}, {0x37, "\x7B\x5D\x71"}, {0x38, "\xB9"}, {0x39, "\xB9\x70"},
    {0x3A, "\xB9\x71"}, {0x3B, "\x5D\x76\x6B"}, {0x3C, "\x5D\x76\x6B\x70"}, {0x3D, "\x5D\x76\x6B\x71"},
    {0x3E, "\x5D\x76\x6B\x72"}, {0x3F, "\x5D\x76\x7B\x6B"}, {0x40, "\x5D\x76\x7B\x6B\x70"}, {0x41, "\x5D\x76\x7B\x6B\x71"},
    {0x42, "\x5E\x70"}, {0x43, "\x5E\x71"}, {0x44, "\x5E\x76\x49"}, {0x45, "\x5E\x76\x49\x70"},
    {0x46, "\x5E\x76\x49\x71"}, {0x47, "\x5E\x76\x53"}, {0x48, "\x5E\x76\x53\x70"}, {0x49, "\x5E\x76\x53\x71"},
    {0x4A, "\x5E\x76\x58"}, {0x4B, "\x5E\x76\x58\x70"}, {0x4C, "\x5E\x76\x58\x71"}, {0x4D, "\x5E\x76\x58\x72"},
    {0x4E, "\x5E\x76\x5C"}, {0x4F, "\x5E\x76\x5C\x70"}, {0x50, "\x5E\x76\x5C\x71"}, {0x51, "\x5E\x76\x5D"},
    {0x52, "\x5E\x76\x5D\x70"}, {0x53, "\x5E\x76\x5D\x71"}, {0x54, "\x5E\x76\x61"}, {0x55, "\x5E\x76\x61\x70"},
    {0x56, "\x5E\x76\x61\x71"}, {0x57, "\x7B\x5E"}, {0x58, "\x7B\x5E\x70"}, {0x59, "\x7B\x5E\x71"},
    {0x5A, "\x5E\x76\x66"}, {0x5B, "\x5E\x76\x66\x70"}, {0x5C, "\x5E\x76\x66\x71"}, {0x5D, "\x5E\x76\x6B"},
    {0x5E, "\x5E\x76\x6B\x70"}, {0x5F, "\xFE"}, {0x60, "\x2C"}, {0x61, ""},
    {0x62, "\x5E\x76\xE4"}, {0x63, "\x5E\x76\xE4\x70"}, {0x64, "\x5E\x76\xE4\x71"}, {0x65, "\x5F\x70"},
    {0x66, "\x5F\x71"}, {0x67, "\x5F\x72"}, {0x68, "\x5F\x76\x4B"}, {0x69, "\x5F\x76\x4B\x70"},
    {0x6A, "\x5F\x76\x4B\x71"}, {0x6B, "\x5F\x76\x4B\x72"}, {0x6C, "\x5F\x76\x50"}, {0x6D, "\x5F\x50\x70"},
    {0x6E, "\x5F\x50\x71"}, {0x6F, "\x5F\x76\x50\x72"}, {0x70, "\xD0"}, {0x71, "\xD0\x70"},
    {0x72, "\xD0\x71"}, {0x73, "\xD0\x72"}, {0x74, "\xCF"}, {0x75, "\xCF\x70"},
    {0x76, "\xCF\x71"}, {0x77, "\xCF\x72"}, {0x78, "\x5F\x76\x5C"}, {0x79, "\x5F\x76\x5C\x70"},
    {0x7A, "\x5F\x76\x5C\x71"}, {0x7B, "\xBA"}, {0x7C, "\xBA\x70"}, {0x7D, "\xBA\x71"},
    {0x7E, "\x7B\x5F"}, {0x91, "\x22"}, {0x92, "\x27"}, {0x93, "\x5D\x71"},
    {0x94, "\x5D\x71"}, {0x95, "\x2E"}, {0x96, "\xFE"}, {0x97, "\xFE"},
    {0xA1, "\x7B\x5F\x70"}, {0xA6, "\x60\x70"}, {0xA8, "\x60\x71"}, {0xA9, "\x60\x72"},
    {0xAA, "\x7B\x60"}, {0xAD, "\xFE"}, {0xAE, "\x61\x70"}, {0xAF, "\xFE"},
    {0xB0, "\x61\x71"}, {0xB1, "\x61\x72"}, {0xB2, "\x61\x76\x5C"}, {0xB3, "\x61\x76\x5C\x70"},
    {0xB4, "\x61\x76\x5C\x71"}, {0xB7, "\x2E"}, {0xB8, "\xBC\x71"}, {0xB9, "\xBC\x72"},
    {0xBA, "\x7B\xBC"}, {0xBC, "\x7B\xBC\x70"}, {0xBD, "\xBD\x70"}, {0xBE, "\xBD\x71"},
    {0xBF, "\xBD\x72"}, {0xC0, "\x7B\x61"}, {0xC1, "\x7B\x61\x70"}, {0xC2, "\x7B\x61\x71"},
    {0xC3, "\xBE"}, {0xC4, "\xBE\x70"}, {0xC5, "\xBE\x71"}, {0xC6, "\x62\x70"},
    {0xC7, "\x62\x71"}, {0xC9, "\x62\x76\x49"}, {0xCA, "\x62\x76\x49\x70"}, {0xCB, "\x62\x76\x49\x71"},
    {0xCC, "\x62\x76\x49\x72"}, {0xCD, "\x62\x76\xA1\x70"}, {0xCE, "\x62\x76\xA1\x71"}, {0xCF, "\x62\x76\x4E"},
    {0xD0, "\x62\x76\x4E\x70"}, {0xD1, "\x62\x76\x4E\x71"}, {0xD2, "\x62\x76\x58"}, {0xD3, "\x62\x76\x58\x70"},
    {0xD4, "\x62\x76\x58\x71"}, {0xD5, "\x62\x76\x58\x72"}, {0xD6, "\x62\x76\xAF"}, {0xD7, "\x62\x76\xAF\x70"},
    {0xD8, "\x62\x76\xAF\x71"}, {0xD9, "\x62\x76\xAF\x72"}, {0xDA, "\x62\x76\x5C"}, {0xDB, "\x62\x76\x5C\x70"},
    {0xDC, "\x62\x76\x5C\x71"}, {0xDD, "\x62\x76\x5D"}, {0xDE, "\x62\x76\x5D\x70"}, {0xDF, "\x62\x76\x5D\x71"},
    {0xE0, "\x62\x76\x5D\x72"}, {0xE1, "\x62\x76\x61"}, {0xE2, "\x62\x76\x61\x70"}, {0xE3, "\x62\x76\x61\x71"},
    {0xE4, "\x62\x76\x61\x72"}, {0xE5, "\xBF\x70"}, {0xE6, "\xBF\x71"}, {0xE7, "\x63\x70"},
    {0xE8, "\x63\x71"}, {0xE9, "\x63\x72"}, {0xEA, "\x65\x70"}, {0xEB, "\x65\x71"},
    {0xEC, "\x65\x72"}, {0xED, "\x65\x76\x49"}, {0xEE, "\x65\x76\x49\x70"}, {0xEF, "\x65\x76\x49\x71"},
    {0xF0, "\x65\x76\x49\x72"}, {0xF1, "\x65\x76\xA1"}, {0xF2, "\x65\x76\xA1\x70"}, {0xF3, "\x65\x76\xA1\x71"},
    {0xF4, "\x65\x76\x4B"}, {0xF5, "\x65\x76\x4B\x70"}, {0xF6, "\x65\x76\x4B\x71"}, {0xF7, "\x65\x76\x4B\x72"},
    {0xFA, "\x7B\x60\x71"}, {0xFB, "\x5E\x76\x6B\x71"}, {0x20, "\x20"}, {0x0D, "\x0D"},
    {0x0A, "\x0A"},
};

// MapV7Font5: 175 rows; unlisted codes give a space.
constexpr GlyphRow kMapV7Font5Rows[] = {
    {0x21, "\x65\x76\x4E"}, {0x22, "\x27\x27"}, {0x23, "\x65\x76\x4E\x71"}, {0x24, "\x65\x76\x58"},
    {0x25, "\x65\x76\x58\x70"}, {0x26, "\x65\x76\x58\x71"}, {0x27, "\x27"}, {0x28, "\x65\x76\xAF"},
    {0x29, "\x65\x76\xAF\x70"}, {0x2A, "\x65\x76\xAF\x71"}, {0x2B, "\x65\x76\x5D"}, {0x2C, "\x65\x76\x5D\x70"},
    {0x2E, "\x2E"}, {0x2F, "\xFE"}, {0x30, "\x65\x76\x7B\x5D\x70"}, {0x31, "\x65\x76\x7B\x5D\x71"},
    {0x32, "\x65\x76\x5E"}, {0x33, "\x65\x76\x5E\x70"}, {0x34, "\x65\x76\x5E\x71"}, {0x35, "\x65\x76\x5F"},
    {0x36, "\x65\x76\x5F\x70"}, {0x37, "\x65\x76\x5F\x71"}, {0x38, "\x65\x76\x61"}, {0x39, "\x65\x76\x61\x70"},
    {0x3A, "\x65\x76\x61\x71"}, {0x3B, "\xC3\x70"}, {0x3C, "\xC3\x71"}, {0x3D, "\x68\x70"},
    {0x3E, "\x68\x71"}, {0x3F, "\x68\x72"}, {0x40, "\x7B\x68"}, {0x41, "\x7B\x68\x70"},
    {0x42, "\x7B\x68\x71"}, {0x43, "\x68\x76\x66"}, {0x44, "\x68\x76\x66\x70"}, {0x45, "\x68\x76\x66\x70"},
    {0x46, "\xC6"}, {0x47, "\xC6\x70"}, {0x48, "\xC6\x71"}, {0x49, "\x69\x70"},
    {0x4A, "\x69\x71"}, {0x4B, "\x69\x72"}, {0x4C, "\xDD"}, {0x4D, "\xDD\x70"},
    {0x4E, "\xDD\x71"}, {0x4F, "\xDD\x72"}, {0x50, "\x69\x76\x4F"}, {0x51, "\x69\x76\x4F\x70"},
    {0x52, "\x69\x76\x4F\x71"}, {0x53, "\x69\x76\x4F\x72"}, {0x54, "\x69\x76\x5C"}, {0x55, "\x69\x76\x5C\x70"},
    {0x56, "\x69\x76\x5C\x71"}, {0x57, "\x69\x76\x61"}, {0x58, "\x69\x76\x61\x70"}, {0x59, "\x69\x76\x61\x71"},
    {0x5A, "\x69\x76\x61\x72"}, {0x5B, "\x7B\x69"}, {0x5C, "\x7B\x69\x70"}, {0x5D, "\x7B\x69\x71"},
    {0x5E, "\xC7"}, {0x5F, "\xFE"}, {0x60, "\x2C"}, {0x61, "\xC7\x71"},
    {0x62, "\xC8"}, {0x63, "\xC8\x70"}, {0x64, "\xC8\x71"}, {0x65, "\xC8\x72"},
    {0x66, "\x7B\xC8"}, {0x67, "\x7B\xC8\x70"}, {0x68, "\x7B\xC8\x71"}, {0x69, "\x6A\x70"},
    {0x6A, "\x6A\x71"}, {0x6B, "\x6A\x72"}, {0x6C, "\x6A\x76\x49"}, {0x6D, "\x6A\x76\x49\x70"},
    {0x6E, "\x6A\x76\x49\x71"}, {0x6F, "\x6A\x76\x49\x72"}, {0x70, "\x6A\x76\xA1"}, {0x71, "\x6A\x76\xA1\x70"},
    {0x72, "\x6A\x76\xA1\x71"}, {0x73, "\x6A\x76\xA1\x72"}, {0x74, "\x6A\x76\x7B\x49"}, {0x75, "\x6A\x76\x7B\x49\x70"},
    {0x76, "\x6A\x76\x7B\x49\x71"}, {0x77, "\xE3"}, {0x78, "\xE3\x70"}, {0x79, "\xE3\x71"},
    {0x7A, "\xE3\x72"}, {0x7B, "\x7B\xE3"}, {0x7C, "\x7B\xE3\x70"}, {0x7D, "\x7B\xE3\x71"},
    {0x7E, "\x6A\x76\x54"}, {0xA1, "\x6A\x76\x54\x70"}, {0xA6, "\x6A\x76\x5D"}, {0xA8, "\x6A\x76\x5D\x70"},
    {0xA9, "\x6A\x76\x5D\x71"}, {0xAA, "\x6A\x76\x5D\x72"}, {0xAD, "\xFE"}, {0xAE, "\x6A\x76\x7B\x5D\x71"},
    {0xAF, "\xFE"}, {0xB0, "\x6A\x76\x5E"}, {0xB1, "\x6A\x76\x5E\x70"}, {0xB2, "\x6A\x76\x5E\x71"},
    {0xB3, "\x6A\x76\x61"}, {0xB4, "\x6A\x76\x61\x70"}, {0xB7, "\x2E"}, {0xB8, "\x7B\x6A"},
    {0xB9, "\x7B\x6A\x70"}, {0xBA, "\x7B\x6A\x71"}, {0xBC, "\x6B\x71"}, {0xBD, "\x6B\x72"},
    {0xBE, "\x6B\x76\x49"}, {0xBF, "\x6B\x76\x49\x70"}, {0xC0, "\x6B\x76\x49\x71"}, {0xC1, "\x6B\x76\x49\x72"},
    {0xC2, "\x6B\x76\xA1"}, {0xC3, "\x6B\x76\xA1\x70"}, {0xC4, "\x6B\x76\xA1\x71"}, {0xC5, "\x6B\x76\xA1\x72"},
    {0xC6, "\x6B\x76\x7B\x49"}, {0xC7, "\x6B\x76\x7B\x49\x70"}, {0xC8, "\x6B\x76\x7B\x49\x70"}, {0xC9, "\x6B\x76\x4A"},
    {0xCA, "\x6B\x76\x4A\x70"}, {0xCB, "\x6B\x76\x4A\x71"}, {0xCC, "\x6B\x76\x53"}, {0xCD, "\x6B\x76\x53\x70"},
    {0xCE, "\x6B\x76\x53\x71"}, {0xCF, "\x6B\x76\x7B\x53"}, {0xD0, "\x6B\x76\x7B\x53\x70"}, {0xD1, "\x6B\x76\x76\x7B\x53\x71"},
    {0xD2, "\x6B\x76\x58"}, {0xD3, "\x6B\x76\x58\x70"}, {0xD4, "\x6B\x76\x58\x71"}, {0xD5, "\x6B\x76\x58\x72"},
    {0xD6, "\x6B\x76\x7B\x58"}, {0xD7, "\x6B\x76\x7B\x58\x70"}, {0xD8, "\x6B\x76\x7B\x58\x71"}, {0xD9, "\xD8"},
    {0xDA, "\xD8\x70"}, {0xDB, "\xD8\x71"}, {0xDC, "\xD8\x72"}, {0xDD, "\x6B\x76\x5C"},
    {0xDE, "\x6B\x76\x5C\x70"}, {0xDF, "\x6B\x76\x5C\x71"}, {0xE0, "\x6B\x76\x5D"}, {0xE1, "\x6B\x76\x5D\x70"},
    {0xE2, "\x6B\x76\x5D\x71"}, {0xE3, "\x6B\x76\x5D\x72"}, {0xE4, "\x6B\x76\x7B\x5D"}, {0xE5, "\x6B\x76\x7B\x5D\x70"},
    {0xE6, "\x6B\x76\x7B\x5D\x71"}, {0xE7, "\x6B\x76\x5E"}, {0xE8, "\x6B\x76\x5E\x70"}, {0xE9, "\x6B\x76\x5E\x71"},
    {0xEA, "\x6B\x76\x61"}, {0xEB, "\x6B\x76\x61\x70"}, {0xEC, "\x6B\x76\x61\x71"}, {0xED, "\x6B\x76\x61\x72"},
    {0xEE, "\x7B\x6B"}, {0xEF, "\x7B\x6B\x70"}, {0xF0, "\x7B\x6B\x71"}, {0xF1, "\xC9"},
    {0xF2, "\xC9\x70"}, {0xF3, "\xC9\x71"}, {0xF4, "\xCA"}, {0xF5, "\xCA\x70"},
    {0xF6, "\xCA\x71"}, {0xF7, "\xCA\x72"}, {0xFA, "\x6A\x76\x7B\x5D\x70"}, {0xFB, "\xC7\x70"},
    {0x20, "\x20"}, {0x0D, "\x0D"}, {0x0A, "\x0A"},
};

// MapV7Font6: 131 rows; unlisted codes give a space.
constexpr GlyphRow kMapV7Font6Rows[] = {
    {0x21, "\x7B\xCA"}, {0x22, "\x27\x27"}, {0x23, "\x7B\xCA\x71"}, {0x24, "\xCC"},
    {0x25, "\xCC\x70"}, {0x26, "\xCC\x71"}, {0x27, "\x27"}, {0x28, "\x7B\xCC\x70"},
    {0x29, "\x7B\xCC\x71"}, {0x2A, "\x6C\x70"}, {0x2B, "\x6C\x71"}, {0x2C, "\x6C\x72"},
    {0x2E, "\x2E"}, {0x2F, "\xFE"}, {0x30, "\xD3\x71"}, {0x31, "\xD2"},
    {0x32, "\xD2\x70"}, {0x33, "\xD2\x71"}, {0x34, "\xD2\x72"}, {0x35, "\x7B\x6C"},
    {0x36, "\x7B\x6C\x70"}, {0x37, "\x7B\x6C\x71"}, {0x38, "\xCB"}, {0x39, "\xCB\x70"},
    {0x3A, "\xCB\x71"}, {0x3B, "\x66\x70"}, {0x3C, "\x66\x71"}, {0x3D, "\xC5\x70"},
    {0x3E, "\xC5\x71"}, {0x3F, "\x67\x70"}, {0x40, "\x67\x71"}, {0x41, "\x67\x76\x49"},
    {0x42, "\x67\x76\x49\x70"}, {0x43, "\x67\x76\x49\x71"}, {0x44, "\x67\x76\xA1"}, {0x45, "\x67\x76\xA1\x70"},
    {0x46, "\x67\x76\xA1\x71"}, {0x47, "\x67\x76\x4E"}, {0x48, "\x67\x76\x4E\x70"}, {0x49, "\x67\x76\x4E\x71"},
    {0x4A, "\x67\x76\x58"}, {0x4B, "\x67\x76\x58\x70"}, {0x4C, "\x67\x76\x58\x71"}, {0x4D, "\x67\x76\xAF"},
    {0x4E, "\x67\x76\xAF\x70"}, {0x4F, "\x67\x76\xAF\x71"}, {0x50, "\x67\x76\x5C"}, {0x51, "\x67\x76\x5C\x70"},
    {0x52, "\x67\x76\x5C\x71"}, {0x53, "\x67\x76\xB6"}, {0x54, "\x67\x76\xB6\x70"}, {0x55, "\x67\x76\xB6\x71"},
    {0x56, "\x67\x76\x5D"}, {0x57, "\x67\x76\x5D\x70"}, {0x58, "\x67\x76\x5D\x71"}, {0x59, "\x67\x76\x61"},
    {0x5A, "\x67\x76\x61\x70"}, {0x5B, "\x67\x76\x61\x71"}, {0x5C, "\x67\x76\x68"}, {0x5D, "\x67\x76\x68\x70"},
    {0x5E, "\x67\x76\x68\x71"}, {0x5F, "\xFE"}, {0x60, "\x22"}, {0x61, "\x67\x76\x6B\x70"},
    {0x62, "\x67\x76\x6B\x71"}, {0x63, "\x64\x70"}, {0x64, "\x64\x71"}, {0x65, "\xE4\x70"},
    {0x66, "\xE4\x71"}, {0x67, "\x7B\xE4"}, {0x68, "\x7B\xE4\x70"}, {0x69, "\x7B\xE4\x71"},
    {0x6B, "\x7B\xCE"}, {0x6C, "\x7B\xCE\x70"}, {0x6D, "\x7B\xCE\x71"}, {0x96, "\xFE"},
    {0x97, "\xFE"}, {0xB7, "\x2E"}, {0xB8, "\x2C"}, {0xB9, "\x49\x71"},
    {0xBA, "\xA1\x72"}, {0xBC, "\x49\x76\x57"}, {0xBD, "\x7B\x4C\x71"}, {0xBE, "\x4D\x70"},
    {0xBF, "\x4D\x71"}, {0xC0, "\xA6\x71"}, {0xC1, "\x4E\x70"}, {0xC2, "\x7B\xD1"},
    {0xC3, "\x4F\x71"}, {0xC5, "\x55\x76\x61\x70"}, {0xC6, "\x7B\x55\x71"}, {0xC7, "\x7B\x56\x71"},
    {0xC8, "\x5A\x70"}, {0xC9, "\x5A\x71"}, {0xCA, "\x5A\x72"}, {0xCB, "\xB1"},
    {0xCC, "\xB2\x70"}, {0xCD, "\xB2\x76\x61\x71"}, {0xCE, "\x7B\xB2\x71"}, {0xD0, "\x5D\x71"},
    {0xD1, "\x5D\x76\x58"}, {0xD2, "\x5D\x76\x5C\x71"}, {0xD3, "\xB8\x70"}, {0xD4, "\x7B\x5F\x71"},
    {0xD5, "\xBB"}, {0xD6, "\xBB\x70"}, {0xD7, "\xBB\x71"}, {0xD8, "\x7B\x60\x70"},
    {0xD9, "\xBC\x70"}, {0xDA, "\x7B\xBC\x70"}, {0xDC, "\x65\x76\x4E\x70"}, {0xDD, "\x65\x76\x58\x72"},
    {0xDE, "\x65\x76\x5D\x71"}, {0xDF, "\x65\x76\x7B\x5D"}, {0xE0, "\x6A\x76\x54\x71"}, {0xE1, "\x6A\x76\x57"},
    {0xE2, "\x6A\x76\x57\x70"}, {0xE3, "\x6A\x76\x57\x71"}, {0xE4, "\x6A\x76\x7B\x5D"}, {0xE5, "\x6A\x76\x61\x71"},
    {0xE6, "\x6B\x70"}, {0xE8, "\x7B\xCA\x70"}, {0xE9, "\x7B\xCC"}, {0xEA, "\xD3"},
    {0xEB, "\xD3\x70"}, {0xEC, "\xCE\x71"}, {0xFB, "\x67\x76\x6B"}, {0xFC, "\x5C\x70"},
    {0x20, "\x20"}, {0x0D, "\x0D"}, {0x0A, "\x0A"},
};

}  // namespace

const FontTable& MapV7Font1Table() {
  static const FontTable table(kMapV7Font1Rows, NoMatch::kInput);
  return table;
}

const FontTable& MapV7Font2Table() {
  static const FontTable table(kMapV7Font2Rows, NoMatch::kSpace);
  return table;
}

const FontTable& MapV7Font3Table() {
  static const FontTable table(kMapV7Font3Rows, NoMatch::kSpace);
  return table;
}

const FontTable& MapV7Font4Table() {
  static const FontTable table(kMapV7Font4Rows, NoMatch::kSpace);
  return table;
}

const FontTable& MapV7Font5Table() {
  static const FontTable table(kMapV7Font5Rows, NoMatch::kSpace);
  return table;
}

const FontTable& MapV7Font6Table() {
  static const FontTable table(kMapV7Font6Rows, NoMatch::kSpace);
  return table;
}

std::u16string MapV7Font1(std::u16string_view glyph) { return std::u16string(MapV7Font1Table().Lookup(glyph)); }
std::u16string MapV7Font2(std::u16string_view glyph) { return std::u16string(MapV7Font2Table().Lookup(glyph)); }
std::u16string MapV7Font3(std::u16string_view glyph) { return std::u16string(MapV7Font3Table().Lookup(glyph)); }
std::u16string MapV7Font4(std::u16string_view glyph) { return std::u16string(MapV7Font4Table().Lookup(glyph)); }
std::u16string MapV7Font5(std::u16string_view glyph) { return std::u16string(MapV7Font5Table().Lookup(glyph)); }
std::u16string MapV7Font6(std::u16string_view glyph) { return std::u16string(MapV7Font6Table().Lookup(glyph)); }

}  // namespace maravelundi
