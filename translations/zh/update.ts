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
    <message>
        <source>升级提醒</source>
        <translation>升级提醒</translation>
    </message>
    <message>
        <source>发现新的软件版本，是否立即更新？</source>
        <translation>发现新的软件版本，是否立即更新？</translation>
    </message>
    <message>
        <source>Update now</source>
        <translation>立即更新</translation>
    </message>
    <message>
        <source>Later</source>
        <translation>以后再说</translation>
    </message>
</context>
<context>
    <name>update</name>
    <message>
        <source>没有版本需要更新！</source>
        <translation>没有版本需要更新！</translation>
    </message>
    <message>
        <source>更新完成是否重启ZORVA？</source>
        <translation>更新完成是否重启ZORVA？</translation>
    </message>
    <message>
        <source>版本更新失败！</source>
        <translation>版本更新失败！</translation>
    </message>
    <message>
        <source>提示</source>
        <translation>提示</translation>
    </message>
    <message>
        <source>无法启动ZORVA（%1），请手动启动。</source>
        <translation>无法启动ZORVA（%1），请手动启动。</translation>
    </message>
</context>
<context>
    <name>updateClass</name>
    <message>
        <source>ZORVA 更新程序</source>
        <translation>ZORVA 更新程序</translation>
    </message>
    <message>
        <source>更新进度</source>
        <translation>更新进度</translation>
    </message>
    <message>
        <source>退出</source>
        <translation>退出</translation>
    </message>
</context>
<context>
    <name>Download</name>
    <message>
        <source>cannot write %1: %2</source>
        <translation>无法写入 %1：%2</translation>
    </message>
    <message>
        <source>the server answered status %1, range &quot;%2&quot; to a request for bytes %3-%4</source>
        <translation>服务器对第 %3-%4 字节的请求回答了状态 %1，范围“%2”</translation>
    </message>
    <message>
        <source>the server sent more than the bytes %1-%2</source>
        <translation>服务器发送的数据超出了第 %1-%2 字节</translation>
    </message>
    <message>
        <source>the transfer ended at byte %1 of %2</source>
        <translation>传输在第 %1 字节（共 %2 字节）处中断</translation>
    </message>
</context>
<context>
    <name>DownloadControl</name>
    <message>
        <source>%1 arrived with %2 of %3 bytes</source>
        <translation>%1 只收到 %2 字节（应为 %3 字节）</translation>
    </message>
    <message>
        <source>%1 is larger than 2 GiB (%2 bytes)</source>
        <translation>%1 大于 2 GiB（%2 字节）</translation>
    </message>
    <message>
        <source>%1 was not complete after %2 s</source>
        <translation>%1 在 %2 秒后仍未下载完</translation>
    </message>
    <message>
        <source>cannot read back %1</source>
        <translation>无法读回 %1</translation>
    </message>
    <message>
        <source>cannot write %1: %2</source>
        <translation>无法写入 %1：%2</translation>
    </message>
    <message>
        <source>the server gave no size for %1</source>
        <translation>服务器没有给出 %1 的大小</translation>
    </message>
</context>
</TS>
