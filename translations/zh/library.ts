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
    <message>
        <source>练习材料</source>
        <translation>练习材料</translation>
    </message>
    <message>
        <source>Vornask精选</source>
        <translation>Vornask精选</translation>
    </message>
    <message>
        <source>Vornask在线</source>
        <translation>Vornask在线</translation>
    </message>
    <message>
        <source>已下载</source>
        <translation>已下载</translation>
    </message>
    <message>
        <source>用户导入</source>
        <translation>用户导入</translation>
    </message>
    <message>
        <source>提示</source>
        <translation>提示</translation>
    </message>
    <message>
        <source>该材料音频文件已经被损坏请重新下载！</source>
        <translation>该材料音频文件已经被损坏请重新下载！</translation>
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
    <message>
        <source>导入</source>
        <translation>导入</translation>
    </message>
    <message>
        <source>名称：</source>
        <translation>名称：</translation>
    </message>
    <message>
        <source>音频：</source>
        <translation>音频：</translation>
    </message>
    <message>
        <source>原文：</source>
        <translation>原文：</translation>
    </message>
    <message>
        <source>译文：</source>
        <translation>译文：</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;body&gt;&lt;p&gt;一份完整的口译训练材料由三部分组成：音频、原文和译文。请为音频选择一个 MP3 文件，为原文和译文各选择一个 TXT（记事本）文件，再为材料命名，右下方的“导入”按钮即可使用。&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;body&gt;&lt;p&gt;一份完整的口译训练材料由三部分组成：音频、原文和译文。请为音频选择一个 MP3 文件，为原文和译文各选择一个 TXT（记事本）文件，再为材料命名，右下方的“导入”按钮即可使用。&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>浏览</source>
        <translation>浏览</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>定位音频文件</source>
        <translation>定位音频文件</translation>
    </message>
    <message>
        <source>定位原文文件</source>
        <translation>定位原文文件</translation>
    </message>
    <message>
        <source>定位译文文件</source>
        <translation>定位译文文件</translation>
    </message>
    <message>
        <source>Choose the MP3 file of the recording</source>
        <translation>选择录音的 MP3 文件</translation>
    </message>
    <message>
        <source>Choose the text file of the transcript</source>
        <translation>选择原文的文本文件</translation>
    </message>
    <message>
        <source>Choose the text file of the translation</source>
        <translation>选择译文的文本文件</translation>
    </message>
    <message>
        <source>Copy the three files into the workspace and list the material</source>
        <translation>把三个文件复制到工作区并列出该材料</translation>
    </message>
    <message>
        <source>Close without importing</source>
        <translation>关闭，不导入</translation>
    </message>
    <message>
        <source>MP3 files (*.mp3)</source>
        <translation>MP3 文件 (*.mp3)</translation>
    </message>
    <message>
        <source>Text files (*.txt)</source>
        <translation>文本文件 (*.txt)</translation>
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
