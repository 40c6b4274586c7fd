<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>PlayCtrl</name>
    <message>
        <location filename="../../src/widgets/playctrl.ui"/>
        <source>Form</source>
        <translation>窗体</translation>
    </message>
    <message>
        <location filename="../../src/widgets/playctrl.ui"/>
        <source>00:00:00</source>
        <translation>00:00:00</translation>
    </message>
</context>
</TS>
