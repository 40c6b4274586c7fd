<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name>LanguageMenu</name>
    <message>
        <source>Language</source>
        <translation>Language</translation>
    </message>
    <message>
        <source>The system's language</source>
        <translation>The system's language</translation>
    </message>
    <message>
        <source>ZORVA shows the language you chose from its next start on.</source>
        <translation>ZORVA shows the language you chose from its next start on.</translation>
    </message>
</context>
<context>
    <name>Keymap</name>
    <message>
        <source>Player</source>
        <translation>Player</translation>
    </message>
    <message>
        <source>Loop marks</source>
        <translation>Loop marks</translation>
    </message>
    <message>
        <source>Training</source>
        <translation>Training</translation>
    </message>
    <message>
        <source>Your recording</source>
        <translation>Your recording</translation>
    </message>
    <message>
        <source>Texts and windows</source>
        <translation>Texts and windows</translation>
    </message>
    <message>
        <source>Program</source>
        <translation>Program</translation>
    </message>
    <message>
        <source>More</source>
        <translation>More</translation>
    </message>
    <message>
        <source>Play or pause the material</source>
        <translation>Play or pause the material</translation>
    </message>
    <message>
        <source>Stop the material</source>
        <translation>Stop the material</translation>
    </message>
    <message>
        <source>Back 30 seconds</source>
        <translation>Back 30 seconds</translation>
    </message>
    <message>
        <source>Forward 30 seconds</source>
        <translation>Forward 30 seconds</translation>
    </message>
    <message>
        <source>Set mark-in here</source>
        <translation>Set mark-in here</translation>
    </message>
    <message>
        <source>Set mark-out here</source>
        <translation>Set mark-out here</translation>
    </message>
    <message>
        <source>Mark-in 0.1 s earlier</source>
        <translation>Mark-in 0.1 s earlier</translation>
    </message>
    <message>
        <source>Mark-in 0.1 s later</source>
        <translation>Mark-in 0.1 s later</translation>
    </message>
    <message>
        <source>Mark-out 0.1 s earlier</source>
        <translation>Mark-out 0.1 s earlier</translation>
    </message>
    <message>
        <source>Mark-out 0.1 s later</source>
        <translation>Mark-out 0.1 s later</translation>
    </message>
    <message>
        <source>Mark-in to the start</source>
        <translation>Mark-in to the start</translation>
    </message>
    <message>
        <source>Mark-out to the end</source>
        <translation>Mark-out to the end</translation>
    </message>
    <message>
        <source>Clear both marks (no loop)</source>
        <translation>Clear both marks (no loop)</translation>
    </message>
    <message>
        <source>Start, or the next step</source>
        <translation>Start, or the next step</translation>
    </message>
    <message>
        <source>The previous step</source>
        <translation>The previous step</translation>
    </message>
    <message>
        <source>Record, or stop recording</source>
        <translation>Record, or stop recording</translation>
    </message>
    <message>
        <source>Play or pause your recording of the step</source>
        <translation>Play or pause your recording of the step</translation>
    </message>
    <message>
        <source>Play recording 1: retelling</source>
        <translation>Play recording 1: retelling</translation>
    </message>
    <message>
        <source>Play recording 2: consecutive</source>
        <translation>Play recording 2: consecutive</translation>
    </message>
    <message>
        <source>Play recording 3: sight translation</source>
        <translation>Play recording 3: sight translation</translation>
    </message>
    <message>
        <source>Play recording 4: second retelling</source>
        <translation>Play recording 4: second retelling</translation>
    </message>
    <message>
        <source>Play recording 5: simultaneous</source>
        <translation>Play recording 5: simultaneous</translation>
    </message>
    <message>
        <source>Review pass 1</source>
        <translation>Review pass 1</translation>
    </message>
    <message>
        <source>Review pass 2</source>
        <translation>Review pass 2</translation>
    </message>
    <message>
        <source>Review pass 3</source>
        <translation>Review pass 3</translation>
    </message>
    <message>
        <source>Review pass 4</source>
        <translation>Review pass 4</translation>
    </message>
    <message>
        <source>Review pass 5</source>
        <translation>Review pass 5</translation>
    </message>
    <message>
        <source>Learn again (the next pass)</source>
        <translation>Learn again (the next pass)</translation>
    </message>
    <message>
        <source>The demonstration recordings</source>
        <translation>The demonstration recordings</translation>
    </message>
    <message>
        <source>Back to the passes</source>
        <translation>Back to the passes</translation>
    </message>
    <message>
        <source>Play your recording</source>
        <translation>Play your recording</translation>
    </message>
    <message>
        <source>Pause your recording</source>
        <translation>Pause your recording</translation>
    </message>
    <message>
        <source>Stop your recording</source>
        <translation>Stop your recording</translation>
    </message>
    <message>
        <source>Show the transcript, or hide the texts</source>
        <translation>Show the transcript, or hide the texts</translation>
    </message>
    <message>
        <source>Show the translation, or hide the texts</source>
        <translation>Show the translation, or hide the texts</translation>
    </message>
    <message>
        <source>Go to the library, or hide it</source>
        <translation>Go to the library, or hide it</translation>
    </message>
    <message>
        <source>Video: the method</source>
        <translation>Video: the method</translation>
    </message>
    <message>
        <source>Video: the program</source>
        <translation>Video: the program</translation>
    </message>
    <message>
        <source>Keys (this list)</source>
        <translation>Keys (this list)</translation>
    </message>
    <message>
        <source>Open an audio file</source>
        <translation>Open an audio file</translation>
    </message>
    <message>
        <source>About</source>
        <translation>About</translation>
    </message>
    <message>
        <source>About Qt</source>
        <translation>About Qt</translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>Quit</translation>
    </message>
    <message>
        <source>Keys</source>
        <translation>Keys</translation>
    </message>
    <message>
        <source>Action</source>
        <translation>Action</translation>
    </message>
    <message>
        <source>Key</source>
        <translation>Key</translation>
    </message>
    <message>
        <source>Other keys can be given in %1, group [keys], one line per action, for instance recordAction=F13 for a foot pedal.</source>
        <translation>Other keys can be given in %1, group [keys], one line per action, for instance recordAction=F13 for a foot pedal.</translation>
    </message>
    <message>
        <source>%1 (%2)</source>
        <translation>%1 (%2)</translation>
    </message>
    <message>
        <source>%1. Key: %2</source>
        <translation>%1. Key: %2</translation>
    </message>
</context>
</TS>
