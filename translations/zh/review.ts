<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>ReviewPanel</name>
    <message>
        <source>Compare</source>
        <translation>比较</translation>
    </message>
    <message>
        <source>Show this pass, the previous pass or the demonstration</source>
        <translation>依次显示本遍、上一遍或示范录音</translation>
    </message>
    <message>
        <source>Keep this take (one per sentence)</source>
        <translation>保留这次录音（每句一个）</translation>
    </message>
    <message>
        <source>Booth</source>
        <translation>同传箱</translation>
    </message>
    <message>
        <source>Hear the model on the left ear and the take on the right</source>
        <translation>左耳听原音，右耳听录音</translation>
    </message>
    <message>
        <source>Left: each voice in its own ear. Right: both voices in both ears.</source>
        <translation>左：两个声音各在一耳。右：两耳都听到两个声音。</translation>
    </message>
    <message>
        <source>Export MP3…</source>
        <translation>导出 MP3…</translation>
    </message>
    <message>
        <source>Save the booth mix as a stereo MP3</source>
        <translation>把同传箱混音存为立体声 MP3</translation>
    </message>
    <message>
        <source>Sentence %1: not recorded yet</source>
        <translation>第 %1 句：尚未录音</translation>
    </message>
    <message>
        <source>Sentence %1: %2</source>
        <translation>第 %1 句：%2</translation>
    </message>
    <message>
        <source>The booth mix could not be written to %1.</source>
        <translation>无法把同传箱混音写入 %1。</translation>
    </message>
    <message>
        <source>Export the booth mix</source>
        <translation>导出同传箱混音</translation>
    </message>
    <message>
        <source>MP3 (*.mp3)</source>
        <translation>MP3 (*.mp3)</translation>
    </message>
    <message>
        <source>Saved %1</source>
        <translation>已保存 %1</translation>
    </message>
    <message>
        <source>Export</source>
        <translation>导出</translation>
    </message>
</context>
<context>
    <name>WaveformView</name>
    <message>
        <source>Reading the waveform: %1 %</source>
        <translation>正在读取波形：%1 %</translation>
    </message>
</context>
</TS>
