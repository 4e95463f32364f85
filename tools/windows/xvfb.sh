# Sourced by the Windows scripts: start_xvfb starts a virtual X display
# (Xvfb, Debian package xvfb) on a display number it finds free, exports
# DISPLAY for it and records its process id in XVFB_PID; stop_xvfb ends
# that one process. Wine draws the add-in's dialogs there.

start_xvfb() {
  local number_file
  number_file=$(mktemp "${TMPDIR:-/tmp}/marrowfield-xvfb.XXXXXX")
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$number_file" \
    >/dev/null 2>&1 &
  XVFB_PID=$!
  local tries=0
  until [[ -s $number_file ]]; do
    if ((++tries > 100)) || ! kill -0 "$XVFB_PID" 2>/dev/null; then
      echo "Xvfb did not start" >&2
      rm -f "$number_file"
      return 1
    fi
    sleep 0.1
  done
  export DISPLAY=":$(tr -d '[:space:]' <"$number_file")"
  rm -f "$number_file"
}

stop_xvfb() {
  if [[ -n ${XVFB_PID:-} ]]; then
    kill "$XVFB_PID" 2>/dev/null || true
    wait "$XVFB_PID" 2>/dev/null || true
    XVFB_PID=""
  fi
}
