<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de">
<context>
    <name>Accessibility</name>
    <message>
        <source>Does what %1 does in Tamsel&apos;s menu.</source>
        <translation>Tut, was %1 in Tamsels Menü tut.</translation>
    </message>
    <message>
        <source>Closes this notice; Tamsel goes on running.</source>
        <translation>Schließt diesen Hinweis; Tamsel läuft weiter.</translation>
    </message>
    <message>
        <source>works</source>
        <translation>funktioniert</translation>
    </message>
    <message>
        <source>missing</source>
        <translation>fehlt</translation>
    </message>
    <message>
        <source>What to do about it; the text can be copied.</source>
        <translation>Was dagegen zu tun ist; der Text lässt sich kopieren.</translation>
    </message>
    <message>
        <source>Looks at the desktop again and updates the list.</source>
        <translation>Prüft den Desktop erneut und aktualisiert die Liste.</translation>
    </message>
    <message>
        <source>Closes this window.</source>
        <translation>Schließt dieses Fenster.</translation>
    </message>
    <message>
        <source>Closes this notice.</source>
        <translation>Schließt diesen Hinweis.</translation>
    </message>
    <message>
        <source>Password</source>
        <translation>Passwort</translation>
    </message>
    <message>
        <source>Type the password, then press Return.</source>
        <translation>Geben Sie das Passwort ein und drücken Sie dann die Eingabetaste.</translation>
    </message>
    <message>
        <source>The default answer: Return chooses it.</source>
        <translation>Die vorgegebene Antwort: Die Eingabetaste wählt sie.</translation>
    </message>
    <message>
        <source>Escape chooses it too.</source>
        <translation>Auch die Escape-Taste wählt sie.</translation>
    </message>
    <message>
        <source>Answers with this choice.</source>
        <translation>Antwortet mit dieser Wahl.</translation>
    </message>
    <message>
        <source>Less</source>
        <translation>Weniger</translation>
    </message>
    <message>
        <source>Lowers the value by one.</source>
        <translation>Verringert den Wert um eins.</translation>
    </message>
    <message>
        <source>More</source>
        <translation>Mehr</translation>
    </message>
    <message>
        <source>Raises the value by one.</source>
        <translation>Erhöht den Wert um eins.</translation>
    </message>
    <message>
        <source>Ends this break now; the next one comes in a minute.</source>
        <translation>Beendet diese Pause jetzt; die nächste kommt in einer Minute.</translation>
    </message>
    <message>
        <source>Break progress</source>
        <translation>Pausenfortschritt</translation>
    </message>
    <message>
        <source>How much of the break has passed.</source>
        <translation>Wie viel der Pause schon vergangen ist.</translation>
    </message>
    <message>
        <source>Tamsel</source>
        <translation>Tamsel</translation>
    </message>
    <message>
        <source>%1 of %2</source>
        <translation>%1 von %2</translation>
    </message>
    <message>
        <source>1 minute</source>
        <translation>1 Minute</translation>
    </message>
    <message>
        <source>%1 minutes</source>
        <translation>%1 Minuten</translation>
    </message>
    <message>
        <source>Work period</source>
        <translation>Arbeitszeit</translation>
    </message>
    <message>
        <source>Minutes of work before each break. The arrow keys change it by one minute, Page Up and Page Down by ten.</source>
        <translation>Minuten Arbeit vor jeder Pause. Die Pfeiltasten ändern sie um eine Minute, Bild auf und Bild ab um zehn.</translation>
    </message>
    <message>
        <source>Break length</source>
        <translation>Pausenlänge</translation>
    </message>
    <message>
        <source>Minutes each break lasts. The arrow keys change it by one minute, Page Up and Page Down by ten.</source>
        <translation>Minuten, die jede Pause dauert. Die Pfeiltasten ändern sie um eine Minute, Bild auf und Bild ab um zehn.</translation>
    </message>
    <message>
        <source>The break window offers a Snooze button that puts the break off for a minute.</source>
        <translation>Das Pausenfenster bietet einen Knopf, der die Pause um eine Minute aufschiebt.</translation>
    </message>
    <message>
        <source>Breaks begin with the screen still visible; a double click on it dims it.</source>
        <translation>Pausen beginnen mit noch sichtbarem Bildschirm; ein Doppelklick darauf dunkelt ihn ab.</translation>
    </message>
    <message>
        <source>Progress bar position</source>
        <translation>Position des Fortschrittsbalkens</translation>
    </message>
    <message>
        <source>Where on the screen the row of squares that shows your work progress sits.</source>
        <translation>Wo auf dem Bildschirm die Reihe von Quadraten sitzt, die Ihren Arbeitsfortschritt zeigt.</translation>
    </message>
    <message>
        <source>The progress bar stays on the screen.</source>
        <translation>Der Fortschrittsbalken bleibt auf dem Bildschirm.</translation>
    </message>
    <message>
        <source>The progress bar shows only as the work period nears its end.</source>
        <translation>Der Fortschrittsbalken erscheint erst, wenn die Arbeitszeit zu Ende geht.</translation>
    </message>
    <message>
        <source>Child lock password</source>
        <translation>Passwort der Kindersicherung</translation>
    </message>
    <message>
        <source>Asked at start and before Preferences, Pause, Skip and Quit. Leave both fields empty for no child lock.</source>
        <translation>Wird beim Start und vor Einstellungen, Pausieren, Überspringen und Beenden abgefragt. Lassen Sie beide Felder leer, um keine Kindersicherung zu verwenden.</translation>
    </message>
    <message>
        <source>Confirm child lock password</source>
        <translation>Passwort der Kindersicherung bestätigen</translation>
    </message>
    <message>
        <source>The same password again.</source>
        <translation>Dasselbe Passwort noch einmal.</translation>
    </message>
    <message>
        <source>A notification comes about a minute before each break.</source>
        <translation>Etwa eine Minute vor jeder Pause kommt eine Benachrichtigung.</translation>
    </message>
    <message>
        <source>A sound plays as each break starts and as it ends.</source>
        <translation>Ein Ton erklingt, wenn eine Pause beginnt und wenn sie endet.</translation>
    </message>
    <message>
        <source>Breaks dim every screen, not only the main one.</source>
        <translation>Pausen dunkeln jeden Bildschirm ab, nicht nur den Hauptbildschirm.</translation>
    </message>
    <message>
        <source>A break that falls due while the camera or the microphone is in use waits until the call ends.</source>
        <translation>Eine Pause, die fällig wird, während Kamera oder Mikrofon in Benutzung sind, wartet bis zum Ende des Anrufs.</translation>
    </message>
    <message>
        <source>A break that falls due while a program fills the screen waits until it leaves full screen.</source>
        <translation>Eine Pause, die fällig wird, während ein Programm den Bildschirm füllt, wartet, bis es das Vollbild verlässt.</translation>
    </message>
    <message>
        <source>A break that falls due while the desktop&apos;s do-not-disturb is on waits until it is off.</source>
        <translation>Eine Pause, die fällig wird, während „Bitte nicht stören“ des Desktops an ist, wartet, bis es aus ist.</translation>
    </message>
    <message>
        <source>Tamsel starts by itself when you log in.</source>
        <translation>Tamsel startet von selbst, wenn Sie sich anmelden.</translation>
    </message>
    <message>
        <source>Opens the Tamsel manual.</source>
        <translation>Öffnet das Tamsel-Handbuch.</translation>
    </message>
    <message>
        <source>Opens the Tamsel web site in your browser.</source>
        <translation>Öffnet die Tamsel-Website in Ihrem Browser.</translation>
    </message>
    <message>
        <source>Closes the window without saving the changes.</source>
        <translation>Schließt das Fenster, ohne die Änderungen zu speichern.</translation>
    </message>
    <message>
        <source>Saves the settings and closes the window.</source>
        <translation>Speichert die Einstellungen und schließt das Fenster.</translation>
    </message>
    <message>
        <source>Closes this window; Tamsel goes on running.</source>
        <translation>Schließt dieses Fenster; Tamsel läuft weiter.</translation>
    </message>
</context>
<context>
    <name>Tamsel</name>
    <message>
        <source>For 30 minutes</source>
        <translation>Für 30 Minuten</translation>
    </message>
    <message>
        <source>For an hour</source>
        <translation>Für eine Stunde</translation>
    </message>
    <message>
        <source>For two hours</source>
        <translation>Für zwei Stunden</translation>
    </message>
    <message>
        <source>Until tomorrow</source>
        <translation>Bis morgen</translation>
    </message>
    <message>
        <source>Preferences…</source>
        <translation>Einstellungen …</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Hilfe</translation>
    </message>
    <message>
        <source>Check my desktop…</source>
        <translation>Meinen Desktop prüfen …</translation>
    </message>
    <message>
        <source>Take a break now</source>
        <translation>Jetzt eine Pause machen</translation>
    </message>
    <message>
        <source>Resume</source>
        <translation>Fortsetzen</translation>
    </message>
    <message>
        <source>Pause</source>
        <translation>Pausieren</translation>
    </message>
    <message>
        <source>Skip</source>
        <translation>Überspringen</translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>Beenden</translation>
    </message>
    <message>
        <source>On a break, %1 left</source>
        <translation>Pause, noch %1</translation>
    </message>
    <message>
        <source>Paused until %1</source>
        <translation>Pausiert bis %1</translation>
    </message>
    <message>
        <source>Next break in about a minute</source>
        <translation>Nächste Pause in etwa einer Minute</translation>
    </message>
    <message>
        <source>Next break in about %1 minutes</source>
        <translation>Nächste Pause in etwa %1 Minuten</translation>
    </message>
    <message>
        <source>Cannot let you skip this break since you skipped the last one, sorry!</source>
        <translation>Diese Pause kann nicht übersprungen werden, da Sie schon die letzte übersprungen haben. Tut mir leid!</translation>
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
        <source>Child lock enabled</source>
        <translation>Kindersicherung aktiv</translation>
    </message>
    <message>
        <source>Incorrect password</source>
        <translation>Falsches Passwort</translation>
    </message>
    <message>
        <source>Please enter your password</source>
        <translation>Bitte geben Sie Ihr Passwort ein</translation>
    </message>
    <message>
        <source>No application could open the manual (a PDF file). It is here:
%1</source>
        <translation>Keine Anwendung konnte das Handbuch (eine PDF-Datei) öffnen. Es liegt hier:
%1</translation>
    </message>
    <message>
        <source>No web browser could open the Tamsel web site. Its address is:
%1</source>
        <translation>Kein Webbrowser konnte die Tamsel-Website öffnen. Ihre Adresse lautet:
%1</translation>
    </message>
    <message>
        <source>Tamsel break</source>
        <translation>Tamsel-Pause</translation>
    </message>
    <message>
        <source>Welcome to Tamsel</source>
        <translation>Willkommen bei Tamsel</translation>
    </message>
    <message>
        <source>Tamsel Preferences</source>
        <translation>Tamsel-Einstellungen</translation>
    </message>
    <message>
        <source>Snooze for a minute</source>
        <translation>Eine Minute aufschieben</translation>
    </message>
    <message>
        <source>tomorrow %1</source>
        <translation>morgen %1</translation>
    </message>
    <message>
        <source>A break in about a minute</source>
        <translation>In etwa einer Minute beginnt eine Pause</translation>
    </message>
    <message>
        <source>Unable to check for new versions</source>
        <translation>Es konnte nicht nach neuen Versionen gesucht werden</translation>
    </message>
    <message>
        <source>Tamsel update</source>
        <translation>Tamsel-Aktualisierung</translation>
    </message>
    <message>
        <source>There is an update to tamsel. Do you want to visit %1 to download the latest version.</source>
        <translation>Es gibt eine neue Version von Tamsel. Möchten Sie %1 besuchen, um die neueste Version herunterzuladen?</translation>
    </message>
    <message>
        <source>Yes</source>
        <translation>Ja</translation>
    </message>
    <message>
        <source>No, skip this version</source>
        <translation>Nein, diese Version überspringen</translation>
    </message>
    <message>
        <source>Snooze disabled due to previous use</source>
        <translation>Aufschieben gesperrt, da es eben schon genutzt wurde</translation>
    </message>
    <message>
        <source>On GNOME, turn on Tamsel&apos;s own extension, which puts the menu in the top bar: run %1</source>
        <translation>Schalten Sie unter GNOME Tamsels eigene Erweiterung ein, die das Menü in die obere Leiste bringt: Führen Sie %1 aus</translation>
    </message>
    <message>
        <source>To get them, add a tray to your panel: the Notification Area or System Tray applet, or run a tray such as trayer or stalonetray. The icon docks there by itself; if it does not, quit Tamsel and start it again.</source>
        <translation>Fügen Sie dafür Ihrer Leiste einen Infobereich hinzu (das Applet „Benachrichtigungsfeld“ oder „Systemabschnitt der Kontrollleiste“) oder starten Sie einen wie trayer oder stalonetray. Das Symbol erscheint dort von selbst; falls nicht, beenden Sie Tamsel und starten Sie es neu.</translation>
    </message>
    <message>
        <source>Tamsel is running and will remind you to take breaks as usual.

This desktop has no system tray (notification area), so Tamsel&apos;s icon and menu cannot be shown. %1

&quot;Check my desktop…&quot; tells what else this desktop lacks and how to add it. Until then, these buttons do what the menu would:</source>
        <translation>Tamsel läuft und erinnert Sie wie gewohnt an Ihre Pausen.

Dieser Desktop hat keinen Infobereich (Systemabschnitt der Kontrollleiste), daher können Tamsels Symbol und Menü nicht angezeigt werden. %1

„Meinen Desktop prüfen …“ zeigt, was diesem Desktop sonst noch fehlt und wie Sie es nachrüsten. Bis dahin tun diese Knöpfe, was das Menü tun würde:</translation>
    </message>
    <message>
        <source>%1 Choose &quot;Check my desktop…&quot; in Tamsel&apos;s menu for what to do.</source>
        <translation>%1 Wählen Sie „Meinen Desktop prüfen …“ in Tamsels Menü, um zu erfahren, was zu tun ist.</translation>
    </message>
    <message>
        <source>Tamsel: no tray found</source>
        <translation>Tamsel: kein Infobereich gefunden</translation>
    </message>
    <message>
        <source>Use a compositor with layer-shell (zwlr_layer_shell_v1): KDE Plasma, sway or Hyprland</source>
        <translation>Verwenden Sie einen Compositor mit Layer-Shell (zwlr_layer_shell_v1): KDE Plasma, sway oder Hyprland</translation>
    </message>
    <message>
        <source>X11 windows on XWayland</source>
        <translation>X11-Fenster unter XWayland</translation>
    </message>
    <message>
        <source>X11 windows</source>
        <translation>X11-Fenster</translation>
    </message>
    <message>
        <source>layer-shell surfaces</source>
        <translation>Layer-Shell-Flächen</translation>
    </message>
    <message>
        <source>the GNOME Shell extension</source>
        <translation>die GNOME-Shell-Erweiterung</translation>
    </message>
    <message>
        <source>Run: %1 (if Tamsel was installed during this session, log out and back in first)</source>
        <translation>Führen Sie aus: %1 (wurde Tamsel in dieser Sitzung installiert, melden Sie sich vorher ab und wieder an)</translation>
    </message>
    <message>
        <source>Idle time: from %1</source>
        <translation>Leerlaufzeit: von %1</translation>
    </message>
    <message>
        <source>Use an X server with the screen saver extension (MIT-SCREEN-SAVER), as Xorg has</source>
        <translation>Verwenden Sie einen X-Server mit der Bildschirmschoner-Erweiterung (MIT-SCREEN-SAVER), wie ihn Xorg hat</translation>
    </message>
    <message>
        <source>Log out and back in: GNOME&apos;s idle monitor (org.gnome.Mutter.IdleMonitor) did not answer</source>
        <translation>Melden Sie sich ab und wieder an: GNOMEs Leerlaufmonitor (org.gnome.Mutter.IdleMonitor) hat nicht geantwortet</translation>
    </message>
    <message>
        <source>Use a compositor with ext-idle-notify-v1 or org_kde_kwin_idle: KDE Plasma, sway or Hyprland</source>
        <translation>Verwenden Sie einen Compositor mit ext-idle-notify-v1 oder org_kde_kwin_idle: KDE Plasma, sway oder Hyprland</translation>
    </message>
    <message>
        <source>Idle time: no source answers, so a break comes after every work period, even when you were away</source>
        <translation>Leerlaufzeit: keine Quelle antwortet, daher kommt nach jeder Arbeitszeit eine Pause, auch wenn Sie nicht am Rechner waren</translation>
    </message>
    <message>
        <source>Menu: in the top bar, from Tamsel&apos;s GNOME Shell extension</source>
        <translation>Menü: in der oberen Leiste, von Tamsels GNOME-Shell-Erweiterung</translation>
    </message>
    <message>
        <source>Menu: in the menu bar</source>
        <translation>Menü: in der Menüleiste</translation>
    </message>
    <message>
        <source>Menu: in the tray (a StatusNotifierItem host)</source>
        <translation>Menü: im Infobereich (ein StatusNotifierItem-Host)</translation>
    </message>
    <message>
        <source>Menu: in the tray (an XEmbed system tray)</source>
        <translation>Menü: im Infobereich (ein XEmbed-Infobereich)</translation>
    </message>
    <message>
        <source>Menu: no tray found; its commands are only on the no-tray notice</source>
        <translation>Menü: kein Infobereich gefunden; seine Befehle gibt es nur im Hinweisfenster</translation>
    </message>
    <message>
        <source>Add the System Tray widget to a panel</source>
        <translation>Fügen Sie einer Kontrollleiste das Miniprogramm „Systemabschnitt der Kontrollleiste“ hinzu</translation>
    </message>
    <message>
        <source>Add a tray to your bar: swaybar&apos;s tray, or waybar&apos;s tray module</source>
        <translation>Fügen Sie Ihrer Leiste einen Infobereich hinzu: den von swaybar oder das tray-Modul von waybar</translation>
    </message>
    <message>
        <source>Add a notification area (system tray) to your panel, or run trayer or stalonetray</source>
        <translation>Fügen Sie Ihrer Leiste einen Infobereich (Benachrichtigungsfeld) hinzu oder starten Sie trayer oder stalonetray</translation>
    </message>
    <message>
        <source>Indicator: %1; clicks pass through it, above all windows</source>
        <translation>Anzeige: %1; Klicks gehen hindurch, über allen Fenstern</translation>
    </message>
    <message>
        <source>Indicator: %1; it catches the clicks meant for the native windows beneath it</source>
        <translation>Anzeige: %1; sie fängt die Klicks ab, die den nativen Fenstern darunter gelten</translation>
    </message>
    <message>
        <source>Break windows: %1; they cover every screen, above all windows, and hold the mouse and keyboard</source>
        <translation>Pausenfenster: %1; sie bedecken jeden Bildschirm, über allen Fenstern, und halten Maus und Tastatur fest</translation>
    </message>
    <message>
        <source>Break windows: %1; GNOME keeps them above all windows, with the mouse and keyboard</source>
        <translation>Pausenfenster: %1; GNOME hält sie über allen Fenstern, mit Maus und Tastatur</translation>
    </message>
    <message>
        <source>Break windows: %1; a native window can take the keyboard during a break</source>
        <translation>Pausenfenster: %1; ein natives Fenster kann während einer Pause die Tastatur übernehmen</translation>
    </message>
    <message>
        <source>Desktop notifications: a notification server answers, for the heads-up a minute before a break</source>
        <translation>Desktop-Benachrichtigungen: ein Benachrichtigungsdienst antwortet, für den Hinweis eine Minute vor einer Pause</translation>
    </message>
    <message>
        <source>Desktop notifications: no notification server, so no heads-up before a break</source>
        <translation>Desktop-Benachrichtigungen: kein Benachrichtigungsdienst, daher kein Hinweis vor einer Pause</translation>
    </message>
    <message>
        <source>Install a notification daemon such as dunst or mako (GNOME and KDE bring their own)</source>
        <translation>Installieren Sie einen Benachrichtigungsdienst wie dunst oder mako (GNOME und KDE bringen ihren eigenen mit)</translation>
    </message>
    <message>
        <source>Start at login: Tamsel starts when you log in</source>
        <translation>Start bei der Anmeldung: Tamsel startet, wenn Sie sich anmelden</translation>
    </message>
    <message>
        <source>Start at login: off, so no reminders until you start Tamsel</source>
        <translation>Start bei der Anmeldung: aus, daher keine Erinnerungen, bis Sie Tamsel starten</translation>
    </message>
    <message>
        <source>Tick &quot;Start Tamsel when I log in&quot; in Preferences</source>
        <translation>Kreuzen Sie in den Einstellungen „Tamsel beim Anmelden starten“ an</translation>
    </message>
    <message>
        <source>What Tamsel finds on this desktop:</source>
        <translation>Was Tamsel auf diesem Desktop vorfindet:</translation>
    </message>
    <message>
        <source>Check again</source>
        <translation>Erneut prüfen</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>Tamsel: setup check</source>
        <translation>Tamsel: Desktop-Prüfung</translation>
    </message>
    <message>
        <source>Tamsel cannot tell when you are away from the keyboard: no idle service of this desktop answered (%1). Until one does, it counts you as active, so a break comes after every work period, even when you were away.</source>
        <translation>Tamsel kann nicht erkennen, wann Sie nicht am Rechner sind: Kein Leerlaufdienst dieses Desktops hat geantwortet (%1). Bis einer antwortet, gelten Sie als aktiv; daher kommt nach jeder Arbeitszeit eine Pause, auch wenn Sie nicht am Rechner waren.</translation>
    </message>
    <message>
        <source>Tamsel cannot save its settings: %1 cannot be written (its folder is missing, read-only or not a folder). Tamsel runs with the settings it has, but changes made now are lost when it quits.</source>
        <translation>Tamsel kann seine Einstellungen nicht speichern: %1 kann nicht geschrieben werden (sein Ordner fehlt, ist schreibgeschützt oder kein Ordner). Tamsel läuft mit den Einstellungen weiter, die es hat, doch Änderungen gehen beim Beenden verloren.</translation>
    </message>
    <message>
        <source>Tamsel does not use its settings file %1: %2. It keeps reminding you with its first settings, and changes made now are lost when it quits.</source>
        <translation>Tamsel verwendet seine Einstellungsdatei %1 nicht: %2. Es erinnert Sie weiter mit seinen anfänglichen Einstellungen, und Änderungen gehen beim Beenden verloren.</translation>
    </message>
    <message>
        <source>Tamsel&apos;s setting %1 in %2 holds bytes that are not UTF-8 text, so it cannot be typed to match. Correct or remove that line.</source>
        <translation>Tamsels Einstellung %1 in %2 enthält Bytes, die kein UTF-8-Text sind; sie kann daher nicht passend eingetippt werden. Korrigieren oder entfernen Sie diese Zeile.</translation>
    </message>
    <message>
        <source>Time for a break</source>
        <translation>Zeit für eine Pause</translation>
    </message>
    <message>
        <source>Look into the distance, stretch, breathe.</source>
        <translation>Schauen Sie in die Ferne, strecken Sie sich, atmen Sie durch.</translation>
    </message>
    <message>
        <source>minutes</source>
        <translation>Minuten</translation>
    </message>
    <message>
        <source>&amp;Work period:</source>
        <translation>Arbeits&amp;zeit:</translation>
    </message>
    <message>
        <source>&amp;Break length:</source>
        <translation>&amp;Pausenlänge:</translation>
    </message>
    <message>
        <source>Allow s&amp;noozing a break for a minute</source>
        <translation>Aufschieben einer Pause um eine Minute &amp;erlauben</translation>
    </message>
    <message>
        <source>Start breaks see-&amp;through (double-click to dim)</source>
        <translation>Pausen &amp;durchsichtig beginnen (Doppelklick zum Abdunkeln)</translation>
    </message>
    <message>
        <source>&amp;Position:</source>
        <translation>P&amp;osition:</translation>
    </message>
    <message>
        <source>Show it &amp;always</source>
        <translation>&amp;Immer anzeigen</translation>
    </message>
    <message>
        <source>Show it &amp;only when a break is near</source>
        <translation>&amp;Nur anzeigen, wenn eine Pause naht</translation>
    </message>
    <message>
        <source>Passwor&amp;d:</source>
        <translation>Pass&amp;wort:</translation>
    </message>
    <message>
        <source>&amp;Confirm:</source>
        <translation>&amp;Bestätigen:</translation>
    </message>
    <message>
        <source>Asked at start and before Preferences, Pause, Skip and Quit.
Leave both fields empty for no child lock.</source>
        <translation>Wird beim Start und vor Einstellungen, Pausieren,
Überspringen und Beenden abgefragt.
Beide Felder leer: keine Kindersicherung.</translation>
    </message>
    <message>
        <source>Tell me a &amp;minute before a break</source>
        <translation>Eine &amp;Minute vor einer Pause Bescheid geben</translation>
    </message>
    <message>
        <source>Play a so&amp;und when a break starts and ends</source>
        <translation>Einen &amp;Ton spielen, wenn eine Pause beginnt und endet</translation>
    </message>
    <message>
        <source>Cover &amp;every screen during a break</source>
        <translation>Während einer Pause &amp;jeden Bildschirm abdecken</translation>
    </message>
    <message>
        <source>Start Tamsel when I &amp;log in</source>
        <translation>Tamsel beim &amp;Anmelden starten</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>Tamsel web site</source>
        <translation>Tamsel-Website</translation>
    </message>
    <message>
        <source>Opens the Tamsel web site in your browser</source>
        <translation>Öffnet die Tamsel-Website in Ihrem Browser</translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation>&amp;Speichern</translation>
    </message>
    <message>
        <source>Work and breaks</source>
        <translation>Arbeit und Pausen</translation>
    </message>
    <message>
        <source>Progress bar</source>
        <translation>Fortschrittsbalken</translation>
    </message>
    <message>
        <source>Around a break</source>
        <translation>Rund um die Pause</translation>
    </message>
    <message>
        <source>Starting</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>Child lock</source>
        <translation>Kindersicherung</translation>
    </message>
    <message>
        <source>Tamsel reminds you to rest now and then. While you type and use the mouse it fills a small row of squares in a corner of the screen; when a work period is done it dims your screens for a short break. Time away from the keyboard counts as rest.</source>
        <translation>Tamsel erinnert Sie daran, hin und wieder auszuruhen. Während Sie tippen und die Maus benutzen, füllt es eine kleine Reihe von Quadraten in einer Bildschirmecke; ist eine Arbeitszeit vorbei, dunkelt es Ihre Bildschirme für eine kurze Pause ab. Zeit abseits der Tastatur zählt als Erholung.</translation>
    </message>
    <message>
        <source>Its icon, a white cup, lives in the system tray (the notification area of your panel). Click it for Preferences, a break now, a pause, and more. If your desktop shows no tray, Tamsel still reminds you; add a system tray or notification area to your panel to reach its menu.</source>
        <translation>Sein Symbol, eine weiße Tasse, sitzt im Infobereich (dem Benachrichtigungsfeld Ihrer Leiste). Klicken Sie darauf für die Einstellungen, eine sofortige Pause, eine Unterbrechung und mehr. Zeigt Ihr Desktop keinen Infobereich, erinnert Tamsel Sie trotzdem; fügen Sie Ihrer Leiste einen Infobereich hinzu, um sein Menü zu erreichen.</translation>
    </message>
    <message>
        <source>On GNOME, turn on Tamsel&apos;s extension for its menu in the top bar and an indicator that lets your clicks through:
%1</source>
        <translation>Schalten Sie unter GNOME Tamsels Erweiterung ein, für sein Menü in der oberen Leiste und eine Anzeige, durch die Ihre Klicks hindurchgehen:
%1</translation>
    </message>
    <message>
        <source>Start Tamsel when I log in</source>
        <translation>Tamsel beim Anmelden starten</translation>
    </message>
    <message>
        <source>Done</source>
        <translation>Fertig</translation>
    </message>
    <message>
        <source>Passwords don&apos;t match. Please correct them and try again.</source>
        <translation>Die Passwörter stimmen nicht überein. Bitte korrigieren Sie sie und versuchen Sie es erneut.</translation>
    </message>
    <message>
        <source>Tamsel could not set itself to start when you log in.</source>
        <translation>Tamsel konnte sich nicht so einrichten, dass es bei der Anmeldung startet.</translation>
    </message>
    <message>
        <source>Tamsel could not stop starting when you log in.</source>
        <translation>Tamsel konnte den Start bei der Anmeldung nicht abschalten.</translation>
    </message>
    <message>
        <source>Top Left</source>
        <translation>Oben links</translation>
    </message>
    <message>
        <source>Top Center</source>
        <translation>Oben Mitte</translation>
    </message>
    <message>
        <source>Top Right</source>
        <translation>Oben rechts</translation>
    </message>
    <message>
        <source>Bottom Left</source>
        <translation>Unten links</translation>
    </message>
    <message>
        <source>Bottom Center</source>
        <translation>Unten Mitte</translation>
    </message>
    <message>
        <source>Bottom Right</source>
        <translation>Unten rechts</translation>
    </message>
    <message>
        <source>is a symbolic link</source>
        <translation>ist ein symbolischer Verweis</translation>
    </message>
    <message>
        <source>belongs to another user</source>
        <translation>gehört einem anderen Benutzer</translation>
    </message>
    <message>
        <source>cannot be made or read</source>
        <translation>kann weder angelegt noch gelesen werden</translation>
    </message>
    <message>
        <source>is not a folder</source>
        <translation>ist kein Ordner</translation>
    </message>
    <message>
        <source>cannot be made owner-only</source>
        <translation>kann nicht nur für den Besitzer zugänglich gemacht werden</translation>
    </message>
    <message>
        <source>cannot be read</source>
        <translation>kann nicht gelesen werden</translation>
    </message>
    <message>
        <source>is not a plain file</source>
        <translation>ist keine gewöhnliche Datei</translation>
    </message>
    <message>
        <source>its folder %1 %2</source>
        <translation>der Ordner %1 %2</translation>
    </message>
    <message>
        <source>it %1</source>
        <translation>sie %1</translation>
    </message>
    <message>
        <source>the macOS event source</source>
        <translation>der Ereignisquelle von macOS</translation>
    </message>
    <message>
        <source>the Wayland idle protocols (ext-idle-notify-v1, org_kde_kwin_idle)</source>
        <translation>den Leerlauf-Protokollen von Wayland (ext-idle-notify-v1, org_kde_kwin_idle)</translation>
    </message>
    <message>
        <source>the X screen saver extension</source>
        <translation>der Bildschirmschoner-Erweiterung des X-Servers</translation>
    </message>
    <message>
        <source>the Wayland idle protocols</source>
        <translation>den Leerlauf-Protokollen von Wayland</translation>
    </message>
    <message>
        <source>Statistics…</source>
        <translation>Statistik …</translation>
    </message>
    <message>
        <source>Break waiting for full screen to end</source>
        <translation>Pause wartet auf das Ende des Vollbilds</translation>
    </message>
    <message>
        <source>Break waiting for do-not-disturb to end</source>
        <translation>Pause wartet auf das Ende von „Bitte nicht stören“</translation>
    </message>
    <message>
        <source>Break waiting for your call to end</source>
        <translation>Pause wartet auf das Ende Ihres Anrufs</translation>
    </message>
    <message>
        <source>Sun</source>
        <translation>So</translation>
    </message>
    <message>
        <source>Mon</source>
        <translation>Mo</translation>
    </message>
    <message>
        <source>Tue</source>
        <translation>Di</translation>
    </message>
    <message>
        <source>Wed</source>
        <translation>Mi</translation>
    </message>
    <message>
        <source>Thu</source>
        <translation>Do</translation>
    </message>
    <message>
        <source>Fri</source>
        <translation>Fr</translation>
    </message>
    <message>
        <source>Sat</source>
        <translation>Sa</translation>
    </message>
    <message>
        <source>%1 min</source>
        <translation>%1 min</translation>
    </message>
    <message>
        <source>%1 h %2 min</source>
        <translation>%1 h %2 min</translation>
    </message>
    <message>
        <source>The history could not be exported: %1</source>
        <translation>Der Verlauf konnte nicht exportiert werden: %1</translation>
    </message>
    <message>
        <source>Tamsel Statistics</source>
        <translation>Tamsel-Statistik</translation>
    </message>
    <message>
        <source>A break in 30 seconds</source>
        <translation>In 30 Sekunden beginnt eine Pause</translation>
    </message>
    <message>
        <source>could not be read</source>
        <translation>konnte nicht gelesen werden</translation>
    </message>
    <message>
        <source>%1 cannot be opened</source>
        <translation>%1 kann nicht geöffnet werden</translation>
    </message>
    <message>
        <source>Tamsel&apos;s history %1 %2. It is kept as %3, and a fresh history starts now.</source>
        <translation>Tamsels Verlauf %1 %2. Er wird als %3 aufbewahrt, und ein neuer Verlauf beginnt jetzt.</translation>
    </message>
    <message>
        <source>Tamsel does not keep its history on disk this time: %1. The statistics show what happens until Tamsel quits.</source>
        <translation>Tamsel speichert seinen Verlauf diesmal nicht auf der Festplatte: %1. Die Statistik zeigt, was bis zum Beenden von Tamsel geschieht.</translation>
    </message>
    <message>
        <source>The disk is full: Tamsel&apos;s history %1 cannot grow, so what happens now is not kept. The reminders go on as before.</source>
        <translation>Die Festplatte ist voll: Tamsels Verlauf %1 kann nicht wachsen, daher wird nicht festgehalten, was jetzt geschieht. Die Erinnerungen laufen weiter wie bisher.</translation>
    </message>
    <message>
        <source>Tamsel could not write its history %1 (%2). The reminders go on as before; what could not be written is not kept.</source>
        <translation>Tamsel konnte seinen Verlauf %1 nicht schreiben (%2). Die Erinnerungen laufen weiter wie bisher; was nicht geschrieben werden konnte, wird nicht festgehalten.</translation>
    </message>
    <message>
        <source>Export the history</source>
        <translation>Verlauf exportieren</translation>
    </message>
    <message>
        <source>CSV files (*.csv)</source>
        <translation>CSV-Dateien (*.csv)</translation>
    </message>
    <message>
        <source>Wait wh&amp;ile I&apos;m on a call (camera or microphone in use)</source>
        <translation>Bei einem Anr&amp;uf warten (Kamera oder Mikrofon in Benutzung)</translation>
    </message>
    <message>
        <source>Wait while a program is &amp;full screen</source>
        <translation>Warten, solange ein Programm im &amp;Vollbild läuft</translation>
    </message>
    <message>
        <source>Wait while do-not-distu&amp;rb is on</source>
        <translation>Warten, solange „Bitte nicht stö&amp;ren“ an ist</translation>
    </message>
    <message>
        <source>A due break waits</source>
        <translation>Eine fällige Pause wartet</translation>
    </message>
    <message>
        <source>Active time</source>
        <translation>Aktive Zeit</translation>
    </message>
    <message>
        <source>Breaks taken</source>
        <translation>Gemachte Pausen</translation>
    </message>
    <message>
        <source>Breaks snoozed</source>
        <translation>Aufgeschobene Pausen</translation>
    </message>
    <message>
        <source>Work periods skipped</source>
        <translation>Übersprungene Arbeitszeiten</translation>
    </message>
    <message>
        <source>Paused</source>
        <translation>Pausiert</translation>
    </message>
    <message>
        <source>This week, breaks taken in full:</source>
        <translation>Diese Woche vollständig gemachte Pausen:</translation>
    </message>
    <message>
        <source>Active time per day, the last 14 days</source>
        <translation>Aktive Zeit pro Tag, die letzten 14 Tage</translation>
    </message>
    <message>
        <source>active time</source>
        <translation>aktive Zeit</translation>
    </message>
    <message>
        <source>breaks taken</source>
        <translation>gemachte Pausen</translation>
    </message>
    <message>
        <source>breaks missed (snoozed or skipped)</source>
        <translation>verpasste Pausen (aufgeschoben oder übersprungen)</translation>
    </message>
    <message>
        <source>&amp;Export…</source>
        <translation>&amp;Exportieren …</translation>
    </message>
    <message>
        <source>Saves the whole history as a CSV file</source>
        <translation>Speichert den ganzen Verlauf als CSV-Datei</translation>
    </message>
    <message>
        <source>Today</source>
        <translation>Heute</translation>
    </message>
    <message>
        <source>Active time, the last 14 days</source>
        <translation>Aktive Zeit, die letzten 14 Tage</translation>
    </message>
    <message>
        <source>call</source>
        <translation>Anruf</translation>
    </message>
    <message>
        <source>full screen</source>
        <translation>Vollbild</translation>
    </message>
    <message>
        <source>do not disturb</source>
        <translation>Bitte nicht stören</translation>
    </message>
</context>
</TS>
