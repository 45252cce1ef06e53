#!/usr/bin/env bash
# Runs a test program on a private virtual X display and removes the display
# afterwards, whatever happens.
#   run_under_xvfb.sh PROGRAM [ARGS...]
# Xvfb picks a free display number itself (-displayfd), so parallel runs and a
# developer's own display are never touched. -noreset: the server would
# otherwise reset whenever its last client leaves, and refuse the next test's
# connection meanwhile. The program gets 120 s.
set -uo pipefail
command -v Xvfb >/dev/null || { echo "Xvfb is not installed (scripts/install-deps.sh linux)" >&2; exit 1; }
work=$(mktemp -d "${TMPDIR:-/tmp}/tessaphon-xvfb.XXXXXX")
xvfb_pid=""
cleanup() {
  if [ -n "$xvfb_pid" ]; then
    kill "$xvfb_pid" 2>/dev/null
    for _ in $(seq 1 20); do kill -0 "$xvfb_pid" 2>/dev/null || break; sleep 0.1; done
    kill -9 "$xvfb_pid" 2>/dev/null
  fi
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp -noreset 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 1 100); do
  [ -s "$work/display" ] && break
  kill -0 "$xvfb_pid" 2>/dev/null || break
  sleep 0.1
done
if [ ! -s "$work/display" ]; then
  echo "Xvfb did not start:" >&2
  cat "$work/xvfb.log" >&2
  exit 1
fi
export DISPLAY=":$(head -n 1 "$work/display")"
timeout --kill-after=5 120 "$@"
