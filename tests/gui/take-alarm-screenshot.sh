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

# shellcheck source=tests/gui/screenshot-session.sh
source "$root/tests/gui/screenshot-session.sh"
screenshot_session alarm
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
ViewBaseNum=4
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

grab_while_playing "paplay '$work/sar.wav'" 3 "$output"
