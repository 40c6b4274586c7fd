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
</context>
</TS>
