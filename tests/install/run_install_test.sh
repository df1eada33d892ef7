#!/usr/bin/env bash
# Runs the installer test (installtests.exe) in a Wine prefix made for it
# alone, so that the install meets a system that has never seen the
# programs, and removes the prefix's Wine processes afterwards.
#   run_install_test.sh BUILD_DIR SETUP_EXE STAGE_DIR VERSION TEST_EXE
# The X display is $DISPLAY, or else the Xvfb recorded in BUILD_DIR (as for
# the build's other Wine tests).
set -uo pipefail
build="$1" setup="$2" stage="$3" version="$4" test_exe="$5"
top=$(cd "$(dirname "$0")/../.." && pwd)
# shellcheck source=../../scripts/lib/wine-env.sh
. "$top/scripts/lib/wine-env.sh"

if [ -z "${DISPLAY:-}" ] && [ -f "$build/xvfb.display" ]; then
  DISPLAY=$(head -c 32 "$build/xvfb.display" | tr -d ' \n')
fi
if [ -z "${DISPLAY:-}" ]; then
  echo "run_install_test: no X display: set DISPLAY or run koa_start_display $build" >&2
  exit 125
fi
export DISPLAY

prefix="$build/install-test/prefix"
koa_stop_wineserver "$prefix"
rm -rf "$build/install-test"
mkdir -p "$build/install-test"
koa_wine_env "$prefix" win32
# No menu entries of the desktop for the shortcuts the installer makes.
export WINEDLLOVERRIDES="$WINEDLLOVERRIDES;winemenubuilder.exe=d"
koa_prepare_prefix || exit 1
trap 'koa_stop_wineserver "$prefix"' EXIT

winpath() { echo "Z:${1//\//\\}"; }
export KOA_SETUP KOA_STAGE KOA_VERSION
KOA_SETUP=$(winpath "$setup")
KOA_STAGE=$(winpath "$stage")
KOA_VERSION="$version"
export WINEDEBUG=-all
"$WINELOADER" "$test_exe"
rc=$?
# The prefix (some 600 MB) is kept only to look into a failure.
koa_stop_wineserver "$prefix"
[ "$rc" -ne 0 ] || rm -rf "$build/install-test"
exit "$rc"
