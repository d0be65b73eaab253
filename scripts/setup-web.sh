#!/usr/bin/env bash
# Installs what the browser build needs on Debian 12 and builds the libraries it
# links from Debian's own source packages, with emscripten, into a prefix:
#   scripts/setup-web.sh [PREFIX]      (default: build-web/deps)
# - through scripts/install-deps.sh web-build: emscripten (and node, which runs
#   its tools) and hb-subset, which cuts the page's fonts to the characters the
#   program draws, and a source entry for the package manager when it has none;
# - zlib and FreeType from `apt-get source`, compiled to WebAssembly for size
#   (-Os): zlib with its own configure and Makefile (its CMake files fail on
#   Debian's tarball), FreeType with that zlib (the fixed face is a gzipped
#   bitmap font) and only the modules the page's faces need: TrueType outlines
#   with their hinting, the gzipped bitmap font, and the anti-aliasing renderer.
# A library already in PREFIX is not built again, unless PREFIX was built with
# other settings (DEPS_SETTINGS below): then everything in it is built anew.
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
PREFIX="${1:-$ROOT/build-web/deps}"
SOURCES="$(dirname "$PREFIX")/sources"

say() { echo "setup-web: $*"; }

# Changes whenever the libraries' settings change, so an old PREFIX is rebuilt.
DEPS_SETTINGS="2: zlib, FreeType (truetype sfnt smooth pcf), -Os, no libpng"

# Unpacks Debian's source package $1 under $SOURCES; prints its directory.
fetch_source() {
  local package="$1"
  mkdir -p "$SOURCES"
  local dir
  dir="$(find "$SOURCES" -maxdepth 1 -type d -name "$package-*" | head -n 1)"
  if [ -z "$dir" ]; then
    # The newest version first; an archive that lists a version it cannot serve
    # (a security update, say) falls back to the next one listed.
    local fetched=""
    for version in "" $(apt-cache showsrc "$package" | sed -n 's/^Version: //p' | sort -r -V -u); do
      if (cd "$SOURCES" && apt-get source -qq "$package${version:+=$version}" >/dev/null 2>&1); then
        fetched=yes
        break
      fi
    done
    if [ -z "$fetched" ]; then
      echo "setup-web: apt-get source $package failed" >&2
      exit 1
    fi
    dir="$(find "$SOURCES" -maxdepth 1 -type d -name "$package-*" | head -n 1)"
  fi
  echo "$dir"
}

# FreeType's module list, cut to what the page's faces use: TrueType outlines
# hinted by their own instructions (never the auto-hinter at the hinting the
# program asks for), the gzipped bitmap font, and the renderer for outlines.
# The other modules' code is then never referenced and stays out of the link.
write_module_list() {
  cat >"$1" <<'MODULES'
/* The modules this build registers (written by scripts/setup-web.sh). */
FT_USE_MODULE( FT_Driver_ClassRec, tt_driver_class )
FT_USE_MODULE( FT_Driver_ClassRec, pcf_driver_class )
FT_USE_MODULE( FT_Module_Class, sfnt_module_class )
FT_USE_MODULE( FT_Renderer_Class, ft_smooth_renderer_class )
MODULES
}

# Empties PREFIX when its libraries were built with other settings.
check_settings() {
  local stamp="$PREFIX/vorkan-deps-settings"
  if [ -d "$PREFIX" ] && [ "$(cat "$stamp" 2>/dev/null)" != "$DEPS_SETTINGS" ]; then
    say "the libraries in $PREFIX were built with other settings: building them anew"
    rm -rf "$PREFIX"
  fi
  mkdir -p "$PREFIX"
  echo "$DEPS_SETTINGS" >"$stamp"
}

build_zlib() {
  [ -f "$PREFIX/lib/libz.a" ] && return 0
  local dir
  dir="$(fetch_source zlib)"
  say "building zlib"
  (cd "$dir" && CHOST=wasm32 CFLAGS="-Os" emconfigure ./configure --static --prefix="$PREFIX" >/dev/null &&
    emmake make -s libz.a >/dev/null && emmake make -s install >/dev/null)
}

build_freetype() {
  [ -f "$PREFIX/lib/libfreetype.a" ] && return 0
  local dir
  dir="$(fetch_source freetype)"
  say "building FreeType (with the zlib above)"
  write_module_list "$dir/include/freetype/config/ftmodule.h"
  local build="$dir/build-wasm"
  rm -rf "$build"
  emcmake cmake -S "$dir" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=MinSizeRel -DCMAKE_INSTALL_PREFIX="$PREFIX" \
    -DCMAKE_PREFIX_PATH="$PREFIX" -DCMAKE_FIND_ROOT_PATH="$PREFIX" -DBUILD_SHARED_LIBS=OFF \
    -DFT_REQUIRE_ZLIB=ON -DFT_DISABLE_PNG=ON -DFT_DISABLE_BZIP2=ON -DFT_DISABLE_HARFBUZZ=ON \
    -DFT_DISABLE_BROTLI=ON -DZLIB_LIBRARY="$PREFIX/lib/libz.a" -DZLIB_INCLUDE_DIR="$PREFIX/include" >/dev/null
  cmake --build "$build" >/dev/null
  cmake --install "$build" >/dev/null
}

"$ROOT/scripts/install-deps.sh" web-build
# Debian's node is where emscripten's JS optimiser finds its modules.
export NODE_PATH="${NODE_PATH:-/usr/share/nodejs}"
check_settings
build_zlib
build_freetype
say "libraries for the browser build are in $PREFIX"
