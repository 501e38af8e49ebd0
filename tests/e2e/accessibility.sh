#!/usr/bin/env bash
# End-to-end test of what assistive technology sees: under a private Xvfb,
# a private session bus and a private AT-SPI bus and registry, it starts
# Ravik1 with Qt's accessibility bridge on and has accessibility_check.py
# read the tree and work the window through AT-SPI actions, the way a
# screen reader does; the last action presses "Beenden".
#
#   accessibility.sh RAVIK1 OUT_DIR
#
# RAVIK1 is the program, OUT_DIR where the tree dump and the logs go.
# Exit status: 0 passed, 1 failed, 77 skipped (no X server, bus or client).
set -u -o pipefail

# A build with the leak checker must not fail on leaks that are not ours.
LSAN_OPTIONS="suppressions=$(cd "$(dirname "$0")/.." && pwd)/lsan.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
export LSAN_OPTIONS

HERE=$(cd "$(dirname "$0")" && pwd) || exit 1
readonly HERE
readonly CLIENT=$HERE/accessibility_check.py
# The client library is Debian's, for Debian's interpreter; a python3
# earlier on PATH (pyenv, a venv) has no gi.
readonly PYTHON=/usr/bin/python3
readonly CLIENT_TIMEOUT_S=30

log() { printf 'a11y: %s\n' "$*"; }

# shellcheck source=common.sh
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

skip() {
  log "SKIP - $*"
  exit 77
}

# A zombie counts as gone: the registry is no child of ours, and its
# parent may never reap it.
alive() {
  [[ -n $1 ]] && kill -0 "$1" 2>/dev/null &&
    [[ $(sed -n 's/.*) \(.\).*/\1/p' "/proc/$1/stat" 2>/dev/null) != Z ]]
}
gone() { ! alive "$1"; }

# stop PID: TERM, up to 2 s, then KILL; reaps it if it is our child.
stop() {
  alive "$1" || return 0
  kill "$1" 2>/dev/null
  wait_until 2 gone "$1" || kill -KILL "$1" 2>/dev/null
  wait "$1" 2>/dev/null
}

xvfb_pid=
bus_pid=
launcher_pid=
ravik_pid=
client_pid=

cleanup() {
  stop "$client_pid"
  stop "$ravik_pid"
  # The launcher takes its AT-SPI bus along. The registry, which that bus
  # started, is no child of ours: its pid is the one the client read from
  # the desktop, stopped only while the name still fits.
  stop "$launcher_pid"
  local registry
  registry=$(cat "$out/registry.pid" 2>/dev/null)
  if [[ -n $registry ]] && [[ $(cat "/proc/$registry/comm" 2>/dev/null) == at-spi2-regis* ]]; then
    stop "$registry"
  fi
  stop "$bus_pid"
  stop "$xvfb_pid"
}

find_launcher() {
  local path
  for path in /usr/libexec/at-spi-bus-launcher /usr/lib/at-spi2-core/at-spi-bus-launcher; do
    [[ -x $path ]] && { echo "$path"; return 0; }
  done
  return 1
}

main() {
  if (($# != 2)); then
    echo "usage: $0 RAVIK1 OUT_DIR" >&2
    exit 2
  fi
  local ravik launcher tool
  ravik=$(realpath "$1") || exit 1
  out=$(realpath -m "$2")/accessibility
  for tool in Xvfb dbus-daemon timeout; do
    command -v "$tool" >/dev/null || skip "$tool is not installed"
  done
  launcher=$(find_launcher) || skip "at-spi-bus-launcher is not installed (Debian: at-spi2-core)"
  [[ -x $PYTHON ]] || skip "$PYTHON is not installed"
  "$PYTHON" -c 'import gi; gi.require_version("Atspi", "2.0"); from gi.repository import Atspi' \
    2>/dev/null || skip "$PYTHON cannot load the AT-SPI client (Debian: python3-gi gir1.2-atspi-2.0)"
  [[ -x $ravik ]] || { log "FAIL - $ravik is not an executable"; exit 1; }

  local started
  started=$(now_ms)
  rm -rf "$out" && mkdir -p "$out" && mkdir -m 0700 "$out/runtime" "$out/home" || exit 1
  trap cleanup EXIT
  trap 'exit 143' TERM INT HUP

  # Nothing of the calling session may leak in: the AT-SPI bus must be the
  # private one, found through the private session bus.
  unset AT_SPI_BUS_ADDRESS DBUS_SESSION_BUS_ADDRESS WAYLAND_DISPLAY SESSION_MANAGER NO_AT_BRIDGE
  export XDG_RUNTIME_DIR=$out/runtime HOME=$out/home

  # -displayfd: the server picks a free display and writes its number once
  # it accepts connections.
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset \
    3>"$out/display" >"$out/xvfb.log" 2>&1 &
  xvfb_pid=$!
  if ! wait_until 10 test -s "$out/display"; then
    log "FAIL - Xvfb did not start; its output:"
    sed 's/^/  | /' "$out/xvfb.log"
    exit 1
  fi
  DISPLAY=:$(head -n 1 "$out/display")
  export DISPLAY

  dbus-daemon --session --nofork --nopidfile --print-address=3 \
    3>"$out/session-bus" >"$out/dbus.log" 2>&1 &
  bus_pid=$!
  if ! wait_until 5 test -s "$out/session-bus"; then
    log "FAIL - the session bus did not start; its output:"
    sed 's/^/  | /' "$out/dbus.log"
    exit 1
  fi
  DBUS_SESSION_BUS_ADDRESS=$(head -n 1 "$out/session-bus")
  export DBUS_SESSION_BUS_ADDRESS
  log "Xvfb on $DISPLAY (pid $xvfb_pid), session bus pid $bus_pid"

  # The launcher owns org.a11y.Bus on the session bus and starts the AT-SPI
  # bus at once; the registry is started on that bus when first asked for.
  "$launcher" --launch-immediately >"$out/at-spi-bus.log" 2>&1 &
  launcher_pid=$!

  # Qt's bridge otherwise waits for a screen reader to announce itself.
  (cd "$out/home" && exec env QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 \
    "$ravik" >"$out/ravik1.log" 2>&1) &
  ravik_pid=$!
  log "started Ravik1 (pid $ravik_pid)"

  timeout -k 3 "$CLIENT_TIMEOUT_S" "$PYTHON" -W ignore::DeprecationWarning \
    "$CLIENT" "$ravik_pid" "$out" &
  client_pid=$!
  local rc=0
  wait "$client_pid" || rc=$?
  client_pid=
  ((rc == 77)) && exit 77

  local passed failed
  tally "$rc" "$CLIENT_TIMEOUT_S" "the client"

  # The client's last action was "Beenden": the program ends on its own.
  if [[ -e $out/beenden-pressed ]]; then
    if wait_until 5 gone "$ravik_pid"; then
      local status=0
      wait "$ravik_pid" || status=$?
      ravik_pid=
      if ((status == 0)); then
        passed=$((passed + 1))
        log "ok   - 'Beenden' pressed through AT-SPI ends Ravik1 with status 0"
      else
        failed=$((failed + 1))
        log "FAIL - Ravik1 ended with status $status after 'Beenden'"
      fi
    else
      failed=$((failed + 1))
      log "FAIL - Ravik1 still runs 5 s after 'Beenden' was pressed through AT-SPI"
    fi
  fi
  if ((failed != 0)) && [[ -s $out/ravik1.log ]]; then
    log "Ravik1's output:"
    sed 's/^/  | /' "$out/ravik1.log"
  fi

  local took=$(($(now_ms) - started))
  log "took $((took / 1000)).$(printf '%03d' $((took % 1000))) s; logs in $out"
  log "$passed passed, $failed failed"
  ((failed == 0 && rc == 0))
}

main "$@"
