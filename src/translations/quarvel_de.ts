<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>ExportCaptions</name>
    <message>
        <source>HTML</source>
        <translation>HTML</translation>
    </message>
    <message>
        <source>Text dump</source>
        <translation>Textausgabe</translation>
    </message>
    <message>
        <source>JSON</source>
        <translation>JSON</translation>
    </message>
    <message>
        <source>CSV</source>
        <translation>CSV</translation>
    </message>
    <message>
        <source>Text</source>
        <translation>Text</translation>
    </message>
    <message>
        <source>XML</source>
        <translation>XML</translation>
    </message>
    <message>
        <source>HTML Files (*.html *.htm)</source>
        <translation>HTML-Dateien (*.html *.htm)</translation>
    </message>
    <message>
        <source>Text files (*.txt)</source>
        <translation>Textdateien (*.txt)</translation>
    </message>
    <message>
        <source>XML Files (*.xml)</source>
        <translation>XML-Dateien (*.xml)</translation>
    </message>
    <message>
        <source>JSON Files (*.json)</source>
        <translation>JSON-Dateien (*.json)</translation>
    </message>
    <message>
        <source>CSV Files (*.csv)</source>
        <translation>CSV-Dateien (*.csv)</translation>
    </message>
    <message>
        <source>Standard</source>
        <translation>Standard</translation>
    </message>
    <message>
        <source>Player Details</source>
        <translation>Spielerdetails</translation>
    </message>
    <message>
        <source>Weapon Details</source>
        <translation>Waffendetails</translation>
    </message>
    <message>
        <source>Voice Chat</source>
        <translation>Sprachchat</translation>
    </message>
    <message>
        <source>Text Chat</source>
        <translation>Textchat</translation>
    </message>
    <message>
        <source>Other</source>
        <translation>Sonstiges</translation>
    </message>
    <message>
        <source>Logfile Junk</source>
        <translation>Übrige Logzeilen</translation>
    </message>
    <message>
        <source>All data (standard + players + weapons)</source>
        <translation>Alle Daten (Standard + Spieler + Waffen)</translation>
    </message>
    <message>
        <source>Export statistics site</source>
        <translation>Statistikseite exportieren</translation>
    </message>
    <message>
        <source>Player name</source>
        <translation>Spielername</translation>
    </message>
    <message>
        <source>Number of kills</source>
        <translation>Anzahl der Abschüsse</translation>
    </message>
    <message>
        <source>Number of deaths</source>
        <translation>Anzahl der Tode</translation>
    </message>
    <message>
        <source>Kill / Death ratio</source>
        <translation>Verhältnis Abschüsse / Tode</translation>
    </message>
    <message>
        <source>Teamkills</source>
        <translation>Teamkills</translation>
    </message>
    <message>
        <source>Appearance in logfile</source>
        <translation>Auftreten in der Logdatei</translation>
    </message>
    <message>
        <source>Kills</source>
        <translation>Abschüsse</translation>
    </message>
    <message>
        <source>Deaths</source>
        <translation>Tode</translation>
    </message>
    <message>
        <source>Self kills</source>
        <translation>Selbstabschüsse</translation>
    </message>
    <message>
        <source>Teamdeaths</source>
        <translation>Tode durch das Team</translation>
    </message>
    <message>
        <source>Used weapons</source>
        <translation>Benutzte Waffen</translation>
    </message>
    <message>
        <source>Player names</source>
        <translation>Spielernamen</translation>
    </message>
    <message>
        <source>Numbers</source>
        <translation>Zahlen</translation>
    </message>
    <message>
        <source>Weapon name</source>
        <translation>Waffenname</translation>
    </message>
    <message>
        <source>% of total kills</source>
        <translation>% aller Abschüsse</translation>
    </message>
    <message>
        <source>Most kills by: [player]</source>
        <translation>Meiste Abschüsse durch: [Spieler]</translation>
    </message>
    <message>
        <source>Most deaths by: [player]</source>
        <translation>Meiste Tode durch: [Spieler]</translation>
    </message>
    <message>
        <source>Most kills by:</source>
        <translation>Meiste Abschüsse durch:</translation>
    </message>
    <message>
        <source>Most deaths by:</source>
        <translation>Meiste Tode durch:</translation>
    </message>
    <message>
        <source>Standard order</source>
        <translation>Standardreihenfolge</translation>
    </message>
    <message>
        <source>Location</source>
        <translation>Ort</translation>
    </message>
    <message>
        <source>Team chat</source>
        <translation>Teamchat</translation>
    </message>
    <message>
        <source>Global chat</source>
        <translation>Globaler Chat</translation>
    </message>
</context>
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
    <name>qla::ui::AboutPage</name>
    <message>
        <source>About Quarvel Logfile Analyzer</source>
        <translation>Über Quarvel Logfile Analyzer</translation>
    </message>
    <message>
        <source>Send me an email</source>
        <translation>Schreiben Sie mir eine E-Mail</translation>
    </message>
    <message>
        <source>Go to my website</source>
        <translation>Zu meiner Website</translation>
    </message>
    <message>
        <source>Send the beta testers an email</source>
        <translation>Schreiben Sie den Betatestern eine E-Mail</translation>
    </message>
    <message>
        <source>Visit the %1 website</source>
        <translation>Besuchen Sie die Website von %1</translation>
    </message>
    <message>
        <source>Send the translator an email</source>
        <translation>Schreiben Sie dem Übersetzer eine E-Mail</translation>
    </message>
    <message>
        <source>Made by:</source>
        <translation>Erstellt von:</translation>
    </message>
    <message>
        <source>Email:</source>
        <translation>E-Mail:</translation>
    </message>
    <message>
        <source>Homepage:</source>
        <translation>Homepage:</translation>
    </message>
    <message>
        <source>Version:</source>
        <translation>Version:</translation>
    </message>
    <message>
        <source>Beta Testing:</source>
        <translation>Betatests:</translation>
    </message>
    <message>
        <source>%1 Website:</source>
        <translation>Website von %1:</translation>
    </message>
    <message>
        <source>German translation:</source>
        <translation>Deutsche Übersetzung:</translation>
    </message>
    <message>
        <source>Check for update</source>
        <translation>Nach Updates suchen</translation>
    </message>
    <message>
        <source>Make sure you are connected to the internet. Do you want to continue?</source>
        <translation>Stellen Sie sicher, dass Sie mit dem Internet verbunden sind. Möchten Sie fortfahren?</translation>
    </message>
    <message>
        <source>The updater could not be started:<byte value="xd"/>
%1</source>
        <translation>Der Updater konnte nicht gestartet werden:<byte value="xd"/>
%1</translation>
    </message>
</context>
<context>
    <name>qla::ui::AliasPanel</name>
    <message>
        <source>Split: %1</source>
        <translation>Getrennt: %1</translation>
    </message>
    <message>
        <source>Join: %1 and %2</source>
        <translation>Vereint: %1 und %2</translation>
    </message>
    <message>
        <source>Aliases</source>
        <translation>Aliase</translation>
    </message>
    <message>
        <source>Aliases file...</source>
        <translation>Aliasdatei...</translation>
    </message>
    <message>
        <source>Choose the file that keeps your joins and splits, or name a new one to create it. It is the file qla alias --aliases changes.</source>
        <translation>Wählen Sie die Datei, die Ihre Vereinigungen und Trennungen enthält, oder geben Sie einen neuen Namen an, um sie anzulegen. Es ist die Datei, die qla alias --aliases ändert.</translation>
    </message>
    <message>
        <source>The joins and splits of the aliases file</source>
        <translation>Die Vereinigungen und Trennungen der Aliasdatei</translation>
    </message>
    <message>
        <source>Join</source>
        <translation>Vereinen</translation>
    </message>
    <message>
        <source>Join the two players selected in the player list into one</source>
        <translation>Die beiden in der Spielerliste ausgewählten Spieler zu einem vereinen</translation>
    </message>
    <message>
        <source>The names of the selected player</source>
        <translation>Die Namen des ausgewählten Spielers</translation>
    </message>
    <message>
        <source>Split</source>
        <translation>Trennen</translation>
    </message>
    <message>
        <source>Take this name out of its player: your joins of it are removed and it stays apart from automatic joins</source>
        <translation>Diesen Namen von seinem Spieler trennen: Ihre Vereinigungen mit ihm werden entfernt, und er bleibt von automatischen Vereinigungen getrennt</translation>
    </message>
    <message>
        <source>Suggested joins</source>
        <translation>Vorgeschlagene Vereinigungen</translation>
    </message>
    <message>
        <source>Accept</source>
        <translation>Annehmen</translation>
    </message>
    <message>
        <source>Add this join to the aliases file</source>
        <translation>Diese Vereinigung in die Aliasdatei aufnehmen</translation>
    </message>
    <message>
        <source>Reject</source>
        <translation>Ablehnen</translation>
    </message>
    <message>
        <source>Do not suggest this join again; the window&apos;s settings remember it</source>
        <translation>Diese Vereinigung nicht wieder vorschlagen; die Einstellungen des Fensters merken sich das</translation>
    </message>
    <message>
        <source>Choose or create the aliases file</source>
        <translation>Aliasdatei wählen oder anlegen</translation>
    </message>
    <message>
        <source>Aliases files (*.txt)</source>
        <translation>Aliasdateien (*.txt)</translation>
    </message>
    <message>
        <source>All files (*)</source>
        <translation>Alle Dateien (*)</translation>
    </message>
    <message>
        <source>No aliases file</source>
        <translation>Keine Aliasdatei</translation>
    </message>
    <message>
        <source>The database&apos;s aliases</source>
        <translation>Die Aliase der Datenbank</translation>
    </message>
    <message>
        <source>Suggestions are made for a log analysed with players merged by names and renames.</source>
        <translation>Vorschläge gibt es für ein Log, das mit Zusammenführen nach Namen und Umbenennungen analysiert wurde.</translation>
    </message>
    <message>
        <source>%1 and %2</source>
        <translation>%1 und %2</translation>
    </message>
    <message>
        <source>No joins to suggest.</source>
        <translation>Keine Vereinigungen vorzuschlagen.</translation>
    </message>
</context>
<context>
    <name>qla::ui::AnalyzePage</name>
    <message>
        <source>Awards</source>
        <translation>Auszeichnungen</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Stop the analysis; what it found so far is dropped</source>
        <translation>Die Analyse abbrechen; was sie bis dahin gefunden hat, wird verworfen</translation>
    </message>
    <message>
        <source>Kills</source>
        <translation>Abschüsse</translation>
    </message>
    <message>
        <source>Deaths</source>
        <translation>Tode</translation>
    </message>
    <message>
        <source>Teamkills</source>
        <translation>Teamkills</translation>
    </message>
    <message>
        <source>Voicechats</source>
        <translation>Sprachchats</translation>
    </message>
    <message>
        <source>Textchats</source>
        <translation>Textchats</translation>
    </message>
    <message>
        <source>Unknown</source>
        <translation>Unbekannt</translation>
    </message>
    <message>
        <source>Total</source>
        <translation>Gesamt</translation>
    </message>
    <message>
        <source>Analyze</source>
        <translation>Analysieren</translation>
    </message>
    <message>
        <source>Analyze current logfile</source>
        <translation>Aktuelle Logdatei analysieren</translation>
    </message>
    <message>
        <source>Selected player</source>
        <translation>Gewählter Spieler</translation>
    </message>
    <message>
        <source>Players</source>
        <translation>Spieler</translation>
    </message>
    <message>
        <source>Select player to view details</source>
        <translation>Spieler wählen, um seine Details zu sehen</translation>
    </message>
    <message>
        <source>Progress</source>
        <translation>Fortschritt</translation>
    </message>
    <message>
        <source>Start analyze</source>
        <translation>Analyse starten</translation>
    </message>
    <message>
        <source>Open a logfile first</source>
        <translation>Öffnen Sie zuerst eine Logdatei</translation>
    </message>
    <message>
        <source>There is not enough memory to analyse this log.</source>
        <translation>Der Speicher reicht für die Analyse dieses Logs nicht aus.</translation>
    </message>
    <message>
        <source>The analysis stopped: %1</source>
        <translation>Die Analyse wurde abgebrochen: %1</translation>
    </message>
    <message>
        <source>Players (%1)</source>
        <translation>Spieler (%1)</translation>
    </message>
    <message>
        <source>Merge players:</source>
        <translation>Spieler zusammenführen:</translation>
    </message>
    <message>
        <source>No merging</source>
        <translation>Nicht zusammenführen</translation>
    </message>
    <message>
        <source>Names only</source>
        <translation>Nur Namen</translation>
    </message>
    <message>
        <source>Names and renames</source>
        <translation>Namen und Umbenennungen</translation>
    </message>
    <message>
        <source>No merging: each name is a player of its own.
Names only: names that differ only in colour codes, upper and lower case or blanks at the ends become one player.
Names and renames: also follows each person through his renames and across the log&apos;s sessions; people who play under one name at the same time stay apart, and two merged players of the same name are told apart by a number.
The merged players are used in the player list and in every export; the totals stay the same.</source>
        <translation>Nicht zusammenführen: Jeder Name ist ein eigener Spieler.
Nur Namen: Namen, die sich nur in Farbcodes, Groß- und Kleinschreibung oder Leerzeichen an den Enden unterscheiden, werden zu einem Spieler.
Namen und Umbenennungen: verfolgt außerdem jede Person über ihre Umbenennungen und über die Sitzungen des Logs hinweg; wer zur selben Zeit unter einem Namen spielt, bleibt getrennt, und zwei zusammengeführte Spieler gleichen Namens werden durch eine Nummer unterschieden.
Die zusammengeführten Spieler erscheinen in der Spielerliste und in jedem Export; die Gesamtwerte bleiben gleich.</translation>
    </message>
    <message>
        <source>Names: %1</source>
        <translation>Namen: %1</translation>
    </message>
</context>
<context>
    <name>qla::ui::AnalyzerApp</name>
    <message>
        <source>Statistics from the console log of a multiplayer shooter.</source>
        <translation>Statistiken aus dem Konsolen-Log eines Mehrspieler-Shooters.</translation>
    </message>
    <message>
        <source>The log to open.</source>
        <translation>Das Log, das geöffnet wird.</translation>
    </message>
</context>
<context>
    <name>qla::ui::AwardsPanel</name>
    <message>
        <source>Award</source>
        <translation>Auszeichnung</translation>
    </message>
    <message>
        <source>Player</source>
        <translation>Spieler</translation>
    </message>
    <message>
        <source>Against</source>
        <translation>Gegen</translation>
    </message>
    <message>
        <source>Weapon or log</source>
        <translation>Waffe oder Logdatei</translation>
    </message>
    <message>
        <source>Value</source>
        <translation>Wert</translation>
    </message>
    <message>
        <source>Record</source>
        <translation>Rekord</translation>
    </message>
    <message>
        <source>Kills / deaths</source>
        <translation>Abschüsse / Tode</translation>
    </message>
    <message>
        <source>Log</source>
        <translation>Logdatei</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>Datum</translation>
    </message>
    <message>
        <source>Nobody yet.</source>
        <translation>Noch niemand.</translation>
    </message>
    <message>
        <source>Not known: the database holds logs imported before it kept the order of their kills (qla reanalyze reads them again).</source>
        <translation>Nicht bekannt: Die Datenbank enthält Logdateien, die importiert wurden, bevor sie die Reihenfolge der Abschüsse speicherte (qla reanalyze liest sie erneut).</translation>
    </message>
    <message>
        <source>Reading the order of the kills...</source>
        <translation>Die Reihenfolge der Abschüsse wird gelesen...</translation>
    </message>
    <message>
        <source>Analyze a log to see who won what.</source>
        <translation>Analysieren Sie eine Logdatei, um zu sehen, wer was gewonnen hat.</translation>
    </message>
    <message>
        <source>Over everything analysed, by the rules the statistics site and qla awards follow; the records are the best of any one session.</source>
        <translation>Über alles Analysierte, nach den Regeln der Statistik-Website und von qla awards; die Rekorde sind die besten einer einzelnen Sitzung.</translation>
    </message>
</context>
<context>
    <name>qla::ui::DatabaseImport</name>
    <message>
        <source>%1: new, %2 lines imported</source>
        <translation>%1: neu, %2 Zeilen importiert</translation>
    </message>
    <message>
        <source>%1: grew, %2 lines imported</source>
        <translation>%1: gewachsen, %2 Zeilen importiert</translation>
    </message>
    <message>
        <source>%1: a new log at a known path, %2 lines imported</source>
        <translation>%1: ein neues Log unter einem bekannten Pfad, %2 Zeilen importiert</translation>
    </message>
    <message>
        <source>%1: not imported: %2</source>
        <translation>%1: nicht importiert: %2</translation>
    </message>
    <message>
        <source>%1: nothing new imported</source>
        <translation>%1: nichts Neues importiert</translation>
    </message>
</context>
<context>
    <name>qla::ui::DatabaseWindow</name>
    <message>
        <source>Statistics Database</source>
        <translation>Statistikdatenbank</translation>
    </message>
    <message>
        <source>Database file or postgresql:// address</source>
        <translation>Datenbankdatei oder postgresql://-Adresse</translation>
    </message>
    <message>
        <source>Open...</source>
        <translation>Öffnen...</translation>
    </message>
    <message>
        <source>New...</source>
        <translation>Neu...</translation>
    </message>
    <message>
        <source>Connect</source>
        <translation>Verbinden</translation>
    </message>
    <message>
        <source>Database:</source>
        <translation>Datenbank:</translation>
    </message>
    <message>
        <source>Id</source>
        <translation>Nr.</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>Datum</translation>
    </message>
    <message>
        <source>Lines</source>
        <translation>Zeilen</translation>
    </message>
    <message>
        <source>Players</source>
        <translation>Spieler</translation>
    </message>
    <message>
        <source>Language</source>
        <translation>Sprache</translation>
    </message>
    <message>
        <source>Recognition</source>
        <translation>Erkennung</translation>
    </message>
    <message>
        <source>Held back</source>
        <translation>Zurückgehalten</translation>
    </message>
    <message>
        <source>Server</source>
        <translation>Server</translation>
    </message>
    <message>
        <source>Import logs...</source>
        <translation>Logs importieren...</translation>
    </message>
    <message>
        <source>Forget logs</source>
        <translation>Logs vergessen</translation>
    </message>
    <message>
        <source>Since:</source>
        <translation>Von:</translation>
    </message>
    <message>
        <source>YYYY-MM-DD</source>
        <translation>JJJJ-MM-TT</translation>
    </message>
    <message>
        <source>Until:</source>
        <translation>Bis:</translation>
    </message>
    <message>
        <source>Analyze selection</source>
        <translation>Auswahl analysieren</translation>
    </message>
    <message>
        <source>The selected logs (all when none is selected), within the dates given, on the Analyze and Export pages</source>
        <translation>Die ausgewählten Logs (alle, wenn keines ausgewählt ist) innerhalb der angegebenen Daten auf den Seiten Analysieren und Exportieren</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Statistics databases (*.sqlite *.db)</source>
        <translation>Statistikdatenbanken (*.sqlite *.db)</translation>
    </message>
    <message>
        <source>All files (*)</source>
        <translation>Alle Dateien (*)</translation>
    </message>
    <message>
        <source>New statistics database</source>
        <translation>Neue Statistikdatenbank</translation>
    </message>
    <message>
        <source>Open statistics database</source>
        <translation>Statistikdatenbank öffnen</translation>
    </message>
    <message>
        <source>Log files (*.log *.txt)</source>
        <translation>Logdateien (*.log *.txt)</translation>
    </message>
    <message>
        <source>Import cancelled: the log being imported was left out.</source>
        <translation>Import abgebrochen: das gerade importierte Log wurde weggelassen.</translation>
    </message>
    <message>
        <source>Dates are written YYYY-MM-DD, YYYY-MM-DD HH:MM or YYYY-MM-DD HH:MM:SS, not &apos;%1&apos;</source>
        <translation>Daten werden JJJJ-MM-TT, JJJJ-MM-TT HH:MM oder JJJJ-MM-TT HH:MM:SS geschrieben, nicht &apos;%1&apos;</translation>
    </message>
    <message>
        <source>Logs in %1: %2</source>
        <translation>Logs in %1: %2</translation>
    </message>
    <message>
        <source>Importing logs: %1...</source>
        <translation>Logs werden importiert: %1...</translation>
    </message>
    <message>
        <source>Remove the selected logs (%1) and their statistics from the database?</source>
        <translation>Die ausgewählten Logs (%1) und ihre Statistik aus der Datenbank entfernen?</translation>
    </message>
    <message>
        <source>Opens the file or PostgreSQL address typed here; the password is read from the password file or the environment and is never kept</source>
        <translation>Öffnet die hier eingegebene Datei oder PostgreSQL-Adresse; das Passwort kommt aus der Passwortdatei oder der Umgebung und wird nie gespeichert</translation>
    </message>
    <message>
        <source>Import logs</source>
        <translation>Logs importieren</translation>
    </message>
</context>
<context>
    <name>qla::ui::ExportChoices</name>
    <message>
        <source>Select standard info to export:</source>
        <translation>Standarddaten für den Export wählen:</translation>
    </message>
    <message>
        <source>Select player info to export:</source>
        <translation>Spielerdaten für den Export wählen:</translation>
    </message>
    <message>
        <source>Select weapon info to export:</source>
        <translation>Waffendaten für den Export wählen:</translation>
    </message>
    <message>
        <source>Select voice chat  info to export:</source>
        <translation>Sprachchat-Daten für den Export wählen:</translation>
    </message>
    <message>
        <source>Select text chat  info to export:</source>
        <translation>Textchat-Daten für den Export wählen:</translation>
    </message>
    <message>
        <source>Order by:</source>
        <translation>Sortieren nach:</translation>
    </message>
    <message>
        <source>Select other info to export:</source>
        <translation>Sonstige Daten für den Export wählen:</translation>
    </message>
    <message>
        <source>You have to select at least 1 type of chat!</source>
        <translation>Sie müssen mindestens eine Chatart auswählen!</translation>
    </message>
</context>
<context>
    <name>qla::ui::ExportControls</name>
    <message>
        <source>Ascending</source>
        <translation>Aufsteigend</translation>
    </message>
    <message>
        <source>Descending</source>
        <translation>Absteigend</translation>
    </message>
</context>
<context>
    <name>qla::ui::ExportPage</name>
    <message>
        <source>Options...</source>
        <translation>Optionen...</translation>
    </message>
    <message>
        <source>Open file after save</source>
        <translation>Datei nach dem Speichern öffnen</translation>
    </message>
    <message>
        <source>Export</source>
        <translation>Exportieren</translation>
    </message>
    <message>
        <source>Type of file</source>
        <translation>Dateityp</translation>
    </message>
    <message>
        <source>Select a player first</source>
        <translation>Wählen Sie zuerst einen Spieler</translation>
    </message>
    <message>
        <source>All Data - %1 export</source>
        <translation>Alle Daten - %1-Export</translation>
    </message>
    <message>
        <source>All Data &apos;%1 export&apos; not supported</source>
        <translation>Alle Daten: &apos;%1-Export&apos; wird nicht unterstützt</translation>
    </message>
    <message>
        <source>%1 export is only supported for the %2 info</source>
        <translation>%1-Export wird nur für die Ansicht %2 unterstützt</translation>
    </message>
    <message>
        <source>%1 export is not supported for this page</source>
        <translation>%1-Export wird für diese Seite nicht unterstützt</translation>
    </message>
    <message>
        <source>There is not enough memory to write the file.</source>
        <translation>Der Speicher reicht zum Schreiben der Datei nicht aus.</translation>
    </message>
    <message>
        <source>Export as HTML</source>
        <translation>Als HTML exportieren</translation>
    </message>
    <message>
        <source>HTML Export</source>
        <translation>HTML-Export</translation>
    </message>
    <message>
        <source>File exists! Overwrite?</source>
        <translation>Die Datei existiert! Überschreiben?</translation>
    </message>
    <message>
        <source>Not saved: %1</source>
        <translation>Nicht gespeichert: %1</translation>
    </message>
    <message>
        <source>Saved to %1</source>
        <translation>Gespeichert unter %1</translation>
    </message>
    <message>
        <source>Statistics site - %1 export</source>
        <translation>Statistikseite - %1-Export</translation>
    </message>
    <message>
        <source>Statistics site &apos;%1 export&apos; not supported</source>
        <translation>Statistikseite: &apos;%1-Export&apos; wird nicht unterstützt</translation>
    </message>
    <message>
        <source>Select output directory</source>
        <translation>Ausgabeordner wählen</translation>
    </message>
    <message>
        <source>Export statistics site</source>
        <translation>Statistikseite exportieren</translation>
    </message>
    <message>
        <source>%1<byte value="xd"/>
holds a site already. Replace its pages?</source>
        <translation>%1<byte value="xd"/>
enthält bereits eine Seite. Ihre Seiten ersetzen?</translation>
    </message>
</context>
<context>
    <name>qla::ui::LogInfoPage</name>
    <message>
        <source>Reading %1</source>
        <translation>%1 wird gelesen</translation>
    </message>
    <message>
        <source>Open File</source>
        <translation>Datei öffnen</translation>
    </message>
    <message>
        <source>Open a logfile</source>
        <translation>Eine Logdatei öffnen</translation>
    </message>
    <message>
        <source>Filename</source>
        <translation>Dateiname</translation>
    </message>
    <message>
        <source>Date / Time logfile created</source>
        <translation>Datum / Uhrzeit, zu der die Logdatei erstellt wurde</translation>
    </message>
    <message>
        <source>Number of lines in the logfile</source>
        <translation>Anzahl der Zeilen in der Logdatei</translation>
    </message>
    <message>
        <source>English</source>
        <translation>Englisch</translation>
    </message>
    <message>
        <source>German</source>
        <translation>Deutsch</translation>
    </message>
    <message>
        <source>Classic</source>
        <translation>Klassisch</translation>
    </message>
    <message>
        <source>Full</source>
        <translation>Vollständig</translation>
    </message>
    <message>
        <source>Classic: the original phrase tables. Full: every line shape the game writes (chat by its shape, newer deaths, cut names).</source>
        <translation>Klassisch: die ursprünglichen Phrasentabellen. Vollständig: jede Zeilenform, die das Spiel schreibt (Chat an seiner Form, neuere Todesarten, gekürzte Namen).</translation>
    </message>
    <message>
        <source>Game title</source>
        <translation>Spieltitel</translation>
    </message>
    <message>
        <source>Logfile date/time</source>
        <translation>Datum/Uhrzeit der Logdatei</translation>
    </message>
    <message>
        <source>Number of lines</source>
        <translation>Anzahl der Zeilen</translation>
    </message>
    <message>
        <source>Logfile Language</source>
        <translation>Sprache der Logdatei</translation>
    </message>
    <message>
        <source>Recognition</source>
        <translation>Erkennung</translation>
    </message>
    <message>
        <source>Open Quarvel Log file</source>
        <translation>Quarvel-Logdatei öffnen</translation>
    </message>
    <message>
        <source>Log file (*.log)</source>
        <translation>Logdatei (*.log)</translation>
    </message>
    <message>
        <source>Text file (*.txt)</source>
        <translation>Textdatei (*.txt)</translation>
    </message>
    <message>
        <source>All files (*)</source>
        <translation>Alle Dateien (*)</translation>
    </message>
    <message>
        <source>The kill and death lines of this log are written in German.<byte value="xd"/>
Analyze it as a German log?</source>
        <translation>Die Abschuss- und Todeszeilen dieses Logs sind auf Deutsch geschrieben.<byte value="xd"/>
Als deutsches Log analysieren?</translation>
    </message>
    <message>
        <source>The kill and death lines of this log are written in English.<byte value="xd"/>
Analyze it as an English log?</source>
        <translation>Die Abschuss- und Todeszeilen dieses Logs sind auf Englisch geschrieben.<byte value="xd"/>
Als englisches Log analysieren?</translation>
    </message>
</context>
<context>
    <name>qla::ui::MainWindow</name>
    <message>
        <source>Logfile Information</source>
        <translation>Logdatei-Informationen</translation>
    </message>
    <message>
        <source>Analyze Logfile</source>
        <translation>Logdatei analysieren</translation>
    </message>
    <message>
        <source>Export Logfile</source>
        <translation>Logdatei exportieren</translation>
    </message>
    <message>
        <source>About</source>
        <translation>Über</translation>
    </message>
    <message>
        <source>Statistics Database...</source>
        <translation>Statistikdatenbank...</translation>
    </message>
</context>
<context>
    <name>qla::ui::PlayerTableModel</name>
    <message>
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Kills</source>
        <translation>Abschüsse</translation>
    </message>
    <message>
        <source>Deaths</source>
        <translation>Tode</translation>
    </message>
    <message>
        <source>K/D</source>
        <translation>A/T</translation>
    </message>
    <message>
        <source>Teamkills</source>
        <translation>Teamkills</translation>
    </message>
    <message>
        <source>Suicides</source>
        <translation>Selbsttötungen</translation>
    </message>
    <message>
        <source>Chats</source>
        <translation>Chats</translation>
    </message>
    <message>
        <source>Rating</source>
        <translation>Wertung</translation>
    </message>
    <message>
        <source>%1 ± %2 points, from %3 kills either way</source>
        <translation>%1 ± %2 Punkte, aus %3 Abschüssen in beide Richtungen</translation>
    </message>
</context>
<context>
    <name>qla::ui::PlayerTablePanel</name>
    <message>
        <source>Search players</source>
        <translation>Spieler suchen</translation>
    </message>
    <message>
        <source>Shows the players whose name holds this text; colour codes, upper and lower case and accents do not matter</source>
        <translation>Zeigt die Spieler, deren Name diesen Text enthält; Farbcodes, Groß- und Kleinschreibung und Akzente spielen keine Rolle</translation>
    </message>
    <message>
        <source>Click a column&apos;s title to sort by it</source>
        <translation>Auf den Titel einer Spalte klicken, um nach ihr zu sortieren</translation>
    </message>
    <message>
        <source>Weapons</source>
        <translation>Waffen</translation>
    </message>
    <message>
        <source>Weapon</source>
        <translation>Waffe</translation>
    </message>
    <message>
        <source>Opponents</source>
        <translation>Gegner</translation>
    </message>
    <message>
        <source>Opponent</source>
        <translation>Gegner</translation>
    </message>
    <message>
        <source>Player table (%1 of %2)</source>
        <translation>Spielertabelle (%1 von %2)</translation>
    </message>
    <message>
        <source>Kills</source>
        <translation>Abschüsse</translation>
    </message>
    <message>
        <source>The player&apos;s kills with the weapon</source>
        <translation>Die Abschüsse des Spielers mit der Waffe</translation>
    </message>
    <message>
        <source>Deaths</source>
        <translation>Tode</translation>
    </message>
    <message>
        <source>The player&apos;s deaths by the weapon</source>
        <translation>Die Tode des Spielers durch die Waffe</translation>
    </message>
    <message>
        <source>How often the player killed the opponent</source>
        <translation>Wie oft der Spieler den Gegner abgeschossen hat</translation>
    </message>
    <message>
        <source>How often the opponent killed the player</source>
        <translation>Wie oft der Gegner den Spieler abgeschossen hat</translation>
    </message>
</context>
<context>
    <name>qla::ui::RecognitionHintBar</name>
    <message>
        <source>Read in full recognition</source>
        <translation>Mit vollständiger Erkennung lesen</translation>
    </message>
    <message>
        <source>Keep classic recognition</source>
        <translation>Klassische Erkennung behalten</translation>
    </message>
    <message>
        <source>Full recognition reads %1 of the %2 lines checked in this log otherwise than classic recognition, for example:
%3</source>
        <translation>Die vollständige Erkennung liest %1 der %2 geprüften Zeilen dieses Logs anders als die klassische Erkennung, zum Beispiel:
%3</translation>
    </message>
</context>
<context>
    <name>qla::ui::Version</name>
    <message>
        <source>v %1.%2 build %3</source>
        <translation>v %1.%2 Build %3</translation>
    </message>
    <message>
        <source>%1.%2 build %3</source>
        <translation>%1.%2 Build %3</translation>
    </message>
</context>
<context>
    <name>qla::ui::frmExportAllStatus</name>
    <message>
        <source>Export All Data</source>
        <translation>Alle Daten exportieren</translation>
    </message>
    <message>
        <source>Options</source>
        <translation>Optionen</translation>
    </message>
    <message>
        <source>Browse...</source>
        <translation>Durchsuchen...</translation>
    </message>
    <message>
        <source>Overwrite existing files</source>
        <translation>Vorhandene Dateien überschreiben</translation>
    </message>
    <message>
        <source>Skip file</source>
        <translation>Datei überspringen</translation>
    </message>
    <message>
        <source>Ask what to do</source>
        <translation>Jedes Mal fragen</translation>
    </message>
    <message>
        <source>Output directory</source>
        <translation>Ausgabeordner</translation>
    </message>
    <message>
        <source>If file exists:</source>
        <translation>Wenn die Datei existiert:</translation>
    </message>
    <message>
        <source>Status</source>
        <translation>Status</translation>
    </message>
    <message>
        <source>file</source>
        <translation>Datei</translation>
    </message>
    <message>
        <source>Current file:</source>
        <translation>Aktuelle Datei:</translation>
    </message>
    <message>
        <source>Files:</source>
        <translation>Dateien:</translation>
    </message>
    <message>
        <source>Total Progress</source>
        <translation>Gesamtfortschritt</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Select output directory</source>
        <translation>Ausgabeordner wählen</translation>
    </message>
    <message>
        <source>Export All Data?</source>
        <translation>Alle Daten exportieren?</translation>
    </message>
    <message>
        <source>%1 files will be created. Do you want to continue?</source>
        <translation>Es werden %1 Dateien erstellt. Möchten Sie fortfahren?</translation>
    </message>
    <message>
        <source>%1<byte value="xd"/>
File exists! Overwrite?</source>
        <translation>%1<byte value="xd"/>
Die Datei existiert! Überschreiben?</translation>
    </message>
    <message>
        <source>There is not enough memory to write the pages.</source>
        <translation>Der Speicher reicht zum Schreiben der Seiten nicht aus.</translation>
    </message>
    <message>
        <source>The output directory cannot be used:<byte value="xd"/>
%1<byte value="xd"/>
%2</source>
        <translation>Der Ausgabeordner kann nicht verwendet werden:<byte value="xd"/>
%1<byte value="xd"/>
%2</translation>
    </message>
    <message>
        <source>... and %1 more</source>
        <translation>... und %1 weitere</translation>
    </message>
    <message>
        <source>1 file written to %1</source>
        <translation>1 Datei nach %1 geschrieben</translation>
    </message>
    <message>
        <source>%1 files written to %2</source>
        <translation>%1 Dateien nach %2 geschrieben</translation>
    </message>
    <message>
        <source>The export was stopped; the other files were not written.</source>
        <translation>Der Export wurde angehalten; die übrigen Dateien wurden nicht geschrieben.</translation>
    </message>
</context>
<context>
    <name>qla::ui::frmOptions</name>
    <message>
        <source>Export Options</source>
        <translation>Exportoptionen</translation>
    </message>
    <message>
        <source>Minimal Kills to be listed:</source>
        <translation>Mindestzahl an Abschüssen für die Liste:</translation>
    </message>
    <message>
        <source>Minimal Deaths to be listed</source>
        <translation>Mindestzahl an Toden für die Liste</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
</context>
<context>
    <name>qla::ui::frmSplash</name>
    <message>
        <source>Please wait... loading</source>
        <translation>Bitte warten... wird geladen</translation>
    </message>
</context>
<context>
    <name>qla::ui::frmTextExport</name>
    <message>
        <source>Export TXT</source>
        <translation>TXT exportieren</translation>
    </message>
    <message>
        <source>Options</source>
        <translation>Optionen</translation>
    </message>
    <message>
        <source>Include column Name</source>
        <translation>Spaltennamen einschließen</translation>
    </message>
    <message>
        <source>Seperator</source>
        <translation>Trennzeichen</translation>
    </message>
    <message>
        <source>Remove colors from names</source>
        <translation>Farben aus den Namen entfernen</translation>
    </message>
    <message>
        <source>Preview</source>
        <translation>Vorschau</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
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
