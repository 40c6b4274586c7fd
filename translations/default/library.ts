<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name>Mater</name>
    <message>
        <source>Clear</source>
        <translation>Clear</translation>
    </message>
    <message>
        <source>Clear downloaded stuff</source>
        <translation>Clear downloaded stuff</translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>Remove</translation>
    </message>
    <message>
        <source>Delete material and related files</source>
        <translation>Delete material and related files</translation>
    </message>
    <message>
        <source>Rename</source>
        <translation>Rename</translation>
    </message>
    <message>
        <source>Rename the Catagory</source>
        <translation>Rename the Catagory</translation>
    </message>
    <message>
        <source>Input</source>
        <translation>Input</translation>
    </message>
    <message>
        <source>Input the new name of this material/catagory.</source>
        <translation>Input the new name of this material/catagory.</translation>
    </message>
    <message>
        <source>_TEXT_STUDY_</source>
        <translation>Study</translation>
    </message>
    <message>
        <source>_TEXT_REVIEW_</source>
        <translation>Review</translation>
    </message>
    <message>
        <source>_TEXT_DOWNLOAD_</source>
        <translation>Download</translation>
    </message>
    <message>
        <source>_TEXT_DOWNLOADING_</source>
        <translation>Downloading…</translation>
    </message>
    <message>
        <source>_TEXT_LOADING_</source>
        <translation>Loading…</translation>
    </message>
    <message>
        <source>_TEXT_RELOAD_</source>
        <translation>Reload</translation>
    </message>
    <message>
        <source>_TEXT_ERRLOAD_</source>
        <translation>Could not load — click to retry</translation>
    </message>
    <message>
        <source>_TEXT_IMPORT_</source>
        <translation>Import…</translation>
    </message>
    <message>
        <source>_TEXT_IMPORTED_</source>
        <translation>Imported</translation>
    </message>
    <message>
        <source>_TEXT_DOWNFAILED_</source>
        <translation>Failed, retry</translation>
    </message>
    <message>
        <source>%1%</source>
        <translation>%1%</translation>
    </message>
    <message>
        <source>Library</source>
        <translation>Library</translation>
    </message>
    <message>
        <source>The list %1 could not be saved: %2</source>
        <translation>The list %1 could not be saved: %2</translation>
    </message>
    <message>
        <source>Remove “%1” from the list?</source>
        <translation>Remove “%1” from the list?</translation>
    </message>
    <message>
        <source>Delete “%1”? These files will be deleted:
%2
Your recordings of it are kept.</source>
        <translation>Delete “%1”? These files will be deleted:
%2
Your recordings of it are kept.</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>Keep</source>
        <translation>Keep</translation>
    </message>
    <message>
        <source>%1 belongs to the material “%2” and is kept.</source>
        <translation>%1 belongs to the material “%2” and is kept.</translation>
    </message>
    <message>
        <source>练习材料</source>
        <translation>Library</translation>
    </message>
    <message>
        <source>Vornask精选</source>
        <translation>Selections</translation>
    </message>
    <message>
        <source>Vornask在线</source>
        <translation>Online</translation>
    </message>
    <message>
        <source>已下载</source>
        <translation>Downloaded</translation>
    </message>
    <message>
        <source>用户导入</source>
        <translation>My imports</translation>
    </message>
    <message>
        <source>提示</source>
        <translation>Note</translation>
    </message>
    <message>
        <source>该材料音频文件已经被损坏请重新下载！</source>
        <translation>The audio file of this material is damaged: please download it again.</translation>
    </message>
</context>
<context>
    <name>DownloadManager</name>
    <message>
        <source>Only http and https addresses are downloaded, not %1</source>
        <translation>Only http and https addresses are downloaded, not %1</translation>
    </message>
    <message>
        <source>Could not open %1 for writing: %2</source>
        <translation>Could not open %1 for writing: %2</translation>
    </message>
    <message>
        <source>Could not write %1: %2</source>
        <translation>Could not write %1: %2</translation>
    </message>
</context>
<context>
    <name>Importer</name>
    <message>
        <source>The material was not imported.
%1</source>
        <translation>The material was not imported.
%1</translation>
    </message>
    <message>
        <source>Cannot read %1: %2</source>
        <translation>Cannot read %1: %2</translation>
    </message>
    <message>
        <source>Cannot write %1: %2</source>
        <translation>Cannot write %1: %2</translation>
    </message>
    <message>
        <source>Cannot copy %1 to %2: %3</source>
        <translation>Cannot copy %1 to %2: %3</translation>
    </message>
    <message>
        <source>%1 holds only %2 bytes; an audio file needs at least %3 bytes to be studied.</source>
        <translation>%1 holds only %2 bytes; an audio file needs at least %3 bytes to be studied.</translation>
    </message>
    <message>
        <source>导入</source>
        <translation>Import</translation>
    </message>
    <message>
        <source>名称：</source>
        <translation>Name:</translation>
    </message>
    <message>
        <source>音频：</source>
        <translation>Audio:</translation>
    </message>
    <message>
        <source>原文：</source>
        <translation>Transcript:</translation>
    </message>
    <message>
        <source>译文：</source>
        <translation>Translation:</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;body&gt;&lt;p&gt;一份完整的口译训练材料由三部分组成：音频、原文和译文。请为音频选择一个 MP3 文件，为原文和译文各选择一个 TXT（记事本）文件，再为材料命名，右下方的“导入”按钮即可使用。&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;body&gt;&lt;p&gt;A complete interpreting material has three parts: the audio, its transcript and its translation. Choose an MP3 file for the audio and a plain text (TXT) file each for the transcript and the translation, give the material a name, and the “Import” button at the bottom right can be used.&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>浏览</source>
        <translation>Browse</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>定位音频文件</source>
        <translation>Find the audio file</translation>
    </message>
    <message>
        <source>定位原文文件</source>
        <translation>Find the transcript file</translation>
    </message>
    <message>
        <source>定位译文文件</source>
        <translation>Find the translation file</translation>
    </message>
    <message>
        <source>Choose the MP3 file of the recording</source>
        <translation>Choose the MP3 file of the recording</translation>
    </message>
    <message>
        <source>Choose the text file of the transcript</source>
        <translation>Choose the text file of the transcript</translation>
    </message>
    <message>
        <source>Choose the text file of the translation</source>
        <translation>Choose the text file of the translation</translation>
    </message>
    <message>
        <source>Copy the three files into the workspace and list the material</source>
        <translation>Copy the three files into the workspace and list the material</translation>
    </message>
    <message>
        <source>Close without importing</source>
        <translation>Close without importing</translation>
    </message>
    <message>
        <source>MP3 files (*.mp3)</source>
        <translation>MP3 files (*.mp3)</translation>
    </message>
    <message>
        <source>Text files (*.txt)</source>
        <translation>Text files (*.txt)</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>Parse error at line %1, column %2:
%3</source>
        <translation>Parse error at line %1, column %2:
%3</translation>
    </message>
    <message>
        <source>The file is not a vornask file.</source>
        <translation>The file is not a vornask file.</translation>
    </message>
    <message>
        <source>The file is not a vornask trains file.</source>
        <translation>The file is not a vornask trains file.</translation>
    </message>
    <message>
        <source>Train</source>
        <translation>Train</translation>
    </message>
    <message>
        <source>Unknown title</source>
        <translation>Unknown title</translation>
    </message>
    <message>
        <source>vornask trains</source>
        <translation>vornask trains</translation>
    </message>
    <message>
        <source>The list is nested more than %1 levels deep.</source>
        <translation>The list is nested more than %1 levels deep.</translation>
    </message>
</context>
</TS>
