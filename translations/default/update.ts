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
    <message>
        <source>升级提醒</source>
        <translation>Update</translation>
    </message>
    <message>
        <source>发现新的软件版本，是否立即更新？</source>
        <translation>A new version of ZORVA is available. Update now?</translation>
    </message>
    <message>
        <source>Update now</source>
        <translation>Update now</translation>
    </message>
    <message>
        <source>Later</source>
        <translation>Later</translation>
    </message>
</context>
<context>
    <name>update</name>
    <message>
        <source>没有版本需要更新！</source>
        <translation>There is no newer version to install.</translation>
    </message>
    <message>
        <source>更新完成是否重启ZORVA？</source>
        <translation>The update is installed. Restart ZORVA now?</translation>
    </message>
    <message>
        <source>版本更新失败！</source>
        <translation>could not be installed.</translation>
    </message>
    <message>
        <source>提示</source>
        <translation>Note</translation>
    </message>
    <message>
        <source>无法启动ZORVA（%1），请手动启动。</source>
        <translation>ZORVA (%1) could not be started; please start it yourself.</translation>
    </message>
</context>
<context>
    <name>updateClass</name>
    <message>
        <source>ZORVA 更新程序</source>
        <translation>ZORVA updater</translation>
    </message>
    <message>
        <source>更新进度</source>
        <translation>Progress</translation>
    </message>
    <message>
        <source>退出</source>
        <translation>Quit</translation>
    </message>
</context>
<context>
    <name>Download</name>
    <message>
        <source>cannot write %1: %2</source>
        <translation>cannot write %1: %2</translation>
    </message>
    <message>
        <source>the server answered status %1, range &quot;%2&quot; to a request for bytes %3-%4</source>
        <translation>the server answered status %1, range &quot;%2&quot; to a request for bytes %3-%4</translation>
    </message>
    <message>
        <source>the server sent more than the bytes %1-%2</source>
        <translation>the server sent more than the bytes %1-%2</translation>
    </message>
    <message>
        <source>the transfer ended at byte %1 of %2</source>
        <translation>the transfer ended at byte %1 of %2</translation>
    </message>
</context>
<context>
    <name>DownloadControl</name>
    <message>
        <source>%1 arrived with %2 of %3 bytes</source>
        <translation>%1 arrived with %2 of %3 bytes</translation>
    </message>
    <message>
        <source>%1 is larger than 2 GiB (%2 bytes)</source>
        <translation>%1 is larger than 2 GiB (%2 bytes)</translation>
    </message>
    <message>
        <source>%1 was not complete after %2 s</source>
        <translation>%1 was not complete after %2 s</translation>
    </message>
    <message>
        <source>cannot read back %1</source>
        <translation>cannot read back %1</translation>
    </message>
    <message>
        <source>cannot write %1: %2</source>
        <translation>cannot write %1: %2</translation>
    </message>
    <message>
        <source>the server gave no size for %1</source>
        <translation>the server gave no size for %1</translation>
    </message>
</context>
</TS>
