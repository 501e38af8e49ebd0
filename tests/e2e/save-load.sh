#!/usr/bin/env bash
# End-to-end test of the real program: under a private Xvfb and inside a
# user and mount namespace with a tmpfs "stick" at /mnt/stick, it drives
# Ravik1 by the keyboard alone, saves the start settings into slot 1, loads
# a play record written here, saves it into slot 2, and quits with Escape.
#
#   save-load.sh RAVIK1 DRIVE_OF_MOUNT OUT_DIR
#
# RAVIK1 is the program, DRIVE_OF_MOUNT the helper that names the letter the
# drive services give a mount point, OUT_DIR where the screenshot and logs
# go. Exit status: 0 passed, 1 failed, 77 skipped (no namespace, no tools).
set -u -o pipefail

# A build with the leak checker must not fail on leaks that are not ours.
export LSAN_OPTIONS="suppressions=$(cd "$(dirname "$0")/.." && pwd)/lsan.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"

readonly TITLE='Serial to USB-Stick Datalogger - Ravik 1$'
readonly STICK=/mnt/stick
readonly INNER_TIMEOUT_S=40

# The start settings as slot 1 must hold them, and a play record at
# 115200 bit/s, file LOG.TXT, played 5 times, that loading and saving again
# must reproduce byte for byte.
readonly DEFAULTS_HEX='00 60 06 00 00 03 50 4c 41 59 46 49 4c 45 2e 54 58 54 01'
readonly PLAY_HEX='04 80 06 00 00 04 4c 4f 47 2e 54 58 54 01 01 01 01 01 05'

log() { printf 'e2e: %s\n' "$*"; }

# shellcheck source=common.sh
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

# The bytes of a file as lower-case hex pairs separated by single spaces.
hex_of() { od -An -v -tx1 "$1" | tr -s ' \n' ' ' | sed 's/^ //; s/ $//'; }

# write_hex HEX FILE: writes the bytes the hex pairs name.
write_hex() {
  local pair escapes=
  for pair in $1; do escapes+="\\x$pair"; done
  printf '%b' "$escapes" >"$2"
}

# The names of the files on the stick, on one line.
stick_files() { find "$STICK" -mindepth 1 -maxdepth 1 "$@" -printf '%f '; }

# ---------------------------------------------------------------------------
# Inside the namespace: the stick, the program and the checks.

passed=0
failed=0
ravik_pid=
window=

pass() { passed=$((passed + 1)); log "ok   - $*"; }
fail() {
  failed=$((failed + 1))
  log "FAIL - $*"
  if [[ -n $window ]]; then
    # The whole screen, so that a message box shows as well.
    import -window root "$out/failure-$failed.png" 2>/dev/null &&
      log "       screenshot: $out/failure-$failed.png"
  fi
}

inner_cleanup() {
  if [[ -n $ravik_pid ]] && kill -0 "$ravik_pid" 2>/dev/null; then
    kill "$ravik_pid" 2>/dev/null
    wait_until 2 ravik_gone || kill -KILL "$ravik_pid" 2>/dev/null
  fi
  printf '%s %s\n' "$passed" "$failed" >"$out/result"
}

ravik_alive() { kill -0 "$ravik_pid" 2>/dev/null; }
ravik_gone() { ! ravik_alive; }

find_window() {
  window=$(xdotool search --onlyvisible --name "$TITLE" 2>/dev/null | head -n 1)
  [[ -n $window ]]
}

has_focus() { [[ $(xdotool getwindowfocus 2>/dev/null) == "$window" ]]; }

error_box_open() { xdotool search --onlyvisible --name '^Fehler$' >/dev/null 2>&1; }

# A save or load is over once the file is there or an error box shows.
written_or_refused() { [[ -s $1 ]] || error_box_open; }

keys() { xdotool key --window "$window" --delay 60 "$@"; }

# expect_file NAME HEX WHAT: waits for the slot file on the stick and
# compares its bytes.
expect_file() {
  local file=$STICK/$1 want=$2 what=$3
  if ! wait_until 5 written_or_refused "$file" || [[ ! -s $file ]]; then
    if error_box_open; then
      fail "$what: no $1 on the stick; the program shows an error box"
    else
      fail "$what: no $1 on the stick after 5 s (stick holds: $(stick_files))"
    fi
    return 1
  fi
  local got
  got=$(hex_of "$file")
  if [[ $got == "$want" ]]; then
    pass "$what: $1 holds $want"
  else
    fail "$what: $1 holds '$got', expected '$want'"
    return 1
  fi
}

inside() {
  local ravik=$1 drive_of_mount=$2
  trap inner_cleanup EXIT
  trap 'exit 143' TERM INT HUP
  export DISPLAY=$display # for xdotool and import as for the program

  # The stick is the only volume under /mnt; whatever the host has there
  # is covered by the first tmpfs.
  if ! mount -t tmpfs -o mode=0755 e2e-mnt /mnt || ! mkdir "$STICK" ||
    ! mount -t tmpfs -o size=1m,mode=0755 e2e-stick "$STICK"; then
    fail "cannot mount the tmpfs stick at $STICK"
    return 1
  fi
  # A save that misses the stick must not land on the host's root file
  # system (this may run as root): keep the output folder writable and make
  # the root read-only within this namespace. The bind mount of a folder
  # gets no drive letter.
  if mount --bind "$out" "$out" && mount -o remount,bind,ro / 2>/dev/null; then
    :
  else
    log "note: the root file system stays writable in the namespace"
  fi

  local letter
  if ! letter=$("$drive_of_mount" "$STICK" 2>"$out/drives.txt"); then
    fail "the drive services give $STICK no letter; they list:"
    cat "$out/drives.txt"
    return 1
  fi
  log "the stick at $STICK is drive $letter; all drives:"
  cat "$out/drives.txt"

  mkdir -m 0700 "$out/runtime" "$out/home"
  # The working directory is the /mnt tmpfs, so a drive-less path would
  # write there, not onto the stick.
  (cd /mnt && exec env -u WAYLAND_DISPLAY -u SESSION_MANAGER \
    QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR="$out/runtime" HOME="$out/home" \
    "$ravik" >"$out/ravik1.log" 2>&1) &
  ravik_pid=$!
  echo "$ravik_pid" >"$out/ravik1.pid"
  log "started Ravik1 (pid $ravik_pid)"

  if ! wait_until 10 find_window; then
    if ! ravik_alive; then
      log "Ravik1 ended early; its output:"
      sed 's/^/  | /' "$out/ravik1.log"
    fi
    fail "no window titled like '$TITLE' within 10 s"
    return 1
  fi
  log "window $window: $(xwininfo -id "$window" | awk '/geometry/ {print $2}')"

  # No window manager: give the window the input focus directly. Once it has
  # it, xdotool sends real (XTEST) key events rather than synthetic ones.
  xdotool windowfocus "$window" 2>/dev/null
  if ! wait_until 5 has_focus; then
    fail "window $window does not take the input focus"
    return 1
  fi
  sleep 0.5 # let the first paint finish before the screenshot
  if import -window "$window" "$out/start.png" 2>"$out/import.log"; then
    log "screenshot of the start window: $out/start.png"
  else
    log "note: no screenshot ($(head -n 1 "$out/import.log"))"
  fi

  # Tab order at start: Beenden (focus), Info, the record radio, "?" (the
  # disabled controls between are skipped), the drive box.
  log "typing $letter into the drive box"
  keys Tab Tab Tab Tab ctrl+a
  xdotool type --window "$window" --delay 60 "$letter"
  # Drive box -> Lade Config1 -> Speicher Config1.
  log "pressing 'Speicher Config1'"
  keys Tab Tab space
  expect_file Config1.ini "$DEFAULTS_HEX" "save of the start settings"

  # A play record of our own in slot 1, loaded and saved into slot 2. The
  # focus is still on Speicher Config1.
  write_hex "$PLAY_HEX" "$STICK/Config1.ini"
  log "wrote a play record into Config1.ini; pressing 'Lade Config1', then 'Speicher Config2'"
  keys shift+Tab space
  # Lade Config1 -> Speicher Config1 -> Lade Config2 -> Speicher Config2.
  keys Tab Tab Tab space
  if expect_file Config2.ini "$PLAY_HEX" "load of slot 1, save into slot 2"; then
    local extra
    extra=$(stick_files ! -name Config1.ini ! -name Config2.ini)
    if [[ -n $extra ]]; then
      fail "the saves left other files on the stick: $extra"
    fi
  fi

  log "pressing Escape"
  if error_box_open; then
    log "note: an error box is open; Escape goes to it first"
  fi
  # To the focused window without --window: the window is gone before the
  # key is released, and xdotool would send that release to it by id.
  xdotool key Escape
  if ! wait_until 5 ravik_gone; then
    fail "Ravik1 still runs 5 s after Escape"
    return 1
  fi
  local status=0
  wait "$ravik_pid" || status=$?
  ravik_pid=
  window=
  if ((status == 0)); then
    pass "Escape ends Ravik1 with status 0"
  else
    fail "Ravik1 ended with status $status after Escape; its output:"
    sed 's/^/  | /' "$out/ravik1.log"
  fi
  ((failed == 0))
}

# ---------------------------------------------------------------------------
# Outside: tools, the X server, the namespace, the summary.

xvfb_pid=
inner_pid=

outer_cleanup() {
  if [[ -n $inner_pid ]] && kill -0 "$inner_pid" 2>/dev/null; then
    kill "$inner_pid" 2>/dev/null
    sleep 0.5
  fi
  # Should the namespace's shell be gone without stopping the program,
  # it would still be connected to our X server; stop it by its pid.
  local pid
  pid=$(cat "$out/ravik1.pid" 2>/dev/null) && [[ -n $pid ]] && kill -KILL "$pid" 2>/dev/null
  if [[ -n $xvfb_pid ]]; then
    kill "$xvfb_pid" 2>/dev/null
    wait "$xvfb_pid" 2>/dev/null
  fi
}

skip() {
  log "SKIP - $*"
  exit 77
}

main() {
  if (($# != 3)); then
    echo "usage: $0 RAVIK1 DRIVE_OF_MOUNT OUT_DIR" >&2
    exit 2
  fi
  local ravik drive_of_mount
  ravik=$(realpath "$1") && drive_of_mount=$(realpath "$2") || exit 1
  out=$(realpath -m "$3")/save-load
  local tool
  for tool in Xvfb xdotool xwininfo import unshare timeout od; do
    command -v "$tool" >/dev/null || skip "$tool is not installed"
  done
  for tool in "$ravik" "$drive_of_mount"; do
    [[ -x $tool ]] || { log "FAIL - $tool is not an executable"; exit 1; }
  done
  if ! unshare -Urm true 2>/dev/null; then
    skip "the kernel refuses 'unshare -Urm' (no user namespaces here: switched off, or the process runs in a chroot), so no private stick can be mounted"
  fi

  local started
  started=$(now_ms)
  rm -rf "$out" && mkdir -p "$out" || exit 1
  trap outer_cleanup EXIT
  trap 'exit 143' TERM INT HUP

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
  display=:$(head -n 1 "$out/display")
  log "Xvfb on display $display (pid $xvfb_pid)"

  export out display
  timeout -k 3 "$INNER_TIMEOUT_S" unshare -Urm bash "$0" --inside "$ravik" "$drive_of_mount" &
  inner_pid=$!
  local rc=0
  wait "$inner_pid" || rc=$?
  inner_pid=

  local passed failed
  tally "$rc" "$INNER_TIMEOUT_S" "the namespace"
  local took=$(($(now_ms) - started))
  log "took $((took / 1000)).$(printf '%03d' $((took % 1000))) s; logs in $out"
  log "save-load: $passed passed, $failed failed"
  ((failed == 0 && rc == 0))
}

if [[ ${1-} == --inside ]]; then
  shift
  inside "$@"
else
  main "$@"
fi
