<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name>LevelMeter</name>
    <message>
        <source>Input level</source>
        <translation>Input level</translation>
    </message>
    <message>
        <source>Input level of the microphone</source>
        <translation>Input level of the microphone</translation>
    </message>
</context>
<context>
    <name>SegmentedPass</name>
    <message>
        <source>None of the segments could be read back.</source>
        <translation>None of the segments could be read back.</translation>
    </message>
    <message>
        <source>A newer recording of the sentence was kept instead.</source>
        <translation>A newer recording of the sentence was kept instead.</translation>
    </message>
    <message>
        <source>The joined segments could not replace %1.</source>
        <translation>The joined segments could not replace %1.</translation>
    </message>
</context>
<context>
    <name>TakeControls</name>
    <message>
        <source>By segments</source>
        <translation>By segments</translation>
    </message>
    <message>
        <source>Consecutive by segments: the model stops at the end of each segment and your take starts at once; Continue plays the next one.</source>
        <translation>Consecutive by segments: the model stops at the end of each segment and your take starts at once; Continue plays the next one.</translation>
    </message>
</context>
<context>
    <name>TakeFiguresPanel</name>
    <message>
        <source>%1 s</source>
        <translation>%1 s</translation>
    </message>
    <message>
        <source>Retelling</source>
        <translation>Retelling</translation>
    </message>
    <message>
        <source>Consecutive</source>
        <translation>Consecutive</translation>
    </message>
    <message>
        <source>Sight</source>
        <translation>Sight</translation>
    </message>
    <message>
        <source>Retelling 2</source>
        <translation>Retelling 2</translation>
    </message>
    <message>
        <source>Simultaneous</source>
        <translation>Simultaneous</translation>
    </message>
    <message>
        <source>Length</source>
        <translation>Length</translation>
    </message>
    <message>
        <source>How long the take is.</source>
        <translation>How long the take is.</translation>
    </message>
    <message>
        <source>First word</source>
        <translation>First word</translation>
    </message>
    <message>
        <source>Time from &quot;start&quot; to your first word.</source>
        <translation>Time from &quot;start&quot; to your first word.</translation>
    </message>
    <message>
        <source>Speaking</source>
        <translation>Speaking</translation>
    </message>
    <message>
        <source>Share of the take in which you speak.</source>
        <translation>Share of the take in which you speak.</translation>
    </message>
    <message>
        <source>%1 %</source>
        <translation>%1 %</translation>
    </message>
    <message>
        <source>Pauses</source>
        <translation>Pauses</translation>
    </message>
    <message>
        <source>Pauses of half a second or more.</source>
        <translation>Pauses of half a second or more.</translation>
    </message>
    <message>
        <source>Longest</source>
        <translation>Longest</translation>
    </message>
    <message>
        <source>The longest of those pauses.</source>
        <translation>The longest of those pauses.</translation>
    </message>
    <message>
        <source>Ear-voice</source>
        <translation>Ear-voice</translation>
    </message>
    <message>
        <source>Ear-voice span in simultaneous interpreting: how far behind the model you speak, median / 90th percentile.</source>
        <translation>Ear-voice span in simultaneous interpreting: how far behind the model you speak, median / 90th percentile.</translation>
    </message>
    <message>
        <source>%1 / %2 s</source>
        <translation>%1 / %2 s</translation>
    </message>
    <message>
        <source>Figures of your takes</source>
        <translation>Figures of your takes</translation>
    </message>
    <message>
        <source>Pass %1</source>
        <translation>Pass %1</translation>
    </message>
    <message>
        <source>Pass %1: %2</source>
        <translation>Pass %1: %2</translation>
    </message>
</context>
<context>
    <name>Zorva</name>
    <message>
        <source>Continue</source>
        <translation>Continue</translation>
    </message>
    <message>
        <source>Play the next segment (%1)</source>
        <translation>Play the next segment (%1)</translation>
    </message>
    <message>
        <source>nothing was heard: check the microphone</source>
        <translation>nothing was heard: check the microphone</translation>
    </message>
    <message>
        <source>The recording is distorted: %1 % of it is at full scale.
Lower the input level of the microphone (&quot;%2&quot;) in the system&apos;s sound settings; the trainer&apos;s own recording gain stays as it is. The take is kept.</source>
        <translation>The recording is distorted: %1 % of it is at full scale.
Lower the input level of the microphone (&quot;%2&quot;) in the system&apos;s sound settings; the trainer&apos;s own recording gain stays as it is. The take is kept.</translation>
    </message>
    <message>
        <source>Consecutive by segments</source>
        <translation>Consecutive by segments</translation>
    </message>
    <message>
        <source>The model&apos;s segments cannot be found.
%1</source>
        <translation>The model&apos;s segments cannot be found.
%1</translation>
    </message>
    <message>
        <source>The segments could not be joined into %1; they are kept beside it.
%2</source>
        <translation>The segments could not be joined into %1; they are kept beside it.
%2</translation>
    </message>
    <message>
        <source>Finding the segments…</source>
        <translation>Finding the segments…</translation>
    </message>
    <message>
        <source>Segment %1 of %2</source>
        <translation>Segment %1 of %2</translation>
    </message>
    <message>
        <source>Joining the segments…</source>
        <translation>Joining the segments…</translation>
    </message>
</context>
</TS>
