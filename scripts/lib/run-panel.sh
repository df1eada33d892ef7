# shellcheck shell=bash
# The remote panel's part of scripts/run (sourced there, after the build):
# koa_run_panel uses $top, $build, $arch, $bin, $run_dir and winpath.
# shellcheck disable=SC2154  # those are set by scripts/run

# Installs the printers of the run in the current prefix and points the two
# bidirectional ones at their jobs files.
koa_run_panel_printers() {
  local tool="$bin/koaprinters.exe"
  "$WINELOADER" "$tool" add "KOA koa2400Max-R" "KOA koa2400Max-R(0mm)" LPT1: 0x800 &&
    "$WINELOADER" "$tool" add "KOA koa2600Max-R" "KOA koa2600Max-R(0mm)" USB001 0x800 &&
    "$WINELOADER" "$tool" add "KOA koa2400Max-R FILE" "KOA koa2400Max-R(0mm)" FILE: 0x800 &&
    "$WINELOADER" "$tool" add "Plain Text Printer" "Plain Text Line Driver" LPT2: 0x800 &&
    "$WINELOADER" "$tool" port LPT1: "|cat >> $panel_dir/jobs-lpt.bin" &&
    "$WINELOADER" "$tool" port USB001 "|cat >> $panel_dir/jobs-usb.bin" &&
    "$WINELOADER" "$tool" default "KOA koa2400Max-R"
}

# Starts the language-monitor stand-in for both printers and waits until it
# has written its first (empty) record, its sign of being ready.
koa_run_panel_stand_in() {
  local deadline=$((SECONDS + 60))
  : >"$panel_dir/jobs-lpt.bin"
  : >"$panel_dir/jobs-usb.bin"
  rm -f "$panel_dir/received-lpt.bin"
  "$WINELOADER" "$bin/lmstand.exe" --items "$(winpath "$top/tools/printer_emu/printer_items.txt")" \
    --jobs "$(winpath "$panel_dir/jobs-lpt.bin")" \
    --config "$(winpath "$top/tools/lmstand/panel-run-koa2400.cfg")" \
    --record "$(winpath "$panel_dir/received-lpt.bin")" --state "$(winpath "$panel_dir/state-lpt.cfg")" \
    --printer "$(winpath "$panel_dir/jobs-usb.bin")" "$(winpath "$top/tools/lmstand/panel-run-koa2600.cfg")" \
    >"$panel_dir/lmstand.log" 2>&1 &
  stand_pid=$!
  until [ -f "$panel_dir/received-lpt.bin" ]; do
    if ! kill -0 "$stand_pid" 2>/dev/null || [ "$SECONDS" -ge "$deadline" ]; then
      echo "scripts/run: the language-monitor stand-in did not start; see $panel_dir/lmstand.log" >&2
      return 1
    fi
    sleep 0.1
  done
}

# Saves a picture of the run's desktop once two in a row are the same (the
# windows have drawn themselves), or after 10 s as it is.
koa_run_panel_shoot() {
  local out="$run_dir/$1.png" deadline=$((SECONDS + 10))
  import -display "$DISPLAY" -window root -crop "$size+0+0" "$shots_tmp/last.rgb"
  while [ "$SECONDS" -lt "$deadline" ]; do
    sleep 0.3
    import -display "$DISPLAY" -window root -crop "$size+0+0" "$shots_tmp/next.rgb"
    if cmp -s "$shots_tmp/last.rgb" "$shots_tmp/next.rgb"; then break; fi
    mv "$shots_tmp/next.rgb" "$shots_tmp/last.rgb"
  done
  import -display "$DISPLAY" -window root -crop "$size+0+0" "$out"
  shots+=("$out")
}

# One step of the driven run: paneldriver's commands, each invocation anew
# (it finds the program's windows again every time). On failure a picture of
# the moment is saved and the step named.
koa_run_panel_step() {
  local what="$1"
  shift
  echo "-- $what"
  if "$WINELOADER" "$bin/paneldriver.exe" --desktop run "timeout $wait_ms" attach "$@"; then
    return 0
  fi
  koa_run_panel_shoot veldra6-failure
  echo "scripts/run: the remote panel's run failed at: $what" >&2
  return 1
}

koa_run_panel_saved() {
  [ "${#shots[@]}" -gt 0 ] || return 0
  echo "saved:"
  printf '  %s\n' "${shots[@]}"
}

koa_run_panel() {
  panel_dir="$run_dir/veldra6"
  mkdir -p "$panel_dir"
  # A prefix of its own: the test prefix holds the tests' printers.
  koa_wine_env "$build/run-wineprefix" "$arch"
  local interactive=0
  [ -n "${DISPLAY:-}" ] && interactive=1
  trap koa_wine_stop EXIT
  [ "$interactive" = 1 ] || koa_start_display "$build" || return 1
  koa_prepare_prefix || return 1
  if ! koa_run_panel_printers; then
    echo "scripts/run: could not install the test printers" >&2
    return 1
  fi
  koa_run_panel_stand_in || return 1

  if [ "$interactive" = 1 ]; then
    echo "remote panel on $DISPLAY. Printers: \"KOA koa2400Max-R\" (LPT1:) and \"KOA koa2600Max-R\" (USB001)"
    echo "answer from emulated printers; \"KOA koa2400Max-R FILE\" and \"Plain Text Printer\" are refused."
    echo "Close the remote panel to end. Stand-in files: $panel_dir"
    "$WINELOADER" "$bin/veldra6.exe" || true
    return 0
  fi

  # Without a display of the user's: Wine's own desktop (which draws title
  # bars) on the Xvfb, driven from outside.
  size=1024x768
  wait_ms=60000  # a first start of Wine on a busy machine takes seconds
  shots=()
  shots_tmp=$(mktemp -d)
  trap 'rm -rf "$shots_tmp"; koa_wine_stop' EXIT
  "$WINELOADER" explorer "/desktop=run,$size" "$bin/veldra6.exe" >"$panel_dir/veldra6.log" 2>&1 &

  local ok=1
  # The choice lists all four printers, each with its icon: usable,
  # refused and not supported.
  koa_run_panel_step "the printer choice" choice-rows \
    'expect-choice "KOA koa2400Max-R" LPT1:' 'expect-choice "KOA koa2600Max-R" USB001' \
    'expect-choice "KOA koa2400Max-R FILE" FILE:' 'expect-choice "Plain Text Printer" LPT2:' || ok=0
  [ "$ok" = 1 ] && koa_run_panel_shoot veldra6-choice
  # The first read fills the pages from the koa2400Max-R on LPT1:; each
  # value looked at differs from its factory value.
  [ "$ok" = 1 ] && { koa_run_panel_step "choosing KOA koa2400Max-R and the first read" \
    'choose "KOA koa2400Max-R"' wait-main 'expect-tab 0' \
    'expect-list 2301 8LPI' 'expect-list 2302 連帳ﾓｰﾄﾞ' || ok=0; }
  [ "$ok" = 1 ] && koa_run_panel_shoot veldra6-page-0-hardware
  [ "$ok" = 1 ] && { koa_run_panel_step "the cut-sheet page" 'tab 1' 'expect-tab 1' 'expect-list 2401 前方' || ok=0; }
  [ "$ok" = 1 ] && koa_run_panel_shoot veldra6-page-1-cut-sheets
  [ "$ok" = 1 ] && { koa_run_panel_step "the continuous-forms page" 'tab 2' 'expect-tab 2' 'expect-list 2502 12行' || ok=0; }
  [ "$ok" = 1 ] && koa_run_panel_shoot veldra6-page-2-continuous-forms
  [ "$ok" = 1 ] && { koa_run_panel_step "the other page" 'tab 3' 'expect-tab 3' \
    'expect-list 2608 ｺﾞｼｯｸ体' 'expect-list 2632 15分' || ok=0; }
  [ "$ok" = 1 ] && koa_run_panel_shoot veldra6-page-3-other
  # Consumables (ツール → 消耗品管理): the counters read, both gauges as the
  # emulated printer's counts give them (the head's most worn pin at
  # 552,000,000 strikes: level 92 with its warning; the ribbon at 109,500
  # characters: level 73).
  [ "$ok" = 1 ] && { koa_run_panel_step "the consumables window" 'menu 40007' 'wait-dialog 1199' \
    'expect-gauge 1199 92' 'expect-gauge 1662 73' 'expect-text 1200 "\nヘッド交換準備をしてください。"' || ok=0; }
  [ "$ok" = 1 ] && koa_run_panel_shoot veldra6-consumables
  # Its hidden command (Ctrl+Alt+J) opens the detail window on the counters
  # page, with the alarm history beside it.
  [ "$ok" = 1 ] && { koa_run_panel_step "the consumables detail window" 'command 1199 1203' 'wait-dialog 1211' \
    'expect-text 1259 6800000' 'expect-text 1255 109500' 'expect-text 1256 1234' \
    'expect-text 1284 "エラーログ\r\n ｱﾗｰﾑ履歴1 印字ヘッド異常\r\n ｱﾗｰﾑ履歴2 イージーセットアラーム\r\n ｱﾗｰﾑ履歴3 リボンモータ異常\r\n ｱﾗｰﾑ履歴4 エラー無し\r\n ｱﾗｰﾑ履歴5 エラー無し\r\n ｱﾗｰﾑ履歴6 エラー無し\r\n ｱﾗｰﾑ履歴7 エラー無し\r\n"' || ok=0; }
  [ "$ok" = 1 ] && koa_run_panel_shoot veldra6-counters
  [ "$ok" = 1 ] && { koa_run_panel_step "the head pin page" 'tab 1 1211' 'expect-tab 1 1211' \
    'expect-text 1266 552000000' 'expect-text 1283 98000' || ok=0; }
  [ "$ok" = 1 ] && koa_run_panel_shoot veldra6-head-pins
  # Hook: the detail window's printed reports (40017 消耗品情報の印刷, 40018
  # エラーログの印刷), rendered to PNG by scripts/lib/print-reports-to-png.sh,
  # join the pictures here, while the detail window is open.
  # Closing the detail window, then the consumables window.
  [ "$ok" = 1 ] && { koa_run_panel_step "closing the consumables windows" 'command 1211 40015' \
    'expect-gauge 1662 73' 'command 1199 40010' || ok=0; }
  # The exit sequence asks whether to keep the settings: No.
  [ "$ok" = 1 ] && { koa_run_panel_step "the exit question" close message || ok=0; }
  [ "$ok" = 1 ] && koa_run_panel_shoot veldra6-exit-question
  [ "$ok" = 1 ] && { koa_run_panel_step "the exit" 'answer no 設定値を保存しますか' wait-exit || ok=0; }

  koa_run_panel_saved
  if [ "$ok" = 1 ]; then
    echo "scripts/run: the remote panel showed the emulated koa2400Max-R's settings on all four pages"
    echo "scripts/run: and its counters in the consumables windows (gauges 92 and 73, the counts, the alarm history)"
    return 0
  fi
  echo "scripts/run: program log $panel_dir/veldra6.log, stand-in log $panel_dir/lmstand.log" >&2
  return 1
}
