<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name>Zorva</name>
    <message>
        <source>_HELPFILE_METHOD_</source>
        <translation>./help/method.mp3</translation>
    </message>
    <message>
        <source>_HELPFILE_INTRO_</source>
        <translation>./help/intro.mp3</translation>
    </message>
    <message>
        <source>Recording</source>
        <translation>Recording</translation>
    </message>
    <message>
        <source>Your voice could not be recorded.
%1</source>
        <translation>Your voice could not be recorded.
%1</translation>
    </message>
    <message>
        <source>The recording stopped early; what was recorded is kept.
%1</source>
        <translation>The recording stopped early; what was recorded is kept.
%1</translation>
    </message>
    <message>
        <source>The file %1 could not be opened for writing.</source>
        <translation>The file %1 could not be opened for writing.</translation>
    </message>
    <message>
        <source>Slower</source>
        <translation>Slower</translation>
    </message>
    <message>
        <source>Faster</source>
        <translation>Faster</translation>
    </message>
    <message>
        <source>Speed</source>
        <translation>Speed</translation>
    </message>
    <message>
        <source>Compare takes</source>
        <translation>Compare takes</translation>
    </message>
    <message>
        <source>Keep this take</source>
        <translation>Keep this take</translation>
    </message>
    <message>
        <source>Kept: the demonstration</source>
        <translation>Kept: the demonstration</translation>
    </message>
    <message>
        <source>Kept: pass %1</source>
        <translation>Kept: pass %1</translation>
    </message>
    <message>
        <source>pass %1</source>
        <translation>pass %1</translation>
    </message>
    <message>
        <source>pass %1 (the previous one)</source>
        <translation>pass %1 (the previous one)</translation>
    </message>
    <message>
        <source>the demonstration</source>
        <translation>the demonstration</translation>
    </message>
</context>
</TS>
