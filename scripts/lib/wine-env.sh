# shellcheck shell=bash
# Sourced by the scripts that run the Windows programs under Wine.
#   koa_wine_env PREFIX ARCH  export the environment for that prefix (win32 or win64)
#   koa_wine32_runs           true when this kernel executes 32-bit code (32-bit Wine)
#   koa_start_display [DIR]   export DISPLAY: $KOA_DISPLAY when an X server is live
#                             there, otherwise a new Xvfb (on $KOA_DISPLAY if set,
#                             else on a display it finds free). With DIR (a build
#                             folder) the new server is recorded there (xvfb.pid,
#                             xvfb.display) for scripts/wine-stop and the build's
#                             wine-run, and a live recorded one is used again.
#   koa_prepare_prefix        create the prefix once, give it the fonts the
#                             windows need, and start its wineserver (one
#                             already running for it is used as it is)
#   koa_wine_stop             stop the wineserver and the Xvfb that this shell
#                             started, nothing else
#   koa_wine_stop_build DIR   stop the wineserver of build folder DIR's prefix and
#                             the Xvfb recorded there (what scripts/wine-stop does)

koa_started_wineserver=""  # the prefix whose wineserver this shell started
koa_started_xvfb=""        # pid of the Xvfb this shell started
koa_started_display=""
koa_xvfb_record=""         # the folder it is recorded in, if any

koa_wine32_runs() {
  /usr/lib/wine/wine --version >/dev/null 2>&1
}

koa_wine_env() {
  export WINEPREFIX="$1"
  export WINEARCH="$2"
  if [ "$2" = win64 ]; then
    export WINELOADER=/usr/lib/wine/wine64
  else
    export WINELOADER=/usr/lib/wine/wine
  fi
  export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8   # ANSI code page 932
  export WINEDEBUG="${WINEDEBUG:--all}"
  export WINEDLLOVERRIDES="mscoree,mshtml="      # no Mono or Gecko install prompts
}

# True while the process runs (a zombie has ended: nobody may reap it here).
koa_pid_alive() {
  local stat
  [ -n "$1" ] && stat=$(cat "/proc/$1/stat" 2>/dev/null) || return 1
  stat="${stat##*) }"
  [ "${stat%% *}" != Z ]
}

# The number of display :N (or :N.S).
koa_display_number() {
  local n="${1#*:}"
  echo "${n%%.*}"
}

# The inode of the socket on which an X server listens for display :N, if
# one does. Only sockets that a live process holds appear in /proc/net/unix,
# so a socket file or lock file left behind by a dead server never counts.
koa_display_socket() {
  local n
  n=$(koa_display_number "$1")
  [[ "$n" =~ ^[0-9]+$ ]] || return 1
  # Columns: Num RefCount Protocol Flags(00010000 = listening) Type St Inode Path
  awk -v a="/tmp/.X11-unix/X$n" -v b="@/tmp/.X11-unix/X$n" \
    '$4 == "00010000" && ($8 == a || $8 == b) { print $7; found = 1; exit } END { exit !found }' /proc/net/unix
}

# True when an X server is live on the display.
koa_display_live() {
  koa_display_socket "$1" >/dev/null
}

# True when pid is an Xvfb that listens for display :N.
koa_is_our_xvfb() {
  local pid="$1" inode
  koa_pid_alive "$pid" && [ "$(cat "/proc/$pid/comm" 2>/dev/null)" = Xvfb ] || return 1
  inode=$(koa_display_socket "$2") || return 1
  find "/proc/$pid/fd" -maxdepth 1 -lname "socket:\[$inode\]" 2>/dev/null | grep -q .
}

# Starts Xvfb on DISPLAY_ARG (empty: a free display the server picks) and
# sets koa_started_xvfb and koa_started_display once it accepts connections.
# The server writes its display number to a pipe when it is ready.
koa_launch_xvfb() {
  local want="$1" tmp fd pid n="" deadline
  tmp=$(mktemp -d "${TMPDIR:-/tmp}/koa-xvfb.XXXXXX") || return 1
  mkfifo "$tmp/displayfd" || { rm -rf "$tmp"; return 1; }
  # Held open for reading and writing, so neither side blocks in open and a
  # server that dies early does not hang the read.
  exec {fd}<>"$tmp/displayfd"
  # Started from a subshell so that an interactive shell reports no job; the
  # subshell prints the server's pid.
  # shellcheck disable=SC2086
  pid=$(Xvfb $want -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp \
          3>"$tmp/displayfd" {fd}>&- </dev/null >/dev/null 2>&1 & echo $!)
  deadline=$((SECONDS + 15))
  while [ -z "$n" ] && [ "$SECONDS" -lt "$deadline" ] && koa_pid_alive "$pid"; do
    read -r -t 0.2 -u "$fd" n || n=""
  done
  exec {fd}>&-
  rm -rf "$tmp"
  if ! [[ "$n" =~ ^[0-9]+$ ]]; then
    koa_pid_alive "$pid" && kill "$pid" 2>/dev/null
    echo "wine-env: Xvfb did not start${want:+ on $want}" >&2
    return 1
  fi
  koa_started_xvfb="$pid"
  koa_started_display=":$n"
}

koa_start_display() {
  local dir="${1:-}" pid display
  if [ -n "${KOA_DISPLAY:-}" ] && koa_display_live "$KOA_DISPLAY"; then
    export DISPLAY="$KOA_DISPLAY"
    return 0
  fi
  if [ -n "$koa_started_xvfb" ] && koa_is_our_xvfb "$koa_started_xvfb" "$koa_started_display"; then
    export DISPLAY="$koa_started_display"
    return 0
  fi
  if [ -n "$dir" ] && [ -f "$dir/xvfb.pid" ] && [ -f "$dir/xvfb.display" ]; then
    pid=$(head -c 32 "$dir/xvfb.pid" | tr -d ' \n')
    display=$(head -c 32 "$dir/xvfb.display" | tr -d ' \n')
    if koa_is_our_xvfb "$pid" "$display"; then
      export DISPLAY="$display"
      return 0
    fi
    rm -f "$dir/xvfb.pid" "$dir/xvfb.display"
  fi
  koa_launch_xvfb "${KOA_DISPLAY:-}" || return 1
  export DISPLAY="$koa_started_display"
  if [ -n "$dir" ]; then
    mkdir -p "$dir"
    echo "$koa_started_xvfb" >"$dir/xvfb.pid"
    echo "$koa_started_display" >"$dir/xvfb.display"
    koa_xvfb_record="$dir"
  fi
}

koa_prepare_prefix() {
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    mkdir -p "$WINEPREFIX"
    "$WINELOADER" wineboot.exe -i >/dev/null 2>&1 || true
    wineserver -w
    # Without a window manager, closing a managed window takes seconds.
    "$WINELOADER" reg.exe add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
    wineserver -w
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
      echo "wine-env: could not create the prefix $WINEPREFIX" >&2
      return 1
    fi
  fi
  # Wine loads fonts from the prefix, not from its own data folder. The
  # caption buttons of Wine-drawn windows are the glyphs "0", "1", "2" and
  # "r" of Marlett; without it another font draws those letters instead.
  local font
  for font in marlett.ttf tahoma.ttf; do
    if [ -f "/usr/share/wine/fonts/$font" ] && [ ! -f "$WINEPREFIX/drive_c/windows/Fonts/$font" ]; then
      mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
      cp "/usr/share/wine/fonts/$font" "$WINEPREFIX/drive_c/windows/Fonts/"
    fi
  done
  # A persistent server, started before the tests: otherwise every test pays
  # for Wine's background processes holding the test runner's pipes. One that
  # already serves the prefix (a manual session's) is used and left running.
  local rc=0
  wineserver -p >/dev/null 2>&1 || rc=$?
  case "$rc" in
    0) koa_started_wineserver="$WINEPREFIX" ;;
    2) ;;  # already running
    *) echo "wine-env: could not start the wineserver of $WINEPREFIX" >&2; return 1 ;;
  esac
  # Also the throw-away run that brings Wine's background processes up.
  koa_map_dialog_fonts
}

# The dialogs ask for the Japanese Windows fonts by name. No font here has
# those names, and Wine's own choice for them is a fixed-pitch gothic, which
# makes every label wider than on Windows. Wine's font replacements alias
# them to the IPA gothics: proportional for the proportional ones, "MS Shell
# Dlg" follows through its substitute "MS UI Gothic". regedit takes the
# UTF-16 form of a .reg file, so the names arrive intact whatever the
# locale. Importing again rewrites the same values: cheap (about 70 ms) and
# idempotent.
koa_map_dialog_fonts() {
  local reg
  reg=$(mktemp "${TMPDIR:-/tmp}/koa-fonts.XXXXXX") || return 1
  {
    printf '\xff\xfe'
    printf '%s\r\n' 'Windows Registry Editor Version 5.00' '' \
      '[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]' \
      '"ＭＳ Ｐゴシック"="IPAPGothic"' \
      '"MS PGothic"="IPAPGothic"' \
      '"MS UI Gothic"="IPAPGothic"' \
      '"ＭＳ ゴシック"="IPAGothic"' \
      '"MS Gothic"="IPAGothic"' '' | iconv -f UTF-8 -t UTF-16LE
  } >"$reg"
  local rc=0
  "$WINELOADER" regedit.exe /s "Z:${reg//\//\\}" >/dev/null 2>&1 || rc=$?
  rm -f "$reg"
  [ "$rc" = 0 ] || echo "wine-env: could not map the dialog fonts in $WINEPREFIX" >&2
  return 0
}

# Ends an Xvfb this harness started: asks, then insists after 5 s.
koa_kill_xvfb() {
  local pid="$1" display="$2" deadline
  koa_is_our_xvfb "$pid" "$display" || return 0
  kill "$pid" 2>/dev/null || return 0
  deadline=$((SECONDS + 5))
  while koa_pid_alive "$pid" && [ "$SECONDS" -lt "$deadline" ]; do sleep 0.1; done
  koa_pid_alive "$pid" && kill -KILL "$pid" 2>/dev/null
  return 0
}

# The wineserver serves one prefix (its socket is found from the prefix
# folder), so this ends that prefix's Wine processes and no others.
koa_stop_wineserver() {
  [ -n "$1" ] && [ -d "$1" ] || return 0
  WINEPREFIX="$1" wineserver -k >/dev/null 2>&1 || true
}

koa_wine_stop() {
  koa_stop_wineserver "$koa_started_wineserver"
  koa_started_wineserver=""
  if [ -n "$koa_started_xvfb" ]; then
    koa_kill_xvfb "$koa_started_xvfb" "$koa_started_display"
    if [ -n "$koa_xvfb_record" ] &&
       [ "$(head -c 32 "$koa_xvfb_record/xvfb.pid" 2>/dev/null | tr -d ' \n')" = "$koa_started_xvfb" ]; then
      rm -f "$koa_xvfb_record/xvfb.pid" "$koa_xvfb_record/xvfb.display"
    fi
    koa_started_xvfb=""
    koa_started_display=""
    koa_xvfb_record=""
  fi
}

koa_wine_stop_build() {
  local dir="$1" prefix pid display
  prefix=$(sed -n 's/^export WINEPREFIX="\(.*\)"$/\1/p' "$dir/wine-run" 2>/dev/null | head -n 1)
  prefix="${prefix:-$dir/wineprefix}"
  koa_stop_wineserver "$prefix"
  [ "$prefix" = "$koa_started_wineserver" ] && koa_started_wineserver=""
  if [ -f "$dir/xvfb.pid" ]; then
    pid=$(head -c 32 "$dir/xvfb.pid" | tr -d ' \n')
    display=$(head -c 32 "$dir/xvfb.display" 2>/dev/null | tr -d ' \n')
    koa_kill_xvfb "$pid" "$display"
    rm -f "$dir/xvfb.pid" "$dir/xvfb.display"
    [ "$pid" = "$koa_started_xvfb" ] && koa_started_xvfb="" && koa_started_display="" && koa_xvfb_record=""
  fi
  return 0
}
