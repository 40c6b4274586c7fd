<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name>AudioEngine</name>
    <message>
        <location filename="../../src/audio/boothmix.cpp"/>
        <source>Cannot make the MP3 &quot;%1&quot;: the encoder does not start.</source>
        <translation>Cannot make the MP3 &quot;%1&quot;: the encoder does not start.</translation>
    </message>
    <message>
        <location filename="../../src/audio/boothmix.cpp"/>
        <source>Cannot make the MP3 &quot;%1&quot;: %2</source>
        <translation>Cannot make the MP3 &quot;%1&quot;: %2</translation>
    </message>
    <message>
        <location filename="../../src/audio/decoder.cpp"/>
        <source>Cannot decode &quot;%1&quot;: %2</source>
        <translation>Cannot decode &quot;%1&quot;: %2</translation>
    </message>
    <message>
        <location filename="../../src/audio/decoder.cpp"/>
        <source>the file holds no sound.</source>
        <translation>the file holds no sound.</translation>
    </message>
    <message>
        <location filename="../../src/audio/decoder.cpp"/>
        <source>the file does not exist.</source>
        <translation>the file does not exist.</translation>
    </message>
    <message>
        <location filename="../../src/audio/decoder.cpp"/>
        <source>a GStreamer element is missing (gstreamer1.0-plugins-base).</source>
        <translation>a GStreamer element is missing (gstreamer1.0-plugins-base).</translation>
    </message>
    <message>
        <location filename="../../src/audio/decoder.cpp"/>
        <source>the format is not supported.</source>
        <translation>the format is not supported.</translation>
    </message>
    <message>
        <location filename="../../src/audio/decoder.cpp"/>
        <source>the file cannot be read from the middle.</source>
        <translation>the file cannot be read from the middle.</translation>
    </message>
    <message>
        <location filename="../../src/audio/decoder.cpp"/>
        <source>GStreamer cannot start: %1</source>
        <translation>GStreamer cannot start: %1</translation>
    </message>
    <message>
        <location filename="../../src/audio/stretchrenderer.cpp"/>
        <source>Cannot write the slower copy &quot;%1&quot;: %2</source>
        <translation>Cannot write the slower copy &quot;%1&quot;: %2</translation>
    </message>
</context>
</TS>
