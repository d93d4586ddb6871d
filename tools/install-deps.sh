#!/bin/sh
# Installs the Debian packages the build and the tests need, and only those
# that are missing, so running it again costs nothing.
set -eu

# Build and tests; Qt 6 for the window; a metric twin of Arial, the
# window's font; clang with its sanitizer and libFuzzer runtimes; Google
# Benchmark, GNU time and the Malayalam dictionary (real words) for the
# benchmarks; libzip and pugixml for DOCX and ODT packages, and LibreOffice,
# which the office tests read them back with; HTML Tidy, which checks the
# HTML5 output.
PACKAGES="cmake ninja-build g++ pkg-config libgtest-dev libgmock-dev libcli11-dev qt6-base-dev fonts-liberation
  clang libclang-rt-14-dev libbenchmark-dev time hunspell-ml
  libzip-dev libpugixml-dev libreoffice-writer-nogui tidy"

# LibreOffice Calc and Impress: the spreadsheets and presentations only they
# read (.xls, .ppt and the OpenDocument templates and flat files) are
# converted through them, and the tests read every converted workbook and
# presentation back with them.
PACKAGES="$PACKAGES libreoffice-calc-nogui libreoffice-impress-nogui"

# poppler, which reads a PDF's text layer with each piece's font; fontTools,
# with which the PDF tests make stand-ins for legacy fonts out of a free one.
PACKAGES="$PACKAGES libpoppler-cpp-dev python3-fonttools"

# ICU, whose normalizer the tests of the legacy font families take as the
# judge of Normalization Form C.
PACKAGES="$PACKAGES libicu-dev"

# The plain-text layer's statistics and its measure: the English dictionary
# beside the Malayalam one, and glibc's Mac Roman charmap
# (tools/plaintext/generate_statistics.py reads both).
PACKAGES="$PACKAGES hunspell-en-us locales"

# The page: Emscripten to compile the converter to WebAssembly, the
# Malayalam font the page carries (Manjari), chromium for the browser test,
# and Python's web server for make web-serve.
PACKAGES="$PACKAGES emscripten fonts-smc-manjari chromium python3"

# make deb and its test: cpack asks dpkg-shlibdeps (dpkg-dev) which packages
# the programs' libraries come from and `file` which files are programs;
# fakeroot is not needed, cpack writes the files as root's itself.
PACKAGES="$PACKAGES dpkg-dev file"

missing=""
for package in $PACKAGES; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing="$missing $package"
  fi
done
# npm for the page's packages, unless a Node.js of another origin brings its own.
command -v npm >/dev/null 2>&1 || missing="$missing npm"

if [ -n "$missing" ]; then
  echo "Installing:$missing"
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends $missing
fi

# The C libraries the page compiles from source, at the versions installed above.
"$(dirname "$0")/fetch-web-sources.sh"
