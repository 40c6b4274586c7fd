#!/usr/bin/env bash
# Makes the sample materials, their demonstration recordings and the narrated help clips of
# the installation with espeak-ng, sox and lame. The results are committed; run this again
# only to change them.
#   data/tools/make-samples.sh [installation data folder, default data/install]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
install=${1:-$here/../install}
workspace=$install/workspace
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# speak <voice> <text> <mp3>: 44.1 kHz stereo at 64 kbit/s, the format the trainer records in.
speak() {
  espeak-ng -v "$1" -s 150 -w "$tmp/raw.wav" "$2"
  sox "$tmp/raw.wav" -r 44100 -c 2 "$tmp/speech.wav"
  lame --quiet -b 64 --noreplaygain "$tmp/speech.wav" "$3"
}

# material <base> <transcript> <translation>: the audio is the transcript read aloud.
material() {
  printf '%s\n' "$2" >"$workspace/$1.txt"
  printf '%s\n' "$3" >"$workspace/$1@T.txt"
  speak en "$2" "$workspace/$1.mp3"
}

mkdir -p "$workspace/train" "$workspace/demo" "$install/help"

material lesson01 \
"Every morning, thousands of commuters cross the river on the old stone bridge. \
The city council has decided to close the bridge for repairs next spring. \
During the works, a ferry will carry passengers between the two banks every fifteen minutes. \
Cyclists may use a temporary lane on the railway bridge further north. \
The council expects the repairs to take about six months." \
"每天早上，成千上万的通勤者经过那座古老的石桥过河。\
市议会决定明年春天关闭这座桥进行维修。\
施工期间，渡轮将每十五分钟在两岸之间运送一次乘客。\
骑自行车的人可以使用北边铁路桥上的临时车道。\
市议会预计维修工程大约需要六个月。"

material lesson02 \
"Good evening, ladies and gentlemen, and welcome to our annual conference on clean water. \
Today, one in four people in the world still lacks safe drinking water at home. \
Over the next two days, engineers, doctors and mayors will share what has worked in their towns. \
We hope that each of you will leave with one idea you can put into practice. \
Thank you for coming, and enjoy the conference." \
"女士们，先生们，晚上好，欢迎参加我们一年一度的清洁水资源大会。\
今天，世界上仍有四分之一的人家中没有安全的饮用水。\
在接下来的两天里，工程师、医生和市长们将分享在各自城镇行之有效的做法。\
我们希望各位都能带着一个可以付诸实践的想法离开。\
感谢各位的光临，祝大会愉快。"

# Demonstration recordings of lesson01, one per recorded exercise: retelling, consecutive
# interpreting, sight translation, second retelling, simultaneous interpreting.
demo=$workspace/demo/lesson01.mp3
mkdir -p "$demo"
speak en-us+f3 "The old stone bridge will close next spring for six months of repairs." "$demo/1.mp3"
speak cmn "石桥明年春天关闭维修，期间有渡轮每十五分钟往返两岸。" "$demo/2.mp3"
speak cmn "骑车的人可以走北边铁路桥上的临时车道。" "$demo/3.mp3"
speak en-us+f3 "A ferry replaces the bridge, and cyclists use the railway bridge." "$demo/4.mp3"
speak cmn "市议会预计维修工程大约需要六个月。" "$demo/5.mp3"

speak en "How to train: listen to the material, retell it in the source language, \
interpret it into the target language, then compare your recordings with the demonstration." \
  "$install/help/method.mp3"
speak en "Welcome to ZORVA. Choose a material in the library on the right, \
press start on the bar below the window and follow the six steps." \
  "$install/help/intro.mp3"
speak cmn "训练方法：先听材料，用源语复述，再译成目标语，最后把自己的录音和示范录音对比。" \
  "$install/help/method_zh.mp3"
speak cmn "欢迎使用 ZORVA。请在右侧的资料库中选择一份材料，按下窗口下方的开始按钮，按六个步骤练习。" \
  "$install/help/intro_zh.mp3"

rm -f "$workspace/train/.keep" "$workspace/demo/.keep"
# The training folder must survive in a checkout even while it holds no recordings.
touch "$workspace/train/.keep"
