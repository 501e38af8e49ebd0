# Shared by the end-to-end scripts: time, bounded waiting and the tally of a run.
# shellcheck shell=bash

now_ms() { date +%s%3N; }

# wait_until SECONDS COMMAND...: polls COMMAND every 0.1 s; 1 on time-out.
wait_until() {
  local deadline=$(($(now_ms) + $1 * 1000))
  shift
  until "$@"; do
    (($(now_ms) >= deadline)) && return 1
    sleep 0.1
  done
}

# tally RC SECONDS WHAT: sets passed and failed (the caller's) from the
# "passed failed" line in $out/result, counting WHAT's time-out (RC 124 or
# 137 from timeout) or a failing exit with no failure recorded as a failure.
tally() {
  local rc=$1 seconds=$2 what=$3
  passed=0 failed=1
  if [[ -s $out/result ]]; then
    read -r passed failed <"$out/result"
  fi
  if ((rc == 124 || rc == 137)); then
    log "FAIL - $what did not finish within $seconds s"
    failed=$((failed + 1))
  elif ((rc != 0 && failed == 0)); then
    log "FAIL - $what ended with status $rc"
    failed=1
  fi
}
