<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name>PlayCtrl</name>
    <message>
        <location filename="../../src/widgets/playctrl.ui"/>
        <source>Form</source>
        <translation>Form</translation>
    </message>
    <message>
        <location filename="../../src/widgets/playctrl.ui"/>
        <source>00:00:00</source>
        <translation>00:00:00</translation>
    </message>
    <message>
        <source>Making the copy at %1 (the pitch is kept): %2 % done</source>
        <translation>Making the copy at %1 (the pitch is kept): %2 % done</translation>
    </message>
    <message>
        <source>Playback speed (the pitch is kept)</source>
        <translation>Playback speed (the pitch is kept)</translation>
    </message>
    <message>
        <source>Playback speed</source>
        <translation>Playback speed</translation>
    </message>
    <message>
        <source>Mute</source>
        <translation>Mute</translation>
    </message>
    <message>
        <source>Sound on or off</source>
        <translation>Sound on or off</translation>
    </message>
</context>
</TS>
