<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>Updater</name>
    <message>
        <source>%1.%2 build %3</source>
        <translation>%1.%2 Build %3</translation>
    </message>
    <message>
        <source>New update available!! </source>
        <translation>Neues Update verfügbar!! </translation>
    </message>
    <message>
        <source>This version: %1</source>
        <translation>Diese Version: %1</translation>
    </message>
    <message>
        <source>New version: %1</source>
        <translation>Neue Version: %1</translation>
    </message>
    <message>
        <source>You have the latest version! (v%1)</source>
        <translation>Sie haben die neueste Version! (v%1)</translation>
    </message>
    <message>
        <source>Updater</source>
        <translation>Updater</translation>
    </message>
    <message>
        <source>Checking for update...</source>
        <translation>Suche nach Updates...</translation>
    </message>
    <message>
        <source>Checking for update... [done]</source>
        <translation>Suche nach Updates... [fertig]</translation>
    </message>
    <message>
        <source>Connecting Update Site</source>
        <translation>Verbinde mit der Update-Seite</translation>
    </message>
    <message>
        <source>Downloading update information</source>
        <translation>Lade die Update-Informationen herunter</translation>
    </message>
    <message>
        <source>Reading update information</source>
        <translation>Lese die Update-Informationen</translation>
    </message>
    <message>
        <source>Check for update aborted... please wait</source>
        <translation>Update-Suche abgebrochen... bitte warten</translation>
    </message>
    <message>
        <source>Update Error</source>
        <translation>Update-Fehler</translation>
    </message>
    <message>
        <source>Update information file contains wrong data. Update cannot continue, please visit %1 for more information!</source>
        <translation>Die Update-Informationsdatei enthält falsche Daten. Das Update kann nicht fortgesetzt werden, weitere Informationen finden Sie unter %1!</translation>
    </message>
    <message>
        <source>Check for Update - error</source>
        <translation>Nach Updates suchen - Fehler</translation>
    </message>
    <message>
        <source>To check for updates, click on the &apos;Check for Updates&apos; button in the About screen of Quarvel Logfile Analyzer</source>
        <translation>Um nach Updates zu suchen, klicken Sie auf der Seite &apos;Über&apos; von Quarvel Logfile Analyzer auf die Schaltfläche &apos;Nach Updates suchen&apos;</translation>
    </message>
    <message>
        <source>Download</source>
        <translation>Herunterladen</translation>
    </message>
    <message>
        <source>Save the file to the directory where you installed Quarvel Logfile Analyzer, and overwrite the existing &apos;Quarvel_Logfile_Analyzer.exe&apos; file</source>
        <translation>Speichern Sie die Datei in dem Ordner, in dem Sie Quarvel Logfile Analyzer installiert haben, und überschreiben Sie die vorhandene Datei &apos;Quarvel_Logfile_Analyzer.exe&apos;</translation>
    </message>
    <message>
        <source>About Updater</source>
        <translation>Über den Updater</translation>
    </message>
    <message>
        <source>About Quarvel Logfile Analyzer Updater<byte value="xd"/>
<byte value="xd"/>
Made by:<byte value="xd"/>
%1<byte value="xd"/>
%2<byte value="xd"/>
%3</source>
        <translation>Über den Updater von Quarvel Logfile Analyzer<byte value="xd"/>
<byte value="xd"/>
Erstellt von:<byte value="xd"/>
%1<byte value="xd"/>
%2<byte value="xd"/>
%3</translation>
    </message>
    <message>
        <source>Cannot reach the update server: %1</source>
        <translation>Der Update-Server ist nicht erreichbar: %1</translation>
    </message>
    <message>
        <source>Quarvel Logfile Analyzer could not be started from:<byte value="xd"/>
%1</source>
        <translation>Quarvel Logfile Analyzer konnte nicht gestartet werden:<byte value="xd"/>
%1</translation>
    </message>
</context>
<context>
    <name>qla::updater::frmUpdate</name>
    <message>
        <source>Status:</source>
        <translation>Status:</translation>
    </message>
    <message>
        <source>View changes</source>
        <translation>Änderungen ansehen</translation>
    </message>
    <message>
        <source>Download</source>
        <translation>Herunterladen</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>About</source>
        <translation>Über</translation>
    </message>
</context>
</TS>
