<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<!-- A stand-in translation for the tests: one text, marked so that a test sees it was used. -->
<TS version="2.1" language="eo" sourcelanguage="en">
<context>
    <name>QObject</name>
    <message>
        <source>Open</source>
        <translation>[eo] Open</translation>
    </message>
</context>
</TS>
