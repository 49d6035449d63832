<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de">
<context>
    <name>Window</name>
    <message>
        <source>Open flight log</source>
        <translation>Flugdatei öffnen</translation>
    </message>
    <message>
        <source>Flight logs (*.igc *.IGC *.csv *.CSV);;All files (*)</source>
        <translation>Flugaufzeichnungen (*.igc *.IGC *.csv *.CSV);;Alle Dateien (*)</translation>
    </message>
    <message>
        <source>Flight</source>
        <translation>Flug</translation>
    </message>
    <message>
        <source>Fly</source>
        <translation>Fliegen</translation>
    </message>
    <message>
        <source>Play %1 times as fast</source>
        <translation>%1-mal so schnell abspielen</translation>
    </message>
    <message>
        <source>Moment of the flight</source>
        <translation>Zeitpunkt im Flug</translation>
    </message>
    <message>
        <source>Drag to any moment of the flight</source>
        <translation>Ziehen Sie zu einem beliebigen Zeitpunkt im Flug</translation>
    </message>
    <message>
        <source>Time into the flight, and its length</source>
        <translation>Zeit seit Flugbeginn und Länge des Flugs</translation>
    </message>
    <message>
        <source>Open...</source>
        <translation>Öffnen...</translation>
    </message>
    <message>
        <source>Open another flight log, IGC or CSV</source>
        <translation>Eine andere Flugaufzeichnung öffnen, IGC oder CSV</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>Close the flight bar; the sliders stay where they are</source>
        <translation>Die Flugleiste schließen; die Schieberegler bleiben, wo sie sind</translation>
    </message>
    <message>
        <source>The flight&apos;s pressure altitude and indicated airspeed now, in the instrument&apos;s units</source>
        <translation>Druckhöhe und angezeigte Fahrt des Flugs jetzt, in den Einheiten des Instruments</translation>
    </message>
    <message>
        <source>Pause</source>
        <translation>Pause</translation>
    </message>
    <message>
        <source>Play</source>
        <translation>Abspielen</translation>
    </message>
    <message>
        <source>Switch the instrument ON and fly from here</source>
        <translation>Das Instrument einschalten (ON) und von hier aus fliegen</translation>
    </message>
    <message>
        <source>No flight log open</source>
        <translation>Keine Flugaufzeichnung geöffnet</translation>
    </message>
    <message>
        <source> - keyboard: %1</source>
        <translation> - Tastatur: %1</translation>
    </message>
    <message>
        <source>Copy LCD picture</source>
        <translation>LCD-Bild kopieren</translation>
    </message>
    <message>
        <source>Copy session as scenario</source>
        <translation>Sitzung als Szenario kopieren</translation>
    </message>
    <message>
        <source>Open flight log...</source>
        <translation>Flugdatei öffnen...</translation>
    </message>
    <message>
        <source>Save state...</source>
        <translation>Zustand speichern...</translation>
    </message>
    <message>
        <source>Open state...</source>
        <translation>Zustand öffnen...</translation>
    </message>
    <message>
        <source>Demo flight</source>
        <translation>Demoflug</translation>
    </message>
    <message>
        <source>Lessons...</source>
        <translation>Lektionen...</translation>
    </message>
    <message>
        <source>Open lesson...</source>
        <translation>Lektion öffnen...</translation>
    </message>
    <message>
        <source>Stand mode</source>
        <translation>Messemodus</translation>
    </message>
    <message>
        <source>Lessons</source>
        <translation>Lektionen</translation>
    </message>
    <message>
        <source>Click a lesson to start it</source>
        <translation>Klicken Sie auf eine Lektion, um sie zu beginnen</translation>
    </message>
    <message>
        <source>Open lesson file...</source>
        <translation>Lektionsdatei öffnen...</translation>
    </message>
    <message>
        <source>Follow a lesson of your own, from a .lesson file</source>
        <translation>Einer eigenen Lektion aus einer .lesson-Datei folgen</translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>Entfernen</translation>
    </message>
    <message>
        <source>Take the chosen lesson of your own off the list</source>
        <translation>Die gewählte eigene Lektion aus der Liste nehmen</translation>
    </message>
    <message>
        <source>Not readable: </source>
        <translation>Nicht lesbar: </translation>
    </message>
    <message>
        <source>Hint</source>
        <translation>Tipp</translation>
    </message>
    <message>
        <source>Close the lessons; the instrument goes back to how it was before them</source>
        <translation>Die Lektionen schließen; das Instrument kehrt zurück, wie es vor ihnen war</translation>
    </message>
    <message>
        <source>Copy solution</source>
        <translation>Lösung kopieren</translation>
    </message>
    <message>
        <source>Copy the way you took through this lesson as a scenario for kvr9-headless: its solution, to hand over with the lesson</source>
        <translation>Ihren Weg durch diese Lektion als Szenario für kvr9-headless kopieren: ihre Lösung, zur Weitergabe mit der Lektion</translation>
    </message>
    <message>
        <source>The instrument is back as it was before the lessons</source>
        <translation>Das Instrument ist wieder so, wie es vor den Lektionen war</translation>
    </message>
    <message>
        <source>Open lesson</source>
        <translation>Lektion öffnen</translation>
    </message>
    <message>
        <source>Open lesson file</source>
        <translation>Lektionsdatei öffnen</translation>
    </message>
    <message>
        <source>Lessons (*.lesson);;All files (*)</source>
        <translation>Lektionen (*.lesson);;Alle Dateien (*)</translation>
    </message>
    <message>
        <source>Leave stand mode</source>
        <translation>Messemodus beenden</translation>
    </message>
    <message>
        <source>Snapshots (*.json *.JSON);;All files (*)</source>
        <translation>Zustände (*.json *.JSON);;Alle Dateien (*)</translation>
    </message>
    <message>
        <source>State saved to %1</source>
        <translation>Zustand gespeichert in %1</translation>
    </message>
    <message>
        <source>, flying the demo flight</source>
        <translation>, der Demoflug läuft</translation>
    </message>
    <message>
        <source>, flying %1</source>
        <translation>, %1 wird geflogen</translation>
    </message>
    <message>
        <source>; it was flying %1: open that log to fly on from here</source>
        <translation>; es flog %1: Öffnen Sie diese Aufzeichnung, um von hier aus weiterzufliegen</translation>
    </message>
    <message>
        <source>State opened from %1</source>
        <translation>Zustand aus %1 geöffnet</translation>
    </message>
    <message>
        <source>Save state</source>
        <translation>Zustand speichern</translation>
    </message>
    <message>
        <source>Open state</source>
        <translation>Zustand öffnen</translation>
    </message>
    <message>
        <source>Unknown error.</source>
        <translation>Unbekannter Fehler.</translation>
    </message>
    <message>
        <source>The instrument face</source>
        <translation>Die Frontplatte des Instruments</translation>
    </message>
    <message>
        <source>Alarm LED</source>
        <translation>Alarm-LED</translation>
    </message>
    <message>
        <source>F1 key (up arrow)</source>
        <translation>Taste F1 (Pfeil nach oben)</translation>
    </message>
    <message>
        <source>F1 key, up</source>
        <translation>Taste F1, hoch</translation>
    </message>
    <message>
        <source>Knob: click to press, wheel to turn</source>
        <translation>Drehknopf: Klick drückt, Mausrad dreht</translation>
    </message>
    <message>
        <source>Knob: press</source>
        <translation>Drehknopf: drücken</translation>
    </message>
    <message>
        <source>F2 key (down arrow)</source>
        <translation>Taste F2 (Pfeil nach unten)</translation>
    </message>
    <message>
        <source>F2 key, down</source>
        <translation>Taste F2, runter</translation>
    </message>
    <message>
        <source>The LCD - Ctrl+C copies its picture, Ctrl+Shift+C the session as a scenario; the right button opens a flight log (IGC or CSV) or plays a demo flight, and a log dropped on the window opens too.
Flight time runs ten times fast and air distance five times: the instrument counts a second of flight and half a second of distance each time round its loop, and the simulator goes round ten times a second.</source>
        <translation>Das LCD - Strg+C kopiert sein Bild, Strg+Umschalt+C die Sitzung als Szenario; die rechte Maustaste öffnet eine Flugaufzeichnung (IGC oder CSV) oder spielt einen Demoflug ab, und eine auf das Fenster gezogene Aufzeichnung öffnet sich auch.
Die Flugzeit läuft zehnmal so schnell und die Luftstrecke fünfmal: Das Instrument zählt bei jeder Runde seiner Schleife eine Sekunde Flug und eine halbe Sekunde Strecke, und der Simulator dreht zehn Runden in der Sekunde.</translation>
    </message>
    <message>
        <source>LCD</source>
        <translation>LCD</translation>
    </message>
    <message>
        <source>Clockwise</source>
        <translation>Rechts</translation>
    </message>
    <message>
        <source>Turn the knob clockwise</source>
        <translation>Den Knopf im Uhrzeigersinn drehen</translation>
    </message>
    <message>
        <source>AntiClockwise</source>
        <translation>Links</translation>
    </message>
    <message>
        <source>Turn the knob anticlockwise</source>
        <translation>Den Knopf gegen den Uhrzeigersinn drehen</translation>
    </message>
    <message>
        <source>ON</source>
        <translation>ON</translation>
    </message>
    <message>
        <source>OFF</source>
        <translation>OFF</translation>
    </message>
    <message>
        <source>Altitude</source>
        <translation>Höhe</translation>
    </message>
    <message>
        <source>Airspeed</source>
        <translation>Fahrt</translation>
    </message>
    <message>
        <source>Calibrate</source>
        <translation>Kalibrieren</translation>
    </message>
    <message>
        <source>KeyFast</source>
        <translation>KeyFast</translation>
    </message>
    <message>
        <source> Communication Window  </source>
        <translation> Datenfenster </translation>
    </message>
    <message>
        <source>Communication Window</source>
        <translation>Datenfenster</translation>
    </message>
    <message>
        <source>en</source>
        <comment>the code of the translation&apos;s language, as the lessons&apos; folders name it</comment>
        <translation>de</translation>
    </message>
    <message>
        <source>Choose a lesson</source>
        <translation>Wählen Sie eine Lektion</translation>
    </message>
    <message>
        <source>All %1 steps done</source>
        <translation>Alle %1 Schritte erledigt</translation>
    </message>
    <message>
        <source>Step %1 of %2</source>
        <translation>Schritt %1 von %2</translation>
    </message>
    <message>
        <source>Done: the lesson is finished.</source>
        <translation>Erledigt: Die Lektion ist abgeschlossen.</translation>
    </message>
    <message>
        <source>Done: step %1 of %2.</source>
        <translation>Erledigt: Schritt %1 von %2.</translation>
    </message>
    <message>
        <source>Hint: %1</source>
        <translation>Tipp: %1</translation>
    </message>
    <message>
        <source>The instrument is off, so the red LED means nothing now (it is lit before the first ON).</source>
        <translation>Das Instrument ist aus, die rote LED bedeutet jetzt also nichts (sie leuchtet vor dem ersten ON).</translation>
    </message>
</context>
</TS>
