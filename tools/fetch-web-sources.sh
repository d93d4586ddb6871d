#!/bin/sh
# The C sources the page's WebAssembly build compiles beside our own: zlib,
# libzip and pugixml, as Debian's source packages of the very versions the
# native build links, so the page's packages come out of the same code as
# the command line's. Emscripten's own "ports" would download from elsewhere,
# and no Emscripten build of these libraries is packaged.
#
# Debian's source packages are fetched with apt-get through a list of its
# own (the machine's apt configuration is left alone) and unpacked into
# web/vendor/NAME; a source already unpacked at the right version is kept,
# so running it again costs nothing.
set -eu

root="$(cd "$(dirname "$0")/.." && pwd)"
vendor="$root/web/vendor"
apt_dir="$vendor/apt"

# binary package installed natively -> source package
PAIRS="zlib1g-dev:zlib libzip-dev:libzip libpugixml-dev:pugixml"

source_version() {
  dpkg-query -W -f='${source:Version}' "$1"
}

# The upstream version of a Debian version: no epoch, no revision, no +dfsg.
upstream_of() {
  echo "$1" | sed -e 's/^[0-9]*://' -e 's/-[^-]*$//' -e 's/[.+~]dfsg.*$//'
}

needed=""
for pair in $PAIRS; do
  binary="${pair%%:*}"
  source="${pair#*:}"
  version="$(source_version "$binary")"
  [ "$(cat "$vendor/$source/.debian-version" 2>/dev/null)" = "$version" ] || needed="$needed $source=$version"
done
[ -z "$needed" ] && exit 0

mkdir -p "$apt_dir/lists/partial" "$apt_dir/cache/archives/partial" "$apt_dir/download"
codename="$(. /etc/os-release && echo "$VERSION_CODENAME")"
echo "deb-src http://deb.debian.org/debian $codename main" >"$apt_dir/sources.list"
APT_OPTIONS="-o Dir::Etc::SourceList=$apt_dir/sources.list -o Dir::Etc::SourceParts=/nonexistent \
  -o Dir::State::Lists=$apt_dir/lists -o Dir::Cache=$apt_dir/cache -o APT::Sandbox::User=root"
# shellcheck disable=SC2086
apt-get $APT_OPTIONS -qq update
for request in $needed; do
  source="${request%%=*}"
  version="${request#*=}"
  echo "Fetching the Debian source of $source $version"
  # shellcheck disable=SC2086
  (cd "$apt_dir/download" && apt-get $APT_OPTIONS -qq source --download-only "$source=$version")
  upstream="$(upstream_of "$version")"
  rm -rf "$vendor/$source"
  mkdir -p "$vendor/$source"
  tar -xf "$(ls "$apt_dir/download/${source}_${upstream}"*.orig.tar.*)" -C "$vendor/$source" --strip-components=1
  echo "$version" >"$vendor/$source/.debian-version"
done
