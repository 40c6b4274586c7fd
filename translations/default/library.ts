<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name>Mater</name>
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
</context>
</TS>
