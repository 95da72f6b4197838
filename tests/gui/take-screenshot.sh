#!/usr/bin/env bash
# Takes docs/screenshot.png: the real program under Xvfb, with a few stored messages beside a copy
# of the binary and a recorded English broadcast played into a private PulseAudio server, so the
# received text, the spectrum and the lamp are live. The sample recording holds an English and a
# Japanese broadcast; it plays twice, and the picture is taken while the second round is on air.
# The window speaks the language SEAHERALD_LANG names (ja when unset, as in the first picture).
# Usage: [SEAHERALD_LANG=en] tests/gui/take-screenshot.sh BUILD_DIR [OUTPUT.png]
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "$1" && pwd)
output=${2:-$root/docs/screenshot.png}
recording=$root/samples/navtex-sample.wav
listen_seconds=${LISTEN_SECONDS:-40}
export SEAHERALD_LANG=${SEAHERALD_LANG:-ja}

# shellcheck source=tests/gui/screenshot-session.sh
source "$root/tests/gui/screenshot-session.sh"
screenshot_session shot

store "ＧＡ１２３" "2024/05/01 01:05:12" 0 \
  "ＺＣＺＣ　ＧＡ１２３\n那覇ナブテックス\n航行警報　第１２３号\n沖縄南方海域　射撃訓練\n期間　５月２日から５月４日まで\n危険区域に近づかないこと\nＮＮＮＮ"
store "ＧＡ１２４" "2024/05/01 05:04:40" 1 \
  "ＺＣＺＣ　ＧＡ１２４\n那覇ナブテックス\n航行警報　第１２４号\n久米島西方　漂流物\n付近航行船舶は注意されたい\nＮＮＮＮ"
store "ＧＡ１２５" "2024/05/01 09:06:02" 999 \
  "ＺＣＺＣ　ＧＡ１２５\n那覇ナブテックス\n航行警報　第１２５号\n宮古島北方　測量作業\nＮＮＮＮ"
store "ＨＥ０４１" "2024/05/01 09:18:30" 0 \
  "ＺＣＺＣ　ＨＥ０４１\n門司ナブテックス\n気象予報\n九州北部海域　北の風やや強く\nＮＮＮＮ"
store "GA17" "2024/05/01 02:01:05" 0 \
  "ZCZC GA17\n011200 UTC MAY 24\nNAHA NAVTEX\nNAVAREA XI 0456/24\nLIVE FIRING EXERCISES\nNNNN"
store "IB02" "2024/05/01 06:21:44" 2 \
  "ZCZC IB02\n010600 UTC MAY 24\nYOKOHAMA NAVTEX\nGALE WARNING\nLOW 1004 HPA AT 35N 140E\nNNNN"

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
ViewLangNum=1
ViewBaseNum=0
ViewTypeNum=0
[Set]
AutoSet=1
DecLang=1
PanelHeight=130
FontSize=10
INI

grab_while_playing "{ paplay '$recording'; paplay '$recording'; } &" "$listen_seconds" "$output"
