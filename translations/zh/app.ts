<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>Zorva</name>
    <message>
        <source>_HELPFILE_METHOD_</source>
        <translation>./help/method_zh.mp3</translation>
    </message>
    <message>
        <source>_HELPFILE_INTRO_</source>
        <translation>./help/intro_zh.mp3</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>打开</translation>
    </message>
    <message>
        <source>Open Files</source>
        <translation>打开文件</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>退出(&amp;X)</translation>
    </message>
    <message>
        <source>About</source>
        <translation>关于</translation>
    </message>
    <message>
        <source>A&amp;bout</source>
        <translation>关于(&amp;B)</translation>
    </message>
    <message>
        <source>About Qt</source>
        <translation>关于 Qt</translation>
    </message>
    <message>
        <source>About &amp;Qt</source>
        <translation>关于 &amp;Qt</translation>
    </message>
    <message>
        <source>Play</source>
        <translation>播放</translation>
    </message>
    <message>
        <source>Pause</source>
        <translation>暂停</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>停止</translation>
    </message>
    <message>
        <source>Next</source>
        <translation>下一个</translation>
    </message>
    <message>
        <source>Previous</source>
        <translation>上一个</translation>
    </message>
    <message>
        <source>About Music Player</source>
        <translation>关于 Music Player</translation>
    </message>
    <message>
        <source>Fatal Error</source>
        <translation>严重错误</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>错误</translation>
    </message>
    <message>
        <source>Error opening files</source>
        <translation>无法打开文件</translation>
    </message>
    <message>
        <source>Open Music File</source>
        <translation>打开音频文件</translation>
    </message>
    <message>
        <source>Recording</source>
        <translation>录音</translation>
    </message>
    <message>
        <source>Your voice could not be recorded.
%1</source>
        <translation>无法录下您的声音。
%1</translation>
    </message>
    <message>
        <source>The recording stopped early; what was recorded is kept.
%1</source>
        <translation>录音提前中断，已录下的部分已保留。
%1</translation>
    </message>
    <message>
        <source>The file %1 could not be opened for writing.</source>
        <translation>无法写入文件 %1。</translation>
    </message>
    <message>
        <source>Slower</source>
        <translation>放慢</translation>
    </message>
    <message>
        <source>Faster</source>
        <translation>加快</translation>
    </message>
    <message>
        <source>Speed</source>
        <translation>语速</translation>
    </message>
    <message>
        <source>Compare takes</source>
        <translation>比较录音</translation>
    </message>
    <message>
        <source>Keep this take</source>
        <translation>保留这次录音</translation>
    </message>
    <message>
        <source>Kept: the demonstration</source>
        <translation>已保留：示范录音</translation>
    </message>
    <message>
        <source>Kept: pass %1</source>
        <translation>已保留：第 %1 遍</translation>
    </message>
    <message>
        <source>pass %1</source>
        <translation>第 %1 遍</translation>
    </message>
    <message>
        <source>pass %1 (the previous one)</source>
        <translation>第 %1 遍（上一遍）</translation>
    </message>
    <message>
        <source>the demonstration</source>
        <translation>示范录音</translation>
    </message>
    <message>
        <source>The Music Player example shows how to use Phonon - the multimedia framework that comes with Qt - to create a simple music player.</source>
        <translation>这个 Music Player 示例演示如何使用 Qt 附带的多媒体框架 Phonon 制作一个简单的音乐播放器。</translation>
    </message>
    <message>
        <source>No microphone was found.</source>
        <translation>没有找到麦克风。</translation>
    </message>
    <message>
        <source>The microphone stopped delivering sound.</source>
        <translation>麦克风不再传来声音。</translation>
    </message>
    <message>
        <source>The microphone went away (unplugged?).</source>
        <translation>麦克风断开了（被拔掉了？）。</translation>
    </message>
    <message>
        <source>The new recording could not replace the earlier one.</source>
        <translation>新录音无法替换先前的录音。</translation>
    </message>
    <message>
        <source>The recording could not be written (is the disk full?).</source>
        <translation>录音无法写入（磁盘满了吗？）。</translation>
    </message>
</context>
</TS>
