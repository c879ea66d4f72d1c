<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr">
<context>
    <name>AboutDialog</name>
    <message>
        <source>About Pinroute</source>
        <translation>À propos de Pinroute</translation>
    </message>
    <message>
        <source>Pinroute Version</source>
        <translation>Version de Pinroute</translation>
    </message>
    <message>
        <source>Web Site:-</source>
        <translation>Site web :-</translation>
    </message>
    <message>
        <source>Web site</source>
        <translation>Site web</translation>
    </message>
    <message>
        <source>Share GPS tracks:-</source>
        <translation>Partager des traces GPS :-</translation>
    </message>
    <message>
        <source>Share GPS tracks</source>
        <translation>Partager des traces GPS</translation>
    </message>
    <message>
        <source>Donate:-</source>
        <translation>Faire un don :-</translation>
    </message>
    <message>
        <source>Donate</source>
        <translation>Faire un don</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Place names: geonames.org, CC BY 4.0</source>
        <translation>Noms de lieux : geonames.org, CC BY 4.0</translation>
    </message>
    <message>
        <source>The towns, regions and countries Pinroute writes come from the GeoNames data (geonames.org), under the Creative Commons Attribution 4.0 licence, as Debian&apos;s libgeonames0 carries it</source>
        <translation>Les villes, régions et pays que Pinroute écrit proviennent des données GeoNames (geonames.org), sous licence Creative Commons Attribution 4.0, telles que les fournit le paquet libgeonames0 de Debian</translation>
    </message>
    <message>
        <source>%1 (built without the map)</source>
        <translation>%1 (compilé sans la carte)</translation>
    </message>
    <message>
        <source>Map: not built in</source>
        <translation>Carte : non incluse</translation>
    </message>
    <message>
        <source>Pinroute is free software under the GNU General Public License, version 3 or later, and comes with ABSOLUTELY NO WARRANTY.</source>
        <translation>Pinroute est un logiciel libre sous licence GNU General Public License, version 3 ou ultérieure, et est fourni SANS AUCUNE GARANTIE.</translation>
    </message>
</context>
<context>
    <name>Clock</name>
    <message>
        <source>%n photo states its zone and needs no offset</source>
        <translation>%n photo indique son fuseau horaire et n&apos;a pas besoin de décalage</translation>
    </message>
    <message>
        <source>%n photos state their zone and need no offset</source>
        <translation>%n photos indiquent leur fuseau horaire et n&apos;ont pas besoin de décalage</translation>
    </message>
    <message>
        <source>%1 min: %2 of %n photo matches</source>
        <translation>%1 min : %2 sur %n photo correspond</translation>
    </message>
    <message>
        <source>%1 min: %2 of %n photos match</source>
        <translation>%1 min : %2 sur %n photos correspondent</translation>
    </message>
    <message>
        <source>%1, summer time</source>
        <translation>%1, heure d&apos;été</translation>
    </message>
    <message>
        <source>%1 (%2)</source>
        <translation>%1 (%2)</translation>
    </message>
    <message>
        <source>The track starts near %1: %2, %3 (summer time) on the photos&apos; first day.</source>
        <translation>La trace commence près de %1 : %2, %3 (heure d&apos;été) le premier jour des photos.</translation>
    </message>
    <message>
        <source>The track starts near %1: %2, %3 on the photos&apos; first day.</source>
        <translation>La trace commence près de %1 : %2, %3 le premier jour des photos.</translation>
    </message>
    <message>
        <source>no track file matches %1</source>
        <translation>aucun fichier de trace ne correspond à %1</translation>
    </message>
    <message>
        <source>no track file could be read</source>
        <translation>aucun fichier de trace n&apos;a pu être lu</translation>
    </message>
    <message>
        <source>no working folder: %1</source>
        <translation>pas de dossier de travail : %1</translation>
    </message>
    <message>
        <source>stopped</source>
        <translation>arrêté</translation>
    </message>
    <message>
        <source>%1 min %3 s: %2 of %n photo matches</source>
        <translation>%1 min %3 s : %2 sur %n photo correspond</translation>
    </message>
    <message>
        <source>%1 min %3 s: %2 of %n photos match</source>
        <translation>%1 min %3 s : %2 sur %n photos correspondent</translation>
    </message>
    <message>
        <source>On their last day it is %1 (summer time): the clocks changed during the trip, so a camera on local time needs a different offset for the photos after the change, or the camera&apos;s zone set to %2 (CameraZone) for one offset to serve them all.</source>
        <translation>Le dernier jour, il est %1 (heure d&apos;été) : l&apos;heure a changé pendant le voyage, donc un appareil à l&apos;heure locale a besoin d&apos;un autre décalage pour les photos d&apos;après le changement, ou du fuseau de l&apos;appareil réglé sur %2 (CameraZone) pour qu&apos;un seul décalage serve à toutes.</translation>
    </message>
    <message>
        <source>On their last day it is %1: the clocks changed during the trip, so a camera on local time needs a different offset for the photos after the change, or the camera&apos;s zone set to %2 (CameraZone) for one offset to serve them all.</source>
        <translation>Le dernier jour, il est %1 : l&apos;heure a changé pendant le voyage, donc un appareil à l&apos;heure locale a besoin d&apos;un autre décalage pour les photos d&apos;après le changement, ou du fuseau de l&apos;appareil réglé sur %2 (CameraZone) pour qu&apos;un seul décalage serve à toutes.</translation>
    </message>
</context>
<context>
    <name>ClockOffsetDialog</name>
    <message>
        <source>Photo of the GPS clock</source>
        <translation>Photo de l&apos;horloge GPS</translation>
    </message>
    <message>
        <source>From a photo of the GPS clock</source>
        <translation>À partir d&apos;une photo de l&apos;horloge GPS</translation>
    </message>
    <message>
        <source>Take a photo of the GPS receiver&apos;s clock (or any clock that shows UTC or GPS time), pick it here and type the time it shows.</source>
        <translation>Photographiez l&apos;horloge du récepteur GPS (ou toute horloge qui affiche l&apos;heure UTC ou GPS), choisissez la photo ici et saisissez l&apos;heure affichée.</translation>
    </message>
    <message>
        <source>Photo</source>
        <translation>Photo</translation>
    </message>
    <message>
        <source>Photo of the clock</source>
        <translation>Photo de l&apos;horloge</translation>
    </message>
    <message>
        <source>Choose the photo of the clock</source>
        <translation>Choisir la photo de l&apos;horloge</translation>
    </message>
    <message>
        <source>Camera time</source>
        <translation>Heure de l&apos;appareil</translation>
    </message>
    <message>
        <source>Clock shows</source>
        <translation>L&apos;horloge affiche</translation>
    </message>
    <message>
        <source>HH:MM:SS</source>
        <translation>HH:MM:SS</translation>
    </message>
    <message>
        <source>The UTC or GPS time the clock in the photo shows, as HH:MM:SS</source>
        <translation>L&apos;heure UTC ou GPS qu&apos;affiche l&apos;horloge sur la photo, au format HH:MM:SS</translation>
    </message>
    <message>
        <source>UTC / GPS time</source>
        <translation>heure UTC / GPS</translation>
    </message>
    <message>
        <source>&amp;Use</source>
        <translation>&amp;Utiliser</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>A&amp;nnuler</translation>
    </message>
    <message>
        <source>The photo has no capture time.</source>
        <translation>La photo n&apos;a pas d&apos;heure de prise de vue.</translation>
    </message>
    <message>
        <source>Type the time as HH:MM:SS.</source>
        <translation>Saisissez l&apos;heure au format HH:MM:SS.</translation>
    </message>
    <message>
        <source>Offset: %1</source>
        <translation>Décalage : %1</translation>
    </message>
</context>
<context>
    <name>Folder</name>
    <message>
        <source>No photo folder is set: choose one in Set-up.</source>
        <translation>Aucun dossier de photos n&apos;est défini : choisissez-en un dans la Configuration.</translation>
    </message>
    <message>
        <source>The photo folder %1 doesn&apos;t exist.</source>
        <translation>Le dossier de photos %1 n&apos;existe pas.</translation>
    </message>
    <message>
        <source>%1 is not a folder.</source>
        <translation>%1 n&apos;est pas un dossier.</translation>
    </message>
    <message>
        <source>The photo folder %1 can&apos;t be read: %2.</source>
        <translation>Le dossier de photos %1 ne peut pas être lu : %2.</translation>
    </message>
    <message>
        <source>The photo folder %1 has no photos (JPEG, TIFF, PNG, WebP, HEIC or RAW).</source>
        <translation>Le dossier de photos %1 ne contient aucune photo (JPEG, TIFF, PNG, WebP, HEIC ou RAW).</translation>
    </message>
    <message>
        <source>The photo folder %1 has no photos, but its sub-folders have %2 (%3): %4.</source>
        <translation>Le dossier de photos %1 ne contient aucune photo, mais ses sous-dossiers en ont %2 (%3) : %4.</translation>
    </message>
    <message>
        <source>include sub-folders to use them</source>
        <translation>incluez les sous-dossiers pour les utiliser</translation>
    </message>
    <message>
        <source>tick Include sub-folders in Set-up to use them</source>
        <translation>cochez « Inclure les sous-dossiers » dans la Configuration pour les utiliser</translation>
    </message>
    <message>
        <source>tick Include sub-folders to use them</source>
        <translation>cochez « Inclure les sous-dossiers » pour les utiliser</translation>
    </message>
</context>
<context>
    <name>FolderBrowser</name>
    <message>
        <source>GPX Files *.GPX (*.[gG][pP][xX])</source>
        <translation>Fichiers GPX *.GPX (*.[gG][pP][xX])</translation>
    </message>
</context>
<context>
    <name>HelpLauncher</name>
    <message>
        <source>The program&apos;s own path could not be found, so neither could its help file.</source>
        <translation>Le chemin du programme est introuvable, donc son fichier d&apos;aide aussi.</translation>
    </message>
    <message>
        <source>The help file could not be found.</source>
        <translation>Le fichier d&apos;aide est introuvable.</translation>
    </message>
    <message>
        <source>The help file could not be opened.</source>
        <translation>Le fichier d&apos;aide n&apos;a pas pu être ouvert.</translation>
    </message>
    <message>
        <source>The help file could not be read: it holds no Pinroute manual.</source>
        <translation>Le fichier d&apos;aide n&apos;a pas pu être lu : il ne contient pas de manuel de Pinroute.</translation>
    </message>
    <message>
        <source>The manual that the help file names could not be found: %1</source>
        <translation>Le manuel que nomme le fichier d&apos;aide est introuvable : %1</translation>
    </message>
    <message>
        <source>The page &quot;%1&quot; is not in the help file.</source>
        <translation>La page « %1 » ne figure pas dans le fichier d&apos;aide.</translation>
    </message>
    <message>
        <source>Failed to open the Help automatically, please open it manually</source>
        <translation>L&apos;aide n&apos;a pas pu s&apos;ouvrir automatiquement, veuillez l&apos;ouvrir à la main</translation>
    </message>
    <message>
        <source>Help Error</source>
        <translation>Erreur d&apos;aide</translation>
    </message>
</context>
<context>
    <name>HelpViewer</name>
    <message>
        <source>Pinroute Help</source>
        <translation>Aide de Pinroute</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Aide</translation>
    </message>
    <message>
        <source>&amp;Contents</source>
        <translation>&amp;Sommaire</translation>
    </message>
    <message>
        <source>Show or hide the list of topics</source>
        <translation>Afficher ou masquer la liste des sujets</translation>
    </message>
    <message>
        <source>&amp;Back</source>
        <translation>&amp;Précédent</translation>
    </message>
    <message>
        <source>&amp;Forward</source>
        <translation>&amp;Suivant</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Fermer</translation>
    </message>
</context>
<context>
    <name>LinkEdit</name>
    <message>
        <source>Double-click to write a mail</source>
        <translation>Double-cliquez pour écrire un courriel</translation>
    </message>
    <message>
        <source>Double-click to open</source>
        <translation>Double-cliquez pour ouvrir</translation>
    </message>
</context>
<context>
    <name>MainDialog</name>
    <message>
        <source>&amp;GeoTag</source>
        <translation>&amp;Géomarquer</translation>
    </message>
    <message>
        <source>&amp;Parse</source>
        <translation>&amp;Lire</translation>
    </message>
    <message>
        <source>&amp;Rename</source>
        <translation>&amp;Renommer</translation>
    </message>
    <message>
        <source>&amp;About</source>
        <translation>À &amp;propos</translation>
    </message>
    <message>
        <source>&amp;Set-up</source>
        <translation>&amp;Configuration</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>&amp;Fermer</translation>
    </message>
    <message>
        <source>No web browser could be started to show the map.
The address, to open by hand:
%1</source>
        <translation>Aucun navigateur web n&apos;a pu être lancé pour afficher la carte.
L&apos;adresse, à ouvrir à la main :
%1</translation>
    </message>
    <message>
        <source>Show on map</source>
        <translation>Afficher sur la carte</translation>
    </message>
    <message>
        <source>Status</source>
        <translation>État</translation>
    </message>
    <message>
        <source>The track file being read, a run&apos;s progress and its summary</source>
        <translation>Le fichier de trace en cours de lecture, l&apos;avancement d&apos;une opération et son bilan</translation>
    </message>
    <message>
        <source>Parsing:-</source>
        <translation>Lecture :-</translation>
    </message>
    <message>
        <source>Pinroute %1 (%2)</source>
        <translation>Pinroute %1 (%2)</translation>
    </message>
    <message>
        <source>&lt;p&gt;&lt;b&gt;Welcome to Pinroute.&lt;/b&gt;&lt;/p&gt;&lt;p&gt;Choose the folder of your photos and the track your GPS recorded in &lt;a href=&quot;setup&quot;&gt;Set-up&lt;/a&gt;; then GeoTag writes where each photo was taken.&lt;/p&gt;&lt;p&gt;Or drop photos here.&lt;/p&gt;</source>
        <translation>&lt;p&gt;&lt;b&gt;Bienvenue dans Pinroute.&lt;/b&gt;&lt;/p&gt;&lt;p&gt;Choisissez le dossier de vos photos et la trace enregistrée par votre GPS dans la &lt;a href=&quot;setup&quot;&gt;Configuration&lt;/a&gt; ; Géomarquer écrit ensuite où chaque photo a été prise.&lt;/p&gt;&lt;p&gt;Vous pouvez aussi déposer des photos ici.&lt;/p&gt;</translation>
    </message>
    <message>
        <source>&lt;p&gt;%1&lt;/p&gt;&lt;p&gt;Change the folder in &lt;a href=&quot;setup&quot;&gt;Set-up&lt;/a&gt;, or drop photos here.&lt;/p&gt;</source>
        <translation>&lt;p&gt;%1&lt;/p&gt;&lt;p&gt;Changez de dossier dans la &lt;a href=&quot;setup&quot;&gt;Configuration&lt;/a&gt;, ou déposez des photos ici.&lt;/p&gt;</translation>
    </message>
    <message>
        <source>No photos in the list.</source>
        <translation>Aucune photo dans la liste.</translation>
    </message>
    <message>
        <source>Pinroute can&apos;t create its working folder: %1</source>
        <translation>Pinroute ne peut pas créer son dossier de travail : %1</translation>
    </message>
    <message>
        <source>%1 %L2 of %L3: %4</source>
        <translation>%1 %L2 sur %L3 : %4</translation>
    </message>
    <message>
        <source>Rename %L1 of %L2 photo?</source>
        <translation>Renommer %L1 photo sur %L2 ?</translation>
    </message>
    <message>
        <source>Rename %L1 of %L2 photos?</source>
        <translation>Renommer %L1 photos sur %L2 ?</translation>
    </message>
    <message>
        <source>
and %L1 more.</source>
        <translation>
et %L1 de plus.</translation>
    </message>
    <message>
        <source>There are no photos in the list.</source>
        <translation>La liste ne contient aucune photo.</translation>
    </message>
    <message>
        <source>Pinroute can&apos;t write in %1: %2.
No photo was changed.</source>
        <translation>Pinroute ne peut pas écrire dans %1 : %2.
Aucune photo n&apos;a été modifiée.</translation>
    </message>
    <message>
        <source>%1...</source>
        <translation>%1…</translation>
    </message>
    <message>
        <source>%1 could not start: the system allows no more threads</source>
        <translation>%1 n&apos;a pas pu démarrer : le système n&apos;autorise pas d&apos;autres fils d&apos;exécution</translation>
    </message>
    <message>
        <source>Stopped after %L1 of %L2</source>
        <translation>Arrêté après %L1 sur %L2</translation>
    </message>
    <message>
        <source>Rename: no photo would get a new name</source>
        <translation>Renommer : aucune photo n&apos;aurait de nouveau nom</translation>
    </message>
    <message>
        <source>No photo would get a new name: each has no date and position to add, or is already named after them.</source>
        <translation>Aucune photo n&apos;aurait de nouveau nom : aucune n&apos;a de date ni de position à ajouter, ou elles portent déjà ce nom.</translation>
    </message>
    <message>
        <source>Rename: nothing renamed</source>
        <translation>Renommer : rien n&apos;a été renommé</translation>
    </message>
    <message>
        <source>No track file is set: choose one in Set-up.</source>
        <translation>Aucun fichier de trace n&apos;est défini : choisissez-en un dans la Configuration.</translation>
    </message>
    <message>
        <source>No track file matches %1.</source>
        <translation>Aucun fichier de trace ne correspond à %1.</translation>
    </message>
    <message>
        <source>%1
No photo was changed.</source>
        <translation>%1
Aucune photo n&apos;a été modifiée.</translation>
    </message>
    <message>
        <source>The journal can&apos;t be used: %1.
Nothing was undone.</source>
        <translation>Le journal ne peut pas être utilisé : %1.
Rien n&apos;a été annulé.</translation>
    </message>
    <message>
        <source>There is no run to undo.</source>
        <translation>Il n&apos;y a aucune opération à annuler.</translation>
    </message>
    <message>
        <source>The last run (%1) can&apos;t be undone: %2.
Nothing was undone.</source>
        <translation>La dernière opération (%1) ne peut pas être annulée : %2.
Rien n&apos;a été annulé.</translation>
    </message>
    <message>
        <source>Remove the position from %1?</source>
        <translation>Supprimer la position de %1 ?</translation>
    </message>
    <message>
        <source>Remove the positions from %L1 photos?</source>
        <translation>Supprimer les positions de %L1 photos ?</translation>
    </message>
    <message>
        <source>Remove position</source>
        <translation>Supprimer la position</translation>
    </message>
    <message>
        <source>%1
Undo last run (Ctrl+Z) puts them back.</source>
        <translation>%1
« Annuler la dernière opération » (Ctrl+Z) les rétablit.</translation>
    </message>
    <message>
        <source>Remove the town, region and country names too?</source>
        <translation>Supprimer aussi les noms de ville, de région et de pays ?</translation>
    </message>
    <message>
        <source>%1
No photo holds a position with a time zone or GPS time to serve as the track instead.
No photo was changed.</source>
        <translation>%1
Aucune photo n&apos;a de position avec fuseau horaire ou heure GPS pour servir de trace à la place.
Aucune photo n&apos;a été modifiée.</translation>
    </message>
    <message>
        <source>%1.
No photo was changed: correct it in Set-up.</source>
        <translation>%1.
Aucune photo n&apos;a été modifiée : corrigez-le dans la Configuration.</translation>
    </message>
    <message>
        <source>The run can&apos;t start: %1.</source>
        <translation>L&apos;opération ne peut pas commencer : %1.</translation>
    </message>
</context>
<context>
    <name>MapPanel</name>
    <message>
        <source>can&apos;t be read</source>
        <translation>illisible</translation>
    </message>
    <message>
        <source>The map is not shown while Pinroute runs as root.</source>
        <translation>La carte n&apos;est pas affichée tant que Pinroute s&apos;exécute en tant que root.</translation>
    </message>
    <message>
        <source>Map</source>
        <translation>Carte</translation>
    </message>
    <message>
        <source>The photos and the track on a map. Arrow keys move it, + and - zoom, Enter places the photos selected in the list at the cross in the middle.</source>
        <translation>Les photos et la trace sur une carte. Les touches fléchées la déplacent, + et - zooment, Entrée place les photos sélectionnées dans la liste sur la croix au centre.</translation>
    </message>
    <message>
        <source>and %L1 more</source>
        <translation>et %L1 de plus</translation>
    </message>
    <message>
        <source>The camera clock runs %L1 min %L2 s behind the track&apos;s time.</source>
        <translation>L&apos;horloge de l&apos;appareil retarde de %L1 min %L2 s sur l&apos;heure de la trace.</translation>
    </message>
    <message>
        <source>The camera clock runs %L1 min %L2 s ahead of the track&apos;s time.</source>
        <translation>L&apos;horloge de l&apos;appareil avance de %L1 min %L2 s sur l&apos;heure de la trace.</translation>
    </message>
    <message>
        <source>%1 was taken here?

Its camera clock said %2; the track passed this point at %3 UTC.</source>
        <translation>%1 a été prise ici ?

L&apos;horloge de l&apos;appareil indiquait %2 ; la trace est passée par ce point à %3 UTC.</translation>
    </message>
    <message>
        <source>The photos are being written: place them once the run has ended.</source>
        <translation>Les photos sont en cours d&apos;écriture : placez-les une fois l&apos;opération terminée.</translation>
    </message>
    <message>
        <source>Place on the map</source>
        <translation>Placer sur la carte</translation>
    </message>
    <message>
        <source>Place this photo here?
%1

at %2

The position is written into it, in place of any it had.</source>
        <translation>Placer cette photo ici ?
%1

à %2

La position y est écrite, à la place de toute position antérieure.</translation>
    </message>
    <message>
        <source>Place these %L3 photos here?
%1

at %2

The position is written into each of them, in place of any it had.</source>
        <translation>Placer ces %L3 photos ici ?
%1

à %2

La position est écrite dans chacune, à la place de toute position antérieure.</translation>
    </message>
    <message>
        <source>Camera clock offset</source>
        <translation>Décalage de l&apos;horloge de l&apos;appareil</translation>
    </message>
    <message>
        <source>Select one photo, then click the point of the track where it was taken.</source>
        <translation>Sélectionnez une photo, puis cliquez sur le point de la trace où elle a été prise.</translation>
    </message>
    <message>
        <source>This point of the track has no time: choose another.</source>
        <translation>Ce point de la trace n&apos;a pas d&apos;heure : choisissez-en un autre.</translation>
    </message>
    <message>
        <source>The photos are being worked on: try again once the run has ended.</source>
        <translation>Les photos sont en cours de traitement : réessayez une fois l&apos;opération terminée.</translation>
    </message>
    <message>
        <source>%1 has no capture time, so the offset can&apos;t be worked out from it.</source>
        <translation>%1 n&apos;a pas d&apos;heure de prise de vue, le décalage ne peut donc pas en être déduit.</translation>
    </message>
    <message>
        <source>The photo&apos;s time and the track&apos;s are too far apart to be an offset.</source>
        <translation>L&apos;heure de la photo et celle de la trace sont trop éloignées pour former un décalage.</translation>
    </message>
    <message>
        <source>This photo states its time zone: GeoTag matches it by that, not by the offset, while &quot;Use the time zone stored in the photo&quot; is on.</source>
        <translation>Cette photo indique son fuseau horaire : Géomarquer l&apos;associe par celui-ci, et non par le décalage, tant que « Utiliser le fuseau horaire enregistré dans la photo » est coché.</translation>
    </message>
    <message>
        <source>That is the offset already set.</source>
        <translation>C&apos;est déjà le décalage défini.</translation>
    </message>
    <message>
        <source>the settings file can&apos;t be read</source>
        <translation>le fichier de paramètres ne peut pas être lu</translation>
    </message>
    <message>
        <source>The offset could not be saved: %1.</source>
        <translation>Le décalage n&apos;a pas pu être enregistré : %1.</translation>
    </message>
    <message>
        <source>Hide this line</source>
        <translation>Masquer cette ligne</translation>
    </message>
    <message>
        <source>Map tiles could not be loaded: offline? See Set-up → Map tiles</source>
        <translation>Les tuiles de la carte n&apos;ont pas pu être chargées : hors ligne ? Voir Configuration → Tuiles de carte</translation>
    </message>
    <message>
        <source>About map tiles</source>
        <translation>À propos des tuiles de carte</translation>
    </message>
    <message>
        <source>The area you view is sent to %1 to fetch the map&apos;s tiles.</source>
        <translation>La zone affichée est envoyée à %1 pour obtenir les tuiles de la carte.</translation>
    </message>
    <message>
        <source>Map tiles: %1</source>
        <translation>Tuiles de carte : %1</translation>
    </message>
    <message>
        <source>This photo was taken here</source>
        <translation>Cette photo a été prise ici</translation>
    </message>
    <message>
        <source>Select one photo in the list, then click the track where it was taken: Pinroute works out the camera clock&apos;s offset from that point.</source>
        <translation>Sélectionnez une photo dans la liste, puis cliquez sur la trace là où elle a été prise : Pinroute en déduit le décalage de l&apos;horloge de l&apos;appareil.</translation>
    </message>
    <message>
        <source>Map: arrow keys move it, + and - zoom, Enter places the selected photos at the cross in the middle</source>
        <translation>Carte : les touches fléchées la déplacent, + et - zooment, Entrée place les photos sélectionnées sur la croix au centre</translation>
    </message>
    <message>
        <source>Select photos in the list, then press Enter to place them at the cross.</source>
        <translation>Sélectionnez des photos dans la liste, puis appuyez sur Entrée pour les placer sur la croix.</translation>
    </message>
    <message>
        <source>Offset: %1.</source>
        <translation>Décalage : %1.</translation>
    </message>
    <message>
        <source>Offset: %1 from %2 time.</source>
        <translation>Décalage : %1 par rapport à l&apos;heure de %2.</translation>
    </message>
    <message>
        <source>Save %1 as the offset (now %2)?</source>
        <translation>Enregistrer %1 comme décalage (actuellement %2) ?</translation>
    </message>
</context>
<context>
    <name>MapSplitter</name>
    <message>
        <source>Hide the map (Ctrl+M)</source>
        <translation>Masquer la carte (Ctrl+M)</translation>
    </message>
    <message>
        <source>Show the map (Ctrl+M)</source>
        <translation>Afficher la carte (Ctrl+M)</translation>
    </message>
    <message>
        <source>1 photo</source>
        <translation>1 photo</translation>
    </message>
    <message>
        <source>%L1 photos</source>
        <translation>%L1 photos</translation>
    </message>
</context>
<context>
    <name>Offset</name>
    <message>
        <source>%1 minute</source>
        <translation>%1 minute</translation>
    </message>
    <message>
        <source>%1 minutes</source>
        <translation>%1 minutes</translation>
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
        <translation>Décalages suggérés</translation>
    </message>
    <message>
        <source>&amp;Use</source>
        <translation>&amp;Utiliser</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>A&amp;nnuler</translation>
    </message>
    <message>
        <source>Reading %L1 photos…</source>
        <translation>Lecture de %L1 photos…</translation>
    </message>
    <message>
        <source>Every photo states its zone: none needs an offset.</source>
        <translation>Chaque photo indique son fuseau horaire : aucune n&apos;a besoin de décalage.</translation>
    </message>
    <message>
        <source>No offset puts any of the %L1 photos near the track.</source>
        <translation>Aucun décalage ne rapproche de la trace l&apos;une des %L1 photos.</translation>
    </message>
    <message>
        <source>The offsets that match the most photos:</source>
        <translation>Les décalages qui correspondent au plus grand nombre de photos :</translation>
    </message>
    <message>
        <source> Per camera:</source>
        <translation> Par appareil :</translation>
    </message>
    <message>
        <source>%1 (%L2 photo)</source>
        <translation>%1 (%L2 photo)</translation>
    </message>
    <message>
        <source>%1 (%L2 photos)</source>
        <translation>%1 (%L2 photos)</translation>
    </message>
    <message>
        <source>none matches</source>
        <translation>aucun ne correspond</translation>
    </message>
    <message>
        <source>Set the camera&apos;s clock to %1 time (follows its clock changes)</source>
        <translation>Régler l&apos;horloge de l&apos;appareil sur l&apos;heure de %1 (suit ses changements d&apos;heure)</translation>
    </message>
</context>
<context>
    <name>PhotoListModel</name>
    <message>
        <source>not processed</source>
        <translation>non traitée</translation>
    </message>
    <message>
        <source>tagged</source>
        <translation>géomarquée</translation>
    </message>
    <message>
        <source>tagged in its sidecar</source>
        <translation>géomarquée dans son fichier annexe</translation>
    </message>
    <message>
        <source>kept its own position</source>
        <translation>garde sa propre position</translation>
    </message>
    <message>
        <source>rejected</source>
        <translation>rejetée</translation>
    </message>
    <message>
        <source>no EXIF data</source>
        <translation>pas de données EXIF</translation>
    </message>
    <message>
        <source>no GPS position</source>
        <translation>pas de position GPS</translation>
    </message>
    <message>
        <source>could not be read</source>
        <translation>illisible</translation>
    </message>
    <message>
        <source>failed</source>
        <translation>échec</translation>
    </message>
    <message>
        <source>read</source>
        <translation>lue</translation>
    </message>
    <message>
        <source>renamed</source>
        <translation>renommée</translation>
    </message>
    <message>
        <source>not renamed</source>
        <translation>non renommée</translation>
    </message>
    <message>
        <source>restored</source>
        <translation>restaurée</translation>
    </message>
    <message>
        <source>not restored</source>
        <translation>non restaurée</translation>
    </message>
    <message>
        <source>position removed</source>
        <translation>position supprimée</translation>
    </message>
    <message>
        <source>File name</source>
        <translation>Nom de fichier</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>Date</translation>
    </message>
    <message>
        <source>Position/Message</source>
        <translation>Position/Message</translation>
    </message>
</context>
<context>
    <name>PhotoListView</name>
    <message>
        <source>Photos</source>
        <translation>Photos</translation>
    </message>
    <message>
        <source>One row per photo: its name, when it was taken, and its position or what went wrong</source>
        <translation>Une ligne par photo : son nom, sa date de prise de vue, et sa position ou ce qui s&apos;est mal passé</translation>
    </message>
    <message>
        <source>Show on &amp;map</source>
        <translation>Afficher sur la &amp;carte</translation>
    </message>
    <message>
        <source>&amp;Copy position</source>
        <translation>&amp;Copier la position</translation>
    </message>
    <message>
        <source>&amp;Remove positions (%L1 photos)</source>
        <translation>&amp;Supprimer les positions (%L1 photos)</translation>
    </message>
    <message>
        <source>&amp;Remove position</source>
        <translation>&amp;Supprimer la position</translation>
    </message>
    <message>
        <source>&amp;Undo last run</source>
        <translation>&amp;Annuler la dernière opération</translation>
    </message>
</context>
<context>
    <name>PlaceSearch</name>
    <message>
        <source>Find a town</source>
        <translation>Trouver une ville</translation>
    </message>
    <message>
        <source>Type a town&apos;s name to centre the map on it; with photos selected, you can place them there</source>
        <translation>Saisissez le nom d&apos;une ville pour centrer la carte dessus ; avec des photos sélectionnées, vous pouvez les y placer</translation>
    </message>
</context>
<context>
    <name>RowText</name>
    <message>
        <source>Rejected</source>
        <translation>Rejetée</translation>
    </message>
    <message>
        <source>No EXIF data found</source>
        <translation>Aucune donnée EXIF trouvée</translation>
    </message>
    <message>
        <source>No GPS position</source>
        <translation>Pas de position GPS</translation>
    </message>
    <message>
        <source>Could not read EXIF data</source>
        <translation>Impossible de lire les données EXIF</translation>
    </message>
    <message>
        <source>Failed to write GPS tags</source>
        <translation>Échec de l&apos;écriture des balises GPS</translation>
    </message>
    <message>
        <source>Restored</source>
        <translation>Restaurée</translation>
    </message>
    <message>
        <source>Not restored</source>
        <translation>Non restaurée</translation>
    </message>
    <message>
        <source>Position removed</source>
        <translation>Position supprimée</translation>
    </message>
    <message>
        <source>Kept its own position</source>
        <translation>Garde sa propre position</translation>
    </message>
    <message>
        <source>Position in sidecar %1</source>
        <translation>Position dans le fichier annexe %1</translation>
    </message>
    <message>
        <source>The journal can&apos;t be written: %1</source>
        <translation>Le journal ne peut pas être écrit : %1</translation>
    </message>
    <message>
        <source>Original file not found</source>
        <translation>Fichier d&apos;origine introuvable</translation>
    </message>
    <message>
        <source>File or directory specified already exists or could not be created (invalid path)</source>
        <translation>Le fichier ou dossier indiqué existe déjà ou n&apos;a pas pu être créé (chemin non valide)</translation>
    </message>
    <message>
        <source>File name contains invalid characters</source>
        <translation>Le nom de fichier contient des caractères non valides</translation>
    </message>
    <message>
        <source>Unknown Error</source>
        <translation>Erreur inconnue</translation>
    </message>
</context>
<context>
    <name>RunMessages</name>
    <message>
        <source>Place on the map</source>
        <translation>Placer sur la carte</translation>
    </message>
    <message>
        <source>GeoTag</source>
        <translation>Géomarquer</translation>
    </message>
    <message>
        <source>Parse</source>
        <translation>Lire</translation>
    </message>
    <message>
        <source>Rename</source>
        <translation>Renommer</translation>
    </message>
    <message>
        <source>Undo</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>Supprimer</translation>
    </message>
    <message>
        <source>%1 of %L2 photo, %3.</source>
        <translation>%1 de %L2 photo, %3.</translation>
    </message>
    <message>
        <source>%1 of %L2 photos, %3.</source>
        <translation>%1 de %L2 photos, %3.</translation>
    </message>
    <message>
        <source>%1 of %L2 photo in %3, %4.</source>
        <translation>%1 de %L2 photo dans %3, %4.</translation>
    </message>
    <message>
        <source>%1 of %L2 photos in %3, %4.</source>
        <translation>%1 de %L2 photos dans %3, %4.</translation>
    </message>
    <message>
        <source>Undo the last run?

%1

Each photo gets back what it had before the run; a photo changed since is left as it is.</source>
        <translation>Annuler la dernière opération ?

%1

Chaque photo retrouve ce qu&apos;elle avait avant l&apos;opération ; une photo modifiée depuis reste telle quelle.</translation>
    </message>
    <message>
        <source>No photo was taken near the track, so none was changed.</source>
        <translation>Aucune photo n&apos;a été prise près de la trace, donc aucune n&apos;a été modifiée.</translation>
    </message>
    <message>
        <source>The track: %1 UTC.</source>
        <translation>La trace : %1 UTC.</translation>
    </message>
    <message>
        <source>Set the offset in Set-up, or let Suggest find it.</source>
        <translation>Définissez le décalage dans la Configuration, ou laissez Suggérer le trouver.</translation>
    </message>
    <message>
        <source>No clock offset brings them together: check that the track is from the day of the photos.</source>
        <translation>Aucun décalage d&apos;horloge ne les rapproche : vérifiez que la trace date du jour des photos.</translation>
    </message>
    <message>
        <source>%1.</source>
        <translation>%1.</translation>
    </message>
    <message>
        <source>%1.
No photo was changed. (Journal=0 in the settings turns the journal off.)</source>
        <translation>%1.
Aucune photo n&apos;a été modifiée. (Journal=0 dans les paramètres désactive le journal.)</translation>
    </message>
    <message>
        <source>No track file could be read; no photo was changed.
%1</source>
        <translation>Aucun fichier de trace n&apos;a pu être lu ; aucune photo n&apos;a été modifiée.
%1</translation>
    </message>
    <message>
        <source>These track files were skipped; the run used the others:
%1</source>
        <translation>Ces fichiers de trace ont été ignorés ; l&apos;opération a utilisé les autres :
%1</translation>
    </message>
    <message>
        <source>Your photos: %1 (camera time, offset %2).</source>
        <translation>Vos photos : %1 (heure de l&apos;appareil, décalage %2).</translation>
    </message>
    <message>
        <source>For the %1, an offset of %2 would match %L3 photo.</source>
        <translation>Pour le %1, un décalage de %2 ferait correspondre %L3 photo.</translation>
    </message>
    <message>
        <source>For the %1, an offset of %2 would match %L3 photos.</source>
        <translation>Pour le %1, un décalage de %2 ferait correspondre %L3 photos.</translation>
    </message>
    <message>
        <source>An offset of %1 would match %L2 photo.</source>
        <translation>Un décalage de %1 ferait correspondre %L2 photo.</translation>
    </message>
    <message>
        <source>An offset of %1 would match %L2 photos.</source>
        <translation>Un décalage de %1 ferait correspondre %L2 photos.</translation>
    </message>
</context>
<context>
    <name>SetupDialog</name>
    <message>
        <source>Track files</source>
        <translation>Fichiers de trace</translation>
    </message>
    <message>
        <source>GPX files</source>
        <translation>Fichiers GPX</translation>
    </message>
    <message>
        <source>All files (*)</source>
        <translation>Tous les fichiers (*)</translation>
    </message>
    <message>
        <source>Set-up</source>
        <translation>Configuration</translation>
    </message>
    <message>
        <source>Write RAW positions to XMP sidecars</source>
        <translation>Écrire les positions RAW dans des fichiers annexes XMP</translation>
    </message>
    <message>
        <source>CR3, RW2 and ORF photos always get a sidecar (NAME.EXT.xmp)</source>
        <translation>Les photos CR3, RW2 et ORF ont toujours un fichier annexe (NOM.EXT.xmp)</translation>
    </message>
    <message>
        <source>Place photos between track points</source>
        <translation>Placer les photos entre les points de la trace</translation>
    </message>
    <message>
        <source>A photo taken between two points of a segment (at most 30 minutes apart) gets the position between them, written at full precision with its UTC time; otherwise the nearest point, to a hundredth of a minute</source>
        <translation>Une photo prise entre deux points d&apos;un segment (distants d&apos;au plus 30 minutes) reçoit la position entre eux, écrite en pleine précision avec son heure UTC ; sinon le point le plus proche, au centième de minute</translation>
    </message>
    <message>
        <source>Use the time zone stored in the photo</source>
        <translation>Utiliser le fuseau horaire enregistré dans la photo</translation>
    </message>
    <message>
        <source>A photo that states its time zone (phones, newer cameras) is matched by it; the offset serves the others</source>
        <translation>Une photo qui indique son fuseau horaire (téléphones, appareils récents) est associée par celui-ci ; le décalage sert aux autres</translation>
    </message>
    <message>
        <source>Replace positions that photos already have</source>
        <translation>Remplacer les positions que les photos ont déjà</translation>
    </message>
    <message>
        <source>Off: a photo with a position Pinroute didn&apos;t write (a phone&apos;s, another program&apos;s) keeps it; positions Pinroute wrote are always written again</source>
        <translation>Désactivé : une photo dont la position n&apos;a pas été écrite par Pinroute (celle d&apos;un téléphone, d&apos;un autre programme) la garde ; les positions écrites par Pinroute sont toujours réécrites</translation>
    </message>
    <message>
        <source>Write the town, region and country</source>
        <translation>Écrire la ville, la région et le pays</translation>
    </message>
    <message>
        <source>GeoTag writes the nearest town (within PlaceMaxKm), its region and country from the geonames.org data, offline; a photo&apos;s own place names are kept</source>
        <translation>Géomarquer écrit la ville la plus proche (dans la limite de PlaceMaxKm), sa région et son pays d&apos;après les données de geonames.org, hors ligne ; les noms de lieux propres d&apos;une photo sont conservés</translation>
    </message>
    <message>
        <source>Add the place to renamed files</source>
        <translation>Ajouter le lieu aux fichiers renommés</translation>
    </message>
    <message>
        <source>Rename appends the town, region and country in plain letters</source>
        <translation>Renommer ajoute la ville, la région et le pays en lettres simples</translation>
    </message>
    <message>
        <source>Choose the photo folder</source>
        <translation>Choisir le dossier de photos</translation>
    </message>
    <message>
        <source>Browse for the photo folder</source>
        <translation>Parcourir pour le dossier de photos</translation>
    </message>
    <message>
        <source>JPG Directory</source>
        <translation>Dossier JPG</translation>
    </message>
    <message>
        <source>Include sub-folders</source>
        <translation>Inclure les sous-dossiers</translation>
    </message>
    <message>
        <source>List the photos of the folder&apos;s sub-folders too, as on a camera card (DCIM/100CANON)</source>
        <translation>Lister aussi les photos des sous-dossiers, comme sur une carte mémoire (DCIM/100CANON)</translation>
    </message>
    <message>
        <source>Choose the track file</source>
        <translation>Choisir le fichier de trace</translation>
    </message>
    <message>
        <source>Browse for the track file</source>
        <translation>Parcourir pour le fichier de trace</translation>
    </message>
    <message>
        <source>Track file</source>
        <translation>Fichier de trace</translation>
    </message>
    <message>
        <source>Settings file: %1</source>
        <translation>Fichier de paramètres : %1</translation>
    </message>
    <message>
        <source>Parse/Rename</source>
        <translation>Lire/Renommer</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>Date</translation>
    </message>
    <message>
        <source>Position</source>
        <translation>Position</translation>
    </message>
    <message>
        <source>Lat/Lon</source>
        <translation>Lat/Lon</translation>
    </message>
    <message>
        <source>OSGB</source>
        <translation>OSGB</translation>
    </message>
    <message>
        <source>Offset</source>
        <translation>Décalage</translation>
    </message>
    <message>
        <source>From a photo of the GPS clock…</source>
        <translation>À partir d&apos;une photo de l&apos;horloge GPS…</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Aide</translation>
    </message>
    <message>
        <source>Su&amp;ggest</source>
        <translation>Su&amp;ggérer</translation>
    </message>
    <message>
        <source>The offsets that put the most photos near the track</source>
        <translation>Les décalages qui rapprochent le plus de photos de la trace</translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation>&amp;Enregistrer</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>A&amp;nnuler</translation>
    </message>
    <message>
        <source>Select Directory</source>
        <translation>Choisir un dossier</translation>
    </message>
    <message>
        <source>The settings could not be saved to %1:
%2</source>
        <translation>Les paramètres n&apos;ont pas pu être enregistrés dans %1 :
%2</translation>
    </message>
    <message>
        <source>Offsets per camera</source>
        <translation>Décalages par appareil</translation>
    </message>
    <message>
        <source>Photos of several cameras: Suggest gives each camera an offset here; an empty offset is the one above.</source>
        <translation>Photos de plusieurs appareils : Suggérer donne ici un décalage à chaque appareil ; un décalage vide est celui du dessus.</translation>
    </message>
    <message>
        <source>Camera</source>
        <translation>Appareil</translation>
    </message>
    <message>
        <source>Photos</source>
        <translation>Photos</translation>
    </message>
    <message>
        <source>The offset of the %1 is not an offset: enter hours, minutes and seconds (+1:00:00), minutes and seconds (-3:00), whole minutes, or nothing for the one offset.</source>
        <translation>Le décalage du %1 n&apos;est pas un décalage : saisissez heures, minutes et secondes (+1:00:00), minutes et secondes (-3:00), des minutes entières, ou rien pour le décalage commun.</translation>
    </message>
    <message>
        <source> s</source>
        <translation> s</translation>
    </message>
    <message>
        <source>Nearest point at most, in seconds</source>
        <translation>Point le plus proche au plus, en secondes</translation>
    </message>
    <message>
        <source>A photo matches a track point at most this far from it in time (MaxGapSeconds)</source>
        <translation>Une photo correspond à un point de la trace éloigné d&apos;au plus cette durée (MaxGapSeconds)</translation>
    </message>
    <message>
        <source>Between points at most, in seconds apart</source>
        <translation>Entre des points au plus, en secondes d&apos;écart</translation>
    </message>
    <message>
        <source>A photo is placed between two points at most this far apart in time (MaxInterpolationGapSeconds)</source>
        <translation>Une photo est placée entre deux points séparés d&apos;au plus cette durée (MaxInterpolationGapSeconds)</translation>
    </message>
    <message>
        <source>Nearest point within</source>
        <translation>Point le plus proche à moins de</translation>
    </message>
    <message>
        <source>between points up to</source>
        <translation>entre des points jusqu&apos;à</translation>
    </message>
    <message>
        <source>apart</source>
        <translation>d&apos;écart</translation>
    </message>
    <message>
        <source>none: the offset alone</source>
        <translation>aucun : le décalage seul</translation>
    </message>
    <message>
        <source>The time zone the camera&apos;s clock is set to, such as Europe/London: each photo is read in it at its own date, so a clock change during the trip needs no second offset, and the offset is only how far the clock is off (CameraZone)</source>
        <translation>Le fuseau horaire de l&apos;horloge de l&apos;appareil, par exemple Europe/London : chaque photo y est lue à sa propre date, donc un changement d&apos;heure pendant le voyage ne demande pas de second décalage, et le décalage n&apos;est que l&apos;écart de l&apos;horloge (CameraZone)</translation>
    </message>
    <message>
        <source>Camera clock&apos;s time zone</source>
        <translation>Fuseau horaire de l&apos;appareil</translation>
    </message>
    <message>
        <source>Keep the photos&apos; Software tag</source>
        <translation>Conserver la balise Software des photos</translation>
    </message>
    <message>
        <source>On: the Software tag keeps the camera&apos;s or editor&apos;s name; Pinroute&apos;s journal still knows which positions it wrote (KeepSoftware)</source>
        <translation>Activé : la balise Software garde le nom de l&apos;appareil ou de l&apos;éditeur ; le journal de Pinroute sait toujours quelles positions il a écrites (KeepSoftware)</translation>
    </message>
    <message>
        <source>Please enter the offset as minutes (-58), minutes and seconds (-58:20) or hours, minutes and seconds (+1:02:20), at most 2147483647 minutes either way.</source>
        <translation>Veuillez saisir le décalage en minutes (-58), en minutes et secondes (-58:20) ou en heures, minutes et secondes (+1:02:20), au plus 2147483647 minutes dans un sens ou dans l&apos;autre.</translation>
    </message>
    <message>
        <source>Phone photos: their positions serve as the track</source>
        <translation>Photos de téléphone : leurs positions servent de trace</translation>
    </message>
    <message>
        <source>Choose a folder of photos with positions (a phone&apos;s) to serve as the track</source>
        <translation>Choisir un dossier de photos avec positions (d&apos;un téléphone) pour servir de trace</translation>
    </message>
    <message>
        <source>Browse for the photo track folder</source>
        <translation>Parcourir pour le dossier des photos-trace</translation>
    </message>
    <message>
        <source>Photo track</source>
        <translation>Photos-trace</translation>
    </message>
    <message>
        <source>How far the camera&apos;s clock runs ahead of the track&apos;s: minutes (-58), minutes:seconds (-58:20) or hours:minutes:seconds (+1:02:20)</source>
        <translation>De combien l&apos;horloge de l&apos;appareil avance sur celle de la trace : minutes (-58), minutes:secondes (-58:20) ou heures:minutes:secondes (+1:02:20)</translation>
    </message>
    <message>
        <source>Minutes, m:ss or h:mm:ss</source>
        <translation>Minutes, m:ss ou h:mm:ss</translation>
    </message>
    <message>
        <source>Select the photo track folder</source>
        <translation>Choisir le dossier des photos-trace</translation>
    </message>
</context>
<context>
    <name>Summary</name>
    <message>
        <source>GeoTag: %1</source>
        <translation>Géomarquer : %1</translation>
    </message>
    <message>
        <source>%1 tagged</source>
        <translation>%1 géomarquée(s)</translation>
    </message>
    <message>
        <source>%1 kept</source>
        <translation>%1 gardée(s)</translation>
    </message>
    <message>
        <source>%1 rejected</source>
        <translation>%1 rejetée(s)</translation>
    </message>
    <message>
        <source>%1 failed</source>
        <translation>%1 en échec</translation>
    </message>
    <message>
        <source>%1 without a capture time</source>
        <translation>%1 sans heure de prise de vue</translation>
    </message>
    <message>
        <source>(%1 in sidecars)</source>
        <translation>(%1 dans des fichiers annexes)</translation>
    </message>
    <message>
        <source>Parse: %1</source>
        <translation>Lire : %1</translation>
    </message>
    <message>
        <source>%1 with a position</source>
        <translation>%1 avec position</translation>
    </message>
    <message>
        <source>%1 without</source>
        <translation>%1 sans</translation>
    </message>
    <message>
        <source>Rename: %1</source>
        <translation>Renommer : %1</translation>
    </message>
    <message>
        <source>%1 renamed</source>
        <translation>%1 renommée(s)</translation>
    </message>
    <message>
        <source>%1 not renamed</source>
        <translation>%1 non renommée(s)</translation>
    </message>
    <message>
        <source>Undo: %1</source>
        <translation>Annuler : %1</translation>
    </message>
    <message>
        <source>%1 restored</source>
        <translation>%1 restaurée(s)</translation>
    </message>
    <message>
        <source>%1 not restored</source>
        <translation>%1 non restaurée(s)</translation>
    </message>
    <message>
        <source>Remove: %1</source>
        <translation>Supprimer : %1</translation>
    </message>
    <message>
        <source>%1 removed</source>
        <translation>%1 supprimée(s)</translation>
    </message>
    <message>
        <source>%1 without a position</source>
        <translation>%1 sans position</translation>
    </message>
    <message>
        <source>%n photo&apos;s position served as the track</source>
        <translation>la position de %n photo a servi de trace</translation>
    </message>
    <message>
        <source>%n photos&apos; positions served as the track</source>
        <translation>les positions de %n photos ont servi de trace</translation>
    </message>
    <message>
        <source>%n photo with a position but no time zone or GPS time left out of it</source>
        <translation>%n photo avec position mais sans fuseau horaire ni heure GPS laissée de côté</translation>
    </message>
    <message>
        <source>%n photos with a position but no time zone or GPS time left out of it</source>
        <translation>%n photos avec position mais sans fuseau horaire ni heure GPS laissées de côté</translation>
    </message>
</context>
<context>
    <name>Tips</name>
    <message>
        <source>outside the British grid: shown as latitude/longitude</source>
        <translation>hors de la grille britannique : affichée en latitude/longitude</translation>
    </message>
    <message>
        <source>Position written:</source>
        <translation>Position écrite :</translation>
    </message>
    <message>
        <source>Position:</source>
        <translation>Position :</translation>
    </message>
    <message>
        <source>already as before the run</source>
        <translation>déjà comme avant l&apos;opération</translation>
    </message>
    <message>
        <source>moved or deleted since the run</source>
        <translation>déplacée ou supprimée depuis l&apos;opération</translation>
    </message>
    <message>
        <source>the file the run changed is no longer this photo&apos;s</source>
        <translation>le fichier modifié par l&apos;opération n&apos;est plus celui de cette photo</translation>
    </message>
    <message>
        <source>changed since the run</source>
        <translation>modifiée depuis l&apos;opération</translation>
    </message>
    <message>
        <source>another file has its old name</source>
        <translation>un autre fichier porte son ancien nom</translation>
    </message>
    <message>
        <source>the journal can&apos;t be written: %1</source>
        <translation>le journal ne peut pas être écrit : %1</translation>
    </message>
    <message>
        <source>%n day %1 h</source>
        <translation>%n jour %1 h</translation>
    </message>
    <message>
        <source>%n days %1 h</source>
        <translation>%n jours %1 h</translation>
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
        <translation>entre deux points distants de %1 s</translation>
    </message>
    <message>
        <source>nearest point, %1 s away</source>
        <translation>point le plus proche, à %1 s</translation>
    </message>
    <message>
        <source>time zone from the photo: %1</source>
        <translation>fuseau horaire de la photo : %1</translation>
    </message>
    <message>
        <source>the track has no timed point</source>
        <translation>la trace n&apos;a aucun point horodaté</translation>
    </message>
    <message>
        <source>nearest track point %1 away</source>
        <translation>point de trace le plus proche à %1</translation>
    </message>
    <message>
        <source>placed by hand</source>
        <translation>placée à la main</translation>
    </message>
    <message>
        <source>already named after its date and position</source>
        <translation>déjà nommée d&apos;après sa date et sa position</translation>
    </message>
    <message>
        <source>the photo is not there</source>
        <translation>la photo n&apos;est pas là</translation>
    </message>
    <message>
        <source>offset %1</source>
        <translation>décalage %1</translation>
    </message>
    <message>
        <source>offset %1 (%2)</source>
        <translation>décalage %1 (%2)</translation>
    </message>
    <message>
        <source>the photo has a position that Pinroute didn&apos;t write, in its sidecar; &quot;Replace positions that photos already have&quot; in Set-up (--replace) writes over it</source>
        <translation>la photo a une position que Pinroute n&apos;a pas écrite, dans son fichier annexe ; « Remplacer les positions que les photos ont déjà » dans la Configuration (--replace) l&apos;écrase</translation>
    </message>
    <message>
        <source>the photo has a position that Pinroute didn&apos;t write; &quot;Replace positions that photos already have&quot; in Set-up (--replace) writes over it</source>
        <translation>la photo a une position que Pinroute n&apos;a pas écrite ; « Remplacer les positions que les photos ont déjà » dans la Configuration (--replace) l&apos;écrase</translation>
    </message>
    <message>
        <source>%1 min</source>
        <translation>%1 min</translation>
    </message>
    <message>
        <source>placed from %1, %2 away</source>
        <translation>placée d&apos;après %1, à %2</translation>
    </message>
    <message>
        <source>placed between %1 and %2, %3 apart</source>
        <translation>placée entre %1 et %2, à %3 d&apos;écart</translation>
    </message>
    <message>
        <source>its position serves as a track point for the other photos</source>
        <translation>sa position sert de point de trace aux autres photos</translation>
    </message>
    <message>
        <source>its position can&apos;t serve as a track point: it states no time zone and has no GPS time stamp, so its moment in UTC is unknown</source>
        <translation>sa position ne peut pas servir de point de trace : elle n&apos;indique aucun fuseau horaire et n&apos;a pas d&apos;horodatage GPS, donc son instant en UTC est inconnu</translation>
    </message>
    <message>
        <source>the position is not a latitude and longitude on the globe</source>
        <translation>la position n&apos;est pas une latitude et une longitude sur le globe</translation>
    </message>
    <message>
        <source>the photo has %1 hard links</source>
        <translation>la photo a %1 liens physiques</translation>
    </message>
    <message>
        <source>the JPEG&apos;s segments can&apos;t be read</source>
        <translation>les segments du fichier JPEG ne peuvent pas être lus</translation>
    </message>
    <message>
        <source>the tool wrote an incomplete JPEG file</source>
        <translation>l&apos;outil a écrit un fichier JPEG incomplet</translation>
    </message>
    <message>
        <source>the photo is written, but the folder could not be flushed: %1</source>
        <translation>la photo est écrite, mais le dossier n&apos;a pas pu être enregistré sur le disque : %1</translation>
    </message>
    <message>
        <source>no working folder</source>
        <translation>aucun dossier de travail</translation>
    </message>
    <message>
        <source>the check could not run: %1: %2</source>
        <translation>la vérification n&apos;a pas pu s&apos;exécuter : %1 : %2</translation>
    </message>
    <message>
        <source>the check could not run: %1 was stopped</source>
        <translation>la vérification n&apos;a pas pu s&apos;exécuter : %1 a été arrêté</translation>
    </message>
    <message>
        <source>a tag was not written: %1</source>
        <translation>une balise n&apos;a pas été écrite : %1</translation>
    </message>
    <message>
        <source>a tag was not deleted: %1</source>
        <translation>une balise n&apos;a pas été supprimée : %1</translation>
    </message>
    <message>
        <source>a tag would be lost or changed: %1</source>
        <translation>une balise serait perdue ou modifiée : %1</translation>
    </message>
</context>
</TS>
