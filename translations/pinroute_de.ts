<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de">
<context>
    <name>AboutDialog</name>
    <message>
        <source>About Pinroute</source>
        <translation>Über Pinroute</translation>
    </message>
    <message>
        <source>Pinroute Version</source>
        <translation>Pinroute-Version</translation>
    </message>
    <message>
        <source>Web Site:-</source>
        <translation>Website:-</translation>
    </message>
    <message>
        <source>Web site</source>
        <translation>Website</translation>
    </message>
    <message>
        <source>Share GPS tracks:-</source>
        <translation>GPS-Tracks teilen:-</translation>
    </message>
    <message>
        <source>Share GPS tracks</source>
        <translation>GPS-Tracks teilen</translation>
    </message>
    <message>
        <source>Donate:-</source>
        <translation>Spenden:-</translation>
    </message>
    <message>
        <source>Donate</source>
        <translation>Spenden</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Place names: geonames.org, CC BY 4.0</source>
        <translation>Ortsnamen: geonames.org, CC BY 4.0</translation>
    </message>
    <message>
        <source>The towns, regions and countries Pinroute writes come from the GeoNames data (geonames.org), under the Creative Commons Attribution 4.0 licence, as Debian&apos;s libgeonames0 carries it</source>
        <translation>Die Orte, Regionen und Länder, die Pinroute schreibt, stammen aus den GeoNames-Daten (geonames.org) unter der Lizenz Creative Commons Namensnennung 4.0, wie sie Debians libgeonames0 mitbringt</translation>
    </message>
    <message>
        <source>%1 (built without the map)</source>
        <translation>%1 (ohne Karte erstellt)</translation>
    </message>
    <message>
        <source>Map: not built in</source>
        <translation>Karte: nicht eingebaut</translation>
    </message>
    <message>
        <source>Pinroute is free software under the GNU General Public License, version 3 or later, and comes with ABSOLUTELY NO WARRANTY.</source>
        <translation>Pinroute ist freie Software unter der GNU General Public License, Version 3 oder neuer, und kommt OHNE JEDE GEWÄHRLEISTUNG.</translation>
    </message>
</context>
<context>
    <name>Clock</name>
    <message>
        <source>%n photo states its zone and needs no offset</source>
        <translation>%n Foto nennt seine Zeitzone und braucht keine Verschiebung</translation>
    </message>
    <message>
        <source>%n photos state their zone and need no offset</source>
        <translation>%n Fotos nennen ihre Zeitzone und brauchen keine Verschiebung</translation>
    </message>
    <message>
        <source>%1 min: %2 of %n photo matches</source>
        <translation>%1 min: %2 von %n Foto passt</translation>
    </message>
    <message>
        <source>%1 min: %2 of %n photos match</source>
        <translation>%1 min: %2 von %n Fotos passen</translation>
    </message>
    <message>
        <source>%1, summer time</source>
        <translation>%1, Sommerzeit</translation>
    </message>
    <message>
        <source>%1 (%2)</source>
        <translation>%1 (%2)</translation>
    </message>
    <message>
        <source>The track starts near %1: %2, %3 (summer time) on the photos&apos; first day.</source>
        <translation>Der Track beginnt bei %1: %2, %3 (Sommerzeit) am ersten Tag der Fotos.</translation>
    </message>
    <message>
        <source>The track starts near %1: %2, %3 on the photos&apos; first day.</source>
        <translation>Der Track beginnt bei %1: %2, %3 am ersten Tag der Fotos.</translation>
    </message>
    <message>
        <source>no track file matches %1</source>
        <translation>keine Trackdatei passt zu %1</translation>
    </message>
    <message>
        <source>no track file could be read</source>
        <translation>keine Trackdatei konnte gelesen werden</translation>
    </message>
    <message>
        <source>no working folder: %1</source>
        <translation>kein Arbeitsordner: %1</translation>
    </message>
    <message>
        <source>stopped</source>
        <translation>abgebrochen</translation>
    </message>
    <message>
        <source>%1 min %3 s: %2 of %n photo matches</source>
        <translation>%1 min %3 s: %2 von %n Foto passt</translation>
    </message>
    <message>
        <source>%1 min %3 s: %2 of %n photos match</source>
        <translation>%1 min %3 s: %2 von %n Fotos passen</translation>
    </message>
    <message>
        <source>On their last day it is %1 (summer time): the clocks changed during the trip, so a camera on local time needs a different offset for the photos after the change, or the camera&apos;s zone set to %2 (CameraZone) for one offset to serve them all.</source>
        <translation>An ihrem letzten Tag ist es %1 (Sommerzeit): Die Uhren wurden während der Reise umgestellt, daher braucht eine Kamera auf Ortszeit für die Fotos nach der Umstellung eine andere Verschiebung, oder die Zeitzone der Kamera wird auf %2 gesetzt (CameraZone), damit eine Verschiebung für alle gilt.</translation>
    </message>
    <message>
        <source>On their last day it is %1: the clocks changed during the trip, so a camera on local time needs a different offset for the photos after the change, or the camera&apos;s zone set to %2 (CameraZone) for one offset to serve them all.</source>
        <translation>An ihrem letzten Tag ist es %1: Die Uhren wurden während der Reise umgestellt, daher braucht eine Kamera auf Ortszeit für die Fotos nach der Umstellung eine andere Verschiebung, oder die Zeitzone der Kamera wird auf %2 gesetzt (CameraZone), damit eine Verschiebung für alle gilt.</translation>
    </message>
</context>
<context>
    <name>ClockOffsetDialog</name>
    <message>
        <source>Photo of the GPS clock</source>
        <translation>Foto der GPS-Uhr</translation>
    </message>
    <message>
        <source>From a photo of the GPS clock</source>
        <translation>Aus einem Foto der GPS-Uhr</translation>
    </message>
    <message>
        <source>Take a photo of the GPS receiver&apos;s clock (or any clock that shows UTC or GPS time), pick it here and type the time it shows.</source>
        <translation>Fotografieren Sie die Uhr des GPS-Empfängers (oder eine andere Uhr, die UTC- oder GPS-Zeit zeigt), wählen Sie das Foto hier und geben Sie die angezeigte Uhrzeit ein.</translation>
    </message>
    <message>
        <source>Photo</source>
        <translation>Foto</translation>
    </message>
    <message>
        <source>Photo of the clock</source>
        <translation>Foto der Uhr</translation>
    </message>
    <message>
        <source>Choose the photo of the clock</source>
        <translation>Foto der Uhr wählen</translation>
    </message>
    <message>
        <source>Camera time</source>
        <translation>Kamerazeit</translation>
    </message>
    <message>
        <source>Clock shows</source>
        <translation>Uhr zeigt</translation>
    </message>
    <message>
        <source>HH:MM:SS</source>
        <translation>HH:MM:SS</translation>
    </message>
    <message>
        <source>The UTC or GPS time the clock in the photo shows, as HH:MM:SS</source>
        <translation>Die UTC- oder GPS-Zeit, die die Uhr auf dem Foto zeigt, als HH:MM:SS</translation>
    </message>
    <message>
        <source>UTC / GPS time</source>
        <translation>UTC-/GPS-Zeit</translation>
    </message>
    <message>
        <source>&amp;Use</source>
        <translation>Ü&amp;bernehmen</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Abbrechen</translation>
    </message>
    <message>
        <source>The photo has no capture time.</source>
        <translation>Das Foto hat keine Aufnahmezeit.</translation>
    </message>
    <message>
        <source>Type the time as HH:MM:SS.</source>
        <translation>Geben Sie die Zeit als HH:MM:SS ein.</translation>
    </message>
    <message>
        <source>Offset: %1</source>
        <translation>Verschiebung: %1</translation>
    </message>
</context>
<context>
    <name>Folder</name>
    <message>
        <source>No photo folder is set: choose one in Set-up.</source>
        <translation>Kein Fotoordner eingestellt: Wählen Sie einen in der Einrichtung.</translation>
    </message>
    <message>
        <source>The photo folder %1 doesn&apos;t exist.</source>
        <translation>Der Fotoordner %1 existiert nicht.</translation>
    </message>
    <message>
        <source>%1 is not a folder.</source>
        <translation>%1 ist kein Ordner.</translation>
    </message>
    <message>
        <source>The photo folder %1 can&apos;t be read: %2.</source>
        <translation>Der Fotoordner %1 kann nicht gelesen werden: %2.</translation>
    </message>
    <message>
        <source>The photo folder %1 has no photos (JPEG, TIFF, PNG, WebP, HEIC or RAW).</source>
        <translation>Der Fotoordner %1 enthält keine Fotos (JPEG, TIFF, PNG, WebP, HEIC oder RAW).</translation>
    </message>
    <message>
        <source>The photo folder %1 has no photos, but its sub-folders have %2 (%3): %4.</source>
        <translation>Der Fotoordner %1 enthält keine Fotos, aber seine Unterordner enthalten %2 (%3): %4.</translation>
    </message>
    <message>
        <source>include sub-folders to use them</source>
        <translation>Unterordner einbeziehen, um sie zu verwenden</translation>
    </message>
    <message>
        <source>tick Include sub-folders in Set-up to use them</source>
        <translation>„Unterordner einbeziehen“ in der Einrichtung ankreuzen, um sie zu verwenden</translation>
    </message>
    <message>
        <source>tick Include sub-folders to use them</source>
        <translation>„Unterordner einbeziehen“ ankreuzen, um sie zu verwenden</translation>
    </message>
</context>
<context>
    <name>FolderBrowser</name>
    <message>
        <source>GPX Files *.GPX (*.[gG][pP][xX])</source>
        <translation>GPX-Dateien *.GPX (*.[gG][pP][xX])</translation>
    </message>
</context>
<context>
    <name>HelpLauncher</name>
    <message>
        <source>The program&apos;s own path could not be found, so neither could its help file.</source>
        <translation>Der Pfad des Programms wurde nicht gefunden, daher auch nicht seine Hilfedatei.</translation>
    </message>
    <message>
        <source>The help file could not be found.</source>
        <translation>Die Hilfedatei wurde nicht gefunden.</translation>
    </message>
    <message>
        <source>The help file could not be opened.</source>
        <translation>Die Hilfedatei konnte nicht geöffnet werden.</translation>
    </message>
    <message>
        <source>The help file could not be read: it holds no Pinroute manual.</source>
        <translation>Die Hilfedatei konnte nicht gelesen werden: Sie enthält kein Pinroute-Handbuch.</translation>
    </message>
    <message>
        <source>The manual that the help file names could not be found: %1</source>
        <translation>Das Handbuch, das die Hilfedatei nennt, wurde nicht gefunden: %1</translation>
    </message>
    <message>
        <source>The page &quot;%1&quot; is not in the help file.</source>
        <translation>Die Seite „%1“ ist nicht in der Hilfedatei.</translation>
    </message>
    <message>
        <source>Failed to open the Help automatically, please open it manually</source>
        <translation>Die Hilfe konnte nicht automatisch geöffnet werden, bitte öffnen Sie sie von Hand</translation>
    </message>
    <message>
        <source>Help Error</source>
        <translation>Hilfefehler</translation>
    </message>
</context>
<context>
    <name>HelpViewer</name>
    <message>
        <source>Pinroute Help</source>
        <translation>Pinroute-Hilfe</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Hilfe</translation>
    </message>
    <message>
        <source>&amp;Contents</source>
        <translation>&amp;Inhalt</translation>
    </message>
    <message>
        <source>Show or hide the list of topics</source>
        <translation>Themenliste zeigen oder verbergen</translation>
    </message>
    <message>
        <source>&amp;Back</source>
        <translation>&amp;Zurück</translation>
    </message>
    <message>
        <source>&amp;Forward</source>
        <translation>&amp;Vorwärts</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
</context>
<context>
    <name>LinkEdit</name>
    <message>
        <source>Double-click to write a mail</source>
        <translation>Doppelklick, um eine E-Mail zu schreiben</translation>
    </message>
    <message>
        <source>Double-click to open</source>
        <translation>Doppelklick zum Öffnen</translation>
    </message>
</context>
<context>
    <name>MainDialog</name>
    <message>
        <source>&amp;GeoTag</source>
        <translation>&amp;Geotaggen</translation>
    </message>
    <message>
        <source>&amp;Parse</source>
        <translation>Aus&amp;lesen</translation>
    </message>
    <message>
        <source>&amp;Rename</source>
        <translation>&amp;Umbenennen</translation>
    </message>
    <message>
        <source>&amp;About</source>
        <translation>Ü&amp;ber</translation>
    </message>
    <message>
        <source>&amp;Set-up</source>
        <translation>&amp;Einrichtung</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>&amp;Schließen</translation>
    </message>
    <message>
        <source>No web browser could be started to show the map.
The address, to open by hand:
%1</source>
        <translation>Es konnte kein Webbrowser gestartet werden, um die Karte zu zeigen.
Die Adresse zum Öffnen von Hand:
%1</translation>
    </message>
    <message>
        <source>Show on map</source>
        <translation>Auf der Karte zeigen</translation>
    </message>
    <message>
        <source>Status</source>
        <translation>Status</translation>
    </message>
    <message>
        <source>The track file being read, a run&apos;s progress and its summary</source>
        <translation>Die gelesene Trackdatei, der Fortschritt eines Laufs und seine Zusammenfassung</translation>
    </message>
    <message>
        <source>Parsing:-</source>
        <translation>Lese:-</translation>
    </message>
    <message>
        <source>Pinroute %1 (%2)</source>
        <translation>Pinroute %1 (%2)</translation>
    </message>
    <message>
        <source>&lt;p&gt;&lt;b&gt;Welcome to Pinroute.&lt;/b&gt;&lt;/p&gt;&lt;p&gt;Choose the folder of your photos and the track your GPS recorded in &lt;a href=&quot;setup&quot;&gt;Set-up&lt;/a&gt;; then GeoTag writes where each photo was taken.&lt;/p&gt;&lt;p&gt;Or drop photos here.&lt;/p&gt;</source>
        <translation>&lt;p&gt;&lt;b&gt;Willkommen bei Pinroute.&lt;/b&gt;&lt;/p&gt;&lt;p&gt;Wählen Sie in der &lt;a href=&quot;setup&quot;&gt;Einrichtung&lt;/a&gt; den Ordner Ihrer Fotos und den Track, den Ihr GPS aufgezeichnet hat; dann schreibt Geotaggen, wo jedes Foto aufgenommen wurde.&lt;/p&gt;&lt;p&gt;Oder ziehen Sie Fotos hierher.&lt;/p&gt;</translation>
    </message>
    <message>
        <source>&lt;p&gt;%1&lt;/p&gt;&lt;p&gt;Change the folder in &lt;a href=&quot;setup&quot;&gt;Set-up&lt;/a&gt;, or drop photos here.&lt;/p&gt;</source>
        <translation>&lt;p&gt;%1&lt;/p&gt;&lt;p&gt;Ändern Sie den Ordner in der &lt;a href=&quot;setup&quot;&gt;Einrichtung&lt;/a&gt; oder ziehen Sie Fotos hierher.&lt;/p&gt;</translation>
    </message>
    <message>
        <source>No photos in the list.</source>
        <translation>Keine Fotos in der Liste.</translation>
    </message>
    <message>
        <source>Pinroute can&apos;t create its working folder: %1</source>
        <translation>Pinroute kann seinen Arbeitsordner nicht anlegen: %1</translation>
    </message>
    <message>
        <source>%1 %L2 of %L3: %4</source>
        <translation>%1 %L2 von %L3: %4</translation>
    </message>
    <message>
        <source>Rename %L1 of %L2 photo?</source>
        <translation>%L1 von %L2 Foto umbenennen?</translation>
    </message>
    <message>
        <source>Rename %L1 of %L2 photos?</source>
        <translation>%L1 von %L2 Fotos umbenennen?</translation>
    </message>
    <message>
        <source>
and %L1 more.</source>
        <translation>
und %L1 weitere.</translation>
    </message>
    <message>
        <source>There are no photos in the list.</source>
        <translation>Die Liste enthält keine Fotos.</translation>
    </message>
    <message>
        <source>Pinroute can&apos;t write in %1: %2.
No photo was changed.</source>
        <translation>Pinroute kann nicht in %1 schreiben: %2.
Kein Foto wurde geändert.</translation>
    </message>
    <message>
        <source>%1...</source>
        <translation>%1 …</translation>
    </message>
    <message>
        <source>%1 could not start: the system allows no more threads</source>
        <translation>%1 konnte nicht starten: Das System erlaubt keine weiteren Threads</translation>
    </message>
    <message>
        <source>Stopped after %L1 of %L2</source>
        <translation>Abgebrochen nach %L1 von %L2</translation>
    </message>
    <message>
        <source>Rename: no photo would get a new name</source>
        <translation>Umbenennen: Kein Foto bekäme einen neuen Namen</translation>
    </message>
    <message>
        <source>No photo would get a new name: each has no date and position to add, or is already named after them.</source>
        <translation>Kein Foto bekäme einen neuen Namen: Bei keinem gibt es Datum und Position anzuhängen, oder es ist bereits danach benannt.</translation>
    </message>
    <message>
        <source>Rename: nothing renamed</source>
        <translation>Umbenennen: nichts umbenannt</translation>
    </message>
    <message>
        <source>No track file is set: choose one in Set-up.</source>
        <translation>Keine Trackdatei eingestellt: Wählen Sie eine in der Einrichtung.</translation>
    </message>
    <message>
        <source>No track file matches %1.</source>
        <translation>Keine Trackdatei passt zu %1.</translation>
    </message>
    <message>
        <source>%1
No photo was changed.</source>
        <translation>%1
Kein Foto wurde geändert.</translation>
    </message>
    <message>
        <source>The journal can&apos;t be used: %1.
Nothing was undone.</source>
        <translation>Das Journal kann nicht verwendet werden: %1.
Nichts wurde rückgängig gemacht.</translation>
    </message>
    <message>
        <source>There is no run to undo.</source>
        <translation>Es gibt keinen Lauf, der rückgängig gemacht werden kann.</translation>
    </message>
    <message>
        <source>The last run (%1) can&apos;t be undone: %2.
Nothing was undone.</source>
        <translation>Der letzte Lauf (%1) kann nicht rückgängig gemacht werden: %2.
Nichts wurde rückgängig gemacht.</translation>
    </message>
    <message>
        <source>Remove the position from %1?</source>
        <translation>Die Position aus %1 entfernen?</translation>
    </message>
    <message>
        <source>Remove the positions from %L1 photos?</source>
        <translation>Die Positionen aus %L1 Fotos entfernen?</translation>
    </message>
    <message>
        <source>Remove position</source>
        <translation>Position entfernen</translation>
    </message>
    <message>
        <source>%1
Undo last run (Ctrl+Z) puts them back.</source>
        <translation>%1
„Letzten Lauf rückgängig machen“ (Strg+Z) stellt sie wieder her.</translation>
    </message>
    <message>
        <source>Remove the town, region and country names too?</source>
        <translation>Auch die Namen von Ort, Region und Land entfernen?</translation>
    </message>
    <message>
        <source>%1
No photo holds a position with a time zone or GPS time to serve as the track instead.
No photo was changed.</source>
        <translation>%1
Kein Foto hat eine Position mit Zeitzone oder GPS-Zeit, die stattdessen als Track dienen könnte.
Kein Foto wurde geändert.</translation>
    </message>
    <message>
        <source>%1.
No photo was changed: correct it in Set-up.</source>
        <translation>%1.
Kein Foto wurde geändert: Korrigieren Sie es in der Einrichtung.</translation>
    </message>
    <message>
        <source>The run can&apos;t start: %1.</source>
        <translation>Der Lauf kann nicht beginnen: %1.</translation>
    </message>
</context>
<context>
    <name>MapPanel</name>
    <message>
        <source>can&apos;t be read</source>
        <translation>kann nicht gelesen werden</translation>
    </message>
    <message>
        <source>The map is not shown while Pinroute runs as root.</source>
        <translation>Die Karte wird nicht gezeigt, solange Pinroute als root läuft.</translation>
    </message>
    <message>
        <source>Map</source>
        <translation>Karte</translation>
    </message>
    <message>
        <source>The photos and the track on a map. Arrow keys move it, + and - zoom, Enter places the photos selected in the list at the cross in the middle.</source>
        <translation>Die Fotos und der Track auf einer Karte. Pfeiltasten verschieben sie, + und - zoomen, die Eingabetaste setzt die in der Liste gewählten Fotos auf das Kreuz in der Mitte.</translation>
    </message>
    <message>
        <source>and %L1 more</source>
        <translation>und %L1 weitere</translation>
    </message>
    <message>
        <source>The camera clock runs %L1 min %L2 s behind the track&apos;s time.</source>
        <translation>Die Kamerauhr geht %L1 min %L2 s hinter der Zeit des Tracks.</translation>
    </message>
    <message>
        <source>The camera clock runs %L1 min %L2 s ahead of the track&apos;s time.</source>
        <translation>Die Kamerauhr geht %L1 min %L2 s vor der Zeit des Tracks.</translation>
    </message>
    <message>
        <source>%1 was taken here?

Its camera clock said %2; the track passed this point at %3 UTC.</source>
        <translation>%1 wurde hier aufgenommen?

Seine Kamerauhr zeigte %2; der Track passierte diesen Punkt um %3 UTC.</translation>
    </message>
    <message>
        <source>The photos are being written: place them once the run has ended.</source>
        <translation>Die Fotos werden gerade geschrieben: Setzen Sie sie, wenn der Lauf beendet ist.</translation>
    </message>
    <message>
        <source>Place on the map</source>
        <translation>Auf der Karte setzen</translation>
    </message>
    <message>
        <source>Place this photo here?
%1

at %2

The position is written into it, in place of any it had.</source>
        <translation>Dieses Foto hierher setzen?
%1

auf %2

Die Position wird in das Foto geschrieben und ersetzt jede frühere.</translation>
    </message>
    <message>
        <source>Place these %L3 photos here?
%1

at %2

The position is written into each of them, in place of any it had.</source>
        <translation>Diese %L3 Fotos hierher setzen?
%1

auf %2

Die Position wird in jedes davon geschrieben und ersetzt jede frühere.</translation>
    </message>
    <message>
        <source>Camera clock offset</source>
        <translation>Verschiebung der Kamerauhr</translation>
    </message>
    <message>
        <source>Select one photo, then click the point of the track where it was taken.</source>
        <translation>Wählen Sie ein Foto und klicken Sie dann auf den Punkt des Tracks, an dem es aufgenommen wurde.</translation>
    </message>
    <message>
        <source>This point of the track has no time: choose another.</source>
        <translation>Dieser Punkt des Tracks hat keine Zeit: Wählen Sie einen anderen.</translation>
    </message>
    <message>
        <source>The photos are being worked on: try again once the run has ended.</source>
        <translation>Die Fotos werden gerade bearbeitet: Versuchen Sie es nach dem Ende des Laufs erneut.</translation>
    </message>
    <message>
        <source>%1 has no capture time, so the offset can&apos;t be worked out from it.</source>
        <translation>%1 hat keine Aufnahmezeit, daher lässt sich die Verschiebung daraus nicht bestimmen.</translation>
    </message>
    <message>
        <source>The photo&apos;s time and the track&apos;s are too far apart to be an offset.</source>
        <translation>Die Zeit des Fotos und die des Tracks liegen zu weit auseinander für eine Verschiebung.</translation>
    </message>
    <message>
        <source>This photo states its time zone: GeoTag matches it by that, not by the offset, while &quot;Use the time zone stored in the photo&quot; is on.</source>
        <translation>Dieses Foto nennt seine Zeitzone: Geotaggen ordnet es danach zu, nicht nach der Verschiebung, solange „In Foto gespeicherte Zeitzone verwenden“ eingeschaltet ist.</translation>
    </message>
    <message>
        <source>That is the offset already set.</source>
        <translation>Diese Verschiebung ist bereits eingestellt.</translation>
    </message>
    <message>
        <source>the settings file can&apos;t be read</source>
        <translation>die Einstellungsdatei kann nicht gelesen werden</translation>
    </message>
    <message>
        <source>The offset could not be saved: %1.</source>
        <translation>Die Verschiebung konnte nicht gespeichert werden: %1.</translation>
    </message>
    <message>
        <source>Hide this line</source>
        <translation>Diese Zeile ausblenden</translation>
    </message>
    <message>
        <source>Map tiles could not be loaded: offline? See Set-up → Map tiles</source>
        <translation>Kartenkacheln konnten nicht geladen werden: offline? Siehe Einrichtung → Kartenkacheln</translation>
    </message>
    <message>
        <source>About map tiles</source>
        <translation>Über Kartenkacheln</translation>
    </message>
    <message>
        <source>The area you view is sent to %1 to fetch the map&apos;s tiles.</source>
        <translation>Der angezeigte Bereich wird an %1 gesendet, um die Kartenkacheln abzurufen.</translation>
    </message>
    <message>
        <source>Map tiles: %1</source>
        <translation>Kartenkacheln: %1</translation>
    </message>
    <message>
        <source>This photo was taken here</source>
        <translation>Dieses Foto wurde hier aufgenommen</translation>
    </message>
    <message>
        <source>Select one photo in the list, then click the track where it was taken: Pinroute works out the camera clock&apos;s offset from that point.</source>
        <translation>Wählen Sie ein Foto in der Liste und klicken Sie dann auf die Stelle des Tracks, an der es aufgenommen wurde: Pinroute bestimmt an diesem Punkt die Verschiebung der Kamerauhr.</translation>
    </message>
    <message>
        <source>Map: arrow keys move it, + and - zoom, Enter places the selected photos at the cross in the middle</source>
        <translation>Karte: Pfeiltasten verschieben sie, + und - zoomen, die Eingabetaste setzt die gewählten Fotos auf das Kreuz in der Mitte</translation>
    </message>
    <message>
        <source>Select photos in the list, then press Enter to place them at the cross.</source>
        <translation>Wählen Sie Fotos in der Liste und drücken Sie dann die Eingabetaste, um sie auf das Kreuz zu setzen.</translation>
    </message>
    <message>
        <source>Offset: %1.</source>
        <translation>Verschiebung: %1.</translation>
    </message>
    <message>
        <source>Offset: %1 from %2 time.</source>
        <translation>Verschiebung: %1 gegenüber der Zeit von %2.</translation>
    </message>
    <message>
        <source>Save %1 as the offset (now %2)?</source>
        <translation>%1 als Verschiebung speichern (jetzt %2)?</translation>
    </message>
</context>
<context>
    <name>MapSplitter</name>
    <message>
        <source>Hide the map (Ctrl+M)</source>
        <translation>Karte verbergen (Strg+M)</translation>
    </message>
    <message>
        <source>Show the map (Ctrl+M)</source>
        <translation>Karte zeigen (Strg+M)</translation>
    </message>
    <message>
        <source>1 photo</source>
        <translation>1 Foto</translation>
    </message>
    <message>
        <source>%L1 photos</source>
        <translation>%L1 Fotos</translation>
    </message>
</context>
<context>
    <name>Offset</name>
    <message>
        <source>%1 minute</source>
        <translation>%1 Minute</translation>
    </message>
    <message>
        <source>%1 minutes</source>
        <translation>%1 Minuten</translation>
    </message>
    <message>
        <source>%1 (min:s)</source>
        <translation>%1 (min:s)</translation>
    </message>
    <message>
        <source>%1 (h:min:s)</source>
        <translation>%1 (h:min:s)</translation>
    </message>
</context>
<context>
    <name>OffsetSuggestionsDialog</name>
    <message>
        <source>Suggested offsets</source>
        <translation>Vorgeschlagene Verschiebungen</translation>
    </message>
    <message>
        <source>&amp;Use</source>
        <translation>Ü&amp;bernehmen</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Abbrechen</translation>
    </message>
    <message>
        <source>Reading %L1 photos…</source>
        <translation>Lese %L1 Fotos …</translation>
    </message>
    <message>
        <source>Every photo states its zone: none needs an offset.</source>
        <translation>Jedes Foto nennt seine Zeitzone: Keines braucht eine Verschiebung.</translation>
    </message>
    <message>
        <source>No offset puts any of the %L1 photos near the track.</source>
        <translation>Keine Verschiebung bringt eines der %L1 Fotos in die Nähe des Tracks.</translation>
    </message>
    <message>
        <source>The offsets that match the most photos:</source>
        <translation>Die Verschiebungen, die zu den meisten Fotos passen:</translation>
    </message>
    <message>
        <source> Per camera:</source>
        <translation> Je Kamera:</translation>
    </message>
    <message>
        <source>%1 (%L2 photo)</source>
        <translation>%1 (%L2 Foto)</translation>
    </message>
    <message>
        <source>%1 (%L2 photos)</source>
        <translation>%1 (%L2 Fotos)</translation>
    </message>
    <message>
        <source>none matches</source>
        <translation>keine passt</translation>
    </message>
    <message>
        <source>Set the camera&apos;s clock to %1 time (follows its clock changes)</source>
        <translation>Kamerauhr auf die Zeit von %1 setzen (folgt deren Zeitumstellungen)</translation>
    </message>
</context>
<context>
    <name>PhotoListModel</name>
    <message>
        <source>not processed</source>
        <translation>nicht bearbeitet</translation>
    </message>
    <message>
        <source>tagged</source>
        <translation>getaggt</translation>
    </message>
    <message>
        <source>tagged in its sidecar</source>
        <translation>in der Filialdatei getaggt</translation>
    </message>
    <message>
        <source>kept its own position</source>
        <translation>behält seine eigene Position</translation>
    </message>
    <message>
        <source>rejected</source>
        <translation>abgelehnt</translation>
    </message>
    <message>
        <source>no EXIF data</source>
        <translation>keine EXIF-Daten</translation>
    </message>
    <message>
        <source>no GPS position</source>
        <translation>keine GPS-Position</translation>
    </message>
    <message>
        <source>could not be read</source>
        <translation>konnte nicht gelesen werden</translation>
    </message>
    <message>
        <source>failed</source>
        <translation>fehlgeschlagen</translation>
    </message>
    <message>
        <source>read</source>
        <translation>gelesen</translation>
    </message>
    <message>
        <source>renamed</source>
        <translation>umbenannt</translation>
    </message>
    <message>
        <source>not renamed</source>
        <translation>nicht umbenannt</translation>
    </message>
    <message>
        <source>restored</source>
        <translation>wiederhergestellt</translation>
    </message>
    <message>
        <source>not restored</source>
        <translation>nicht wiederhergestellt</translation>
    </message>
    <message>
        <source>position removed</source>
        <translation>Position entfernt</translation>
    </message>
    <message>
        <source>File name</source>
        <translation>Dateiname</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>Datum</translation>
    </message>
    <message>
        <source>Position/Message</source>
        <translation>Position/Meldung</translation>
    </message>
</context>
<context>
    <name>PhotoListView</name>
    <message>
        <source>Photos</source>
        <translation>Fotos</translation>
    </message>
    <message>
        <source>One row per photo: its name, when it was taken, and its position or what went wrong</source>
        <translation>Eine Zeile je Foto: sein Name, wann es aufgenommen wurde, und seine Position oder was schiefging</translation>
    </message>
    <message>
        <source>Show on &amp;map</source>
        <translation>Auf der &amp;Karte zeigen</translation>
    </message>
    <message>
        <source>&amp;Copy position</source>
        <translation>Position &amp;kopieren</translation>
    </message>
    <message>
        <source>&amp;Remove positions (%L1 photos)</source>
        <translation>Positionen &amp;entfernen (%L1 Fotos)</translation>
    </message>
    <message>
        <source>&amp;Remove position</source>
        <translation>Position &amp;entfernen</translation>
    </message>
    <message>
        <source>&amp;Undo last run</source>
        <translation>Letzten Lauf &amp;rückgängig machen</translation>
    </message>
</context>
<context>
    <name>PlaceSearch</name>
    <message>
        <source>Find a town</source>
        <translation>Ort suchen</translation>
    </message>
    <message>
        <source>Type a town&apos;s name to centre the map on it; with photos selected, you can place them there</source>
        <translation>Geben Sie den Namen eines Orts ein, um die Karte darauf zu zentrieren; mit gewählten Fotos können Sie sie dorthin setzen</translation>
    </message>
</context>
<context>
    <name>RowText</name>
    <message>
        <source>Rejected</source>
        <translation>Abgelehnt</translation>
    </message>
    <message>
        <source>No EXIF data found</source>
        <translation>Keine EXIF-Daten gefunden</translation>
    </message>
    <message>
        <source>No GPS position</source>
        <translation>Keine GPS-Position</translation>
    </message>
    <message>
        <source>Could not read EXIF data</source>
        <translation>EXIF-Daten konnten nicht gelesen werden</translation>
    </message>
    <message>
        <source>Failed to write GPS tags</source>
        <translation>GPS-Tags konnten nicht geschrieben werden</translation>
    </message>
    <message>
        <source>Restored</source>
        <translation>Wiederhergestellt</translation>
    </message>
    <message>
        <source>Not restored</source>
        <translation>Nicht wiederhergestellt</translation>
    </message>
    <message>
        <source>Position removed</source>
        <translation>Position entfernt</translation>
    </message>
    <message>
        <source>Kept its own position</source>
        <translation>Eigene Position behalten</translation>
    </message>
    <message>
        <source>Position in sidecar %1</source>
        <translation>Position in Filialdatei %1</translation>
    </message>
    <message>
        <source>The journal can&apos;t be written: %1</source>
        <translation>Das Journal kann nicht geschrieben werden: %1</translation>
    </message>
    <message>
        <source>Original file not found</source>
        <translation>Originaldatei nicht gefunden</translation>
    </message>
    <message>
        <source>File or directory specified already exists or could not be created (invalid path)</source>
        <translation>Die angegebene Datei oder der Ordner existiert bereits oder konnte nicht angelegt werden (ungültiger Pfad)</translation>
    </message>
    <message>
        <source>File name contains invalid characters</source>
        <translation>Der Dateiname enthält ungültige Zeichen</translation>
    </message>
    <message>
        <source>Unknown Error</source>
        <translation>Unbekannter Fehler</translation>
    </message>
</context>
<context>
    <name>RunMessages</name>
    <message>
        <source>Place on the map</source>
        <translation>Auf der Karte setzen</translation>
    </message>
    <message>
        <source>GeoTag</source>
        <translation>Geotaggen</translation>
    </message>
    <message>
        <source>Parse</source>
        <translation>Auslesen</translation>
    </message>
    <message>
        <source>Rename</source>
        <translation>Umbenennen</translation>
    </message>
    <message>
        <source>Undo</source>
        <translation>Rückgängig</translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>Entfernen</translation>
    </message>
    <message>
        <source>%1 of %L2 photo, %3.</source>
        <translation>%1 von %L2 Foto, %3.</translation>
    </message>
    <message>
        <source>%1 of %L2 photos, %3.</source>
        <translation>%1 von %L2 Fotos, %3.</translation>
    </message>
    <message>
        <source>%1 of %L2 photo in %3, %4.</source>
        <translation>%1 von %L2 Foto in %3, %4.</translation>
    </message>
    <message>
        <source>%1 of %L2 photos in %3, %4.</source>
        <translation>%1 von %L2 Fotos in %3, %4.</translation>
    </message>
    <message>
        <source>Undo the last run?

%1

Each photo gets back what it had before the run; a photo changed since is left as it is.</source>
        <translation>Den letzten Lauf rückgängig machen?

%1

Jedes Foto erhält zurück, was es vor dem Lauf hatte; ein seither geändertes Foto bleibt, wie es ist.</translation>
    </message>
    <message>
        <source>No photo was taken near the track, so none was changed.</source>
        <translation>Kein Foto wurde in der Nähe des Tracks aufgenommen, daher wurde keines geändert.</translation>
    </message>
    <message>
        <source>The track: %1 UTC.</source>
        <translation>Der Track: %1 UTC.</translation>
    </message>
    <message>
        <source>Set the offset in Set-up, or let Suggest find it.</source>
        <translation>Stellen Sie die Verschiebung in der Einrichtung ein oder lassen Sie sie von „Vorschlagen“ finden.</translation>
    </message>
    <message>
        <source>No clock offset brings them together: check that the track is from the day of the photos.</source>
        <translation>Keine Uhrverschiebung bringt sie zusammen: Prüfen Sie, ob der Track vom Tag der Fotos stammt.</translation>
    </message>
    <message>
        <source>%1.</source>
        <translation>%1.</translation>
    </message>
    <message>
        <source>%1.
No photo was changed. (Journal=0 in the settings turns the journal off.)</source>
        <translation>%1.
Kein Foto wurde geändert. (Journal=0 in den Einstellungen schaltet das Journal ab.)</translation>
    </message>
    <message>
        <source>No track file could be read; no photo was changed.
%1</source>
        <translation>Keine Trackdatei konnte gelesen werden; kein Foto wurde geändert.
%1</translation>
    </message>
    <message>
        <source>These track files were skipped; the run used the others:
%1</source>
        <translation>Diese Trackdateien wurden übersprungen; der Lauf verwendete die anderen:
%1</translation>
    </message>
    <message>
        <source>Your photos: %1 (camera time, offset %2).</source>
        <translation>Ihre Fotos: %1 (Kamerazeit, Verschiebung %2).</translation>
    </message>
    <message>
        <source>For the %1, an offset of %2 would match %L3 photo.</source>
        <translation>Für die %1 würde eine Verschiebung von %2 %L3 Foto zuordnen.</translation>
    </message>
    <message>
        <source>For the %1, an offset of %2 would match %L3 photos.</source>
        <translation>Für die %1 würde eine Verschiebung von %2 %L3 Fotos zuordnen.</translation>
    </message>
    <message>
        <source>An offset of %1 would match %L2 photo.</source>
        <translation>Eine Verschiebung von %1 würde %L2 Foto zuordnen.</translation>
    </message>
    <message>
        <source>An offset of %1 would match %L2 photos.</source>
        <translation>Eine Verschiebung von %1 würde %L2 Fotos zuordnen.</translation>
    </message>
</context>
<context>
    <name>SetupDialog</name>
    <message>
        <source>Track files</source>
        <translation>Trackdateien</translation>
    </message>
    <message>
        <source>GPX files</source>
        <translation>GPX-Dateien</translation>
    </message>
    <message>
        <source>All files (*)</source>
        <translation>Alle Dateien (*)</translation>
    </message>
    <message>
        <source>Set-up</source>
        <translation>Einrichtung</translation>
    </message>
    <message>
        <source>Write RAW positions to XMP sidecars</source>
        <translation>RAW-Positionen in XMP-Filialdateien schreiben</translation>
    </message>
    <message>
        <source>CR3, RW2 and ORF photos always get a sidecar (NAME.EXT.xmp)</source>
        <translation>CR3-, RW2- und ORF-Fotos erhalten immer eine Filialdatei (NAME.EXT.xmp)</translation>
    </message>
    <message>
        <source>Place photos between track points</source>
        <translation>Fotos zwischen Trackpunkten platzieren</translation>
    </message>
    <message>
        <source>A photo taken between two points of a segment (at most 30 minutes apart) gets the position between them, written at full precision with its UTC time; otherwise the nearest point, to a hundredth of a minute</source>
        <translation>Ein Foto, das zwischen zwei Punkten eines Segments (höchstens 30 Minuten auseinander) aufgenommen wurde, erhält die Position dazwischen, in voller Genauigkeit mit seiner UTC-Zeit geschrieben; sonst den nächsten Punkt, auf eine hundertstel Minute</translation>
    </message>
    <message>
        <source>Use the time zone stored in the photo</source>
        <translation>In Foto gespeicherte Zeitzone verwenden</translation>
    </message>
    <message>
        <source>A photo that states its time zone (phones, newer cameras) is matched by it; the offset serves the others</source>
        <translation>Ein Foto, das seine Zeitzone nennt (Telefone, neuere Kameras), wird danach zugeordnet; die Verschiebung gilt für die übrigen</translation>
    </message>
    <message>
        <source>Replace positions that photos already have</source>
        <translation>Vorhandene Positionen in Fotos ersetzen</translation>
    </message>
    <message>
        <source>Off: a photo with a position Pinroute didn&apos;t write (a phone&apos;s, another program&apos;s) keeps it; positions Pinroute wrote are always written again</source>
        <translation>Aus: Ein Foto mit einer Position, die nicht von Pinroute stammt (von einem Telefon, einem anderen Programm), behält sie; Positionen, die Pinroute schrieb, werden immer neu geschrieben</translation>
    </message>
    <message>
        <source>Write the town, region and country</source>
        <translation>Ort, Region und Land schreiben</translation>
    </message>
    <message>
        <source>GeoTag writes the nearest town (within PlaceMaxKm), its region and country from the geonames.org data, offline; a photo&apos;s own place names are kept</source>
        <translation>Geotaggen schreibt den nächsten Ort (innerhalb PlaceMaxKm), seine Region und sein Land aus den Daten von geonames.org, offline; eigene Ortsnamen eines Fotos bleiben erhalten</translation>
    </message>
    <message>
        <source>Add the place to renamed files</source>
        <translation>Ort an umbenannte Dateien anhängen</translation>
    </message>
    <message>
        <source>Rename appends the town, region and country in plain letters</source>
        <translation>Umbenennen hängt Ort, Region und Land in einfachen Buchstaben an</translation>
    </message>
    <message>
        <source>Choose the photo folder</source>
        <translation>Fotoordner wählen</translation>
    </message>
    <message>
        <source>Browse for the photo folder</source>
        <translation>Fotoordner suchen</translation>
    </message>
    <message>
        <source>JPG Directory</source>
        <translation>JPG-Ordner</translation>
    </message>
    <message>
        <source>Include sub-folders</source>
        <translation>Unterordner einbeziehen</translation>
    </message>
    <message>
        <source>List the photos of the folder&apos;s sub-folders too, as on a camera card (DCIM/100CANON)</source>
        <translation>Auch die Fotos der Unterordner des Ordners auflisten, wie auf einer Speicherkarte (DCIM/100CANON)</translation>
    </message>
    <message>
        <source>Choose the track file</source>
        <translation>Trackdatei wählen</translation>
    </message>
    <message>
        <source>Browse for the track file</source>
        <translation>Trackdatei suchen</translation>
    </message>
    <message>
        <source>Track file</source>
        <translation>Trackdatei</translation>
    </message>
    <message>
        <source>Settings file: %1</source>
        <translation>Einstellungsdatei: %1</translation>
    </message>
    <message>
        <source>Parse/Rename</source>
        <translation>Auslesen/Umbenennen</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>Datum</translation>
    </message>
    <message>
        <source>Position</source>
        <translation>Position</translation>
    </message>
    <message>
        <source>Lat/Lon</source>
        <translation>Breite/Länge</translation>
    </message>
    <message>
        <source>OSGB</source>
        <translation>OSGB</translation>
    </message>
    <message>
        <source>Offset</source>
        <translation>Verschiebung</translation>
    </message>
    <message>
        <source>From a photo of the GPS clock…</source>
        <translation>Aus einem Foto der GPS-Uhr …</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>Su&amp;ggest</source>
        <translation>&amp;Vorschlagen</translation>
    </message>
    <message>
        <source>The offsets that put the most photos near the track</source>
        <translation>Die Verschiebungen, die die meisten Fotos in die Nähe des Tracks bringen</translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation>&amp;Speichern</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Abbrechen</translation>
    </message>
    <message>
        <source>Select Directory</source>
        <translation>Ordner wählen</translation>
    </message>
    <message>
        <source>The settings could not be saved to %1:
%2</source>
        <translation>Die Einstellungen konnten nicht in %1 gespeichert werden:
%2</translation>
    </message>
    <message>
        <source>Offsets per camera</source>
        <translation>Verschiebung je Kamera</translation>
    </message>
    <message>
        <source>Photos of several cameras: Suggest gives each camera an offset here; an empty offset is the one above.</source>
        <translation>Fotos mehrerer Kameras: Vorschlagen gibt hier jeder Kamera eine Verschiebung; eine leere Verschiebung ist die obige.</translation>
    </message>
    <message>
        <source>Camera</source>
        <translation>Kamera</translation>
    </message>
    <message>
        <source>Photos</source>
        <translation>Fotos</translation>
    </message>
    <message>
        <source>The offset of the %1 is not an offset: enter hours, minutes and seconds (+1:00:00), minutes and seconds (-3:00), whole minutes, or nothing for the one offset.</source>
        <translation>Die Verschiebung der %1 ist keine Verschiebung: Geben Sie Stunden, Minuten und Sekunden (+1:00:00), Minuten und Sekunden (-3:00), ganze Minuten oder nichts für die gemeinsame Verschiebung ein.</translation>
    </message>
    <message>
        <source> s</source>
        <translation> s</translation>
    </message>
    <message>
        <source>Nearest point at most, in seconds</source>
        <translation>Nächster Punkt höchstens, in Sekunden</translation>
    </message>
    <message>
        <source>A photo matches a track point at most this far from it in time (MaxGapSeconds)</source>
        <translation>Ein Foto passt zu einem Trackpunkt, der zeitlich höchstens so weit entfernt ist (MaxGapSeconds)</translation>
    </message>
    <message>
        <source>Between points at most, in seconds apart</source>
        <translation>Zwischen Punkten höchstens, in Sekunden Abstand</translation>
    </message>
    <message>
        <source>A photo is placed between two points at most this far apart in time (MaxInterpolationGapSeconds)</source>
        <translation>Ein Foto wird zwischen zwei Punkte gesetzt, die zeitlich höchstens so weit auseinander liegen (MaxInterpolationGapSeconds)</translation>
    </message>
    <message>
        <source>Nearest point within</source>
        <translation>Nächster Punkt innerhalb von</translation>
    </message>
    <message>
        <source>between points up to</source>
        <translation>zwischen Punkten bis</translation>
    </message>
    <message>
        <source>apart</source>
        <translation>Abstand</translation>
    </message>
    <message>
        <source>none: the offset alone</source>
        <translation>keine: nur die Verschiebung</translation>
    </message>
    <message>
        <source>The time zone the camera&apos;s clock is set to, such as Europe/London: each photo is read in it at its own date, so a clock change during the trip needs no second offset, and the offset is only how far the clock is off (CameraZone)</source>
        <translation>Die Zeitzone, auf die die Kamerauhr gestellt ist, etwa Europe/London: Jedes Foto wird an seinem eigenen Datum darin gelesen, sodass eine Zeitumstellung während der Reise keine zweite Verschiebung braucht und die Verschiebung nur angibt, wie weit die Uhr abweicht (CameraZone)</translation>
    </message>
    <message>
        <source>Camera clock&apos;s time zone</source>
        <translation>Zeitzone der Kamerauhr</translation>
    </message>
    <message>
        <source>Keep the photos&apos; Software tag</source>
        <translation>Software-Tag der Fotos behalten</translation>
    </message>
    <message>
        <source>On: the Software tag keeps the camera&apos;s or editor&apos;s name; Pinroute&apos;s journal still knows which positions it wrote (KeepSoftware)</source>
        <translation>An: Das Software-Tag behält den Namen der Kamera oder des Editors; das Journal von Pinroute weiß weiterhin, welche Positionen es schrieb (KeepSoftware)</translation>
    </message>
    <message>
        <source>Please enter the offset as minutes (-58), minutes and seconds (-58:20) or hours, minutes and seconds (+1:02:20), at most 2147483647 minutes either way.</source>
        <translation>Bitte geben Sie die Verschiebung als Minuten (-58), Minuten und Sekunden (-58:20) oder Stunden, Minuten und Sekunden (+1:02:20) ein, höchstens 2147483647 Minuten in jede Richtung.</translation>
    </message>
    <message>
        <source>Phone photos: their positions serve as the track</source>
        <translation>Telefonfotos: Ihre Positionen dienen als Track</translation>
    </message>
    <message>
        <source>Choose a folder of photos with positions (a phone&apos;s) to serve as the track</source>
        <translation>Einen Ordner mit Fotos mit Positionen (von einem Telefon) wählen, die als Track dienen</translation>
    </message>
    <message>
        <source>Browse for the photo track folder</source>
        <translation>Ordner der Foto-Tracks suchen</translation>
    </message>
    <message>
        <source>Photo track</source>
        <translation>Foto-Track</translation>
    </message>
    <message>
        <source>How far the camera&apos;s clock runs ahead of the track&apos;s: minutes (-58), minutes:seconds (-58:20) or hours:minutes:seconds (+1:02:20)</source>
        <translation>Wie weit die Kamerauhr der des Tracks vorausgeht: Minuten (-58), Minuten:Sekunden (-58:20) oder Stunden:Minuten:Sekunden (+1:02:20)</translation>
    </message>
    <message>
        <source>Minutes, m:ss or h:mm:ss</source>
        <translation>Minuten, m:ss oder h:mm:ss</translation>
    </message>
    <message>
        <source>Select the photo track folder</source>
        <translation>Ordner der Foto-Tracks wählen</translation>
    </message>
</context>
<context>
    <name>Summary</name>
    <message>
        <source>GeoTag: %1</source>
        <translation>Geotaggen: %1</translation>
    </message>
    <message>
        <source>%1 tagged</source>
        <translation>%1 getaggt</translation>
    </message>
    <message>
        <source>%1 kept</source>
        <translation>%1 behalten</translation>
    </message>
    <message>
        <source>%1 rejected</source>
        <translation>%1 abgelehnt</translation>
    </message>
    <message>
        <source>%1 failed</source>
        <translation>%1 fehlgeschlagen</translation>
    </message>
    <message>
        <source>%1 without a capture time</source>
        <translation>%1 ohne Aufnahmezeit</translation>
    </message>
    <message>
        <source>(%1 in sidecars)</source>
        <translation>(%1 in Filialdateien)</translation>
    </message>
    <message>
        <source>Parse: %1</source>
        <translation>Auslesen: %1</translation>
    </message>
    <message>
        <source>%1 with a position</source>
        <translation>%1 mit Position</translation>
    </message>
    <message>
        <source>%1 without</source>
        <translation>%1 ohne</translation>
    </message>
    <message>
        <source>Rename: %1</source>
        <translation>Umbenennen: %1</translation>
    </message>
    <message>
        <source>%1 renamed</source>
        <translation>%1 umbenannt</translation>
    </message>
    <message>
        <source>%1 not renamed</source>
        <translation>%1 nicht umbenannt</translation>
    </message>
    <message>
        <source>Undo: %1</source>
        <translation>Rückgängig: %1</translation>
    </message>
    <message>
        <source>%1 restored</source>
        <translation>%1 wiederhergestellt</translation>
    </message>
    <message>
        <source>%1 not restored</source>
        <translation>%1 nicht wiederhergestellt</translation>
    </message>
    <message>
        <source>Remove: %1</source>
        <translation>Entfernen: %1</translation>
    </message>
    <message>
        <source>%1 removed</source>
        <translation>%1 entfernt</translation>
    </message>
    <message>
        <source>%1 without a position</source>
        <translation>%1 ohne Position</translation>
    </message>
    <message>
        <source>%n photo&apos;s position served as the track</source>
        <translation>die Position von %n Foto diente als Track</translation>
    </message>
    <message>
        <source>%n photos&apos; positions served as the track</source>
        <translation>die Positionen von %n Fotos dienten als Track</translation>
    </message>
    <message>
        <source>%n photo with a position but no time zone or GPS time left out of it</source>
        <translation>%n Foto mit Position, aber ohne Zeitzone oder GPS-Zeit blieb außen vor</translation>
    </message>
    <message>
        <source>%n photos with a position but no time zone or GPS time left out of it</source>
        <translation>%n Fotos mit Position, aber ohne Zeitzone oder GPS-Zeit blieben außen vor</translation>
    </message>
</context>
<context>
    <name>Tips</name>
    <message>
        <source>outside the British grid: shown as latitude/longitude</source>
        <translation>außerhalb des britischen Gitters: als Breite/Länge gezeigt</translation>
    </message>
    <message>
        <source>Position written:</source>
        <translation>Position geschrieben:</translation>
    </message>
    <message>
        <source>Position:</source>
        <translation>Position:</translation>
    </message>
    <message>
        <source>already as before the run</source>
        <translation>schon wie vor dem Lauf</translation>
    </message>
    <message>
        <source>moved or deleted since the run</source>
        <translation>seit dem Lauf verschoben oder gelöscht</translation>
    </message>
    <message>
        <source>the file the run changed is no longer this photo&apos;s</source>
        <translation>die Datei, die der Lauf änderte, gehört nicht mehr zu diesem Foto</translation>
    </message>
    <message>
        <source>changed since the run</source>
        <translation>seit dem Lauf geändert</translation>
    </message>
    <message>
        <source>another file has its old name</source>
        <translation>eine andere Datei trägt seinen alten Namen</translation>
    </message>
    <message>
        <source>the journal can&apos;t be written: %1</source>
        <translation>das Journal kann nicht geschrieben werden: %1</translation>
    </message>
    <message>
        <source>%n day %1 h</source>
        <translation>%n Tag %1 h</translation>
    </message>
    <message>
        <source>%n days %1 h</source>
        <translation>%n Tage %1 h</translation>
    </message>
    <message>
        <source>%1 h %2 min</source>
        <translation>%1 h %2 min</translation>
    </message>
    <message>
        <source>%1 min %2 s</source>
        <translation>%1 min %2 s</translation>
    </message>
    <message>
        <source>%1 s</source>
        <translation>%1 s</translation>
    </message>
    <message>
        <source>between two points %1 s apart</source>
        <translation>zwischen zwei Punkten, %1 s auseinander</translation>
    </message>
    <message>
        <source>nearest point, %1 s away</source>
        <translation>nächster Punkt, %1 s entfernt</translation>
    </message>
    <message>
        <source>time zone from the photo: %1</source>
        <translation>Zeitzone aus dem Foto: %1</translation>
    </message>
    <message>
        <source>the track has no timed point</source>
        <translation>der Track hat keinen Punkt mit Zeit</translation>
    </message>
    <message>
        <source>nearest track point %1 away</source>
        <translation>nächster Trackpunkt %1 entfernt</translation>
    </message>
    <message>
        <source>placed by hand</source>
        <translation>von Hand gesetzt</translation>
    </message>
    <message>
        <source>already named after its date and position</source>
        <translation>bereits nach Datum und Position benannt</translation>
    </message>
    <message>
        <source>the photo is not there</source>
        <translation>das Foto ist nicht da</translation>
    </message>
    <message>
        <source>offset %1</source>
        <translation>Verschiebung %1</translation>
    </message>
    <message>
        <source>offset %1 (%2)</source>
        <translation>Verschiebung %1 (%2)</translation>
    </message>
    <message>
        <source>the photo has a position that Pinroute didn&apos;t write, in its sidecar; &quot;Replace positions that photos already have&quot; in Set-up (--replace) writes over it</source>
        <translation>das Foto hat eine Position, die nicht von Pinroute stammt, in seiner Filialdatei; „Vorhandene Positionen in Fotos ersetzen“ in der Einrichtung (--replace) überschreibt sie</translation>
    </message>
    <message>
        <source>the photo has a position that Pinroute didn&apos;t write; &quot;Replace positions that photos already have&quot; in Set-up (--replace) writes over it</source>
        <translation>das Foto hat eine Position, die nicht von Pinroute stammt; „Vorhandene Positionen in Fotos ersetzen“ in der Einrichtung (--replace) überschreibt sie</translation>
    </message>
    <message>
        <source>%1 min</source>
        <translation>%1 min</translation>
    </message>
    <message>
        <source>placed from %1, %2 away</source>
        <translation>gesetzt nach %1, %2 entfernt</translation>
    </message>
    <message>
        <source>placed between %1 and %2, %3 apart</source>
        <translation>gesetzt zwischen %1 und %2, %3 auseinander</translation>
    </message>
    <message>
        <source>its position serves as a track point for the other photos</source>
        <translation>seine Position dient den anderen Fotos als Trackpunkt</translation>
    </message>
    <message>
        <source>its position can&apos;t serve as a track point: it states no time zone and has no GPS time stamp, so its moment in UTC is unknown</source>
        <translation>seine Position kann nicht als Trackpunkt dienen: Es nennt keine Zeitzone und hat keinen GPS-Zeitstempel, daher ist sein Zeitpunkt in UTC unbekannt</translation>
    </message>
    <message>
        <source>the position is not a latitude and longitude on the globe</source>
        <translation>die Position ist keine geografische Breite und Länge auf dem Globus</translation>
    </message>
    <message>
        <source>the photo has %1 hard links</source>
        <translation>das Foto hat %1 harte Links</translation>
    </message>
    <message>
        <source>the JPEG&apos;s segments can&apos;t be read</source>
        <translation>die Segmente der JPEG-Datei können nicht gelesen werden</translation>
    </message>
    <message>
        <source>the tool wrote an incomplete JPEG file</source>
        <translation>das Werkzeug hat eine unvollständige JPEG-Datei geschrieben</translation>
    </message>
    <message>
        <source>the photo is written, but the folder could not be flushed: %1</source>
        <translation>das Foto ist geschrieben, aber der Ordner konnte nicht auf den Datenträger geschrieben werden: %1</translation>
    </message>
    <message>
        <source>no working folder</source>
        <translation>kein Arbeitsordner</translation>
    </message>
    <message>
        <source>the check could not run: %1: %2</source>
        <translation>die Prüfung konnte nicht laufen: %1: %2</translation>
    </message>
    <message>
        <source>the check could not run: %1 was stopped</source>
        <translation>die Prüfung konnte nicht laufen: %1 wurde abgebrochen</translation>
    </message>
    <message>
        <source>a tag was not written: %1</source>
        <translation>ein Tag wurde nicht geschrieben: %1</translation>
    </message>
    <message>
        <source>a tag was not deleted: %1</source>
        <translation>ein Tag wurde nicht gelöscht: %1</translation>
    </message>
    <message>
        <source>a tag would be lost or changed: %1</source>
        <translation>ein Tag ginge verloren oder würde geändert: %1</translation>
    </message>
</context>
</TS>
