<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>AudioEngine</name>
    <message>
        <location filename="../../src/audio/boothmix.cpp"/>
        <source>Cannot make the MP3 &quot;%1&quot;: the encoder does not start.</source>
        <translation>无法生成 MP3“%1”：编码器无法启动。</translation>
    </message>
    <message>
        <location filename="../../src/audio/boothmix.cpp"/>
        <source>Cannot make the MP3 &quot;%1&quot;: %2</source>
        <translation>无法生成 MP3“%1”：%2</translation>
    </message>
    <message>
        <location filename="../../src/audio/decoder.cpp"/>
        <source>Cannot decode &quot;%1&quot;: %2</source>
        <translation>无法解码“%1”：%2</translation>
    </message>
    <message>
        <location filename="../../src/audio/decoder.cpp"/>
        <source>the file holds no sound.</source>
        <translation>文件中没有声音。</translation>
    </message>
    <message>
        <location filename="../../src/audio/decoder.cpp"/>
        <source>the file does not exist.</source>
        <translation>文件不存在。</translation>
    </message>
    <message>
        <location filename="../../src/audio/decoder.cpp"/>
        <source>a GStreamer element is missing (gstreamer1.0-plugins-base).</source>
        <translation>缺少 GStreamer 组件（gstreamer1.0-plugins-base）。</translation>
    </message>
    <message>
        <location filename="../../src/audio/decoder.cpp"/>
        <source>the format is not supported.</source>
        <translation>不支持此格式。</translation>
    </message>
    <message>
        <location filename="../../src/audio/decoder.cpp"/>
        <source>the file cannot be read from the middle.</source>
        <translation>无法从文件中间读取。</translation>
    </message>
    <message>
        <location filename="../../src/audio/decoder.cpp"/>
        <source>GStreamer cannot start: %1</source>
        <translation>GStreamer 无法启动：%1</translation>
    </message>
    <message>
        <location filename="../../src/audio/stretchrenderer.cpp"/>
        <source>Cannot write the slower copy &quot;%1&quot;: %2</source>
        <translation>无法写入慢速副本“%1”：%2</translation>
    </message>
</context>
</TS>
