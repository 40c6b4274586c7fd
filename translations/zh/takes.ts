<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>LevelMeter</name>
    <message>
        <source>Input level</source>
        <translation>输入电平</translation>
    </message>
    <message>
        <source>Input level of the microphone</source>
        <translation>麦克风输入电平</translation>
    </message>
</context>
<context>
    <name>SegmentedPass</name>
    <message>
        <source>None of the segments could be read back.</source>
        <translation>没有一段录音能够读取。</translation>
    </message>
    <message>
        <source>A newer recording of the sentence was kept instead.</source>
        <translation>已保留这一句更新的录音。</translation>
    </message>
    <message>
        <source>The joined segments could not replace %1.</source>
        <translation>合并后的分段录音无法替换 %1。</translation>
    </message>
</context>
<context>
    <name>TakeControls</name>
    <message>
        <source>By segments</source>
        <translation>分段</translation>
    </message>
    <message>
        <source>Consecutive by segments: the model stops at the end of each segment and your take starts at once; Continue plays the next one.</source>
        <translation>分段交替传译：原文每段结束时暂停，你的录音随即开始；按“继续”播放下一段。</translation>
    </message>
</context>
<context>
    <name>TakeFiguresPanel</name>
    <message>
        <source>%1 s</source>
        <translation>%1 秒</translation>
    </message>
    <message>
        <source>Retelling</source>
        <translation>源语复述</translation>
    </message>
    <message>
        <source>Consecutive</source>
        <translation>译入语交传</translation>
    </message>
    <message>
        <source>Sight</source>
        <translation>视译</translation>
    </message>
    <message>
        <source>Retelling 2</source>
        <translation>二次复述</translation>
    </message>
    <message>
        <source>Simultaneous</source>
        <translation>同传</translation>
    </message>
    <message>
        <source>Length</source>
        <translation>时长</translation>
    </message>
    <message>
        <source>How long the take is.</source>
        <translation>这次录音的长度。</translation>
    </message>
    <message>
        <source>First word</source>
        <translation>首词</translation>
    </message>
    <message>
        <source>Time from &quot;start&quot; to your first word.</source>
        <translation>从“start”到你说出第一个词的时间。</translation>
    </message>
    <message>
        <source>Speaking</source>
        <translation>说话</translation>
    </message>
    <message>
        <source>Share of the take in which you speak.</source>
        <translation>录音中你在说话的时间比例。</translation>
    </message>
    <message>
        <source>%1 %</source>
        <translation>%1%</translation>
    </message>
    <message>
        <source>Pauses</source>
        <translation>停顿</translation>
    </message>
    <message>
        <source>Pauses of half a second or more.</source>
        <translation>半秒及以上的停顿次数。</translation>
    </message>
    <message>
        <source>Longest</source>
        <translation>最长停顿</translation>
    </message>
    <message>
        <source>The longest of those pauses.</source>
        <translation>其中最长的一次停顿。</translation>
    </message>
    <message>
        <source>Ear-voice</source>
        <translation>听说时差</translation>
    </message>
    <message>
        <source>Ear-voice span in simultaneous interpreting: how far behind the model you speak, median / 90th percentile.</source>
        <translation>同声传译中的听说时差：你比原文落后多少，中位数 / 第 90 百分位。</translation>
    </message>
    <message>
        <source>%1 / %2 s</source>
        <translation>%1 / %2 秒</translation>
    </message>
    <message>
        <source>Figures of your takes</source>
        <translation>你的录音数据</translation>
    </message>
    <message>
        <source>Pass %1</source>
        <translation>第 %1 遍</translation>
    </message>
    <message>
        <source>Pass %1: %2</source>
        <translation>第 %1 遍：%2</translation>
    </message>
</context>
<context>
    <name>Zorva</name>
    <message>
        <source>Continue</source>
        <translation>继续</translation>
    </message>
    <message>
        <source>Play the next segment (%1)</source>
        <translation>播放下一段（%1）</translation>
    </message>
    <message>
        <source>nothing was heard: check the microphone</source>
        <translation>没有听到声音：请检查麦克风</translation>
    </message>
    <message>
        <source>The recording is distorted: %1 % of it is at full scale.
Lower the input level of the microphone (&quot;%2&quot;) in the system&apos;s sound settings; the trainer&apos;s own recording gain stays as it is. The take is kept.</source>
        <translation>录音失真：%1% 的采样达到满幅。
请在系统的声音设置中调低麦克风（“%2”）的输入电平；本程序自身的录音增益保持不变。这次录音已保留。</translation>
    </message>
    <message>
        <source>Consecutive by segments</source>
        <translation>分段交替传译</translation>
    </message>
    <message>
        <source>The model&apos;s segments cannot be found.
%1</source>
        <translation>无法找到原文的分段。
%1</translation>
    </message>
    <message>
        <source>The segments could not be joined into %1; they are kept beside it.
%2</source>
        <translation>分段录音无法合并为 %1，它们保留在其旁边。
%2</translation>
    </message>
    <message>
        <source>Finding the segments…</source>
        <translation>正在查找分段…</translation>
    </message>
    <message>
        <source>Segment %1 of %2</source>
        <translation>第 %1 段，共 %2 段</translation>
    </message>
    <message>
        <source>Joining the segments…</source>
        <translation>正在合并分段…</translation>
    </message>
</context>
</TS>
