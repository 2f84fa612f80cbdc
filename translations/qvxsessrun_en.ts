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
<context>
    <name>CheckText</name>
    <message numerus="yes">
        <source>This line could not be checked: the shell took longer than %n second(s) over the script from here and was stopped.</source>
        <translation>
            <numerusform>This line could not be checked: the shell took longer than %n second over the script from here and was stopped.</numerusform>
            <numerusform>This line could not be checked: the shell took longer than %n seconds over the script from here and was stopped.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1 could not be checked: the shell took longer than %n second(s) to look it up and was stopped.</source>
        <translation>
            <numerusform>%1 could not be checked: the shell took longer than %n second to look it up and was stopped.</numerusform>
            <numerusform>%1 could not be checked: the shell took longer than %n seconds to look it up and was stopped.</numerusform>
        </translation>
    </message>
</context>
</TS>
