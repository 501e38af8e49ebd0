# Shared by the end-to-end scripts: time and bounded waiting.
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
