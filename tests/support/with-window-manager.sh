#!/usr/bin/env bash
# Runs a test program on a private X server with a real window manager (Xvfb + openbox), so that
# maximising, restoring and placement are decided by a window manager as on a desktop. Given
# --no-wm as its first argument, on the bare X server, where only the program places its windows.
# Exits 77 (skipped) when a tool is missing.
set -u
wm=openbox
if [ "${1:-}" = "--no-wm" ]; then wm=""; shift; fi
for tool in Xvfb xdotool $wm; do
  command -v "$tool" >/dev/null || { echo "skipped: $tool is not installed"; exit 77; }
done
workdir=$(mktemp -d)
trap 'kill ${wmpid:-} "${xvfb:-}" 2>/dev/null; wait 2>/dev/null; rm -rf "$workdir"' EXIT
# Xvfb picks a free display itself and writes its number to the given descriptor.
exec 3>"$workdir/display"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp >"$workdir/xvfb.log" 2>&1 &
xvfb=$!
for _ in $(seq 100); do [ -s "$workdir/display" ] && break; sleep 0.05; done
[ -s "$workdir/display" ] || { echo "Xvfb did not start"; cat "$workdir/xvfb.log"; exit 1; }
export DISPLAY=":$(head -n1 "$workdir/display")"
if [ -n "$wm" ]; then
  HOME="$workdir" openbox --sm-disable >"$workdir/openbox.log" 2>&1 &
  wmpid=$!
  # The window manager is ready once it owns the screen's manager selection.
  for _ in $(seq 200); do xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break; sleep 0.05; done
fi
QT_QPA_PLATFORM=xcb "$@"
