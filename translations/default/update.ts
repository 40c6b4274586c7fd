<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name>AppUpdate</name>
    <message>
        <source>ZORVA update</source>
        <translation>ZORVA update</translation>
    </message>
    <message>
        <source>The updater %1 could not be started, so ZORVA has not been updated.</source>
        <translation>The updater %1 could not be started, so ZORVA has not been updated.</translation>
    </message>
</context>
</TS>
