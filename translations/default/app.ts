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
</context>
</TS>
