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
    <message>
        <source>A&amp;bout</source>
        <translation>A&amp;bout</translation>
    </message>
    <message>
        <source>About &amp;Qt</source>
        <translation>About &amp;Qt</translation>
    </message>
    <message>
        <source>About Music Player</source>
        <translation>About Music Player</translation>
    </message>
    <message>
        <source>About Qt</source>
        <translation>About Qt</translation>
    </message>
    <message>
        <source>About</source>
        <translation>About</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>E&amp;xit</translation>
    </message>
    <message>
        <source>Error opening files</source>
        <translation>Error opening files</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>Fatal Error</source>
        <translation>Fatal Error</translation>
    </message>
    <message>
        <source>Next</source>
        <translation>Next</translation>
    </message>
    <message>
        <source>Open Files</source>
        <translation>Open Files</translation>
    </message>
    <message>
        <source>Open Music File</source>
        <translation>Open Music File</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Open</translation>
    </message>
    <message>
        <source>Pause</source>
        <translation>Pause</translation>
    </message>
    <message>
        <source>Play</source>
        <translation>Play</translation>
    </message>
    <message>
        <source>Previous</source>
        <translation>Previous</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>The Music Player example shows how to use Phonon - the multimedia framework that comes with Qt - to create a simple music player.</source>
        <translation>The Music Player example shows how to use Phonon - the multimedia framework that comes with Qt - to create a simple music player.</translation>
    </message>
    <message>
        <source>No microphone was found.</source>
        <translation>No microphone was found.</translation>
    </message>
    <message>
        <source>The microphone stopped delivering sound.</source>
        <translation>The microphone stopped delivering sound.</translation>
    </message>
    <message>
        <source>The microphone went away (unplugged?).</source>
        <translation>The microphone went away (unplugged?).</translation>
    </message>
    <message>
        <source>The new recording could not replace the earlier one.</source>
        <translation>The new recording could not replace the earlier one.</translation>
    </message>
    <message>
        <source>The recording could not be written (is the disk full?).</source>
        <translation>The recording could not be written (is the disk full?).</translation>
    </message>
</context>
</TS>
