<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>LanguageMenu</name>
    <message>
        <source>Language</source>
        <translation>语言</translation>
    </message>
    <message>
        <source>The system's language</source>
        <translation>跟随系统</translation>
    </message>
    <message>
        <source>ZORVA shows the language you chose from its next start on.</source>
        <translation>ZORVA 下次启动时使用所选的语言。</translation>
    </message>
</context>
<context>
    <name>Keymap</name>
    <message>
        <source>Player</source>
        <translation>播放</translation>
    </message>
    <message>
        <source>Loop marks</source>
        <translation>循环标记</translation>
    </message>
    <message>
        <source>Training</source>
        <translation>训练</translation>
    </message>
    <message>
        <source>Your recording</source>
        <translation>你的录音</translation>
    </message>
    <message>
        <source>Texts and windows</source>
        <translation>文本和窗口</translation>
    </message>
    <message>
        <source>Program</source>
        <translation>程序</translation>
    </message>
    <message>
        <source>More</source>
        <translation>其他</translation>
    </message>
    <message>
        <source>Play or pause the material</source>
        <translation>播放或暂停材料</translation>
    </message>
    <message>
        <source>Stop the material</source>
        <translation>停止材料</translation>
    </message>
    <message>
        <source>Back 30 seconds</source>
        <translation>后退 30 秒</translation>
    </message>
    <message>
        <source>Forward 30 seconds</source>
        <translation>前进 30 秒</translation>
    </message>
    <message>
        <source>Set mark-in here</source>
        <translation>在此处设起点</translation>
    </message>
    <message>
        <source>Set mark-out here</source>
        <translation>在此处设终点</translation>
    </message>
    <message>
        <source>Mark-in 0.1 s earlier</source>
        <translation>起点提前 0.1 秒</translation>
    </message>
    <message>
        <source>Mark-in 0.1 s later</source>
        <translation>起点推后 0.1 秒</translation>
    </message>
    <message>
        <source>Mark-out 0.1 s earlier</source>
        <translation>终点提前 0.1 秒</translation>
    </message>
    <message>
        <source>Mark-out 0.1 s later</source>
        <translation>终点推后 0.1 秒</translation>
    </message>
    <message>
        <source>Mark-in to the start</source>
        <translation>起点移到开头</translation>
    </message>
    <message>
        <source>Mark-out to the end</source>
        <translation>终点移到结尾</translation>
    </message>
    <message>
        <source>Clear both marks (no loop)</source>
        <translation>清除两个标记（不循环）</translation>
    </message>
    <message>
        <source>Start, or the next step</source>
        <translation>开始，或下一步</translation>
    </message>
    <message>
        <source>The previous step</source>
        <translation>上一步</translation>
    </message>
    <message>
        <source>Record, or stop recording</source>
        <translation>录音，或停止录音</translation>
    </message>
    <message>
        <source>Play or pause your recording of the step</source>
        <translation>播放或暂停本步骤的录音</translation>
    </message>
    <message>
        <source>Play recording 1: retelling</source>
        <translation>播放录音 1：源语复述</translation>
    </message>
    <message>
        <source>Play recording 2: consecutive</source>
        <translation>播放录音 2：译入语交传</translation>
    </message>
    <message>
        <source>Play recording 3: sight translation</source>
        <translation>播放录音 3：视译</translation>
    </message>
    <message>
        <source>Play recording 4: second retelling</source>
        <translation>播放录音 4：二次原语复述</translation>
    </message>
    <message>
        <source>Play recording 5: simultaneous</source>
        <translation>播放录音 5：同传</translation>
    </message>
    <message>
        <source>Review pass 1</source>
        <translation>复习第 1 遍</translation>
    </message>
    <message>
        <source>Review pass 2</source>
        <translation>复习第 2 遍</translation>
    </message>
    <message>
        <source>Review pass 3</source>
        <translation>复习第 3 遍</translation>
    </message>
    <message>
        <source>Review pass 4</source>
        <translation>复习第 4 遍</translation>
    </message>
    <message>
        <source>Review pass 5</source>
        <translation>复习第 5 遍</translation>
    </message>
    <message>
        <source>Learn again (the next pass)</source>
        <translation>再学一遍（下一遍）</translation>
    </message>
    <message>
        <source>The demonstration recordings</source>
        <translation>示范录音</translation>
    </message>
    <message>
        <source>Back to the passes</source>
        <translation>回到遍数选择</translation>
    </message>
    <message>
        <source>Play your recording</source>
        <translation>播放你的录音</translation>
    </message>
    <message>
        <source>Pause your recording</source>
        <translation>暂停你的录音</translation>
    </message>
    <message>
        <source>Stop your recording</source>
        <translation>停止你的录音</translation>
    </message>
    <message>
        <source>Show the transcript, or hide the texts</source>
        <translation>显示原文，或隐藏文本</translation>
    </message>
    <message>
        <source>Show the translation, or hide the texts</source>
        <translation>显示译文，或隐藏文本</translation>
    </message>
    <message>
        <source>Go to the library, or hide it</source>
        <translation>转到练习材料，或隐藏它</translation>
    </message>
    <message>
        <source>Video: the method</source>
        <translation>视频：方法介绍</translation>
    </message>
    <message>
        <source>Video: the program</source>
        <translation>视频：软件介绍</translation>
    </message>
    <message>
        <source>Keys (this list)</source>
        <translation>快捷键（本列表）</translation>
    </message>
    <message>
        <source>Open an audio file</source>
        <translation>打开音频文件</translation>
    </message>
    <message>
        <source>About</source>
        <translation>关于</translation>
    </message>
    <message>
        <source>About Qt</source>
        <translation>关于 Qt</translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>退出</translation>
    </message>
    <message>
        <source>Keys</source>
        <translation>快捷键</translation>
    </message>
    <message>
        <source>Action</source>
        <translation>操作</translation>
    </message>
    <message>
        <source>Key</source>
        <translation>按键</translation>
    </message>
    <message>
        <source>Other keys can be given in %1, group [keys], one line per action, for instance recordAction=F13 for a foot pedal.</source>
        <translation>可以在 %1 的 [keys] 组中另设按键，每个操作一行，例如为脚踏开关设 recordAction=F13。</translation>
    </message>
    <message>
        <source>%1 (%2)</source>
        <translation>%1（%2）</translation>
    </message>
    <message>
        <source>%1. Key: %2</source>
        <translation>%1。按键：%2</translation>
    </message>
</context>
</TS>
