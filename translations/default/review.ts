<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name>ReviewPanel</name>
    <message>
        <source>Compare</source>
        <translation>Compare</translation>
    </message>
    <message>
        <source>Show this pass, the previous pass or the demonstration</source>
        <translation>Show this pass, the previous pass or the demonstration</translation>
    </message>
    <message>
        <source>Keep this take (one per sentence)</source>
        <translation>Keep this take (one per sentence)</translation>
    </message>
    <message>
        <source>Booth</source>
        <translation>Booth</translation>
    </message>
    <message>
        <source>Hear the model on the left ear and the take on the right</source>
        <translation>Hear the model on the left ear and the take on the right</translation>
    </message>
    <message>
        <source>Left: each voice in its own ear. Right: both voices in both ears.</source>
        <translation>Left: each voice in its own ear. Right: both voices in both ears.</translation>
    </message>
    <message>
        <source>Export MP3…</source>
        <translation>Export MP3…</translation>
    </message>
    <message>
        <source>Save the booth mix as a stereo MP3</source>
        <translation>Save the booth mix as a stereo MP3</translation>
    </message>
    <message>
        <source>Sentence %1: not recorded yet</source>
        <translation>Sentence %1: not recorded yet</translation>
    </message>
    <message>
        <source>Sentence %1: %2</source>
        <translation>Sentence %1: %2</translation>
    </message>
    <message>
        <source>The booth mix could not be written to %1.</source>
        <translation>The booth mix could not be written to %1.</translation>
    </message>
    <message>
        <source>Export the booth mix</source>
        <translation>Export the booth mix</translation>
    </message>
    <message>
        <source>MP3 (*.mp3)</source>
        <translation>MP3 (*.mp3)</translation>
    </message>
    <message>
        <source>Saved %1</source>
        <translation>Saved %1</translation>
    </message>
    <message>
        <source>Export</source>
        <translation>Export</translation>
    </message>
</context>
<context>
    <name>WaveformView</name>
    <message>
        <source>Reading the waveform: %1 %</source>
        <translation>Reading the waveform: %1 %</translation>
    </message>
</context>
</TS>
