<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name>TsControl</name>
    <message>
        <source>开始</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>原文</source>
        <translation>Transcript</translation>
    </message>
    <message>
        <source>译文</source>
        <translation>Translation</translation>
    </message>
    <message>
        <source>示范</source>
        <translation>Demo</translation>
    </message>
    <message>
        <source>再学一遍</source>
        <translation>Learn again</translation>
    </message>
    <message>
        <source>观看视频</source>
        <translation>Watch the video</translation>
    </message>
    <message>
        <source>方法介绍</source>
        <translation>The method</translation>
    </message>
    <message>
        <source>软件介绍</source>
        <translation>The program</translation>
    </message>
    <message>
        <source>下一步</source>
        <translation>Next</translation>
    </message>
    <message>
        <source>上一步</source>
        <translation>Back</translation>
    </message>
    <message>
        <source>源语复述</source>
        <translation>Retelling</translation>
    </message>
    <message>
        <source>译入语交传</source>
        <translation>Consecutive</translation>
    </message>
    <message>
        <source>视译</source>
        <translation>Sight trans.</translation>
    </message>
    <message>
        <source>二次原语复述</source>
        <translation>Retelling 2</translation>
    </message>
    <message>
        <source>同传</source>
        <translation>Simultaneous</translation>
    </message>
    <message>
        <source>无法获取资源文件，请检查网络连接！</source>
        <translation>The materials could not be fetched: check the network connection.</translation>
    </message>
    <message>
        <source>译入语交替传译练习</source>
        <translation>Consecutive</translation>
    </message>
    <message>
        <source>精听</source>
        <translation>Close listening</translation>
    </message>
    <message>
        <source>听力文本视译练习</source>
        <translation>Sight translation</translation>
    </message>
    <message>
        <source>同声传译训练</source>
        <translation>Simultaneous</translation>
    </message>
    <message>
        <source>请在听完一遍录音后用源语复述
录下你的声音</source>
        <translation>Listen to the recording once, then retell it in its language
while you record yourself.</translation>
    </message>
    <message>
        <source>请再听一遍录音并做下笔记
然后用译入语复述原文内容</source>
        <translation>Listen again and take notes,
then render the passage in the target language.</translation>
    </message>
    <message>
        <source>反复听原文录音
必要的地方可以做一些记录, 不超过十遍</source>
        <translation>Listen to the recording again and again,
noting what you need; ten times at most.</translation>
    </message>
    <message>
        <source>通读文本，准备20秒到30秒左右，进行一边看文本一边说一边录音的练习
注意自己的语音语气，力求准确清楚</source>
        <translation>Read the text, prepare for 20 to 30 s, then translate it aloud as you read.
Mind your voice and tone: be accurate and clear.</translation>
    </message>
    <message>
        <source>尽可能多的结合视译和以前源语复述中的信息
尽量完整的进行细节性的复述</source>
        <translation>Combine the sight translation with your first retelling;
retell as completely and in as much detail as you can.</translation>
    </message>
    <message>
        <source>要求：short，simple and complete, make sense, be natural
在播放的同时做同传练习并录音</source>
        <translation>Aim: short, simple and complete; make sense; be natural.
Interpret while the recording plays, and record yourself.</translation>
    </message>
    <message>
        <source>start</source>
        <translation>start</translation>
    </message>
</context>
</TS>
