#!/usr/bin/env python3
"""Writes the statistics the plain-text layer judges words and fonts by.

Reads three Debian packages, and nothing else:
  - hunspell-ml     /usr/share/hunspell/ml_IN.dic   Malayalam words
  - hunspell-en-us  /usr/share/hunspell/en_US.dic, en_US.aff   English stems and affixes
  - locales         /usr/share/i18n/charmaps/MACINTOSH.gz       the Mac Roman code page

and writes into src/plaintext/:
  - MacRomanRows.h       the character of every high byte of Mac Roman
  - MalayalamModel.h     a character n-gram model of Malayalam words
  - EnglishModel.h       a character n-gram model of English words and how
                         English words are capitalised

Every tenth word of each dictionary (index i with i % 10 == 9, counted over
the dictionary's words in file order; for English over its stems, with every
form the affixes make of them) is left out of the models, so that
measure_plaintext can measure on words the models never saw.

The models are interpolated Kneser-Ney models written in back-off form: one
row per n-gram kept, with log2 P(last symbol | the ones before) and, where the
n-gram is the context of a longer one, its back-off weight, both in
hundredths of a bit; pruned to a number of rows by dropping the n-grams that
back-off predicts best. A word is its symbols between two boundaries,
written as a space. An English symbol is a character; a Malayalam symbol is
a character, or a consonant with the virama after it (and a chillu's joiner).

A developer runs it by hand after changing it or after a new version of the
packages:

    tools/plaintext/generate_statistics.py            # writes the headers
    tools/plaintext/generate_statistics.py --evaluate # only prints sizes and
                                                      # held-out bits per word

The build never runs it and never reads the dictionaries.
"""

import argparse
import collections
import gzip
import math
import pathlib
import re
import subprocess
import sys

HERE = pathlib.Path(__file__).resolve().parent
REPO = HERE.parent.parent
OUT = REPO / "src" / "plaintext"
SCRIPT = "tools/plaintext/generate_statistics.py"

ML_DIC = pathlib.Path("/usr/share/hunspell/ml_IN.dic")
EN_DIC = pathlib.Path("/usr/share/hunspell/en_US.dic")
EN_AFF = pathlib.Path("/usr/share/hunspell/en_US.aff")
MAC_ROMAN = pathlib.Path("/usr/share/i18n/charmaps/MACINTOSH.gz")
PACKAGES = ["hunspell-ml", "hunspell-en-us", "locales"]

HELD_OUT_EVERY = 10
HELD_OUT_REMAINDER = 9

BOUNDARY = " "

# (order, minimum raw count of a kept n-gram for each order 1..order, rows
# kept). --evaluate compares these with the other shapes in EVALUATED.
MALAYALAM_MODEL = (4, [1, 1, 1, 2], 30000)
ENGLISH_MODEL = (5, [1, 1, 1, 2, 2], 10000)
EVALUATED = [(3, [1, 1, 1], None), (4, [1, 1, 1, 2], 20000), (4, [1, 1, 1, 2], 30000),
             (5, [1, 1, 1, 2, 2], 10000), (5, [1, 1, 1, 2, 2], 20000), (5, [1, 1, 1, 2, 2], 30000)]

# Characters older Mac Roman tables give some bytes besides the ones glibc
# lists: the currency sign where the euro now is, the Ohm sign for the
# capital omega, and the Apple logo at Apple's own private-use point (glibc
# puts it at U+E01E).
MAC_ROMAN_ALIASES = [(0xDB, 0x00A4), (0xBD, 0x2126), (0xF0, 0xF8FF)]

ZWNJ, ZWJ, VIRAMA = "\u200c", "\u200d", "\u0d4d"
CHILLUS = {"\u0d7a": "\u0d23", "\u0d7b": "\u0d28", "\u0d7c": "\u0d30",
           "\u0d7d": "\u0d32", "\u0d7e": "\u0d33", "\u0d7f": "\u0d15"}
COMPOSITIONS = [("\u0d46\u0d3e", "\u0d4a"), ("\u0d47\u0d3e", "\u0d4b"), ("\u0d46\u0d57", "\u0d4c")]


def canonical_malayalam(word):
    """The form both the models and the detector score: no non-joiners,
    chillus as consonant, virama, joiner, two-part vowel signs composed.
    plaintext/CharacterModel.cpp (CanonicalMalayalam) does the same."""
    out = []
    for ch in word:
        if ch == ZWNJ:
            continue
        if ch in CHILLUS:
            out.extend([CHILLUS[ch], VIRAMA, ZWJ])
        else:
            out.append(ch)
    text = "".join(out)
    for pair, sign in COMPOSITIONS:
        text = text.replace(pair, sign)
    return text


def malayalam_symbols(word):
    """The symbols the Malayalam model counts: a consonant with the virama
    after it (and the joiner of a chillu) is one symbol, so that what a dead
    consonant may precede is seen whole. plaintext/CharacterModel.cpp splits
    the same way."""
    symbols = []
    i = 0
    while i < len(word):
        if is_consonant(word[i]) and i + 1 < len(word) and word[i + 1] == VIRAMA:
            length = 3 if i + 2 < len(word) and word[i + 2] == ZWJ else 2
            symbols.append(word[i:i + length])
            i += length
        else:
            symbols.append(word[i])
            i += 1
    return tuple(symbols)


def is_consonant(ch):
    return "\u0d15" <= ch <= "\u0d3a"


def character_symbols(word):
    return tuple(word)


def package_versions():
    versions = []
    for package in PACKAGES:
        version = subprocess.run(["dpkg-query", "-W", "-f=${Version}", package], check=True,
                                 capture_output=True, text=True).stdout.strip()
        versions.append(f"{package} {version}")
    return versions


def dictionary_words(path):
    """The words of a .dic file in file order, each with its affix flags."""
    with open(path, encoding="utf-8") as f:
        lines = f.read().split("\n")[1:]
    words = []
    for line in lines:
        word, _, flags = line.strip().partition("/")
        if word:
            words.append((word, flags))
    return words


def split_held_out(words):
    kept = [w for i, w in enumerate(words) if i % HELD_OUT_EVERY != HELD_OUT_REMAINDER]
    held = [w for i, w in enumerate(words) if i % HELD_OUT_EVERY == HELD_OUT_REMAINDER]
    return kept, held


# --- English affixes -------------------------------------------------------

def read_affixes(path):
    """hunspell's PFX and SFX rules: flag -> (kind, cross product, rules)."""
    affixes = {}
    with open(path, encoding="utf-8") as f:
        for line in f:
            parts = line.split()
            if len(parts) < 4 or parts[0] not in ("PFX", "SFX"):
                continue
            kind, flag = parts[0], parts[1]
            if flag not in affixes:
                affixes[flag] = (kind, parts[2] == "Y", [])
                continue
            strip = "" if parts[2] == "0" else parts[2]
            add = "" if parts[3] == "0" else parts[3].split("/")[0]
            condition = parts[4] if len(parts) > 4 else "."
            pattern = ("^" + condition) if kind == "PFX" else (condition + "$")
            affixes[flag][2].append((strip, add, re.compile(pattern)))
    return affixes


def apply_affix(word, rules, kind):
    forms = []
    for strip, add, condition in rules:
        if not condition.search(word):
            continue
        if kind == "SFX":
            if strip and not word.endswith(strip):
                continue
            forms.append(word[:len(word) - len(strip)] + add)
        else:
            if strip and not word.startswith(strip):
                continue
            forms.append(add + word[len(strip):])
    return forms


def expand(word, flags, affixes):
    """The stem and every form its flags make, prefixes and suffixes crossed
    where both allow it."""
    forms = {word}
    suffixed = [(f, w) for flag in flags if flag in affixes and affixes[flag][0] == "SFX"
                for f in [affixes[flag]] for w in apply_affix(word, f[2], "SFX")]
    forms.update(w for _, w in suffixed)
    for flag in flags:
        if flag not in affixes or affixes[flag][0] != "PFX":
            continue
        _, cross, rules = affixes[flag]
        forms.update(apply_affix(word, rules, "PFX"))
        if cross:
            for (sfx_cross, _, _), w in suffixed:
                if sfx_cross:
                    forms.update(apply_affix(w, rules, "PFX"))
    return forms


# --- The models --------------------------------------------------------------

def ngram_counts(words, order):
    """Raw counts of every n-gram up to `order` over boundary-padded words
    (tuples of symbols). An n-gram never reaches back past the word's
    opening boundary."""
    counts = [collections.Counter() for _ in range(order + 1)]
    for word in words:
        text = (BOUNDARY,) + word + (BOUNDARY,)
        for end in range(1, len(text) + 1):
            for n in range(1, order + 1):
                if end - n < 0:
                    break
                counts[n][text[end - n:end]] += 1
    counts[1][(BOUNDARY,)] -= len(words)  # the opening boundary is given, never predicted
    return counts


def train(words, order, cutoffs, budget=None):
    """An interpolated Kneser-Ney model: {ngram: log2 prob} and
    {context: log2 back-off weight}, pruned by raw counts and renormalised."""
    raw = ngram_counts(words, order)
    # Lower orders count the distinct words seen before an n-gram, except
    # n-grams that begin at the word's boundary, which nothing precedes.
    kn = [None] + [collections.Counter() for _ in range(order)]
    kn[order] = raw[order]
    for n in range(order, 1, -1):
        for gram in raw[n]:
            kn[n - 1][gram[1:]] += 1
        for gram, c in raw[n - 1].items():
            if gram[0] == BOUNDARY:
                kn[n - 1][gram] = c
    kn[1][(BOUNDARY,)] = raw[1][(BOUNDARY,)]

    symbols = sorted(g for g in kn[1] if kn[1][g] > 0)
    probs = {}
    backoff = {}
    # Unigrams: Kneser-Ney counts, discounted towards a uniform share.
    total1 = sum(kn[1][s] for s in symbols)
    d1 = discount(kn[1])
    uniform = 1.0 / len(symbols)
    for s in symbols:
        probs[s] = max(kn[1][s] - d1, 0) / total1 + d1 * len(symbols) / total1 * uniform
    for n in range(2, order + 1):
        d = discount(kn[n])
        by_context = collections.defaultdict(dict)
        for gram, c in kn[n].items():
            if c > 0:
                by_context[gram[:-1]][gram[-1]] = c
        for context, nexts in by_context.items():
            total = sum(nexts.values())
            gamma = d * len(nexts) / total
            for s, c in nexts.items():
                probs[context + (s,)] = max(c - d, 0) / total + gamma * lower(probs, backoff, context[1:], s)
            backoff[context] = gamma
    return prune(probs, backoff, raw, order, cutoffs, budget)


def discount(counts):
    n1 = sum(1 for c in counts.values() if c == 1)
    n2 = sum(1 for c in counts.values() if c == 2)
    return n1 / (n1 + 2 * n2) if n1 + n2 else 0.5


def lower(probs, backoff, context, symbol):
    """P(symbol | context) from the model built so far (lower orders only)."""
    weight = 1.0
    while True:
        if context + (symbol,) in probs:
            return weight * probs[context + (symbol,)]
        if not context:
            return weight * probs.get((symbol,), 0.0)
        weight *= backoff.get(context, 1.0)
        context = context[1:]


def prune(probs, backoff, raw, order, cutoffs, budget=None):
    kept = {g: p for g, p in probs.items() if raw[len(g)][g] >= cutoffs[len(g) - 1]}
    if budget is not None:
        kept = weighted_difference_prune(kept, backoff, raw, order, budget)
    # Every context of a kept n-gram stays, to hold its back-off weight.
    for gram in list(kept):
        for n in range(1, len(gram)):
            context = gram[:n]
            if context not in kept and context in probs:
                kept[context] = probs[context]
    # Back-off weights that make each context's distribution sum to one again.
    by_context = collections.defaultdict(list)
    for gram in kept:
        if len(gram) > 1:
            by_context[gram[:-1]].append(gram[-1])
    weights = {}
    for context, nexts in sorted(by_context.items(), key=lambda item: len(item[0])):
        seen = sum(kept[context + (s,)] for s in nexts)
        seen_lower = sum(lookup(kept, weights, context[1:], s) for s in nexts)
        weights[context] = max(1.0 - seen, 1e-9) / max(1.0 - seen_lower, 1e-9)
    return kept, weights


def weighted_difference_prune(kept, backoff, raw, order, budget):
    """Keeps `budget` rows: drops the n-grams whose own probability differs
    least from what backing off would give them, weighted by how often they
    occur, longest first; an n-gram that is the context of a kept longer one
    stays. The threshold is found by bisection."""
    total = sum(raw[1].values())
    cost = {}
    for gram, p in kept.items():
        if len(gram) > 1:
            lower_p = backoff.get(gram[:-1], 1.0) * lookup(kept, backoff, gram[1:-1], gram[-1])
            cost[gram] = raw[len(gram)][gram] / total * abs(math.log2(p / lower_p))

    def pruned(threshold):
        result = dict(kept)
        for n in range(order, 1, -1):
            contexts = {g[:-1] for g in result if len(g) == n + 1}
            for gram in [g for g in result if len(g) == n]:
                if cost[gram] < threshold and gram not in contexts:
                    del result[gram]
        return result

    low, high = 0.0, max(cost.values(), default=0.0)
    for _ in range(40):
        middle = (low + high) / 2
        if len(pruned(middle)) > budget:
            low = middle
        else:
            high = middle
    return pruned(high)


def lookup(probs, weights, context, symbol):
    weight = 1.0
    while True:
        if context + (symbol,) in probs:
            return weight * probs[context + (symbol,)]
        if not context:
            return weight * 1e-9
        weight *= weights.get(context, 1.0)
        context = context[1:]


def word_bits(model, word, order):
    probs, weights = model
    text = (BOUNDARY,) + word + (BOUNDARY,)
    bits = 0.0
    for end in range(1, len(text)):
        context = text[max(0, end - order + 1):end]
        bits -= math.log2(lookup(probs, weights, context, text[end]))
    return bits


# --- Output ------------------------------------------------------------------

def centibits(p):
    return round(100 * math.log2(p))


def cpp_string(text):
    out = []
    for ch in text:
        if ch == "\\" or ch == '"':
            out.append("\\" + ch)
        elif 0x20 <= ord(ch) < 0x7F or (ch.isprintable() and not ch.isspace() and ord(ch) > 0xA0):
            out.append(ch)
        else:
            out.append(f"\\u{ord(ch):04X}")
    return "".join(out)


def banner(versions, what):
    lines = [
        "#pragma once",
        f"// Generated by {SCRIPT} from Debian's",
        "// " + ", ".join(versions) + ";",
        "// do not edit by hand.",
        "//",
    ]
    lines += ["// " + line if line else "//" for line in what]
    return lines


def model_rows(model):
    probs, weights = model
    rows = []
    for gram in sorted(probs, key=lambda g: (len(g), g)):
        rows.append(f'    {{u"{cpp_string("".join(gram))}", {centibits(probs[gram])}, '
                    f'{centibits(weights[gram]) if gram in weights else 0}}},')
    return rows


def write_model(path, versions, identifier, description, model, order, extra):
    lines = banner(versions, description + [
        "",
        "One row per n-gram kept: its symbols (a space is the word's boundary),",
        "log2 P(last symbol | the symbols before it) and the back-off weight of",
        "the n-gram as a context (0 where it is none), both in hundredths of a",
        "bit; shortest n-grams first, then in the order of their symbols.",
    ])
    lines += [
        "",
        '#include "plaintext/NgramRow.h"',
        "",
        "namespace maravelundi::plaintext_statistics {",
        "",
        f"inline constexpr int k{identifier}Order = {order};",
    ]
    lines += extra
    lines += ["", f"inline constexpr NgramRow k{identifier}Rows[] = {{"]
    lines += model_rows(model)
    lines += ["};", "", "}  // namespace maravelundi::plaintext_statistics", ""]
    path.write_text("\n".join(lines), encoding="utf-8")


def mac_roman_rows():
    rows = {}
    with gzip.open(MAC_ROMAN, "rt", encoding="ascii", errors="replace") as f:
        for line in f:
            m = re.match(r"<U([0-9A-F]{4,})>\s+/x([0-9a-f]{2})\s+(.*)", line)
            if m and int(m.group(2), 16) >= 0x80:
                rows[int(m.group(2), 16)] = (int(m.group(1), 16), m.group(3).strip())
    if sorted(rows) != list(range(0x80, 0x100)):
        sys.exit(f"{MAC_ROMAN}: expected one character for each of the bytes 80-FF")
    return rows


def write_mac_roman(versions):
    rows = mac_roman_rows()
    lines = banner(versions, [
        "The characters of Mac Roman's bytes 80-FF, as text copied out of a",
        "legacy font keyed by Mac Roman holds them, and the characters older",
        "tables give some of these bytes besides.",
    ])
    lines += [
        "",
        '#include "plaintext/NgramRow.h"',
        "",
        "namespace maravelundi::plaintext_statistics {",
        "",
        "inline constexpr CodeCharacterRow kMacRomanRows[] = {",
    ]
    for byte in range(0x80, 0x100):
        character, name = rows[byte]
        lines.append(f"    {{0x{byte:02X}, 0x{character:04X}}},  // {name}")
    lines += ["};", "", "inline constexpr CodeCharacterRow kMacRomanAliases[] = {"]
    for byte, character in MAC_ROMAN_ALIASES:
        lines.append(f"    {{0x{byte:02X}, 0x{character:04X}}},")
    lines += ["};", "", "}  // namespace maravelundi::plaintext_statistics", ""]
    (OUT / "MacRomanRows.h").write_text("\n".join(lines), encoding="utf-8")


def case_shape(word):
    letters = [ch for ch in word if ch.isalpha()]
    if not letters or all(ch.islower() for ch in letters):
        return "lower"
    if all(ch.isupper() for ch in letters):
        return "upper" if len(letters) > 1 else "capitalised"
    if letters[0].isupper() and all(ch.islower() for ch in letters[1:]):
        return "capitalised"
    return "mixed"


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--evaluate", action="store_true", help="print sizes and held-out bits; write nothing")
    args = parser.parse_args()

    ml_kept, ml_held = split_held_out(dictionary_words(ML_DIC))
    ml_train = [malayalam_symbols(canonical_malayalam(w)) for w, _ in ml_kept]
    en_kept, en_held = split_held_out(dictionary_words(EN_DIC))
    affixes = read_affixes(EN_AFF)
    en_forms = sorted({form for word, flags in en_kept for form in expand(word, flags, affixes)})
    en_train = [character_symbols(w.lower()) for w in en_forms]
    shapes = collections.Counter(case_shape(w) for w, _ in en_kept)

    models = {
        "Malayalam": (ml_train, [malayalam_symbols(canonical_malayalam(w)) for w, _ in ml_held], MALAYALAM_MODEL),
        "Malayalam by character": ([character_symbols(canonical_malayalam(w)) for w, _ in ml_kept],
                                   [character_symbols(canonical_malayalam(w)) for w, _ in ml_held], MALAYALAM_MODEL),
        "English": (en_train, [character_symbols(w.lower()) for w, _ in en_held], ENGLISH_MODEL),
    }
    if args.evaluate:
        for name, (train_words, held_words, _) in models.items():
            print(f"{name}: {len(train_words)} training words, {len(held_words)} held out")
            for order, cutoffs, budget in EVALUATED:
                model = train(train_words, order, cutoffs, budget)
                bits = sum(word_bits(model, w, order) for w in held_words) / len(held_words)
                print(f"  order {order} cutoffs {cutoffs} budget {budget}: {len(model[0])} rows, {bits:.2f} bits per held-out word")
        return

    versions = package_versions()
    write_mac_roman(versions)
    ml_order, ml_cutoffs, ml_budget = MALAYALAM_MODEL
    write_model(OUT / "MalayalamModel.h", versions, "Malayalam", [
        f"Malayalam words: the {len(ml_train)} words of ml_IN.dic that are not",
        "held out, in the canonical form the detector scores (no non-joiners,",
        "chillus as consonant, virama, joiner, two-part vowel signs composed).",
        "A symbol is a character, or a consonant with the virama after it and",
        "the joiner of a chillu after that.",
    ], train(ml_train, ml_order, ml_cutoffs, ml_budget), ml_order, [])
    en_order, en_cutoffs, en_budget = ENGLISH_MODEL
    total = sum(shapes.values())
    extra = [
        "",
        "// How the stems of en_US.dic are capitalised, log2 of each share in",
        "// hundredths of a bit: all lower case, a capital first, all capitals,",
        "// and anything else (\"McDonald\").",
    ]
    for shape in ["lower", "capitalised", "upper", "mixed"]:
        extra.append(f"inline constexpr int kEnglish{shape.capitalize()}Share = "
                     f"{centibits(max(shapes[shape], 1) / total)};")
    write_model(OUT / "EnglishModel.h", versions, "English", [
        f"English words, lower-cased: the {len(en_train)} forms that the affix rules",
        "of en_US.aff make of the stems of en_US.dic that are not held out.",
    ], train(en_train, en_order, en_cutoffs, en_budget), en_order, extra)


if __name__ == "__main__":
    main()
