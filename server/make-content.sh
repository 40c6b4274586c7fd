#!/usr/bin/env bash
# Builds the sample content server's materials and catalogue under server/www:
#   materials/<base>.mp3, <base>.txt, <base>@T.txt   (speech made by espeak-ng, encoded by lame)
#   inter/data.php                                   (the catalogue the trainer asks for)
# The catalogue names the files relative to itself, so the folder can be served from any
# address. Run it again after changing the texts below: server/make-content.sh
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
www="$here/www"
materials="$www/materials"
mkdir -p "$materials" "$www/inter"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# base | channel | title | transcript | translation
read -r -d '' CONTENT <<'TEXT' || true
city_climate|Speeches 演讲|Cities and climate 城市与气候|Good morning, ladies and gentlemen. Cities cover only a small part of the earth, yet they use most of its energy. Today I would like to talk about three things a city can do at once: plant more trees along its streets, build homes that keep the heat in winter, and give people buses and trains they want to use. None of this is new, but all of it works, and it works best when it is done together.|女士们，先生们，早上好。城市只占地球表面的一小部分，却消耗了大部分能源。今天我想谈谈城市可以马上做的三件事：在街道两旁多种树，建造冬天能够保暖的住房，为人们提供愿意乘坐的公共汽车和火车。这些都不是新鲜事，但都行之有效，而且一起做效果最好。
trade_forum|Speeches 演讲|Opening a trade forum 贸易论坛开幕词|Distinguished guests, welcome to the tenth regional trade forum. Over the past year, trade between our two regions has grown by twelve percent, and small firms have led the way. This forum is about them. We will hear how a family bakery began to sell abroad, how a young software company found its first customers overseas, and what governments can do to make the road a little shorter for the next ones.|各位来宾，欢迎出席第十届地区贸易论坛。过去一年，我们两个地区之间的贸易增长了百分之十二，小企业走在了前面。本次论坛的主角就是它们。我们将听到一家家庭面包店如何开始向海外销售，一家年轻的软件公司如何找到第一批海外客户，以及政府能够做些什么，让后来者的路走得更顺一些。
health_news|News 新闻|Health report 健康报道|In health news today, a new study of ten thousand adults finds that a walk of twenty minutes a day lowers the risk of heart disease by almost a fifth. The researchers followed the group for eight years. They say the walk does not need to be fast, and it can be split into two shorter walks. Doctors welcomed the study, but added that sleep and diet matter just as much.|今天的健康新闻：一项针对一万名成年人的新研究发现，每天步行二十分钟可使心脏病风险降低近五分之一。研究人员对这些人进行了为期八年的跟踪。他们说，步行不必很快，也可以分成两次较短的步行。医生们对这项研究表示欢迎，但同时指出，睡眠和饮食同样重要。
rail_news|News 新闻|New rail line 新铁路线|A new rail line between the port and the airport opened this morning. The first train left at six o'clock with more than four hundred passengers on board. The trip now takes thirty-five minutes instead of an hour and a half by road. The city expects twenty thousand people to use the line every day by the end of the year.|今天上午，连接港口和机场的一条新铁路线开通。首班列车于六点发车，载有四百多名乘客。现在全程只需三十五分钟，而走公路需要一个半小时。该市预计，到年底每天将有两万人乘坐这条线路。
TEXT

catalogue="$work/data.php"
{
  echo '<?xml version="1.0" encoding="UTF-8"?>'
  echo '<sps version="2.0">'
} >"$catalogue"
channel=""
while IFS='|' read -r base chan title transcript translation; do
  [ -n "$base" ] || continue
  printf '%s\n' "$transcript" >"$materials/$base.txt"
  printf '%s\n' "$translation" >"$materials/$base@T.txt"
  espeak-ng -v en-us -s 150 -w "$work/$base.raw.wav" "$transcript"
  sox "$work/$base.raw.wav" -r 44100 -c 2 "$work/$base.wav"
  lame --quiet -b 64 "$work/$base.wav" "$materials/$base.mp3"
  size=$(stat -c %s "$materials/$base.mp3")
  # The trainer treats audio below 51 200 bytes as a broken download.
  [ "$size" -gt 51200 ] || { echo "$base.mp3 is only $size bytes" >&2; exit 1; }
  if [ "$chan" != "$channel" ]; then
    [ -z "$channel" ] || echo '    </channel>' >>"$catalogue"
    printf '    <channel folded="no">\n        <title>%s</title>\n' "$chan" >>"$catalogue"
    channel=$chan
  fi
  cat >>"$catalogue" <<ITEM
        <item>
            <title>$title</title>
            <audiourl>../materials/$base.mp3</audiourl>
            <description>../materials/$base.txt</description>
            <translation>../materials/$base@T.txt</translation>
        </item>
ITEM
done <<<"$CONTENT"
[ -z "$channel" ] || echo '    </channel>' >>"$catalogue"
echo '</sps>' >>"$catalogue"
mv "$catalogue" "$www/inter/data.php"
ls -l "$materials"
