#!/bin/sh
# PDFs of real words set in stand-ins for legacy fonts, made by LibreOffice,
# read back by maravelundi-cli: pages per second and peak memory on a
# document of about 100 pages, and the share of words that read back as the
# same document gives them read as a document, per font kind (a Windows
# Unicode cmap, a symbol cmap). Everything is written under WORK.
#
#   tools/pdf/measure_pdf.sh BUILD WORK
set -eu
build="$1"
work="$2/pdf"
root="$(cd "$(dirname "$0")/../.." && pwd)"
cli="$build/src/maravelundi-cli"
generate="$build/bench/maravelundi-bench-generate"
dictionary=/usr/share/hunspell/ml_IN.dic
source_font=/usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf
python=/usr/bin/python3
[ -x "$python" ] || python=python3
if ! command -v soffice >/dev/null 2>&1 || [ ! -f "$dictionary" ] || [ ! -f "$source_font" ]; then
  echo "(PDF: needs soffice, hunspell-ml and fonts-liberation)"
  exit 0
fi
mkdir -p "$work/fonts" "$work/cache" "$work/home"
# ML-TTKarthika keeps its Unicode cmap; ML-TTRevathi gets a symbol cmap:
# both names the ML-TT family, so both read as ML-TT.
"$python" "$root/tools/pdf/make_standin_font.py" "$source_font" "$work/fonts/karthika.ttf" ML-TTKarthika unicode
"$python" "$root/tools/pdf/make_standin_font.py" "$source_font" "$work/fonts/revathi.ttf" ML-TTRevathi symbol
cat > "$work/fonts.conf" <<CONF
<?xml version="1.0"?>
<!DOCTYPE fontconfig SYSTEM "fonts.dtd">
<fontconfig><dir>/usr/share/fonts</dir><dir>$work/fonts</dir><cachedir>$work/cache</cachedir></fontconfig>
CONF

# About 100 pages of real words in each font kind: words the model of
# Malayalam words (which judges how a PDF's lines join) was not trained on.
[ -f "$work/unicode.rtf" ] || "$generate" --held-out-words "$dictionary" 0.45 2026 "$work/unicode.rtf"
sed 's/ML-TTKarthika;/ML-TTRevathi;/; s/\\fnil ML-TTRevathi/\\fnil\\fcharset2 ML-TTRevathi/' \
  "$work/unicode.rtf" > "$work/symbol.rtf"
for kind in unicode symbol; do
  [ -f "$work/$kind.pdf" ] || HOME="$work/home" FONTCONFIG_FILE="$work/fonts.conf" TMPDIR="$work/home" \
    soffice "-env:UserInstallation=file://$work/profile" --headless --convert-to pdf --outdir "$work" \
    "$work/$kind.rtf" > "$work/soffice.log" 2>&1 </dev/null
done

printf '%-22s %6s %8s %10s %8s %s\n' "PDF: font kind" pages seconds pages/s "peak MB" "words right"
for kind in unicode symbol; do
  /usr/bin/time -f '%e %M' -o "$work/time" "$cli" --verbose --to text -o "$work/$kind-pdf.txt" "$work/$kind.pdf" \
    2> "$work/$kind-verbose.txt"
  read -r seconds kilobytes < "$work/time"
  pages=$(grep -o '[0-9]* pages\?,' "$work/$kind-verbose.txt" | grep -o '^[0-9]*')
  "$cli" --to text -o "$work/$kind-rtf.txt" "$work/$kind.rtf"
  # The soft hyphen's code (0xAD), as a Windows-1252 character, never
  # reaches a PDF: LibreOffice takes it for a soft hyphen (a symbol font's
  # U+F0AD it keeps). The words holding it are the words whose codes do not
  # survive, found by reading the document without it.
  if [ "$kind" = unicode ]; then
    sed "s/\\\\'ad//g" "$work/$kind.rtf" > "$work/$kind-surviving.rtf"
  else
    cp "$work/$kind.rtf" "$work/$kind-surviving.rtf"
  fi
  "$cli" --to text -o "$work/$kind-surviving.txt" "$work/$kind-surviving.rtf"
  right=$("$python" - "$work/$kind-pdf.txt" "$work/$kind-rtf.txt" "$work/$kind-surviving.txt" <<'PY'
import difflib, sys
read, truth, surviving = (open(name, encoding="utf-8").read().split() for name in sys.argv[1:4])
def same(a, b):
    return sum(block.size for block in difflib.SequenceMatcher(None, a, b, autojunk=False).get_matching_blocks())
lost = len(truth) - same(truth, surviving)
right = same(truth, read)
print(f"{100 * right / max(len(truth) - lost, 1):.2f} % of {len(truth) - lost} ({lost} lost a code)")
PY
)
  awk -v k="$kind" -v p="$pages" -v s="$seconds" -v m="$kilobytes" -v r="$right" 'BEGIN {
    if (s < 0.005) s = 0.005; printf "%-22s %6d %8.2f %10.1f %8.1f %s\n", k " cmap", p, s, p / s, m / 1024, r }'
done
echo "(words right: of the words the RTF gives read as a document whose codes reach the PDF, those the PDF gives in the same order)"
