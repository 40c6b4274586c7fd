<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>AppUpdate</name>
    <message>
        <source>ZORVA update</source>
        <translation>ZORVA 升级</translation>
    </message>
    <message>
        <source>The updater %1 could not be started, so ZORVA has not been updated.</source>
        <translation>无法启动更新程序 %1，ZORVA 未能更新。</translation>
    </message>
</context>
</TS>
