// The page's words in the languages it speaks, one table keyed by the
// text's id, and the language the page shows them in: the one chosen on
// this device, else the browser's first language the table has, else
// English. A text a language lacks is said in English.
// - The page's own elements name their texts: data-text (the element's
//   text), data-text-html (its text with markup, from this table only),
//   data-text-title, data-text-label (aria-label), data-text-alt.
// - The scripts ask for a text by id, with its {parameters}.
// - Texts the programs make (the flight bar's notes, the sliders'
//   descriptions, the lessons panel's lines) come in English, as the window
//   and the driver show them; the "host." texts below are those, written as
//   the programs write them, and host() says one in the page's language.
//   A text the table does not know is shown as it came.
// The English captions, tooltips and accessible names of the form's
// controls are the window's own: the placeholders caption:X, title:X and
// label:X, each between at signs, are filled in from the host library's
// table of the form when the page is put together. The LCD, and the lines the instrument writes to the
// communication window, are the instrument's and stay as it writes them.
"use strict";

(function () {
  const kTexts = {
    en: {
      "language.label": "Language",
      "page.help":
        "Click <b>ON</b>, then the F1 and F2 keys and the knob on the face, or use the keyboard: " +
        "{f1} and {f2} are the keys, {cw} and {ccw} turn the knob, {press} presses it; " +
        "Ctrl+C copies the LCD picture, Ctrl+Shift+C the session as a scenario for kvr9-headless.",
      "page.helpTouch":
        "Tap <b>ON</b>, then the F1 and F2 keys and the knob on the face. Tap the knob to press it; " +
        "swipe around it, or tap Clockwise and AntiClockwise, to turn it.",
      "form.face": "@label:Image2@",
      "form.ledLit": "Alarm LED, lit",
      "form.ledUnlit": "Alarm LED, unlit",
      "form.f1": "@label:Image3@",
      "form.f1Title": "@title:Image3@",
      "form.knob": "@label:Image5@",
      "form.knobTitle": "@title:Image5@",
      "form.f2": "@label:Image6@",
      "form.f2Title": "@title:Image6@",
      "form.lcd": "The LCD, 128 by 64 dots",
      "form.lcdTitle": "The LCD - Ctrl+C copies its picture",
      "lcd.editing": "editing",
      "lcd.selected": "selected",
      "form.cw": "@caption:Button3@",
      "form.cwTitle": "@title:Button3@",
      "form.ccw": "@caption:Button4@",
      "form.ccwTitle": "@title:Button4@",
      "form.on": "@caption:Button1@",
      "form.off": "@caption:Button2@",
      "form.altitude": "@caption:Label2@",
      "form.airspeed": "@caption:Label1@",
      "form.altitudeDown": "Altitude down a little",
      "form.altitudeUp": "Altitude up a little",
      "form.airspeedDown": "Airspeed down a little",
      "form.airspeedUp": "Airspeed up a little",
      "form.calibrate": "@caption:CheckBox2@",
      "form.keyFast": "@caption:CheckBox3@",
      "form.comm": "@caption:GroupBox1@",
      "form.commLabel": "@label:Memo1@",
      "form.engineer": "Engineer's controls",
      "flight.title": "Fly it",
      "flight.demo": "Demo flight",
      "flight.open": "Open flight log",
      "flight.openTitle": "An IGC or CSV flight log from this device; it is read here and sent nowhere",
      "flight.fly": "Fly",
      "flight.play": "Play",
      "flight.pause": "Pause",
      "flight.speed": "Speed",
      "flight.leaveStand": "Leave stand mode",
      "flight.timeTitle": "Time into the flight, and its length",
      "flight.nowTitle": "The flight's pressure altitude and indicated airspeed now, in the instrument's units",
      "flight.lessons": "Lessons",
      "flight.lessonsTitle": "Short tasks on the instrument, checked as you do them",
      "flight.stand": "Stand mode",
      "flight.standTitle": "A tour of the instrument in a loop, told in words; a touch ends it, a quiet minute brings it back",
      "flight.moment": "Moment of the flight",
      "flight.momentValue": "{elapsed} of {total}",
      "flight.summaryTitle": "The log's own highest values and length, in the instrument's units",
      "flight.speak": "Read the LCD aloud while a flight plays",
      "flight.note":
        "The sliders follow the flight; touching one pauses it. The instrument's flight time runs " +
        "ten times as fast as a clock, and its air distance five times: the firmware counts them by " +
        "the rounds of its loop, and the simulator goes round ten times a second.",
      "flight.tooLong": "{name}: is longer than the 64 MB a flight log may hold",
      "flight.unread": "{name}: the browser could not read it",
      "controls.copyLcd": "Copy LCD picture",
      "controls.copyLcdTitle": "Copies the LCD picture to the clipboard - keyboard: Ctrl+C",
      "controls.copySession": "Copy session as scenario",
      "controls.copySessionTitle":
        "Copies everything the instrument has seen as a kvr9-headless scenario - keyboard: Ctrl+Shift+C",
      "controls.share": "Share this setup",
      "controls.shareTitle": "A link that opens the instrument as it is now; the setup is in the link itself and sent nowhere",
      "controls.afresh": "Start afresh",
      "controls.afreshTitle": "Forgets the instrument this device kept and starts with a new one",
      "controls.link": "Link to this setup",
      "notice.failed": "The simulator stopped with an error: {error}",
      "notice.noTextClipboard": "This browser does not let the page copy text to the clipboard.",
      "notice.sessionRefused": "The browser refused to copy the session to the clipboard.",
      "notice.noPictureClipboard": "This browser does not let the page copy pictures to the clipboard.",
      "notice.pictureRefused": "The browser refused to copy the LCD picture to the clipboard.",
      "notice.loadingOn": "Loading the simulator's program: ON switches it on once it has loaded.",
      "notice.lessonsUnloaded": "The lessons could not be loaded; try again once the page is online.",
      "notice.programUnloaded": "The simulator's program (kvr9.wasm) could not be loaded, so the panel does not work. {error}",
      "notice.loading": "Loading the simulator's program...",
      "notice.noWasm":
        "This browser cannot run WebAssembly, which the simulator needs. " +
        "Please open the page in a current Firefox, Chrome, Edge or Safari.",
      "notice.fromFile":
        "Opened from a file, the browser will not load the simulator's program (kvr9.wasm). " +
        "Serve this folder over HTTP, for example: python3 -m http.server --bind 127.0.0.1",
      "keep.otherVersion": "The instrument kept on this device was saved by another version of the page; it starts afresh.",
      "keep.restored": "The instrument is as you left it. \"Start afresh\" sets it back to new.",
      "keep.copied": "The link is copied: it holds this setup, and nothing is sent anywhere.",
      "keep.copyIt": "Copy the link beside: it holds this setup, and nothing is sent anywhere.",
      "keep.refused": "This link does not hold a setup the simulator can open ({why}); the instrument is at its defaults.",
      "keep.tooLong": "it is too long",
      "keep.damaged": "it is damaged or cut short",
      "keep.noFullProgram": "The simulator's full program could not be loaded, so the link cannot be opened now.",
      "keep.opened": "The instrument is set as the link's setup.",
      "keep.unmade": "The link could not be made: the full program did not load.",
      "lessons.title": "Lessons",
      "lessons.close": "Close",
      "lessons.closeLabel": "Close lessons",
      "lessons.closeTitle": "Close the lessons; the instrument goes back to how it was before them",
      "lessons.list": "Built-in lessons",
      "lessons.hint": "Hint",
      "lessons.back": "All lessons",
      "lessons.backTitle": "Stop this lesson and choose another",
      "lessons.notStarted": "not started",
      "lessons.done": "done",
      "lessons.partly": "{best} of {steps} steps",
      "lessons.cannotFollow": "This lesson cannot be followed: {error}",
      "lessons.loading": "Loading the lessons...",
      "lessons.unloaded": "The lessons could not be loaded: the simulator's full program did not load.",
      "lessons.progressUnread": "The lessons' progress kept on this device could not be read; it starts again.",
      "lessons.backAsBefore": "The instrument is back as it was before the lessons.",
      "notice.dropLesson": "Drop a lesson file (.lesson) or a flight log (.igc, .csv) on the page to open it.",
      "lessons.own": "Your lessons",
      "lessons.open": "Open lesson...",
      "lessons.openTitle": "A lesson file from this device; it is read here and sent nowhere",
      "lessons.openSnapshot": "Open its snapshot...",
      "lessons.pickSnapshot": "The lesson {name} starts from the snapshot {file}: open that file too.",
      "lessons.refusedLine": "The lesson {name} was not started: on line {line}, {why}",
      "lessons.refused": "The lesson {name} was not started: {why}",
      "lessons.linkRefused": "This link does not hold a lesson the simulator can open ({why}); nothing has changed.",
      "lessons.linkTooLong": "This lesson is too long for a link; hand over its file instead.",
      "lessons.tooMany": "This device keeps {most} lessons of your own: remove one first.",
      "lessons.notKept": "This device's storage did not keep the lesson; it lasts this visit.",
      "lessons.ownUnread": "A lesson kept on this device could not be read again and is left out.",
      "lessons.unreadFile": "The file {name} could not be read.",
      "lessons.remove": "Remove",
      "lessons.removeLabel": "Remove {title}",
      "lessons.removed": "Removed: {title}.",
      "lessons.share": "Share this lesson",
      "lessons.shareTitle": "A link that opens this lesson; the lesson is in the link itself and sent nowhere",
      "lessons.linkLabel": "Link to this lesson",
      "lessons.linkCopied": "The link is copied: it holds this lesson, and nothing is sent anywhere.",
      "lessons.linkCopyIt": "Copy the link above: it holds this lesson, and nothing is sent anywhere.",
      "lessons.solution": "Copy solution",
      "lessons.solutionTitle": "Everything you have done in this lesson, as a scenario for kvr9-headless that follows it again",
      "lessons.wayLabel": "Your way through this lesson, as a scenario",
      "lessons.wayCopied": "Your way through the lesson is copied as a scenario: save it beside the lesson file, and kvr9-headless check-lesson checks the lesson with it.",
      "lessons.wayCopyIt": "Copy your way through the lesson above, a scenario: save it beside the lesson file, and kvr9-headless check-lesson checks the lesson with it.",
      "host.demoName": "Demo flight",
      "host.summary": "Highest {altitude} {altitudeUnit}, fastest {airspeed} {airspeedUnit}, {length} long",
      "host.groundSpeed": "This log has no airspeed, so its ground speed stands in for it (the wind is ignored).",
      "host.maxValues":
        "MAX VALUES counts from power-on: switch OFF and ON, or reset them in MAX VALUES, " +
        "before playing to read this log's highest values.",
      "host.maxValuesFromFly": "MAX VALUES count from where Fly started this log.",
      "host.ended": "The flight has ended.",
      "host.switchOnToFly": "The instrument is off: Fly switches it ON.",
      "host.altitudeBeyond":
        "altitude {value} {unit} at {time} is beyond what the converters reach with these settings ({low}..{high} {unit2})",
      "host.airspeedBeyond":
        "airspeed {value} {unit} at {time} is beyond what the converters reach with these settings ({low}..{high} {unit2})",
      "host.openLog": "Open its flight log {name} to fly on from where it was.",
      "host.altitudeSlider": "Altitude converter: {counts} counts",
      "host.altitudeSliderReading": "Altitude converter: {counts} counts, about {reading} {unit}",
      "host.airspeedSlider": "Airspeed converter: {counts} counts",
      "host.airspeedSliderReading": "Airspeed converter: {counts} counts, about {reading} {unit}",
      "host.standResumes": "Stand mode resumes after a minute without a touch.",
      "host.standOn": "Switching on: the maker's name, then the main display.",
      "host.standTakeOff": "Taking off: airspeed on top, altitude below, the QNH at the bottom.",
      "host.standCruise": "Cruising: the airspeed and the altitude follow the flight, live.",
      "host.standDive": "Diving too fast: the airspeed flashes and the red LED blinks.",
      "host.standSlow": "Slowing down to land: the alarm stops.",
      "host.standF2": "F2 shows the flight: its time and the air distance flown.",
      "host.standBack": "Pressing the knob goes back.",
      "host.standMenu": "Pressing the knob opens the menu; turning it chooses an item.",
      "host.standMax": "MAX VALUES: the highest altitude and airspeed since switching on.",
      "host.standSetup": "AIRSPEED SETUP: turn the knob to a setting, press to change it.",
      "host.standUnit": "The airspeed unit: from mph to knots.",
      "host.standDone": "DONE, then EXIT MENU: back to the main display.",
      "host.standKnots": "The main display now reads the airspeed in knots.",
      "host.standQnh": "Turning the knob on the main display sets the QNH; the altitude follows it.",
      "host.standQnhBack": "And back to 1013 mB.",
      "host.lessonOff": "The instrument is off, so the red LED means nothing now (it is lit before the first ON).",
      "host.lessonStep": "Step {step} of {steps}",
      "host.lessonAllDone": "All {steps} steps done",
      "host.lessonStepDone": "Done: step {step} of {steps}.",
      "host.lessonFinished": "Done: the lesson is finished.",
      "host.lessonHint": "Hint: {hint}",
    },
    de: {
      "language.label": "Sprache",
      "page.help":
        "Klicken Sie auf <b>ON</b>, dann auf die Tasten F1 und F2 und den Drehknopf im Bild, oder nehmen Sie " +
        "die Tastatur: {f1} und {f2} sind die Tasten, {cw} und {ccw} drehen den Knopf, {press} drückt ihn; " +
        "Strg+C kopiert das LCD-Bild, Strg+Umschalt+C die Sitzung als Szenario für kvr9-headless.",
      "page.helpTouch":
        "Tippen Sie auf <b>ON</b>, dann auf die Tasten F1 und F2 und den Drehknopf im Bild. Tippen Sie auf " +
        "den Knopf, um ihn zu drücken; wischen Sie um ihn herum oder tippen Sie auf „Rechts“ " +
        "und „Links“, um ihn zu drehen.",
      "form.face": "Die Frontplatte des Instruments",
      "form.ledLit": "Alarm-LED, leuchtet",
      "form.ledUnlit": "Alarm-LED, aus",
      "form.f1": "Taste F1, hoch",
      "form.f1Title": "Taste F1 (Pfeil nach oben) - Tastatur: {key}",
      "form.knob": "Drehknopf: drücken",
      "form.knobTitle": "Drehknopf: Klick drückt, Mausrad dreht - Tastatur: {key}",
      "form.f2": "Taste F2, runter",
      "form.f2Title": "Taste F2 (Pfeil nach unten) - Tastatur: {key}",
      "form.lcd": "Das LCD, 128 mal 64 Punkte",
      "form.lcdTitle": "Das LCD - Strg+C kopiert sein Bild",
      "lcd.editing": "wird geändert",
      "lcd.selected": "ausgewählt",
      "form.cw": "Rechts",
      "form.cwTitle": "Den Knopf im Uhrzeigersinn drehen - Tastatur: {key}",
      "form.ccw": "Links",
      "form.ccwTitle": "Den Knopf gegen den Uhrzeigersinn drehen - Tastatur: {key}",
      "form.on": "ON",
      "form.off": "OFF",
      "form.altitude": "Höhe",
      "form.airspeed": "Fahrt",
      "form.altitudeDown": "Höhe etwas tiefer",
      "form.altitudeUp": "Höhe etwas höher",
      "form.airspeedDown": "Fahrt etwas weniger",
      "form.airspeedUp": "Fahrt etwas mehr",
      "form.calibrate": "Kalibrieren",
      "form.keyFast": "KeyFast",
      "form.comm": " Datenfenster ",
      "form.commLabel": "Datenfenster",
      "form.engineer": "Werkstatt-Schalter",
      "flight.title": "Fliegen",
      "flight.demo": "Demoflug",
      "flight.open": "Flugdatei öffnen",
      "flight.openTitle": "Eine IGC- oder CSV-Flugaufzeichnung von diesem Gerät; sie wird hier gelesen und nirgendwohin gesendet",
      "flight.fly": "Fliegen",
      "flight.play": "Abspielen",
      "flight.pause": "Pause",
      "flight.speed": "Tempo",
      "flight.leaveStand": "Messemodus beenden",
      "flight.timeTitle": "Zeit seit Flugbeginn und Länge des Flugs",
      "flight.nowTitle": "Druckhöhe und angezeigte Fahrt des Flugs jetzt, in den Einheiten des Instruments",
      "flight.lessons": "Lektionen",
      "flight.lessonsTitle": "Kurze Aufgaben am Instrument, geprüft, während Sie sie lösen",
      "flight.stand": "Messemodus",
      "flight.standTitle": "Eine Rundschau des Instruments in Schleife, in Worten erklärt; eine Berührung beendet sie, eine ruhige Minute bringt sie zurück",
      "flight.moment": "Zeitpunkt im Flug",
      "flight.momentValue": "{elapsed} von {total}",
      "flight.summaryTitle": "Die Höchstwerte und die Länge der Aufzeichnung selbst, in den Einheiten des Instruments",
      "flight.speak": "Das LCD vorlesen, während ein Flug läuft",
      "flight.note":
        "Die Schieberegler folgen dem Flug; wer einen berührt, hält ihn an. Die Flugzeit des Instruments " +
        "läuft zehnmal so schnell wie eine Uhr, seine Luftstrecke fünfmal: Die Firmware zählt sie an den " +
        "Runden ihrer Schleife, und der Simulator dreht zehn Runden in der Sekunde.",
      "flight.tooLong": "{name}: ist länger als die 64 MB, die eine Flugaufzeichnung haben darf",
      "flight.unread": "{name}: Der Browser konnte die Datei nicht lesen",
      "controls.copyLcd": "LCD-Bild kopieren",
      "controls.copyLcdTitle": "Kopiert das LCD-Bild in die Zwischenablage - Tastatur: Strg+C",
      "controls.copySession": "Sitzung als Szenario kopieren",
      "controls.copySessionTitle":
        "Kopiert alles, was das Instrument erlebt hat, als kvr9-headless-Szenario - Tastatur: Strg+Umschalt+C",
      "controls.share": "Diese Einstellung teilen",
      "controls.shareTitle": "Ein Link, der das Instrument so öffnet, wie es jetzt ist; die Einstellung steht im Link selbst und wird nirgendwohin gesendet",
      "controls.afresh": "Neu beginnen",
      "controls.afreshTitle": "Vergisst das auf diesem Gerät gespeicherte Instrument und beginnt mit einem neuen",
      "controls.link": "Link zu dieser Einstellung",
      "notice.failed": "Der Simulator wurde mit einem Fehler angehalten: {error}",
      "notice.noTextClipboard": "Dieser Browser lässt die Seite keinen Text in die Zwischenablage kopieren.",
      "notice.sessionRefused": "Der Browser hat das Kopieren der Sitzung in die Zwischenablage verweigert.",
      "notice.noPictureClipboard": "Dieser Browser lässt die Seite keine Bilder in die Zwischenablage kopieren.",
      "notice.pictureRefused": "Der Browser hat das Kopieren des LCD-Bilds in die Zwischenablage verweigert.",
      "notice.loadingOn": "Das Programm des Simulators wird geladen: ON schaltet ihn ein, sobald es geladen ist.",
      "notice.lessonsUnloaded": "Die Lektionen konnten nicht geladen werden; versuchen Sie es wieder, wenn die Seite online ist.",
      "notice.programUnloaded": "Das Programm des Simulators (kvr9.wasm) konnte nicht geladen werden, daher funktioniert das Bedienfeld nicht. {error}",
      "notice.loading": "Das Programm des Simulators wird geladen...",
      "notice.noWasm":
        "Dieser Browser kann kein WebAssembly ausführen, das der Simulator braucht. " +
        "Bitte öffnen Sie die Seite in einem aktuellen Firefox, Chrome, Edge oder Safari.",
      "notice.fromFile":
        "Aus einer Datei geöffnet, lädt der Browser das Programm des Simulators (kvr9.wasm) nicht. " +
        "Stellen Sie diesen Ordner über HTTP bereit, zum Beispiel: python3 -m http.server --bind 127.0.0.1",
      "keep.otherVersion": "Das auf diesem Gerät gespeicherte Instrument stammt von einer anderen Version der Seite; es beginnt neu.",
      "keep.restored": "Das Instrument ist so, wie Sie es verlassen haben. „Neu beginnen“ setzt es zurück.",
      "keep.copied": "Der Link ist kopiert: Er enthält diese Einstellung, und nichts wird irgendwohin gesendet.",
      "keep.copyIt": "Kopieren Sie den Link daneben: Er enthält diese Einstellung, und nichts wird irgendwohin gesendet.",
      "keep.refused": "Dieser Link enthält keine Einstellung, die der Simulator öffnen kann ({why}); das Instrument steht auf den Grundeinstellungen.",
      "keep.tooLong": "er ist zu lang",
      "keep.damaged": "er ist beschädigt oder abgeschnitten",
      "keep.noFullProgram": "Das vollständige Programm des Simulators konnte nicht geladen werden, daher lässt sich der Link jetzt nicht öffnen.",
      "keep.opened": "Das Instrument ist nach der Einstellung des Links gesetzt.",
      "keep.unmade": "Der Link konnte nicht erstellt werden: Das vollständige Programm wurde nicht geladen.",
      "lessons.title": "Lektionen",
      "lessons.close": "Schließen",
      "lessons.closeLabel": "Lektionen schließen",
      "lessons.closeTitle": "Die Lektionen schließen; das Instrument kehrt zurück, wie es vor ihnen war",
      "lessons.list": "Eingebaute Lektionen",
      "lessons.hint": "Tipp",
      "lessons.back": "Alle Lektionen",
      "lessons.backTitle": "Diese Lektion beenden und eine andere wählen",
      "lessons.notStarted": "nicht begonnen",
      "lessons.done": "fertig",
      "lessons.partly": "{best} von {steps} Schritten",
      "lessons.cannotFollow": "Dieser Lektion kann nicht gefolgt werden: {error}",
      "lessons.loading": "Die Lektionen werden geladen...",
      "lessons.unloaded": "Die Lektionen konnten nicht geladen werden: Das vollständige Programm des Simulators wurde nicht geladen.",
      "lessons.progressUnread": "Der auf diesem Gerät gespeicherte Fortschritt der Lektionen war nicht lesbar; er beginnt von vorn.",
      "lessons.backAsBefore": "Das Instrument ist wieder so, wie es vor den Lektionen war.",
      "notice.dropLesson": "Legen Sie eine Lektionsdatei (.lesson) oder eine Flugaufzeichnung (.igc, .csv) auf der Seite ab, um sie zu öffnen.",
      "lessons.own": "Ihre Lektionen",
      "lessons.open": "Lektion öffnen...",
      "lessons.openTitle": "Eine Lektionsdatei von diesem Gerät; sie wird hier gelesen und nirgendwohin gesendet",
      "lessons.openSnapshot": "Ihren Schnappschuss öffnen...",
      "lessons.pickSnapshot": "Die Lektion {name} beginnt mit dem Schnappschuss {file}: Öffnen Sie auch diese Datei.",
      "lessons.refusedLine": "Die Lektion {name} wurde nicht begonnen: in Zeile {line}, {why}",
      "lessons.refused": "Die Lektion {name} wurde nicht begonnen: {why}",
      "lessons.linkRefused": "Dieser Link enthält keine Lektion, die der Simulator öffnen kann ({why}); nichts wurde geändert.",
      "lessons.linkTooLong": "Diese Lektion ist zu lang für einen Link; geben Sie stattdessen ihre Datei weiter.",
      "lessons.tooMany": "Dieses Gerät speichert {most} eigene Lektionen: Entfernen Sie zuerst eine.",
      "lessons.notKept": "Der Speicher dieses Geräts hat die Lektion nicht behalten; sie gilt nur für diesen Besuch.",
      "lessons.ownUnread": "Eine auf diesem Gerät gespeicherte Lektion war nicht mehr lesbar und fehlt.",
      "lessons.unreadFile": "Die Datei {name} konnte nicht gelesen werden.",
      "lessons.remove": "Entfernen",
      "lessons.removeLabel": "{title} entfernen",
      "lessons.removed": "Lektion entfernt: {title}.",
      "lessons.share": "Diese Lektion teilen",
      "lessons.shareTitle": "Ein Link, der diese Lektion öffnet; die Lektion steckt im Link selbst und wird nirgendwohin gesendet",
      "lessons.linkLabel": "Link zu dieser Lektion",
      "lessons.linkCopied": "Der Link ist kopiert: Er enthält diese Lektion, und nichts wird irgendwohin gesendet.",
      "lessons.linkCopyIt": "Kopieren Sie den Link oben: Er enthält diese Lektion, und nichts wird irgendwohin gesendet.",
      "lessons.solution": "Lösung kopieren",
      "lessons.solutionTitle": "Alles, was Sie in dieser Lektion getan haben, als Szenario für kvr9-headless, das ihr wieder folgt",
      "lessons.wayLabel": "Ihr Weg durch diese Lektion, als Szenario",
      "lessons.wayCopied": "Ihr Weg durch die Lektion ist als Szenario kopiert: Speichern Sie es neben der Lektionsdatei, dann prüft kvr9-headless check-lesson die Lektion damit.",
      "lessons.wayCopyIt": "Kopieren Sie Ihren Weg durch die Lektion oben, ein Szenario: Speichern Sie es neben der Lektionsdatei, dann prüft kvr9-headless check-lesson die Lektion damit.",
      "host.demoName": "Demoflug",
      "host.summary": "Höchste Höhe {altitude} {altitudeUnit}, höchste Fahrt {airspeed} {airspeedUnit}, Dauer {length}",
      "host.groundSpeed": "Diese Aufzeichnung hat keine Fahrt; ihre Geschwindigkeit über Grund vertritt sie (der Wind bleibt unberücksichtigt).",
      "host.maxValues":
        "MAX VALUES zählt ab dem Einschalten: Schalten Sie OFF und ON oder setzen Sie die Werte in MAX VALUES " +
        "zurück, bevor Sie abspielen, um die Höchstwerte dieser Aufzeichnung abzulesen.",
      "host.maxValuesFromFly": "MAX VALUES zählt ab dort, wo „Fliegen“ diese Aufzeichnung begonnen hat.",
      "host.ended": "Der Flug ist zu Ende.",
      "host.switchOnToFly": "Das Instrument ist aus: „Fliegen“ schaltet es ein (ON).",
      "host.altitudeBeyond":
        "Höhe {value} {unit} bei {time} liegt außerhalb dessen, was die Wandler mit diesen Einstellungen erreichen ({low}..{high} {unit2})",
      "host.airspeedBeyond":
        "Fahrt {value} {unit} bei {time} liegt außerhalb dessen, was die Wandler mit diesen Einstellungen erreichen ({low}..{high} {unit2})",
      "host.openLog": "Öffnen Sie seine Flugaufzeichnung {name}, um dort weiterzufliegen, wo es war.",
      "host.altitudeSlider": "Höhenwandler: {counts} Zählwerte",
      "host.altitudeSliderReading": "Höhenwandler: {counts} Zählwerte, etwa {reading} {unit}",
      "host.airspeedSlider": "Fahrtwandler: {counts} Zählwerte",
      "host.airspeedSliderReading": "Fahrtwandler: {counts} Zählwerte, etwa {reading} {unit}",
      "host.standResumes": "Der Messemodus beginnt wieder nach einer Minute ohne Berührung.",
      "host.standOn": "Einschalten: der Name des Herstellers, dann die Hauptanzeige.",
      "host.standTakeOff": "Start: oben die Fahrt, darunter die Höhe, unten das QNH.",
      "host.standCruise": "Reiseflug: Fahrt und Höhe folgen dem Flug, live.",
      "host.standDive": "Zu schneller Sinkflug: Die Fahrt blinkt und die rote LED blinkt.",
      "host.standSlow": "Langsamer zur Landung: Der Alarm hört auf.",
      "host.standF2": "F2 zeigt den Flug: seine Dauer und die geflogene Luftstrecke.",
      "host.standBack": "Ein Druck auf den Knopf geht zurück.",
      "host.standMenu": "Ein Druck auf den Knopf öffnet das Menü; Drehen wählt einen Eintrag.",
      "host.standMax": "MAX VALUES: die größte Höhe und die höchste Fahrt seit dem Einschalten.",
      "host.standSetup": "AIRSPEED SETUP: den Knopf auf eine Einstellung drehen, drücken zum Ändern.",
      "host.standUnit": "Die Fahrteinheit: von mph auf Knoten.",
      "host.standDone": "DONE, dann EXIT MENU: zurück zur Hauptanzeige.",
      "host.standKnots": "Die Hauptanzeige zeigt die Fahrt jetzt in Knoten.",
      "host.standQnh": "Drehen am Knopf in der Hauptanzeige stellt das QNH ein; die Höhe folgt.",
      "host.standQnhBack": "Und zurück auf 1013 mB.",
      "host.lessonOff": "Das Instrument ist aus, die rote LED bedeutet jetzt also nichts (sie leuchtet vor dem ersten ON).",
      "host.lessonStep": "Schritt {step} von {steps}",
      "host.lessonAllDone": "Alle {steps} Schritte erledigt",
      "host.lessonStepDone": "Erledigt: Schritt {step} von {steps}.",
      "host.lessonFinished": "Erledigt: Die Lektion ist abgeschlossen.",
      "host.lessonHint": "Tipp: {hint}",
    },
    fr: {
      "language.label": "Langue",
      "page.help":
        "Cliquez sur <b>ON</b>, puis sur les touches F1 et F2 et sur la molette de la façade, ou utilisez " +
        "le clavier : {f1} et {f2} sont les touches, {cw} et {ccw} tournent la molette, {press} l'enfonce ; " +
        "Ctrl+C copie l'image du LCD, Ctrl+Maj+C la session comme scénario pour kvr9-headless.",
      "page.helpTouch":
        "Touchez <b>ON</b>, puis les touches F1 et F2 et la molette de la façade. Touchez la molette pour " +
        "l'enfoncer ; pour la tourner, glissez le doigt autour, ou touchez « Horaire » et « Antihoraire ».",
      "form.face": "La façade de l'instrument",
      "form.ledLit": "LED d'alarme, allumée",
      "form.ledUnlit": "LED d'alarme, éteinte",
      "form.f1": "Touche F1, haut",
      "form.f1Title": "Touche F1 (flèche haut) - clavier : {key}",
      "form.knob": "Molette : enfoncer",
      "form.knobTitle": "Molette : un clic l'enfonce, la roulette de la souris la tourne - clavier : {key}",
      "form.f2": "Touche F2, bas",
      "form.f2Title": "Touche F2 (flèche bas) - clavier : {key}",
      "form.lcd": "Le LCD, 128 sur 64 points",
      "form.lcdTitle": "Le LCD - Ctrl+C copie son image",
      "lcd.editing": "en modification",
      "lcd.selected": "sélectionnée",
      "form.cw": "Horaire",
      "form.cwTitle": "Tourner la molette dans le sens horaire - clavier : {key}",
      "form.ccw": "Antihoraire",
      "form.ccwTitle": "Tourner la molette dans le sens antihoraire - clavier : {key}",
      "form.on": "ON",
      "form.off": "OFF",
      "form.altitude": "Altitude",
      "form.airspeed": "Vitesse",
      "form.altitudeDown": "Altitude un peu plus basse",
      "form.altitudeUp": "Altitude un peu plus haute",
      "form.airspeedDown": "Vitesse un peu plus faible",
      "form.airspeedUp": "Vitesse un peu plus forte",
      "form.calibrate": "Étalonner",
      "form.keyFast": "KeyFast",
      "form.comm": " Fenêtre de données ",
      "form.commLabel": "Fenêtre de données",
      "form.engineer": "Commandes d'atelier",
      "flight.title": "Voler",
      "flight.demo": "Vol de démo",
      "flight.open": "Ouvrir un vol",
      "flight.openTitle": "Un enregistrement de vol IGC ou CSV de cet appareil ; il est lu ici et envoyé nulle part",
      "flight.fly": "Voler",
      "flight.play": "Lecture",
      "flight.pause": "Pause",
      "flight.speed": "Vitesse de lecture",
      "flight.leaveStand": "Quitter le mode salon",
      "flight.timeTitle": "Temps écoulé depuis le début du vol, et sa durée",
      "flight.nowTitle": "L'altitude pression et la vitesse indiquée du vol maintenant, dans les unités de l'instrument",
      "flight.lessons": "Leçons",
      "flight.lessonsTitle": "De courts exercices sur l'instrument, vérifiés pendant que vous les faites",
      "flight.stand": "Mode salon",
      "flight.standTitle": "Une visite de l'instrument en boucle, racontée en mots ; un toucher l'arrête, une minute calme la relance",
      "flight.moment": "Moment du vol",
      "flight.momentValue": "{elapsed} sur {total}",
      "flight.summaryTitle": "Les valeurs maximales et la durée de l'enregistrement lui-même, dans les unités de l'instrument",
      "flight.speak": "Lire le LCD à voix haute pendant un vol",
      "flight.note":
        "Les curseurs suivent le vol ; en toucher un le met en pause. Le temps de vol de l'instrument avance " +
        "dix fois plus vite qu'une horloge, et sa distance air cinq fois : le micrologiciel les compte aux " +
        "tours de sa boucle, et le simulateur fait dix tours par seconde.",
      "flight.tooLong": "{name} : dépasse les 64 Mo que peut contenir un enregistrement de vol",
      "flight.unread": "{name} : le navigateur n'a pas pu le lire",
      "controls.copyLcd": "Copier l'image du LCD",
      "controls.copyLcdTitle": "Copie l'image du LCD dans le presse-papiers - clavier : Ctrl+C",
      "controls.copySession": "Copier la session comme scénario",
      "controls.copySessionTitle":
        "Copie tout ce que l'instrument a vu comme scénario kvr9-headless - clavier : Ctrl+Maj+C",
      "controls.share": "Partager ce réglage",
      "controls.shareTitle": "Un lien qui ouvre l'instrument tel qu'il est maintenant ; le réglage est dans le lien lui-même et envoyé nulle part",
      "controls.afresh": "Repartir à neuf",
      "controls.afreshTitle": "Oublie l'instrument gardé sur cet appareil et repart avec un neuf",
      "controls.link": "Lien vers ce réglage",
      "notice.failed": "Le simulateur s'est arrêté sur une erreur : {error}",
      "notice.noTextClipboard": "Ce navigateur ne laisse pas la page copier du texte dans le presse-papiers.",
      "notice.sessionRefused": "Le navigateur a refusé de copier la session dans le presse-papiers.",
      "notice.noPictureClipboard": "Ce navigateur ne laisse pas la page copier des images dans le presse-papiers.",
      "notice.pictureRefused": "Le navigateur a refusé de copier l'image du LCD dans le presse-papiers.",
      "notice.loadingOn": "Chargement du programme du simulateur : ON l'allumera une fois chargé.",
      "notice.lessonsUnloaded": "Les leçons n'ont pas pu être chargées ; réessayez quand la page sera en ligne.",
      "notice.programUnloaded": "Le programme du simulateur (kvr9.wasm) n'a pas pu être chargé, le panneau ne fonctionne donc pas. {error}",
      "notice.loading": "Chargement du programme du simulateur...",
      "notice.noWasm":
        "Ce navigateur ne sait pas exécuter WebAssembly, dont le simulateur a besoin. " +
        "Ouvrez la page dans un Firefox, Chrome, Edge ou Safari récent.",
      "notice.fromFile":
        "Ouverte depuis un fichier, la page ne peut pas charger le programme du simulateur (kvr9.wasm). " +
        "Servez ce dossier en HTTP, par exemple : python3 -m http.server --bind 127.0.0.1",
      "keep.otherVersion": "L'instrument gardé sur cet appareil vient d'une autre version de la page ; il repart à neuf.",
      "keep.restored": "L'instrument est tel que vous l'avez laissé. « Repartir à neuf » le remet à neuf.",
      "keep.copied": "Le lien est copié : il contient ce réglage, et rien n'est envoyé nulle part.",
      "keep.copyIt": "Copiez le lien ci-contre : il contient ce réglage, et rien n'est envoyé nulle part.",
      "keep.refused": "Ce lien ne contient pas de réglage que le simulateur sait ouvrir ({why}) ; l'instrument est à ses réglages d'usine.",
      "keep.tooLong": "il est trop long",
      "keep.damaged": "il est abîmé ou tronqué",
      "keep.noFullProgram": "Le programme complet du simulateur n'a pas pu être chargé, le lien ne peut donc pas être ouvert maintenant.",
      "keep.opened": "L'instrument est réglé comme dans le lien.",
      "keep.unmade": "Le lien n'a pas pu être créé : le programme complet ne s'est pas chargé.",
      "lessons.title": "Leçons",
      "lessons.close": "Fermer",
      "lessons.closeLabel": "Fermer les leçons",
      "lessons.closeTitle": "Fermer les leçons ; l'instrument redevient tel qu'il était avant elles",
      "lessons.list": "Leçons intégrées",
      "lessons.hint": "Indice",
      "lessons.back": "Toutes les leçons",
      "lessons.backTitle": "Arrêter cette leçon et en choisir une autre",
      "lessons.notStarted": "pas commencée",
      "lessons.done": "terminée",
      "lessons.partly": "{best} étapes sur {steps}",
      "lessons.cannotFollow": "Impossible de suivre cette leçon : {error}",
      "lessons.loading": "Chargement des leçons...",
      "lessons.unloaded": "Les leçons n'ont pas pu être chargées : le programme complet du simulateur ne s'est pas chargé.",
      "lessons.progressUnread": "La progression des leçons gardée sur cet appareil est illisible ; elle repart de zéro.",
      "lessons.backAsBefore": "L'instrument est revenu tel qu'il était avant les leçons.",
      "notice.dropLesson": "Déposez sur la page un fichier de leçon (.lesson) ou un enregistrement de vol (.igc, .csv) pour l'ouvrir.",
      "lessons.own": "Vos leçons",
      "lessons.open": "Ouvrir une leçon...",
      "lessons.openTitle": "Un fichier de leçon de cet appareil ; il est lu ici et envoyé nulle part",
      "lessons.openSnapshot": "Ouvrir son instantané...",
      "lessons.pickSnapshot": "La leçon {name} part de l'instantané {file} : ouvrez aussi ce fichier.",
      "lessons.refusedLine": "La leçon {name} n'a pas été commencée : à la ligne {line}, {why}",
      "lessons.refused": "La leçon {name} n'a pas été commencée : {why}",
      "lessons.linkRefused": "Ce lien ne contient pas de leçon que le simulateur peut ouvrir ({why}) ; rien n'a changé.",
      "lessons.linkTooLong": "Cette leçon est trop longue pour un lien ; transmettez plutôt son fichier.",
      "lessons.tooMany": "Cet appareil garde {most} leçons à vous : retirez-en une d'abord.",
      "lessons.notKept": "Le stockage de cet appareil n'a pas gardé la leçon ; elle dure le temps de cette visite.",
      "lessons.ownUnread": "Une leçon gardée sur cet appareil n'a pas pu être relue et est laissée de côté.",
      "lessons.unreadFile": "Le fichier {name} n'a pas pu être lu.",
      "lessons.remove": "Retirer",
      "lessons.removeLabel": "Retirer {title}",
      "lessons.removed": "Leçon retirée : {title}.",
      "lessons.share": "Partager cette leçon",
      "lessons.shareTitle": "Un lien qui ouvre cette leçon ; la leçon est dans le lien lui-même et envoyée nulle part",
      "lessons.linkLabel": "Lien vers cette leçon",
      "lessons.linkCopied": "Le lien est copié : il contient cette leçon, et rien n'est envoyé nulle part.",
      "lessons.linkCopyIt": "Copiez le lien ci-dessus : il contient cette leçon, et rien n'est envoyé nulle part.",
      "lessons.solution": "Copier la solution",
      "lessons.solutionTitle": "Tout ce que vous avez fait dans cette leçon, en scénario pour kvr9-headless qui la suit de nouveau",
      "lessons.wayLabel": "Votre chemin dans cette leçon, en scénario",
      "lessons.wayCopied": "Votre chemin dans la leçon est copié en scénario : enregistrez-le à côté du fichier de leçon, et kvr9-headless check-lesson vérifie la leçon avec.",
      "lessons.wayCopyIt": "Copiez votre chemin dans la leçon ci-dessus, un scénario : enregistrez-le à côté du fichier de leçon, et kvr9-headless check-lesson vérifie la leçon avec.",
      "host.demoName": "Vol de démo",
      "host.summary": "Altitude max. {altitude} {altitudeUnit}, vitesse max. {airspeed} {airspeedUnit}, durée {length}",
      "host.groundSpeed": "Cet enregistrement n'a pas de vitesse air ; sa vitesse sol la remplace (le vent est ignoré).",
      "host.maxValues":
        "MAX VALUES compte depuis la mise sous tension : passez sur OFF puis ON, ou remettez-les à zéro dans " +
        "MAX VALUES, avant la lecture pour lire les maxima de cet enregistrement.",
      "host.maxValuesFromFly": "MAX VALUES compte depuis l'endroit où « Voler » a lancé cet enregistrement.",
      "host.ended": "Le vol est terminé.",
      "host.switchOnToFly": "L'instrument est éteint : « Voler » l'allume (ON).",
      "host.altitudeBeyond":
        "altitude {value} {unit} à {time} hors de portée des convertisseurs avec ces réglages ({low}..{high} {unit2})",
      "host.airspeedBeyond":
        "vitesse {value} {unit} à {time} hors de portée des convertisseurs avec ces réglages ({low}..{high} {unit2})",
      "host.openLog": "Ouvrez son enregistrement de vol {name} pour reprendre le vol où il en était.",
      "host.altitudeSlider": "Convertisseur d'altitude : {counts} points",
      "host.altitudeSliderReading": "Convertisseur d'altitude : {counts} points, environ {reading} {unit}",
      "host.airspeedSlider": "Convertisseur de vitesse : {counts} points",
      "host.airspeedSliderReading": "Convertisseur de vitesse : {counts} points, environ {reading} {unit}",
      "host.standResumes": "Le mode salon reprend après une minute sans toucher.",
      "host.standOn": "Mise sous tension : le nom du fabricant, puis l'affichage principal.",
      "host.standTakeOff": "Décollage : la vitesse en haut, l'altitude dessous, le QNH en bas.",
      "host.standCruise": "Croisière : la vitesse et l'altitude suivent le vol, en direct.",
      "host.standDive": "Piqué trop rapide : la vitesse clignote et la LED rouge aussi.",
      "host.standSlow": "On ralentit pour atterrir : l'alarme s'arrête.",
      "host.standF2": "F2 montre le vol : sa durée et la distance air parcourue.",
      "host.standBack": "Enfoncer la molette revient en arrière.",
      "host.standMenu": "Enfoncer la molette ouvre le menu ; la tourner choisit une rubrique.",
      "host.standMax": "MAX VALUES : l'altitude et la vitesse les plus hautes depuis la mise sous tension.",
      "host.standSetup": "AIRSPEED SETUP : tourner la molette jusqu'à un réglage, l'enfoncer pour le changer.",
      "host.standUnit": "L'unité de vitesse : de mph en nœuds.",
      "host.standDone": "DONE, puis EXIT MENU : retour à l'affichage principal.",
      "host.standKnots": "L'affichage principal donne maintenant la vitesse en nœuds.",
      "host.standQnh": "Tourner la molette sur l'affichage principal règle le QNH ; l'altitude suit.",
      "host.standQnhBack": "Et retour à 1013 mB.",
      "host.lessonOff": "L'instrument est éteint, la LED rouge ne signifie donc rien pour l'instant (elle est allumée avant le premier ON).",
      "host.lessonStep": "Étape {step} sur {steps}",
      "host.lessonAllDone": "Les {steps} étapes sont faites",
      "host.lessonStepDone": "Fait : étape {step} sur {steps}.",
      "host.lessonFinished": "Fait : la leçon est terminée.",
      "host.lessonHint": "Indice : {hint}",
    },
  };
  // Each language by its own name, for the choice.
  const kLanguageNames = { en: "English", de: "Deutsch", fr: "Français" };
  // The lessons are written for a mouse; on a touch screen the page says
  // "tap" where they say "click", in each language.
  const kTap = {
    en: [[/\b([Cc])lick(s|ed|ing)?\b/g, (_, c, ending = "") => `${c === "C" ? "T" : "t"}ap${ending === "ed" || ending === "ing" ? "p" : ""}${ending}`]],
    de: [[/\bKlicken\b/g, "Tippen"], [/\bklicken\b/g, "tippen"], [/\bKlicks\b/g, "Tipps"], [/\bKlick\b/g, "Tipp"]],
    fr: [[/\bCliquez sur\b/g, "Touchez"], [/\bcliquez sur\b/g, "touchez"], [/\bCliquez\b/g, "Touchez"], [/\bcliquez\b/g, "touchez"]],
  };
  const kKept = "kvr9-language";

  function keptChoice() {
    try {
      return localStorage.getItem(kKept);
    } catch {
      return null;
    }
  }

  // The language chosen on this device, else the browser's first one the
  // table has ("de-AT" is "de"), else English.
  function pick() {
    const kept = keptChoice();
    if (kept !== null && Object.hasOwn(kTexts, kept)) return kept;
    for (const tag of navigator.languages ?? [navigator.language]) {
      const language = String(tag).toLowerCase().split("-")[0];
      if (Object.hasOwn(kTexts, language)) return language;
    }
    return "en";
  }

  const language = pick();
  document.documentElement.lang = language;

  const fill = (template, parameters) =>
    template.replace(/\{(\w+)\}/g, (whole, name) => (Object.hasOwn(parameters, name) ? String(parameters[name]) : whole));

  function text(id, parameters = {}) {
    return fill(kTexts[language][id] ?? kTexts.en[id] ?? id, parameters);
  }

  // The programs' English texts: each "host." template as a pattern whose
  // {parameters} are caught; a whole text is looked for first, then each
  // sentence without parameters within one (the bar's notes come joined).
  const escape = (words) => words.replace(/[.*+?^${}()|[\]\\]/g, "\\$&");
  const kHost = Object.entries(kTexts.en)
    .filter(([id]) => id.startsWith("host."))
    .map(([id, template]) => {
      const names = [];
      const pattern = template
        .split(/(\{\w+\})/)
        .map((part) => {
          const name = /^\{(\w+)\}$/.exec(part);
          if (name === null) return escape(part);
          names.push(name[1]);
          return "([^]*?)";
        })
        .join("");
      return { id, template, names, whole: new RegExp(`^${pattern}$`) };
    });

  function host(english) {
    if (language === "en" || !english) return english;
    for (const { id, names, whole } of kHost) {
      const found = whole.exec(english);
      if (found !== null) return text(id, Object.fromEntries(names.map((name, i) => [name, found[i + 1]])));
    }
    let said = english;
    for (const { id, template, names } of kHost) {
      if (names.length === 0 && said.includes(template)) said = said.split(template).join(text(id));
    }
    return said;
  }

  const forHand = (words) => (kTap[language] ?? []).reduce((said, [pattern, tap]) => said.replace(pattern, tap), words);

  // The keyboard keys the page names (words.js): {f1}, {cw}, ... and, for a
  // form control, {key}, the one that works it.
  function keyParameters(id) {
    const keys = window.kvr9Words?.keys ?? [];
    const parameters = Object.fromEntries(keys.map((key) => [key.word, key.keyboard]));
    const own = keys.find((key) => key.controls.includes(id));
    if (own !== undefined) parameters.key = own.keyboard;
    return parameters;
  }

  const kAttributes = [
    ["textTitle", "title"],
    ["textLabel", "aria-label"],
    ["textAlt", "alt"],
  ];

  // Every text the page's own elements name, in the page's language.
  function apply(root = document) {
    for (const element of root.querySelectorAll("[data-text], [data-text-html], [data-text-title], [data-text-label], [data-text-alt]")) {
      const parameters = keyParameters(element.id);
      if (element.dataset.text) element.textContent = text(element.dataset.text, parameters);
      if (element.dataset.textHtml) element.innerHTML = text(element.dataset.textHtml, parameters);
      for (const [data, attribute] of kAttributes) {
        if (element.dataset[data]) element.setAttribute(attribute, text(element.dataset[data], parameters));
      }
    }
  }

  // The choice of language: kept on this device; the page opens again in
  // it, the instrument kept as on any visit.
  function offerChoice() {
    const select = document.getElementById("Language");
    if (select === null) return;
    select.replaceChildren(
      ...Object.keys(kTexts).map((code) => {
        const option = document.createElement("option");
        option.value = code;
        option.lang = code;
        option.textContent = kLanguageNames[code];
        return option;
      })
    );
    select.value = language;
    select.addEventListener("change", () => {
      try {
        localStorage.setItem(kKept, select.value);
      } catch {
        // Storage refused: the page follows the browser's language.
      }
      location.reload();
    });
  }

  window.kvr9Texts = Object.freeze({ language, text, host, forHand, apply, tables: kTexts });
  apply();
  offerChoice();
})();
