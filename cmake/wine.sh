#!/usr/bin/env bash
# Runs Windows programs under Wine in a private, throw-away prefix.
#   wine.sh run PREFIX PROGRAM [ARGS...]   run a program (creates the prefix on first use)
#   wine.sh init PREFIX                    create the prefix if needed and start its server
#   wine.sh stop PREFIX                    stop the Wine server of that prefix
#   wine.sh remove PREFIX                  stop it and delete the prefix
set -euo pipefail

mode="${1:-}"
prefix="${2:-}"
if [ -z "$mode" ] || [ -z "$prefix" ]; then
  echo "usage: $0 run|init|stop|remove PREFIX [PROGRAM ARGS...]" >&2
  exit 2
fi
shift 2
case "$prefix" in /*) ;; *) prefix="$PWD/$prefix" ;; esac

export WINEPREFIX="$prefix"
export WINEARCH=win64
export WINEDEBUG=-all
# No .NET or HTML engine: Wine would otherwise offer to download them.
export WINEDLLOVERRIDES="mscoree,mshtml="

# Debian's wine64 package keeps its loader and server out of PATH.
wine="$(command -v wine64 || true)"
[ -n "$wine" ] || wine=/usr/lib/wine/wine64
wineserver="$(command -v wineserver || true)"
[ -n "$wineserver" ] || wineserver=/usr/lib/wine/wineserver

# A prefix this script made carries the first marker from the start and the
# second once it is complete. Only such a prefix is ever deleted: a folder
# given by mistake (someone's own Wine prefix, say) is left alone.
owned="$prefix/.tessaphon-owned"
ready="$prefix/.tessaphon-ready"
# How long the server and Wine's own background processes stay after the last
# program exits: long enough to carry one test run, short enough that nothing
# is left behind for long when a run is cut short.
linger=60

# Both steps run under one lock: tests start in parallel, and only the first may
# create the prefix or start the server.
lock() {
  mkdir -p "$(dirname "$prefix")"
  exec 9>"$prefix.lock"
  flock 9
}
unlock() { exec 9>&-; }

# Everything started under the lock gets 9>&-: a Wine process that inherited the
# lock's descriptor would hold the lock for as long as it runs.
init_prefix() {
  [ -e "$ready" ] && return 0
  if [ -e "$owned" ]; then
    rm -rf "$prefix" # an earlier attempt stopped half-way
  elif [ -d "$prefix" ] && [ -n "$(ls -A "$prefix")" ]; then
    echo "wine.sh: $prefix exists and was not made by this script; not using it" >&2
    exit 1
  fi
  mkdir -p "$prefix"
  touch "$owned"
  "$wine" wineboot --init </dev/null >/dev/null 2>&1 9>&-
  "$wineserver" -w 9>&-
  touch "$ready"
}

# A server started by a test would pass that test's output pipes on to Wine's
# background processes (services, device manager, ...), and the test would only
# end when they do, seconds later. So the server is started here, detached, and
# those processes with it.
start_server() {
  if "$wineserver" -p"$linger" </dev/null >/dev/null 2>&1 9>&-; then
    "$wine" cmd /c exit </dev/null >/dev/null 2>&1 9>&- || true
  fi
}

ensure_running() {
  lock
  init_prefix
  start_server
  unlock
}

case "$mode" in
  run)
    [ $# -ge 1 ] || { echo "wine.sh run: no program given" >&2; exit 2; }
    ensure_running
    exec "$wine" "$@"
    ;;
  init)
    ensure_running
    ;;
  stop)
    if [ -d "$prefix" ]; then
      "$wineserver" -k 2>/dev/null || true
      "$wineserver" -w 2>/dev/null || true
    fi
    ;;
  remove)
    if [ -e "$owned" ]; then
      "$wineserver" -k 2>/dev/null || true
      "$wineserver" -w 2>/dev/null || true
      rm -rf "$prefix"
    elif [ -e "$prefix" ]; then
      echo "wine.sh: $prefix was not made by this script; not deleting it" >&2
    fi
    rm -f "$prefix.lock"
    ;;
  *)
    echo "wine.sh: unknown mode $mode" >&2
    exit 2
    ;;
esac
