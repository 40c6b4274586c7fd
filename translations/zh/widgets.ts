<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>PlayCtrl</name>
    <message>
        <location filename="../../src/widgets/playctrl.ui"/>
        <source>Form</source>
        <translation>窗体</translation>
    </message>
    <message>
        <location filename="../../src/widgets/playctrl.ui"/>
        <source>00:00:00</source>
        <translation>00:00:00</translation>
    </message>
    <message>
        <source>Making the copy at %1 (the pitch is kept): %2 % done</source>
        <translation>正在生成 %1 速度的音频（音高不变）：已完成 %2 %</translation>
    </message>
    <message>
        <source>Playback speed (the pitch is kept)</source>
        <translation>播放速度（音高不变）</translation>
    </message>
    <message>
        <source>Playback speed</source>
        <translation>播放速度</translation>
    </message>
    <message>
        <source>Mute</source>
        <translation>静音</translation>
    </message>
    <message>
        <source>Sound on or off</source>
        <translation>打开或关闭声音</translation>
    </message>
</context>
</TS>
