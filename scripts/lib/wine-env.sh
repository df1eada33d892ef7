# Sourced by the scripts that run the Windows programs under Wine.
#   koa_wine_env PREFIX ARCH  export the environment for that prefix (win32 or win64)
#   koa_wine32_runs       true when this kernel executes 32-bit code (32-bit Wine)
#   koa_start_display     start Xvfb on $KOA_DISPLAY (default :99) unless one runs
#   koa_prepare_prefix    create the prefix once and start its wineserver
#   koa_wine_stop         stop the wineserver and the Xvfb this shell started

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
  export DISPLAY="${KOA_DISPLAY:-:99}"
}

koa_started_xvfb=""
koa_start_display() {
  local n="${DISPLAY#:}"
  n="${n%%.*}"
  # A live server holds /tmp/.X<n>-lock with its pid.
  if [ -e "/tmp/.X11-unix/X$n" ] && [ -f "/tmp/.X$n-lock" ] && \
     kill -0 "$(tr -d ' ' < "/tmp/.X$n-lock")" 2>/dev/null; then
    return 0
  fi
  rm -f "/tmp/.X$n-lock" "/tmp/.X11-unix/X$n"
  Xvfb "$DISPLAY" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  koa_started_xvfb=$!
  for _ in $(seq 1 50); do
    [ -e "/tmp/.X11-unix/X$n" ] && return 0
    sleep 0.1
  done
  echo "wine-env: Xvfb did not start on $DISPLAY" >&2
  return 1
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
  # A persistent server, started before the tests: otherwise every test pays
  # for Wine's background processes holding the test runner's pipes.
  wineserver -p
  "$WINELOADER" cmd.exe /c exit >/dev/null 2>&1 || true
}

koa_wine_stop() {
  wineserver -k >/dev/null 2>&1 || true
  if [ -n "$koa_started_xvfb" ]; then
    kill "$koa_started_xvfb" 2>/dev/null || true
    wait "$koa_started_xvfb" 2>/dev/null || true
    koa_started_xvfb=""
  fi
}
