#include "richtext/SymbolFont.h"

#include <algorithm>
#include <array>


namespace maravelundi {
namespace {

struct SymbolRow {
  std::uint8_t byte;
  char16_t character;
};

// Adobe's Symbol encoding as Unicode's published mapping gives it, one byte
// a line in byte order. Where that mapping offers two characters for a byte
// the first is kept: the Greek letter rather than the sign of the same shape
// (U+0394 not U+2206, U+03A9 not U+2126, U+03BC not U+00B5), the fraction
// slash for 0xA4. The pieces of tall brackets and the serif and sans
// copyright signs have no character of their own and keep the private-use
// ones Adobe gave them. 0xA0 is the euro, which Windows' Symbol font added.
constexpr std::array kSymbolRows = {
    SymbolRow{0x20, 0x0020},  // space
    SymbolRow{0x21, 0x0021},  // exclam
    SymbolRow{0x22, 0x2200},  // universal
    SymbolRow{0x23, 0x0023},  // numbersign
    SymbolRow{0x24, 0x2203},  // existential
    SymbolRow{0x25, 0x0025},  // percent
    SymbolRow{0x26, 0x0026},  // ampersand
    SymbolRow{0x27, 0x220B},  // suchthat
    SymbolRow{0x28, 0x0028},  // parenleft
    SymbolRow{0x29, 0x0029},  // parenright
    SymbolRow{0x2A, 0x2217},  // asteriskmath
    SymbolRow{0x2B, 0x002B},  // plus
    SymbolRow{0x2C, 0x002C},  // comma
    SymbolRow{0x2D, 0x2212},  // minus
    SymbolRow{0x2E, 0x002E},  // period
    SymbolRow{0x2F, 0x002F},  // slash
    SymbolRow{0x30, 0x0030},  // zero
    SymbolRow{0x31, 0x0031},  // one
    SymbolRow{0x32, 0x0032},  // two
    SymbolRow{0x33, 0x0033},  // three
    SymbolRow{0x34, 0x0034},  // four
    SymbolRow{0x35, 0x0035},  // five
    SymbolRow{0x36, 0x0036},  // six
    SymbolRow{0x37, 0x0037},  // seven
    SymbolRow{0x38, 0x0038},  // eight
    SymbolRow{0x39, 0x0039},  // nine
    SymbolRow{0x3A, 0x003A},  // colon
    SymbolRow{0x3B, 0x003B},  // semicolon
    SymbolRow{0x3C, 0x003C},  // less
    SymbolRow{0x3D, 0x003D},  // equal
    SymbolRow{0x3E, 0x003E},  // greater
    SymbolRow{0x3F, 0x003F},  // question
    SymbolRow{0x40, 0x2245},  // congruent
    SymbolRow{0x41, 0x0391},  // Alpha
    SymbolRow{0x42, 0x0392},  // Beta
    SymbolRow{0x43, 0x03A7},  // Chi
    SymbolRow{0x44, 0x0394},  // Delta
    SymbolRow{0x45, 0x0395},  // Epsilon
    SymbolRow{0x46, 0x03A6},  // Phi
    SymbolRow{0x47, 0x0393},  // Gamma
    SymbolRow{0x48, 0x0397},  // Eta
    SymbolRow{0x49, 0x0399},  // Iota
    SymbolRow{0x4A, 0x03D1},  // theta1
    SymbolRow{0x4B, 0x039A},  // Kappa
    SymbolRow{0x4C, 0x039B},  // Lambda
    SymbolRow{0x4D, 0x039C},  // Mu
    SymbolRow{0x4E, 0x039D},  // Nu
    SymbolRow{0x4F, 0x039F},  // Omicron
    SymbolRow{0x50, 0x03A0},  // Pi
    SymbolRow{0x51, 0x0398},  // Theta
    SymbolRow{0x52, 0x03A1},  // Rho
    SymbolRow{0x53, 0x03A3},  // Sigma
    SymbolRow{0x54, 0x03A4},  // Tau
    SymbolRow{0x55, 0x03A5},  // Upsilon
    SymbolRow{0x56, 0x03C2},  // sigma1
    SymbolRow{0x57, 0x03A9},  // Omega
    SymbolRow{0x58, 0x039E},  // Xi
    SymbolRow{0x59, 0x03A8},  // Psi
    SymbolRow{0x5A, 0x0396},  // Zeta
    SymbolRow{0x5B, 0x005B},  // bracketleft
    SymbolRow{0x5C, 0x2234},  // therefore
    SymbolRow{0x5D, 0x005D},  // bracketright
    SymbolRow{0x5E, 0x22A5},  // perpendicular
    SymbolRow{0x5F, 0x005F},  // underscore
    SymbolRow{0x60, 0xF8E5},  // radicalex
    SymbolRow{0x61, 0x03B1},  // alpha
    SymbolRow{0x62, 0x03B2},  // beta
    SymbolRow{0x63, 0x03C7},  // chi
    SymbolRow{0x64, 0x03B4},  // delta
    SymbolRow{0x65, 0x03B5},  // epsilon
    SymbolRow{0x66, 0x03C6},  // phi
    SymbolRow{0x67, 0x03B3},  // gamma
    SymbolRow{0x68, 0x03B7},  // eta
    SymbolRow{0x69, 0x03B9},  // iota
    SymbolRow{0x6A, 0x03D5},  // phi1
    SymbolRow{0x6B, 0x03BA},  // kappa
    SymbolRow{0x6C, 0x03BB},  // lambda
    SymbolRow{0x6D, 0x03BC},  // mu
    SymbolRow{0x6E, 0x03BD},  // nu
    SymbolRow{0x6F, 0x03BF},  // omicron
    SymbolRow{0x70, 0x03C0},  // pi
    SymbolRow{0x71, 0x03B8},  // theta
    SymbolRow{0x72, 0x03C1},  // rho
    SymbolRow{0x73, 0x03C3},  // sigma
    SymbolRow{0x74, 0x03C4},  // tau
    SymbolRow{0x75, 0x03C5},  // upsilon
    SymbolRow{0x76, 0x03D6},  // omega1
    SymbolRow{0x77, 0x03C9},  // omega
    SymbolRow{0x78, 0x03BE},  // xi
    SymbolRow{0x79, 0x03C8},  // psi
    SymbolRow{0x7A, 0x03B6},  // zeta
    SymbolRow{0x7B, 0x007B},  // braceleft
    SymbolRow{0x7C, 0x007C},  // bar
    SymbolRow{0x7D, 0x007D},  // braceright
    SymbolRow{0x7E, 0x223C},  // similar
    SymbolRow{0xA0, 0x20AC},  // Euro
    SymbolRow{0xA1, 0x03D2},  // Upsilon1
    SymbolRow{0xA2, 0x2032},  // minute
    SymbolRow{0xA3, 0x2264},  // lessequal
    SymbolRow{0xA4, 0x2044},  // fraction
    SymbolRow{0xA5, 0x221E},  // infinity
    SymbolRow{0xA6, 0x0192},  // florin
    SymbolRow{0xA7, 0x2663},  // club
    SymbolRow{0xA8, 0x2666},  // diamond
    SymbolRow{0xA9, 0x2665},  // heart
    SymbolRow{0xAA, 0x2660},  // spade
    SymbolRow{0xAB, 0x2194},  // arrowboth
    SymbolRow{0xAC, 0x2190},  // arrowleft
    SymbolRow{0xAD, 0x2191},  // arrowup
    SymbolRow{0xAE, 0x2192},  // arrowright
    SymbolRow{0xAF, 0x2193},  // arrowdown
    SymbolRow{0xB0, 0x00B0},  // degree
    SymbolRow{0xB1, 0x00B1},  // plusminus
    SymbolRow{0xB2, 0x2033},  // second
    SymbolRow{0xB3, 0x2265},  // greaterequal
    SymbolRow{0xB4, 0x00D7},  // multiply
    SymbolRow{0xB5, 0x221D},  // proportional
    SymbolRow{0xB6, 0x2202},  // partialdiff
    SymbolRow{0xB7, 0x2022},  // bullet
    SymbolRow{0xB8, 0x00F7},  // divide
    SymbolRow{0xB9, 0x2260},  // notequal
    SymbolRow{0xBA, 0x2261},  // equivalence
    SymbolRow{0xBB, 0x2248},  // approxequal
    SymbolRow{0xBC, 0x2026},  // ellipsis
    SymbolRow{0xBD, 0xF8E6},  // arrowvertex
    SymbolRow{0xBE, 0xF8E7},  // arrowhorizex
    SymbolRow{0xBF, 0x21B5},  // carriagereturn
    SymbolRow{0xC0, 0x2135},  // aleph
    SymbolRow{0xC1, 0x2111},  // Ifraktur
    SymbolRow{0xC2, 0x211C},  // Rfraktur
    SymbolRow{0xC3, 0x2118},  // weierstrass
    SymbolRow{0xC4, 0x2297},  // circlemultiply
    SymbolRow{0xC5, 0x2295},  // circleplus
    SymbolRow{0xC6, 0x2205},  // emptyset
    SymbolRow{0xC7, 0x2229},  // intersection
    SymbolRow{0xC8, 0x222A},  // union
    SymbolRow{0xC9, 0x2283},  // propersuperset
    SymbolRow{0xCA, 0x2287},  // reflexsuperset
    SymbolRow{0xCB, 0x2284},  // notsubset
    SymbolRow{0xCC, 0x2282},  // propersubset
    SymbolRow{0xCD, 0x2286},  // reflexsubset
    SymbolRow{0xCE, 0x2208},  // element
    SymbolRow{0xCF, 0x2209},  // notelement
    SymbolRow{0xD0, 0x2220},  // angle
    SymbolRow{0xD1, 0x2207},  // gradient
    SymbolRow{0xD2, 0xF6DA},  // registerserif
    SymbolRow{0xD3, 0xF6D9},  // copyrightserif
    SymbolRow{0xD4, 0xF6DB},  // trademarkserif
    SymbolRow{0xD5, 0x220F},  // product
    SymbolRow{0xD6, 0x221A},  // radical
    SymbolRow{0xD7, 0x22C5},  // dotmath
    SymbolRow{0xD8, 0x00AC},  // logicalnot
    SymbolRow{0xD9, 0x2227},  // logicaland
    SymbolRow{0xDA, 0x2228},  // logicalor
    SymbolRow{0xDB, 0x21D4},  // arrowdblboth
    SymbolRow{0xDC, 0x21D0},  // arrowdblleft
    SymbolRow{0xDD, 0x21D1},  // arrowdblup
    SymbolRow{0xDE, 0x21D2},  // arrowdblright
    SymbolRow{0xDF, 0x21D3},  // arrowdbldown
    SymbolRow{0xE0, 0x25CA},  // lozenge
    SymbolRow{0xE1, 0x2329},  // angleleft
    SymbolRow{0xE2, 0xF8E8},  // registersans
    SymbolRow{0xE3, 0xF8E9},  // copyrightsans
    SymbolRow{0xE4, 0xF8EA},  // trademarksans
    SymbolRow{0xE5, 0x2211},  // summation
    SymbolRow{0xE6, 0xF8EB},  // parenlefttp
    SymbolRow{0xE7, 0xF8EC},  // parenleftex
    SymbolRow{0xE8, 0xF8ED},  // parenleftbt
    SymbolRow{0xE9, 0xF8EE},  // bracketlefttp
    SymbolRow{0xEA, 0xF8EF},  // bracketleftex
    SymbolRow{0xEB, 0xF8F0},  // bracketleftbt
    SymbolRow{0xEC, 0xF8F1},  // bracelefttp
    SymbolRow{0xED, 0xF8F2},  // braceleftmid
    SymbolRow{0xEE, 0xF8F3},  // braceleftbt
    SymbolRow{0xEF, 0xF8F4},  // braceex
    SymbolRow{0xF1, 0x232A},  // angleright
    SymbolRow{0xF2, 0x222B},  // integral
    SymbolRow{0xF3, 0x2320},  // integraltp
    SymbolRow{0xF4, 0xF8F5},  // integralex
    SymbolRow{0xF5, 0x2321},  // integralbt
    SymbolRow{0xF6, 0xF8F6},  // parenrighttp
    SymbolRow{0xF7, 0xF8F7},  // parenrightex
    SymbolRow{0xF8, 0xF8F8},  // parenrightbt
    SymbolRow{0xF9, 0xF8F9},  // bracketrighttp
    SymbolRow{0xFA, 0xF8FA},  // bracketrightex
    SymbolRow{0xFB, 0xF8FB},  // bracketrightbt
    SymbolRow{0xFC, 0xF8FC},  // bracerighttp
    SymbolRow{0xFD, 0xF8FD},  // bracerightmid
    SymbolRow{0xFE, 0xF8FE},  // bracerightbt
};

// 0x20-0x7E and 0xA0-0xFE, all but 0xF0, which the font leaves empty.
static_assert(kSymbolRows.size() == 95 + 95 - 1);
// In byte order, no byte twice.
static_assert(std::adjacent_find(kSymbolRows.begin(), kSymbolRows.end(), [](const SymbolRow& a, const SymbolRow& b) {
                return a.byte >= b.byte;
              }) == kSymbolRows.end());

// The rows spread over all 256 bytes, once when compiling. Control bytes
// stay themselves; the other bytes the font leaves empty become the
// private-use copies Windows gives a symbol font's bytes, so that no two
// bytes read alike and the byte can still be told.
constexpr std::array<char16_t, 256> kSymbolChars = [] {
  std::array<char16_t, 256> chars{};
  for (int byte = 0; byte < 256; ++byte) chars[byte] = static_cast<char16_t>(byte < 0x20 ? byte : 0xF000 + byte);
  for (const SymbolRow& row : kSymbolRows) chars[row.byte] = row.character;
  return chars;
}();

}  // namespace

char16_t SymbolChar(std::uint8_t byte) { return kSymbolChars[byte]; }

}  // namespace maravelundi
