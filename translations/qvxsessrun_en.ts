<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="en_US">
<!-- Only the texts with a number: their English plural forms. -->
<context>
    <name>Mainwin</name>
    <message numerus="yes">
        <source>Saved. %n command(s) would not run as written: F8 goes to them.</source>
        <translation>
            <numerusform>Saved. %n command would not run as written: F8 goes to it.</numerusform>
            <numerusform>Saved. %n commands would not run as written: F8 goes to them.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n dropped file(s) could not be added: %1</source>
        <translation>
            <numerusform>%n dropped file could not be added: %1</numerusform>
            <numerusform>%n dropped files could not be added: %1</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>RowDelegate</name>
    <message numerus="yes">
        <source>(%n lines)</source>
        <translation>
            <numerusform>(%n line)</numerusform>
            <numerusform>(%n lines)</numerusform>
        </translation>
    </message>
</context>
</TS>
