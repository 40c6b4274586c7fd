<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>Mater</name>
    <message>
        <source>Clear</source>
        <translation>清除</translation>
    </message>
    <message>
        <source>Clear downloaded stuff</source>
        <translation>清除下载的材料</translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>移除</translation>
    </message>
    <message>
        <source>Delete material and related files</source>
        <translation>删除材料及其文件</translation>
    </message>
    <message>
        <source>Rename</source>
        <translation>重命名</translation>
    </message>
    <message>
        <source>Rename the Catagory</source>
        <translation>重命名</translation>
    </message>
    <message>
        <source>Input</source>
        <translation>输入</translation>
    </message>
    <message>
        <source>Input the new name of this material/catagory.</source>
        <translation>请输入该材料或分类的新名称。</translation>
    </message>
    <message>
        <source>_TEXT_STUDY_</source>
        <translation>学习</translation>
    </message>
    <message>
        <source>_TEXT_REVIEW_</source>
        <translation>复习</translation>
    </message>
    <message>
        <source>_TEXT_DOWNLOAD_</source>
        <translation>下载</translation>
    </message>
    <message>
        <source>_TEXT_DOWNLOADING_</source>
        <translation>下载中…</translation>
    </message>
    <message>
        <source>_TEXT_LOADING_</source>
        <translation>加载中…</translation>
    </message>
    <message>
        <source>_TEXT_RELOAD_</source>
        <translation>重新加载</translation>
    </message>
    <message>
        <source>_TEXT_ERRLOAD_</source>
        <translation>加载失败，点击重试</translation>
    </message>
    <message>
        <source>_TEXT_IMPORT_</source>
        <translation>导入…</translation>
    </message>
    <message>
        <source>_TEXT_IMPORTED_</source>
        <translation>已导入</translation>
    </message>
    <message>
        <source>_TEXT_DOWNFAILED_</source>
        <translation>失败，重试</translation>
    </message>
    <message>
        <source>%1%</source>
        <translation>%1%</translation>
    </message>
    <message>
        <source>Library</source>
        <translation>练习材料</translation>
    </message>
    <message>
        <source>The list %1 could not be saved: %2</source>
        <translation>无法保存列表 %1：%2</translation>
    </message>
    <message>
        <source>Remove “%1” from the list?</source>
        <translation>从列表中移除“%1”？</translation>
    </message>
    <message>
        <source>Delete “%1”? These files will be deleted:
%2
Your recordings of it are kept.</source>
        <translation>删除“%1”？以下文件将被删除：
%2
你的录音会保留。</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>删除</translation>
    </message>
    <message>
        <source>Keep</source>
        <translation>保留</translation>
    </message>
    <message>
        <source>%1 belongs to the material “%2” and is kept.</source>
        <translation>%1 属于材料“%2”，不会被覆盖。</translation>
    </message>
</context>
<context>
    <name>DownloadManager</name>
    <message>
        <source>Only http and https addresses are downloaded, not %1</source>
        <translation>只下载 http 和 https 地址，不下载 %1</translation>
    </message>
    <message>
        <source>Could not open %1 for writing: %2</source>
        <translation>无法打开 %1 写入：%2</translation>
    </message>
    <message>
        <source>Could not write %1: %2</source>
        <translation>无法写入 %1：%2</translation>
    </message>
</context>
<context>
    <name>Importer</name>
    <message>
        <source>The material was not imported.
%1</source>
        <translation>材料没有导入。
%1</translation>
    </message>
    <message>
        <source>Cannot read %1: %2</source>
        <translation>无法读取 %1：%2</translation>
    </message>
    <message>
        <source>Cannot write %1: %2</source>
        <translation>无法写入 %1：%2</translation>
    </message>
    <message>
        <source>Cannot copy %1 to %2: %3</source>
        <translation>无法将 %1 复制到 %2：%3</translation>
    </message>
    <message>
        <source>%1 holds only %2 bytes; an audio file needs at least %3 bytes to be studied.</source>
        <translation>%1 只有 %2 字节；音频文件至少要有 %3 字节才能学习。</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>Parse error at line %1, column %2:
%3</source>
        <translation>第 %1 行第 %2 列解析出错：
%3</translation>
    </message>
    <message>
        <source>The file is not a vornask file.</source>
        <translation>该文件不是 vornask 文件。</translation>
    </message>
    <message>
        <source>The file is not a vornask trains file.</source>
        <translation>该文件不是 vornask 训练列表。</translation>
    </message>
    <message>
        <source>Train</source>
        <translation>分类</translation>
    </message>
    <message>
        <source>Unknown title</source>
        <translation>无标题</translation>
    </message>
    <message>
        <source>vornask trains</source>
        <translation>vornask 训练列表</translation>
    </message>
    <message>
        <source>The list is nested more than %1 levels deep.</source>
        <translation>列表嵌套超过 %1 层。</translation>
    </message>
</context>
</TS>
