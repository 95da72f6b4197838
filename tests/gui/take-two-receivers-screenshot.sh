#!/usr/bin/env bash
# Takes docs/screenshot-two-receivers.png: the real program under Xvfb with its second receiver on,
# a stereo recording played into a private PulseAudio server (an English broadcast on the left, a
# Japanese one on the right, at the same time); the picture is taken while both are on air.
# Usage: tests/gui/take-two-receivers-screenshot.sh BUILD_DIR [OUTPUT.png]
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "$1" && pwd)
output=${2:-$root/docs/screenshot-two-receivers.png}
listen_seconds=${LISTEN_SECONDS:-20}
export SEAHERALD_LANG=${SEAHERALD_LANG:-ja}

# shellcheck source=tests/gui/screenshot-session.sh
source "$root/tests/gui/screenshot-session.sh"
screenshot_session two
store "ＧＡ１２４" "2024/05/01 05:04:40" 0 \
  "ＺＣＺＣ　ＧＡ１２４\n那覇ナブテックス\n航行警報　第１２４号\n久米島西方　漂流物\nＮＮＮＮ"
store "GA17" "2024/05/01 02:01:05" 0 \
  "ZCZC GA17\n011200 UTC MAY 24\nNAHA NAVTEX\nNAVAREA XI 0456/24\nLIVE FIRING EXERCISES\nNNNN"
"$build/tests/support/seaherald_make_broadcast" "$work/stereo.wav" \
  'ZCZC GA18\n010930 UTC MAY 24\nNAHA NAVTEX\nNAVAREA XI 0461/24\nEAST CHINA SEA.\nSURVEY OPERATIONS IN PROGRESS\nVESSELS REQUESTED TO KEEP CLEAR\nNNNN' \
  'ＺＣＺＣ　ＧＡ１２５\n那覇ナブテックス\n航行警報　第１２５号\n宮古島北方　測量作業\n付近航行船舶は注意されたい\n期間　５月２日から５月４日まで\nＮＮＮＮ'

cat >"$work/seaherald.ini" <<'INI'
[Form]
MainTop=0
MainLeft=0
MainWidth=960
MainHeight=680
MainMaxmum=0
[Wave]
CentF=80
CentF2=80
[Disp]
ViewLangNum=1
ViewBaseNum=0
ViewTypeNum=0
[Set]
AutoSet=0
DecLang=1
Receiver2=1
AutoSet2=0
DecLang2=0
PanelHeight=130
FontSize=10
INI

grab_while_playing "paplay '$work/stereo.wav' &" "$listen_seconds" "$output"
