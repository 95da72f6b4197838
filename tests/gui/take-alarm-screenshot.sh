#!/usr/bin/env bash
# Takes docs/screenshot-alarm.png: the real program under Xvfb in English, NAVAREA I chosen, a
# search-and-rescue broadcast from Cullercoats played into a private PulseAudio server; the
# picture is taken once the alarm banner is up.
# Usage: tests/gui/take-alarm-screenshot.sh BUILD_DIR [OUTPUT.png]
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "$1" && pwd)
output=${2:-$root/docs/screenshot-alarm.png}
export SEAHERALD_LANG=en

work=$(mktemp -d /tmp/seaherald-alarm.XXXXXX)
source "$root/scripts/pulse-server.sh"
start_private_pulse
trap 'kill $PA_PID 2>/dev/null || true; wait $PA_PID 2>/dev/null || true; rm -rf "$PA_DIR" "$work"' EXIT

cp "$build/app/seaherald" "$work/seaherald"
mkdir "$work/log"
store() {
  printf 'Last received %s\nDetected %03d error\n-\n%b\n' "$2" "$3" "$4" | sed 's/$/\r/' >"$work/log/$1.txt"
}
store GA41 "2026/12/08 01:02:10" 0 "ZCZC GA41\n080100 UTC DEC 26\nCULLERCOATS NAVTEX\nWZ 1402\nNORTH SEA. TYNE APPROACHES.\nBUOY UNLIT.\nNNNN"
store GE77 "2026/12/08 05:01:44" 0 "ZCZC GE77\n080500 UTC DEC 26\nCULLERCOATS NAVTEX\nINSHORE WATERS FORECAST\nNNNN"
store OA12 "2026/12/08 02:21:05" 1 "ZCZC OA12\n080220 UTC DEC 26\nPORTPATRICK NAVTEX\nWZ 1399\nNORTH CHANNEL. SURVEY VESSEL.\nNNNN"
"$build/tests/support/seaherald_make_broadcast" "$work/sar.wav" \
  'ZCZC GD02\n081215 UTC DEC 26\nCULLERCOATS NAVTEX\nMAYDAY RELAY\nFISHING VESSEL TAKING WATER 12NM EAST OF BLYTH\nVESSELS IN VICINITY KEEP A SHARP LOOKOUT\nAND REPORT TO HUMBER COASTGUARD\nNNNN'

cat >"$work/seaherald.ini" <<'INI'
[Form]
MainTop=0
MainLeft=0
MainWidth=960
MainHeight=680
MainMaxmum=0
[Wave]
CentF=80
[Disp]
ViewLangNum=0
ViewBaseNum=0
ViewTypeNum=0
[Set]
AutoSet=1
DecLang=1
PanelHeight=130
FontSize=10
[Watch]
NavArea=1
NavFreq=518
INI

export XDG_RUNTIME_DIR=$PA_DIR
xvfb-run -a -s "-screen 0 1280x900x24" bash -c '
  "$1/seaherald" >/dev/null 2>&1 &
  app=$!
  sleep 3
  paplay "$2"
  sleep 3
  "$3/tests/gui/grab_screen" "$4" 0 0 960 680
  kill $app; wait $app 2>/dev/null || true
' _ "$work" "$work/sar.wav" "$build" "$output"
echo "saved $output"
