<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr">
<context>
    <name>Window</name>
    <message>
        <source>Open flight log</source>
        <translation>Ouvrir un vol</translation>
    </message>
    <message>
        <source>Flight logs (*.igc *.IGC *.csv *.CSV);;All files (*)</source>
        <translation>Enregistrements de vol (*.igc *.IGC *.csv *.CSV);;Tous les fichiers (*)</translation>
    </message>
    <message>
        <source>Flight</source>
        <translation>Vol</translation>
    </message>
    <message>
        <source>Fly</source>
        <translation>Voler</translation>
    </message>
    <message>
        <source>Play %1 times as fast</source>
        <translation>Lire %1 fois plus vite</translation>
    </message>
    <message>
        <source>Moment of the flight</source>
        <translation>Moment du vol</translation>
    </message>
    <message>
        <source>Drag to any moment of the flight</source>
        <translation>Faites glisser jusqu&apos;à n&apos;importe quel moment du vol</translation>
    </message>
    <message>
        <source>Time into the flight, and its length</source>
        <translation>Temps écoulé depuis le début du vol, et sa durée</translation>
    </message>
    <message>
        <source>Open...</source>
        <translation>Ouvrir...</translation>
    </message>
    <message>
        <source>Open another flight log, IGC or CSV</source>
        <translation>Ouvrir un autre enregistrement de vol, IGC ou CSV</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Fermer</translation>
    </message>
    <message>
        <source>Close the flight bar; the sliders stay where they are</source>
        <translation>Fermer la barre de vol ; les curseurs restent où ils sont</translation>
    </message>
    <message>
        <source>The flight&apos;s pressure altitude and indicated airspeed now, in the instrument&apos;s units</source>
        <translation>L&apos;altitude pression et la vitesse indiquée du vol maintenant, dans les unités de l&apos;instrument</translation>
    </message>
    <message>
        <source>Pause</source>
        <translation>Pause</translation>
    </message>
    <message>
        <source>Play</source>
        <translation>Lecture</translation>
    </message>
    <message>
        <source>Switch the instrument ON and fly from here</source>
        <translation>Allumer l&apos;instrument (ON) et voler à partir d&apos;ici</translation>
    </message>
    <message>
        <source>No flight log open</source>
        <translation>Aucun enregistrement de vol ouvert</translation>
    </message>
    <message>
        <source> - keyboard: %1</source>
        <translation> - clavier : %1</translation>
    </message>
    <message>
        <source>Copy LCD picture</source>
        <translation>Copier l&apos;image du LCD</translation>
    </message>
    <message>
        <source>Copy session as scenario</source>
        <translation>Copier la session comme scénario</translation>
    </message>
    <message>
        <source>Open flight log...</source>
        <translation>Ouvrir un vol...</translation>
    </message>
    <message>
        <source>Save state...</source>
        <translation>Enregistrer l&apos;état...</translation>
    </message>
    <message>
        <source>Open state...</source>
        <translation>Ouvrir un état...</translation>
    </message>
    <message>
        <source>Demo flight</source>
        <translation>Vol de démo</translation>
    </message>
    <message>
        <source>Lessons...</source>
        <translation>Leçons...</translation>
    </message>
    <message>
        <source>Open lesson...</source>
        <translation>Ouvrir une leçon...</translation>
    </message>
    <message>
        <source>Stand mode</source>
        <translation>Mode salon</translation>
    </message>
    <message>
        <source>Lessons</source>
        <translation>Leçons</translation>
    </message>
    <message>
        <source>Click a lesson to start it</source>
        <translation>Cliquez sur une leçon pour la commencer</translation>
    </message>
    <message>
        <source>Open lesson file...</source>
        <translation>Ouvrir un fichier de leçon...</translation>
    </message>
    <message>
        <source>Follow a lesson of your own, from a .lesson file</source>
        <translation>Suivre une leçon à vous, depuis un fichier .lesson</translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>Retirer</translation>
    </message>
    <message>
        <source>Take the chosen lesson of your own off the list</source>
        <translation>Retirer de la liste la leçon à vous choisie</translation>
    </message>
    <message>
        <source>Not readable: </source>
        <translation>Illisible : </translation>
    </message>
    <message>
        <source>Hint</source>
        <translation>Indice</translation>
    </message>
    <message>
        <source>Close the lessons; the instrument goes back to how it was before them</source>
        <translation>Fermer les leçons ; l&apos;instrument redevient tel qu&apos;il était avant elles</translation>
    </message>
    <message>
        <source>Copy solution</source>
        <translation>Copier la solution</translation>
    </message>
    <message>
        <source>Copy the way you took through this lesson as a scenario for kvr9-headless: its solution, to hand over with the lesson</source>
        <translation>Copier le chemin suivi dans cette leçon comme scénario pour kvr9-headless : sa solution, à remettre avec la leçon</translation>
    </message>
    <message>
        <source>The instrument is back as it was before the lessons</source>
        <translation>L&apos;instrument est revenu tel qu&apos;il était avant les leçons</translation>
    </message>
    <message>
        <source>Open lesson</source>
        <translation>Ouvrir une leçon</translation>
    </message>
    <message>
        <source>Open lesson file</source>
        <translation>Ouvrir un fichier de leçon</translation>
    </message>
    <message>
        <source>Lessons (*.lesson);;All files (*)</source>
        <translation>Leçons (*.lesson);;Tous les fichiers (*)</translation>
    </message>
    <message>
        <source>Leave stand mode</source>
        <translation>Quitter le mode salon</translation>
    </message>
    <message>
        <source>Snapshots (*.json *.JSON);;All files (*)</source>
        <translation>États (*.json *.JSON);;Tous les fichiers (*)</translation>
    </message>
    <message>
        <source>State saved to %1</source>
        <translation>État enregistré dans %1</translation>
    </message>
    <message>
        <source>, flying the demo flight</source>
        <translation>, avec le vol de démo en cours</translation>
    </message>
    <message>
        <source>, flying %1</source>
        <translation>, en vol sur %1</translation>
    </message>
    <message>
        <source>; it was flying %1: open that log to fly on from here</source>
        <translation> ; il volait sur %1 : ouvrez cet enregistrement pour reprendre le vol d&apos;ici</translation>
    </message>
    <message>
        <source>State opened from %1</source>
        <translation>État ouvert depuis %1</translation>
    </message>
    <message>
        <source>Save state</source>
        <translation>Enregistrer l&apos;état</translation>
    </message>
    <message>
        <source>Open state</source>
        <translation>Ouvrir un état</translation>
    </message>
    <message>
        <source>Unknown error.</source>
        <translation>Erreur inconnue.</translation>
    </message>
    <message>
        <source>The instrument face</source>
        <translation>La façade de l&apos;instrument</translation>
    </message>
    <message>
        <source>Alarm LED</source>
        <translation>LED d&apos;alarme</translation>
    </message>
    <message>
        <source>F1 key (up arrow)</source>
        <translation>Touche F1 (flèche haut)</translation>
    </message>
    <message>
        <source>F1 key, up</source>
        <translation>Touche F1, haut</translation>
    </message>
    <message>
        <source>Knob: click to press, wheel to turn</source>
        <translation>Molette : un clic l&apos;enfonce, la roulette de la souris la tourne</translation>
    </message>
    <message>
        <source>Knob: press</source>
        <translation>Molette : enfoncer</translation>
    </message>
    <message>
        <source>F2 key (down arrow)</source>
        <translation>Touche F2 (flèche bas)</translation>
    </message>
    <message>
        <source>F2 key, down</source>
        <translation>Touche F2, bas</translation>
    </message>
    <message>
        <source>The LCD - Ctrl+C copies its picture, Ctrl+Shift+C the session as a scenario; the right button opens a flight log (IGC or CSV) or plays a demo flight, and a log dropped on the window opens too.
Flight time runs ten times fast and air distance five times: the instrument counts a second of flight and half a second of distance each time round its loop, and the simulator goes round ten times a second.</source>
        <translation>Le LCD - Ctrl+C copie son image, Ctrl+Maj+C la session comme scénario ; le bouton droit ouvre un enregistrement de vol (IGC ou CSV) ou lance un vol de démo, et un enregistrement déposé sur la fenêtre s&apos;ouvre aussi.
Le temps de vol avance dix fois plus vite et la distance air cinq fois : l&apos;instrument compte une seconde de vol et une demi-seconde de distance à chaque tour de sa boucle, et le simulateur fait dix tours par seconde.</translation>
    </message>
    <message>
        <source>LCD</source>
        <translation>LCD</translation>
    </message>
    <message>
        <source>Clockwise</source>
        <translation>Horaire</translation>
    </message>
    <message>
        <source>Turn the knob clockwise</source>
        <translation>Tourner la molette dans le sens horaire</translation>
    </message>
    <message>
        <source>AntiClockwise</source>
        <translation>Antihoraire</translation>
    </message>
    <message>
        <source>Turn the knob anticlockwise</source>
        <translation>Tourner la molette dans le sens antihoraire</translation>
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
        <translation>Altitude</translation>
    </message>
    <message>
        <source>Airspeed</source>
        <translation>Vitesse</translation>
    </message>
    <message>
        <source>Calibrate</source>
        <translation>Étalonner</translation>
    </message>
    <message>
        <source>KeyFast</source>
        <translation>KeyFast</translation>
    </message>
    <message>
        <source> Communication Window  </source>
        <translation> Fenêtre de données </translation>
    </message>
    <message>
        <source>Communication Window</source>
        <translation>Fenêtre de données</translation>
    </message>
    <message>
        <source>en</source>
        <comment>the code of the translation&apos;s language, as the lessons&apos; folders name it</comment>
        <translation>fr</translation>
    </message>
    <message>
        <source>Choose a lesson</source>
        <translation>Choisissez une leçon</translation>
    </message>
    <message>
        <source>All %1 steps done</source>
        <translation>Les %1 étapes sont faites</translation>
    </message>
    <message>
        <source>Step %1 of %2</source>
        <translation>Étape %1 sur %2</translation>
    </message>
    <message>
        <source>Done: the lesson is finished.</source>
        <translation>Fait : la leçon est terminée.</translation>
    </message>
    <message>
        <source>Done: step %1 of %2.</source>
        <translation>Fait : étape %1 sur %2.</translation>
    </message>
    <message>
        <source>Hint: %1</source>
        <translation>Indice : %1</translation>
    </message>
    <message>
        <source>The instrument is off, so the red LED means nothing now (it is lit before the first ON).</source>
        <translation>L&apos;instrument est éteint, la LED rouge ne signifie donc rien pour l&apos;instant (elle est allumée avant le premier ON).</translation>
    </message>
</context>
</TS>
