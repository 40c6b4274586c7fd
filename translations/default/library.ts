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
