<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de">
<context>
    <name>CAboutBox</name>
    <message>
        <source>About </source>
        <translation>Info über </translation>
    </message>
</context>
<context>
    <name>CColorButton</name>
    <message>
        <source>%1: red %2, green %3, blue %4</source>
        <translation>%1: Rot %2, Grün %3, Blau %4</translation>
    </message>
    <message>
        <source>Color</source>
        <translation>Farbe</translation>
    </message>
</context>
<context>
    <name>CColorsPage</name>
    <message>
        <source>Colors</source>
        <translation>Farben</translation>
    </message>
    <message>
        <source>Workspace color</source>
        <translation>Arbeitsfläche</translation>
    </message>
    <message>
        <source>Cube top color</source>
        <translation>Oberseite</translation>
    </message>
    <message>
        <source>Cube left color</source>
        <translation>Linke Seite</translation>
    </message>
    <message>
        <source>Cube right color</source>
        <translation>Rechte Seite</translation>
    </message>
    <message>
        <source>Workspace background</source>
        <translation>Hintergrund der Arbeitsfläche</translation>
    </message>
    <message>
        <source>Top faces</source>
        <translation>Oberseiten</translation>
    </message>
    <message>
        <source>Right faces</source>
        <translation>Rechte Seiten</translation>
    </message>
    <message>
        <source>Left faces</source>
        <translation>Linke Seiten</translation>
    </message>
</context>
<context>
    <name>CCommandLineExport</name>
    <message>
        <source>Draws impossible figures out of cubes in isometric projection.</source>
        <translation>Zeichnet unmögliche Figuren aus Würfeln in isometrischer Projektion.</translation>
    </message>
    <message>
        <source>Displays version and licence information.</source>
        <translation>Zeigt Version und Lizenz an.</translation>
    </message>
    <message>
        <source>OUT</source>
        <translation>AUSGABE</translation>
    </message>
    <message>
        <source>The figure file (.xml) to open.</source>
        <translation>Die zu öffnende Figurdatei (.xml).</translation>
    </message>
    <message>
        <source>[FILE]</source>
        <translation>[DATEI]</translation>
    </message>
    <message>
        <source>License GPLv3+: GNU GPL version 3 or later &lt;https://gnu.org/licenses/gpl.html&gt;.
This is free software: you are free to change and redistribute it.
There is NO WARRANTY, to the extent permitted by law.
</source>
        <translation>Lizenz GPLv3+: GNU GPL Version 3 oder neuer &lt;https://gnu.org/licenses/gpl.html&gt;.
Dies ist freie Software: Sie dürfen sie verändern und weitergeben.
Es gibt KEINE GARANTIE, soweit gesetzlich zulässig.
</translation>
    </message>
    <message>
        <source>--export needs the output file and exactly one figure file: tarvex --export OUT FILE</source>
        <translation>--export braucht die Ausgabedatei und genau eine Figurdatei: tarvex --export AUSGABE DATEI</translation>
    </message>
    <message>
        <source>The figure could not be saved to %1.
%2</source>
        <translation>Die Figur konnte nicht in %1 gespeichert werden.
%2</translation>
    </message>
    <message>
        <source>Figures are not read from standard input, only from regular files: save the figure to a file and name that file.</source>
        <translation>Figuren werden nicht von der Standardeingabe gelesen, nur aus regulären Dateien: Speichern Sie die Figur in einer Datei und geben Sie diese an.</translation>
    </message>
    <message>
        <source>FILE</source>
        <translation>DATEI</translation>
    </message>
    <message>
        <source>Loads FILE and writes it to OUT without opening a window, in the format OUT&apos;s extension names (any case): %1.</source>
        <translation>Lädt DATEI und schreibt sie ohne Fenster nach AUSGABE, im Format, das die Endung von AUSGABE nennt (Groß- oder Kleinschreibung): %1.</translation>
    </message>
    <message>
        <source>With --export to %1: leaves the background transparent, so only the cubes are drawn.</source>
        <translation>Mit --export nach %1: lässt den Hintergrund durchsichtig, sodass nur die Würfel gezeichnet werden.</translation>
    </message>
    <message>
        <source>Writes a PNG preview of the figure file IN, at most SIZE pixels wide and high, to OUT without opening a window: tarvex --thumbnail SIZE IN OUT (as file managers do).</source>
        <translation>Schreibt eine PNG-Vorschau der Figurdatei IN, höchstens SIZE Pixel breit und hoch, nach OUT, ohne ein Fenster zu öffnen: tarvex --thumbnail SIZE IN OUT (wie Dateimanager es tun).</translation>
    </message>
    <message>
        <source>SIZE</source>
        <translation>SIZE</translation>
    </message>
</context>
<context>
    <name>CCubeConstructor</name>
    <message>
        <source>Cube constructor</source>
        <translation>Würfelbaukasten</translation>
    </message>
    <message>
        <source>Arrow keys choose a part of the cube, Enter or Space cuts or restores it</source>
        <translation>Pfeiltasten wählen einen Teil des Würfels, Eingabe oder Leertaste schneidet ihn ab oder stellt ihn wieder her</translation>
    </message>
</context>
<context>
    <name>CCubeConstructorAccessible</name>
    <message>
        <source>Cube constructor</source>
        <translation>Würfelbaukasten</translation>
    </message>
    <message>
        <source>Centre: empty cube</source>
        <translation>Mitte: leerer Würfel</translation>
    </message>
    <message>
        <source>Centre: whole cube</source>
        <translation>Mitte: ganzer Würfel</translation>
    </message>
    <message>
        <source>Top corner</source>
        <translation>Obere Ecke</translation>
    </message>
    <message>
        <source>Upper right corner</source>
        <translation>Ecke rechts oben</translation>
    </message>
    <message>
        <source>Lower right corner</source>
        <translation>Ecke rechts unten</translation>
    </message>
    <message>
        <source>Bottom corner</source>
        <translation>Untere Ecke</translation>
    </message>
    <message>
        <source>Lower left corner</source>
        <translation>Ecke links unten</translation>
    </message>
    <message>
        <source>Upper left corner</source>
        <translation>Ecke links oben</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>cut</source>
        <translation>abgeschnitten</translation>
    </message>
    <message>
        <source>kept</source>
        <translation>erhalten</translation>
    </message>
</context>
<context>
    <name>CCubeSelectionPage</name>
    <message>
        <source>Cubes</source>
        <translation>Würfel</translation>
    </message>
    <message>
        <source>Constructor</source>
        <translation>Baukasten</translation>
    </message>
    <message>
        <source>Cube pickers</source>
        <translation>Würfelauswahl</translation>
    </message>
</context>
<context>
    <name>CCubesLibrary</name>
    <message>
        <source>Cubes library</source>
        <translation>Würfelsammlung</translation>
    </message>
    <message>
        <source>Empty cube: erases</source>
        <translation>Leerer Würfel: löscht</translation>
    </message>
    <message>
        <source>Cube 0: whole cube, no corner cut</source>
        <translation>Würfel 0: ganzer Würfel, keine Ecke abgeschnitten</translation>
    </message>
    <message>
        <source>top</source>
        <translation>oben</translation>
    </message>
    <message>
        <source>upper right</source>
        <translation>rechts oben</translation>
    </message>
    <message>
        <source>lower right</source>
        <translation>rechts unten</translation>
    </message>
    <message>
        <source>bottom</source>
        <translation>unten</translation>
    </message>
    <message>
        <source>lower left</source>
        <translation>links unten</translation>
    </message>
    <message>
        <source>upper left</source>
        <translation>links oben</translation>
    </message>
    <message>
        <source>Cube %1, cut corners: %2</source>
        <translation>Würfel %1, abgeschnittene Ecken: %2</translation>
    </message>
</context>
<context>
    <name>CDimensionsPage</name>
    <message>
        <source>Workspace dimensions</source>
        <translation>Größe der Arbeitsfläche</translation>
    </message>
    <message>
        <source>Cube dimensions</source>
        <translation>Würfelgröße</translation>
    </message>
    <message>
        <source>Width</source>
        <translation>Breite</translation>
    </message>
    <message>
        <source>Height</source>
        <translation>Höhe</translation>
    </message>
    <message>
        <source>Cube size</source>
        <translation>Größe</translation>
    </message>
    <message>
        <source>From %1 to %2</source>
        <translation>Von %1 bis %2</translation>
    </message>
    <message>
        <source>%1 to %2</source>
        <translation>%1 bis %2</translation>
    </message>
</context>
<context>
    <name>CDocumentCommands</name>
    <message>
        <source>Your figure not saved. Do you want to save it?</source>
        <translation>Ihre Figur ist nicht gespeichert. Möchten Sie sie speichern?</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>Warnung</translation>
    </message>
    <message>
        <source>Cannot open the file %1.
%2</source>
        <translation>Die Datei %1 kann nicht geöffnet werden.
%2</translation>
    </message>
    <message>
        <source>The figure could not be saved to %1.
%2</source>
        <translation>Die Figur konnte nicht in %1 gespeichert werden.
%2</translation>
    </message>
    <message>
        <source>%1 has been changed by another program since Tarvex opened or saved it.
Overwrite it with this figure, save the figure elsewhere, or cancel?</source>
        <translation>%1 wurde seit dem Öffnen oder Speichern in Tarvex von einem anderen Programm geändert.
Mit dieser Figur überschreiben, die Figur an anderer Stelle speichern oder abbrechen?</translation>
    </message>
</context>
<context>
    <name>CExampleList</name>
    <message>
        <source>Impossible triangle</source>
        <translation>Unmögliches Dreieck</translation>
    </message>
    <message>
        <source>Three crossed beams</source>
        <translation>Drei gekreuzte Balken</translation>
    </message>
    <message>
        <source>Impossible square frame</source>
        <translation>Unmöglicher quadratischer Rahmen</translation>
    </message>
    <message>
        <source>Woven frame</source>
        <translation>Geflochtener Rahmen</translation>
    </message>
    <message>
        <source>Impossible cube frame</source>
        <translation>Unmöglicher Würfelrahmen</translation>
    </message>
    <message>
        <source>Woven star</source>
        <translation>Geflochtener Stern</translation>
    </message>
    <message>
        <source>Impossible hexagonal star</source>
        <translation>Unmöglicher sechseckiger Stern</translation>
    </message>
    <message>
        <source>Nested triangles</source>
        <translation>Verschachtelte Dreiecke</translation>
    </message>
    <message>
        <source>Penrose stairs</source>
        <translation>Penrose-Treppe</translation>
    </message>
</context>
<context>
    <name>CFigure</name>
    <message>
        <source>There&apos;s no blocks at the workspace so it is impossible to save empty image.</source>
        <translation>Auf der Arbeitsfläche sind keine Würfel, ein leeres Bild kann nicht gespeichert werden.</translation>
    </message>
</context>
<context>
    <name>CFigureGenerator</name>
    <message>
        <source>Impossible tribar</source>
        <translation>Unmögliches Dreieck (Tribar)</translation>
    </message>
    <message>
        <source>Penrose stairs</source>
        <translation>Penrose-Treppe</translation>
    </message>
    <message>
        <source>Impossible cube frame</source>
        <translation>Unmöglicher Würfelrahmen</translation>
    </message>
    <message>
        <source>Impossible frame with N sides</source>
        <translation>Unmöglicher Rahmen mit N Seiten</translation>
    </message>
    <message>
        <source>Reutersvärd&apos;s triangle</source>
        <translation>Reutersvärds Dreieck</translation>
    </message>
    <message>
        <source>Side length:</source>
        <translation>Seitenlänge:</translation>
    </message>
    <message>
        <source>Steps per side:</source>
        <translation>Stufen je Seite:</translation>
    </message>
    <message>
        <source>Edge length:</source>
        <translation>Kantenlänge:</translation>
    </message>
    <message>
        <source>Side:</source>
        <translation>Seite:</translation>
    </message>
    <message>
        <source>Cubes per side:</source>
        <translation>Würfel je Seite:</translation>
    </message>
</context>
<context>
    <name>CFigureWriter</name>
    <message>
        <source>Tarvex figure</source>
        <translation>Tarvex-Figur</translation>
    </message>
    <message>
        <source>The figure with its sizes and colours, for opening in Tarvex again.</source>
        <translation>Die Figur mit ihren Größen und Farben, zum erneuten Öffnen in Tarvex.</translation>
    </message>
    <message>
        <source>PNG picture</source>
        <translation>PNG-Bild</translation>
    </message>
    <message>
        <source>A compressed picture for web pages, slides and documents: the same pixels as the bitmap in a small file.</source>
        <translation>Ein komprimiertes Bild für Webseiten, Folien und Dokumente: dieselben Pixel wie die Bitmap in einer kleinen Datei.</translation>
    </message>
    <message>
        <source>SVG drawing</source>
        <translation>SVG-Zeichnung</translation>
    </message>
    <message>
        <source>A vector drawing for browsers and drawing programs; it scales to any size without pixels.</source>
        <translation>Eine Vektorzeichnung für Browser und Zeichenprogramme; sie lässt sich ohne Pixel auf jede Größe bringen.</translation>
    </message>
    <message>
        <source>PDF document</source>
        <translation>PDF-Dokument</translation>
    </message>
    <message>
        <source>A vector page exactly the size of the figure, for printing and publishing.</source>
        <translation>Eine Vektorseite genau in der Größe der Figur, zum Drucken und Veröffentlichen.</translation>
    </message>
    <message>
        <source>Windows bitmap</source>
        <translation>Windows-Bitmap</translation>
    </message>
    <message>
        <source>An uncompressed 24-bit picture, as earlier versions of Tarvex wrote it.</source>
        <translation>Ein unkomprimiertes 24-Bit-Bild, wie frühere Versionen von Tarvex es schrieben.</translation>
    </message>
    <message>
        <source>%1 or %2</source>
        <translation>%1 oder %2</translation>
    </message>
    <message>
        <source>Tarvex cannot save files without an extension. Choose %1.</source>
        <translation>Tarvex kann keine Dateien ohne Endung speichern. Wählen Sie %1.</translation>
    </message>
    <message>
        <source>Tarvex cannot save files of type .%1. Choose %2.</source>
        <translation>Tarvex kann keine Dateien vom Typ .%1 speichern. Wählen Sie %2.</translation>
    </message>
</context>
<context>
    <name>CFigureXml</name>
    <message>
        <source>%1 is %2; it must lie between %3 and %4.</source>
        <translation>%1 ist %2; der Wert muss zwischen %3 und %4 liegen.</translation>
    </message>
    <message>
        <source>The text is not a well-formed figure file.</source>
        <translation>Der Text ist keine wohlgeformte Figurdatei.</translation>
    </message>
    <message>
        <source>The file was not written by Tarvex.</source>
        <translation>Die Datei wurde nicht von Tarvex geschrieben.</translation>
    </message>
    <message>
        <source>The file&apos;s version is not supported (only 1.0 is).</source>
        <translation>Die Version der Datei wird nicht unterstützt (nur 1.0).</translation>
    </message>
    <message>
        <source>%1 is not a well-formed figure file.</source>
        <translation>%1 ist keine wohlgeformte Figurdatei.</translation>
    </message>
</context>
<context>
    <name>CFileException</name>
    <message>
        <source>Out of memory.</source>
        <translation>Nicht genug Arbeitsspeicher.</translation>
    </message>
</context>
<context>
    <name>CGeneratorDialog</name>
    <message>
        <source>New from generator</source>
        <translation>Neu aus Generator</translation>
    </message>
    <message>
        <source>Figure:</source>
        <translation>Figur:</translation>
    </message>
    <message>
        <source>Sides:</source>
        <translation>Seiten:</translation>
    </message>
    <message>
        <source>Step height:</source>
        <translation>Stufenhöhe:</translation>
    </message>
    <message>
        <source>Beam thickness:</source>
        <translation>Balkenstärke:</translation>
    </message>
    <message>
        <source>The figure does not fit the largest grid.</source>
        <translation>Die Figur passt nicht in das größte Raster.</translation>
    </message>
</context>
<context>
    <name>CHelpFrame</name>
    <message>
        <source>Tarvex help</source>
        <translation>Tarvex-Hilfe</translation>
    </message>
    <message>
        <source>Back</source>
        <translation>Zurück</translation>
    </message>
    <message>
        <source>Forward</source>
        <translation>Vorwärts</translation>
    </message>
    <message>
        <source>Navigation</source>
        <translation>Navigation</translation>
    </message>
</context>
<context>
    <name>CHtmlCtrl</name>
    <message>
        <source>Page not found</source>
        <translation>Seite nicht gefunden</translation>
    </message>
    <message>
        <source>The page %1 cannot be found.</source>
        <translation>Die Seite %1 wurde nicht gefunden.</translation>
    </message>
</context>
<context>
    <name>CMainFrame</name>
    <message>
        <source>Transparent background (PNG and SVG)</source>
        <translation>Durchsichtiger Hintergrund (PNG und SVG)</translation>
    </message>
    <message>
        <source>Select and move cubes
Select and move</source>
        <translation>Würfel auswählen und verschieben
Auswählen und verschieben</translation>
    </message>
    <message>
        <source>Create a new figure
New figure</source>
        <translation>Eine neue Figur anlegen
Neue Figur</translation>
    </message>
    <message>
        <source>Save as BMP or WMF
Save figure</source>
        <translation>Als BMP oder WMF speichern
Figur speichern</translation>
    </message>
    <message>
        <source>Preview and print
Preview and print</source>
        <translation>Vorschau und Drucken
Vorschau und Drucken</translation>
    </message>
    <message>
        <source>Options of the program
Options</source>
        <translation>Einstellungen des Programms
Einstellungen</translation>
    </message>
    <message>
        <source>Undo the last action
Undo</source>
        <translation>Die letzte Aktion rückgängig machen
Rückgängig</translation>
    </message>
    <message>
        <source>Redo the previously undone action
Redo</source>
        <translation>Die zuletzt rückgängig gemachte Aktion wiederholen
Wiederholen</translation>
    </message>
    <message>
        <source>Help
Help</source>
        <translation>Hilfe
Hilfe</translation>
    </message>
    <message>
        <source>Display program information, version number and copyright
About</source>
        <translation>Programminformation, Versionsnummer und Urheberrecht anzeigen
Info</translation>
    </message>
    <message>
        <source>XML files (*.xml)</source>
        <translation>XML-Dateien (*.xml)</translation>
    </message>
    <message>
        <source>Restore</source>
        <translation>Wiederherstellen</translation>
    </message>
    <message>
        <source>Discard</source>
        <translation>Verwerfen</translation>
    </message>
    <message>
        <source>Recent figures and examples</source>
        <translation>Zuletzt benutzte Figuren und Beispiele</translation>
    </message>
    <message>
        <source>Open a figure worked on lately, or an example</source>
        <translation>Eine zuletzt bearbeitete Figur oder ein Beispiel öffnen</translation>
    </message>
    <message>
        <source>The figure file %1 cannot be found. It is taken off the list of recent figures.</source>
        <translation>Die Figurdatei %1 wurde nicht gefunden. Sie wird aus der Liste der zuletzt benutzten Figuren entfernt.</translation>
    </message>
    <message>
        <source>Toolbar</source>
        <translation>Werkzeugleiste</translation>
    </message>
    <message>
        <source>Open a figure file
Open figure</source>
        <translation>Eine Figurdatei öffnen
Figur öffnen</translation>
    </message>
    <message>
        <source>Beam thickness in cubes (keys 1, 2, 3)</source>
        <translation>Balkendicke in Würfeln (Tasten 1, 2, 3)</translation>
    </message>
    <message>
        <source>Beam thickness</source>
        <translation>Balkendicke</translation>
    </message>
    <message>
        <source>&amp;Overwrite</source>
        <translation>&amp;Überschreiben</translation>
    </message>
    <message>
        <source>Save &amp;Elsewhere...</source>
        <translation>&amp;Anderswo speichern...</translation>
    </message>
    <message>
        <source>Mirror</source>
        <translation>Spiegeln</translation>
    </message>
    <message>
        <source>Mirror the selected cubes (M); R and Shift+R turn them a third of a turn</source>
        <translation>Die ausgewählten Würfel spiegeln (M); R und Umschalt+R drehen sie um eine Dritteldrehung</translation>
    </message>
    <message>
        <source>Generator...</source>
        <translation>Generator...</translation>
    </message>
    <message>
        <source>New from generator: a classic impossible figure made from its sizes</source>
        <translation>Neu aus Generator: eine klassische unmögliche Figur aus ihren Maßen</translation>
    </message>
    <message>
        <source>More toolbar controls</source>
        <translation>Weitere Werkzeugleisten-Elemente</translation>
    </message>
    <message>
        <source>Box</source>
        <translation>Quader</translation>
    </message>
    <message>
        <source>Box tool: drag out a box of cubes, with Shift its height (B)</source>
        <translation>Quader-Werkzeug: einen Quader aus Würfeln aufziehen, mit Umschalt seine Höhe (B)</translation>
    </message>
    <message>
        <source>The clipboard holds more cubes than a figure can take. Nothing was pasted.</source>
        <translation>Die Zwischenablage enthält mehr Würfel, als eine Figur aufnehmen kann. Es wurde nichts eingefügt.</translation>
    </message>
    <message>
        <source>The cubes on the clipboard cannot be read. Nothing was pasted.</source>
        <translation>Die Würfel in der Zwischenablage können nicht gelesen werden. Es wurde nichts eingefügt.</translation>
    </message>
</context>
<context>
    <name>COptionsDlg</name>
    <message>
        <source>Options</source>
        <translation>Einstellungen</translation>
    </message>
    <message>
        <source>Dimensions</source>
        <translation>Größen</translation>
    </message>
    <message>
        <source>Colors</source>
        <translation>Farben</translation>
    </message>
    <message>
        <source>Default settings</source>
        <translation>Standardwerte</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>CPaletteStrip</name>
    <message>
        <source>Palette</source>
        <translation>Palette</translation>
    </message>
    <message>
        <source>Click a colouring to paint with it, double-click to edit it</source>
        <translation>Klicken Sie auf eine Färbung, um damit zu malen, doppelklicken Sie, um sie zu bearbeiten</translation>
    </message>
    <message>
        <source>Three colours...</source>
        <translation>Drei Farben...</translation>
    </message>
    <message>
        <source>Shade from one colour...</source>
        <translation>Aus einer Farbe schattieren...</translation>
    </message>
    <message>
        <source>Add a colouring</source>
        <translation>Eine Färbung hinzufügen</translation>
    </message>
    <message>
        <source>Colouring %1: click to paint with it, double-click to edit it</source>
        <translation>Färbung %1: klicken, um damit zu malen, doppelklicken, um sie zu bearbeiten</translation>
    </message>
    <message>
        <source>Top face</source>
        <translation>Oberseite</translation>
    </message>
    <message>
        <source>Right-hand face</source>
        <translation>Rechte Seite</translation>
    </message>
    <message>
        <source>Left-hand face</source>
        <translation>Linke Seite</translation>
    </message>
    <message>
        <source>Shade from one colour</source>
        <translation>Aus einer Farbe schattieren</translation>
    </message>
    <message>
        <source>Colouring %1, the palette holds %2</source>
        <translation>Färbung %1, die Palette hält %2</translation>
    </message>
</context>
<context>
    <name>CPngExport</name>
    <message>
        <source>Cannot write %1: %2</source>
        <translation>%1 kann nicht geschrieben werden: %2</translation>
    </message>
</context>
<context>
    <name>CRecentMenu</name>
    <message>
        <source>&amp;Examples</source>
        <translation>&amp;Beispiele</translation>
    </message>
    <message>
        <source>No recent figures</source>
        <translation>Keine zuletzt benutzten Figuren</translation>
    </message>
    <message>
        <source>&amp;Clear the list</source>
        <translation>Liste &amp;leeren</translation>
    </message>
</context>
<context>
    <name>CRecoveryManager</name>
    <message>
        <source>The folder %1 cannot be used.</source>
        <translation>Der Ordner %1 kann nicht benutzt werden.</translation>
    </message>
    <message>
        <source>The recovery copy of the figure could not be written; this is not said again.
%1</source>
        <translation>Die Sicherungskopie der Figur konnte nicht geschrieben werden; diese Meldung erscheint nur einmal.
%1</translation>
    </message>
    <message>
        <source>Tarvex was closed without saving a figure. Restore it?</source>
        <translation>Tarvex wurde beendet, ohne eine Figur zu speichern. Wiederherstellen?</translation>
    </message>
    <message>
        <source>The folder %1 cannot be made.</source>
        <translation>Der Ordner %1 kann nicht angelegt werden.</translation>
    </message>
    <message>
        <source>The folder %1 cannot be made: %2</source>
        <translation>Der Ordner %1 kann nicht angelegt werden: %2</translation>
    </message>
    <message>
        <source>%1 is a link or not a folder.</source>
        <translation>%1 ist eine Verknüpfung oder kein Ordner.</translation>
    </message>
    <message>
        <source>The folder %1 cannot be opened: %2</source>
        <translation>Der Ordner %1 kann nicht geöffnet werden: %2</translation>
    </message>
    <message>
        <source>The folder %1 does not belong to you.</source>
        <translation>Der Ordner %1 gehört nicht Ihnen.</translation>
    </message>
    <message>
        <source>Tarvex cannot keep recovery copies of unsaved figures in %1, so it works without them: save your figure yourself.
%2</source>
        <translation>Tarvex kann in %1 keine Wiederherstellungskopien ungespeicherter Figuren anlegen und arbeitet deshalb ohne sie: Speichern Sie Ihre Figur selbst.
%2</translation>
    </message>
    <message>
        <source>%1 is not a regular file of yours: the recovery copy is not written.</source>
        <translation>%1 ist keine gewöhnliche Datei von Ihnen: Die Wiederherstellungskopie wird nicht geschrieben.</translation>
    </message>
</context>
<context>
    <name>CRegularFile</name>
    <message>
        <source>a pipe</source>
        <translation>eine Pipe</translation>
    </message>
    <message>
        <source>a device</source>
        <translation>ein Gerät</translation>
    </message>
    <message>
        <source>a folder</source>
        <translation>ein Ordner</translation>
    </message>
    <message>
        <source>a socket</source>
        <translation>ein Socket</translation>
    </message>
    <message>
        <source>a special file</source>
        <translation>eine Spezialdatei</translation>
    </message>
    <message>
        <source>%1 is %2, not a regular file; figures are read only from regular files.</source>
        <translation>%1 ist %2, keine reguläre Datei; Figuren werden nur aus regulären Dateien gelesen.</translation>
    </message>
    <message>
        <source>%1 is %2, not a regular file: nothing was written and it is left as it is.</source>
        <translation>%1 ist %2, keine reguläre Datei: Es wurde nichts geschrieben, sie bleibt unverändert.</translation>
    </message>
    <message>
        <source>a symbolic link</source>
        <translation>eine symbolische Verknüpfung</translation>
    </message>
    <message>
        <source>Cannot open %1: %2</source>
        <translation>%1 kann nicht geöffnet werden: %2</translation>
    </message>
    <message>
        <source>%1 is too large to be a figure file.</source>
        <translation>%1 ist zu groß für eine Figurdatei.</translation>
    </message>
    <message>
        <source>Cannot read %1: it is not open</source>
        <translation>%1 kann nicht gelesen werden: die Datei ist nicht geöffnet</translation>
    </message>
    <message>
        <source>Cannot read %1: %2</source>
        <translation>%1 kann nicht gelesen werden: %2</translation>
    </message>
    <message>
        <source>Cannot write %1: it is not open</source>
        <translation>%1 kann nicht geschrieben werden: die Datei ist nicht geöffnet</translation>
    </message>
    <message>
        <source>Cannot write %1: %2</source>
        <translation>%1 kann nicht geschrieben werden: %2</translation>
    </message>
    <message>
        <source>Not all data could be written; the disk may be full</source>
        <translation>Nicht alle Daten konnten geschrieben werden; der Datenträger ist vielleicht voll</translation>
    </message>
    <message>
        <source>The name %1 is not valid UTF-8 text: Tarvex cannot tell which file it names, so it neither reads nor writes it.</source>
        <translation>Der Name %1 ist kein gültiger UTF-8-Text: Tarvex kann nicht erkennen, welche Datei er bezeichnet, und liest oder schreibt sie daher nicht.</translation>
    </message>
</context>
<context>
    <name>CSafeFileWriter</name>
    <message>
        <source>Cannot create %1: %2</source>
        <translation>%1 kann nicht angelegt werden: %2</translation>
    </message>
    <message>
        <source>Not all data could be written; the disk may be full</source>
        <translation>Nicht alle Daten konnten geschrieben werden; der Datenträger ist vielleicht voll</translation>
    </message>
    <message>
        <source>Cannot write %1: %2</source>
        <translation>%1 kann nicht geschrieben werden: %2</translation>
    </message>
</context>
<context>
    <name>CSettingsStore</name>
    <message>
        <source>The settings file %1 is %2, not a regular file. Tarvex starts with the default settings and does not keep changes to them.</source>
        <translation>Die Einstellungsdatei %1 ist %2, keine gewöhnliche Datei. Tarvex startet mit den Standardeinstellungen und behält Änderungen daran nicht.</translation>
    </message>
</context>
<context>
    <name>CTarvexDoc</name>
    <message>
        <source>Error loading XML file</source>
        <translation>Fehler beim Laden der XML-Datei</translation>
    </message>
</context>
<context>
    <name>CTarvexView</name>
    <message>
        <source>Workspace</source>
        <translation>Arbeitsfläche</translation>
    </message>
</context>
<context>
    <name>CTarvexViewAccessible</name>
    <message>
        <source>Workspace</source>
        <translation>Arbeitsfläche</translation>
    </message>
    <message>
        <source>empty</source>
        <translation>leer</translation>
    </message>
    <message>
        <source>cube 0, whole</source>
        <translation>Würfel 0, ganz</translation>
    </message>
    <message>
        <source>top</source>
        <translation>oben</translation>
    </message>
    <message>
        <source>upper right</source>
        <translation>rechts oben</translation>
    </message>
    <message>
        <source>lower right</source>
        <translation>rechts unten</translation>
    </message>
    <message>
        <source>bottom</source>
        <translation>unten</translation>
    </message>
    <message>
        <source>lower left</source>
        <translation>links unten</translation>
    </message>
    <message>
        <source>upper left</source>
        <translation>links oben</translation>
    </message>
    <message>
        <source>cube %1, cut corners: %2</source>
        <translation>Würfel %1, abgeschnittene Ecken: %2</translation>
    </message>
    <message>
        <source>column %1, row %2: %3</source>
        <translation>Spalte %1, Zeile %2: %3</translation>
    </message>
    <message>
        <source>, selected</source>
        <translation>, ausgewählt</translation>
    </message>
    <message>
        <source>Figure of %1 × %2 cells, cubes: %3</source>
        <translation>Figur aus %1 × %2 Zellen, Würfel: %3</translation>
    </message>
    <message>
        <source>; select-and-move mode, selected: %1</source>
        <translation>; Modus Auswählen und verschieben, ausgewählt: %1</translation>
    </message>
</context>
<context>
    <name>CThumbnailer</name>
    <message>
        <source>The preview size must be a number from 1 to %1.</source>
        <translation>Die Vorschaugröße muss eine Zahl von 1 bis %1 sein.</translation>
    </message>
    <message>
        <source>The preview could not be drawn.</source>
        <translation>Die Vorschau konnte nicht gezeichnet werden.</translation>
    </message>
    <message>
        <source>The preview could not be saved to %1.
%2</source>
        <translation>Die Vorschau konnte nicht in %1 gespeichert werden.
%2</translation>
    </message>
    <message>
        <source>--thumbnail needs the size, the figure file and the output file: tarvex --thumbnail SIZE IN OUT</source>
        <translation>--thumbnail braucht die Größe, die Figurdatei und die Ausgabedatei: tarvex --thumbnail GRÖSSE EIN AUS</translation>
    </message>
</context>
<context>
    <name>CUpDown</name>
    <message>
        <source>%1: up</source>
        <translation>%1: höher</translation>
    </message>
    <message>
        <source>%1: down</source>
        <translation>%1: niedriger</translation>
    </message>
</context>
<context>
    <name>CVectorExport</name>
    <message>
        <source>Out of memory.</source>
        <translation>Nicht genug Arbeitsspeicher.</translation>
    </message>
    <message>
        <source>Cannot write %1.</source>
        <translation>%1 kann nicht geschrieben werden.</translation>
    </message>
</context>
<context>
    <name>CXmlElement</name>
    <message>
        <source>The element %1 is missing.</source>
        <translation>Das Element %1 fehlt.</translation>
    </message>
    <message>
        <source>%1 is not a well-formed figure file.</source>
        <translation>%1 ist keine wohlgeformte Figurdatei.</translation>
    </message>
    <message>
        <source>The file has more than %1 elements and attributes; no figure has that many.</source>
        <translation>Die Datei hat mehr als %1 Elemente und Attribute; so viele hat keine Figur.</translation>
    </message>
</context>
<context>
    <name>CZoomBox</name>
    <message>
        <source>Fit</source>
        <translation>Einpassen</translation>
    </message>
    <message>
        <source>Zoom: Ctrl+wheel, Ctrl++ and Ctrl+- step through the levels, Ctrl+0 shows 100 %, Ctrl+9 fits the window. Type a value from %1 to %2 %.</source>
        <translation>Zoom: Strg+Mausrad, Strg++ und Strg+- wechseln die Stufe, Strg+0 zeigt 100 %, Strg+9 passt in das Fenster ein. Geben Sie einen Wert von %1 bis %2 % ein.</translation>
    </message>
    <message>
        <source>%1 %</source>
        <translation>%1 %</translation>
    </message>
    <message>
        <source>Zoom</source>
        <translation>Zoom</translation>
    </message>
</context>
</TS>
