#!/usr/bin/env bash
# Prints the consumables report and the error log for real under Wine and
# renders the first page of each to PNG:
#   scripts/lib/print-reports-to-png.sh BUILD_DIR [OUT_DIR]
# BUILD_DIR is a cross build (win32 or win64, told by its wine-run) in which
# reporttests.exe is built. Its test RealPrinting.* adds a PostScript printer
# (Wine's driver with an A4 PPD) whose port appends its jobs to
# BUILD_DIR/report-print/jobs.ps, prints both reports with three copies
# through the real print dialog and GDI, checks that three one-page
# documents arrive for each, and keeps the first document of each as
# consumables.ps and errorlog.ps there. Ghostscript then draws them as
#   OUT_DIR/veldra6-report-consumables.png
#   OUT_DIR/veldra6-report-errorlog.png
# (OUT_DIR defaults to build/run). Exits non-zero when the test fails, a
# page does not render, or a rendered page is blank. Uses $DISPLAY or the
# Xvfb recorded in BUILD_DIR, else starts one; stops only what it started.
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
if [ "$#" -lt 1 ] || [ "$#" -gt 2 ] || [ ! -d "$1" ]; then
  echo "usage: scripts/lib/print-reports-to-png.sh BUILD_DIR [OUT_DIR]" >&2
  exit 2
fi
build=$(cd "$1" && pwd)
out="${2:-$top/build/run}"
mkdir -p "$out"
out=$(cd "$out" && pwd)
tests="$build/bin/reporttests.exe"
if [ ! -f "$tests" ]; then
  echo "print-reports-to-png: $tests is not built (cmake --build $build --target reporttests)" >&2
  exit 2
fi
if ! command -v gs >/dev/null 2>&1; then
  echo "print-reports-to-png: ghostscript (gs) is missing; scripts/setup installs it" >&2
  exit 2
fi
arch=$(sed -n 's/^export WINEARCH=\(win32\|win64\)$/\1/p' "$build/wine-run" | head -n 1)
prefix=$(sed -n 's/^export WINEPREFIX="\(.*\)"$/\1/p' "$build/wine-run" | head -n 1)
if [ -z "$arch" ] || [ -z "$prefix" ]; then
  echo "print-reports-to-png: cannot read the prefix of $build/wine-run" >&2
  exit 2
fi

# shellcheck source=wine-env.sh
. "$top/scripts/lib/wine-env.sh"
koa_wine_env "$prefix" "$arch"
trap koa_wine_stop EXIT
[ -n "${DISPLAY:-}" ] || koa_start_display "$build"
koa_prepare_prefix

jobs="$build/report-print"
rm -f "$jobs/consumables.ps" "$jobs/errorlog.ps" "$jobs/jobs.ps"
if ! "$build/wine-run" "$tests" --gtest_filter='RealPrinting.*' >"$build/report-print.log" 2>&1; then
  tail -n 30 "$build/report-print.log" >&2
  echo "print-reports-to-png: the real printing test failed; see $build/report-print.log" >&2
  exit 1
fi

status=0
for report in consumables errorlog; do
  ps="$jobs/$report.ps"
  png="$out/veldra6-report-$report.png"
  rm -f "$png"
  if [ ! -s "$ps" ] ||
     ! gs -q -dSAFER -dNOPAUSE -dBATCH -sDEVICE=png16m -r100 -dFirstPage=1 -dLastPage=1 \
          -sOutputFile="$png" "$ps" >>"$build/report-print.log" 2>&1 || [ ! -s "$png" ]; then
    echo "print-reports-to-png: $report did not render; see $build/report-print.log" >&2
    status=1
    continue
  fi
  # A page that printed nothing renders all white (mean 1).
  mean=$(convert "$png" -colorspace Gray -format '%[fx:mean]' info: 2>/dev/null || echo 1)
  if awk -v m="$mean" 'BEGIN { exit !(m >= 0.9999) }'; then
    echo "print-reports-to-png: $png is blank" >&2
    status=1
    continue
  fi
  echo "$png"
done
exit "$status"
