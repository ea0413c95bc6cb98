<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr">
<context>
    <name>Accessibility</name>
    <message>
        <source>Does what %1 does in Tamsel&apos;s menu.</source>
        <translation>Fait ce que fait %1 dans le menu de Tamsel.</translation>
    </message>
    <message>
        <source>Closes this notice; Tamsel goes on running.</source>
        <translation>Ferme cet avis&#xa0;; Tamsel continue de fonctionner.</translation>
    </message>
    <message>
        <source>works</source>
        <translation>fonctionne</translation>
    </message>
    <message>
        <source>missing</source>
        <translation>manquant</translation>
    </message>
    <message>
        <source>What to do about it; the text can be copied.</source>
        <translation>Que faire&#xa0;; le texte peut être copié.</translation>
    </message>
    <message>
        <source>Looks at the desktop again and updates the list.</source>
        <translation>Examine à nouveau le bureau et met la liste à jour.</translation>
    </message>
    <message>
        <source>Closes this window.</source>
        <translation>Ferme cette fenêtre.</translation>
    </message>
    <message>
        <source>Closes this notice.</source>
        <translation>Ferme cet avis.</translation>
    </message>
    <message>
        <source>Password</source>
        <translation>Mot de passe</translation>
    </message>
    <message>
        <source>Type the password, then press Return.</source>
        <translation>Saisissez le mot de passe, puis appuyez sur Entrée.</translation>
    </message>
    <message>
        <source>The default answer: Return chooses it.</source>
        <translation>La réponse par défaut&#xa0;: Entrée la choisit.</translation>
    </message>
    <message>
        <source>Escape chooses it too.</source>
        <translation>Échap la choisit aussi.</translation>
    </message>
    <message>
        <source>Answers with this choice.</source>
        <translation>Répond par ce choix.</translation>
    </message>
    <message>
        <source>Less</source>
        <translation>Moins</translation>
    </message>
    <message>
        <source>Lowers the value by one.</source>
        <translation>Diminue la valeur de un.</translation>
    </message>
    <message>
        <source>More</source>
        <translation>Plus</translation>
    </message>
    <message>
        <source>Raises the value by one.</source>
        <translation>Augmente la valeur de un.</translation>
    </message>
    <message>
        <source>Ends this break now; the next one comes in a minute.</source>
        <translation>Termine cette pause maintenant&#xa0;; la suivante vient dans une minute.</translation>
    </message>
    <message>
        <source>Break progress</source>
        <translation>Progression de la pause</translation>
    </message>
    <message>
        <source>How much of the break has passed.</source>
        <translation>La part de la pause déjà écoulée.</translation>
    </message>
    <message>
        <source>Tamsel</source>
        <translation>Tamsel</translation>
    </message>
    <message>
        <source>%1 of %2</source>
        <translation>%1 sur %2</translation>
    </message>
    <message>
        <source>1 minute</source>
        <translation>1 minute</translation>
    </message>
    <message>
        <source>%1 minutes</source>
        <translation>%1 minutes</translation>
    </message>
    <message>
        <source>Work period</source>
        <translation>Période de travail</translation>
    </message>
    <message>
        <source>Minutes of work before each break. The arrow keys change it by one minute, Page Up and Page Down by ten.</source>
        <translation>Minutes de travail avant chaque pause. Les flèches la changent d&apos;une minute, Page précédente et Page suivante de dix.</translation>
    </message>
    <message>
        <source>Break length</source>
        <translation>Durée de la pause</translation>
    </message>
    <message>
        <source>Minutes each break lasts. The arrow keys change it by one minute, Page Up and Page Down by ten.</source>
        <translation>Minutes que dure chaque pause. Les flèches la changent d&apos;une minute, Page précédente et Page suivante de dix.</translation>
    </message>
    <message>
        <source>The break window offers a Snooze button that puts the break off for a minute.</source>
        <translation>La fenêtre de pause propose un bouton qui repousse la pause d&apos;une minute.</translation>
    </message>
    <message>
        <source>Breaks begin with the screen still visible; a double click on it dims it.</source>
        <translation>Les pauses commencent avec l&apos;écran encore visible&#xa0;; un double-clic dessus l&apos;assombrit.</translation>
    </message>
    <message>
        <source>Progress bar position</source>
        <translation>Position de la barre de progression</translation>
    </message>
    <message>
        <source>Where on the screen the row of squares that shows your work progress sits.</source>
        <translation>L&apos;endroit de l&apos;écran où se trouve la rangée de carrés qui montre l&apos;avancement de votre travail.</translation>
    </message>
    <message>
        <source>The progress bar stays on the screen.</source>
        <translation>La barre de progression reste à l&apos;écran.</translation>
    </message>
    <message>
        <source>The progress bar shows only as the work period nears its end.</source>
        <translation>La barre de progression n&apos;apparaît qu&apos;à l&apos;approche de la fin de la période de travail.</translation>
    </message>
    <message>
        <source>Child lock password</source>
        <translation>Mot de passe du contrôle parental</translation>
    </message>
    <message>
        <source>Asked at start and before Preferences, Pause, Skip and Quit. Leave both fields empty for no child lock.</source>
        <translation>Demandé au démarrage et avant Préférences, Suspendre, Sauter et Quitter. Laissez les deux champs vides pour ne pas avoir de contrôle parental.</translation>
    </message>
    <message>
        <source>Confirm child lock password</source>
        <translation>Confirmer le mot de passe du contrôle parental</translation>
    </message>
    <message>
        <source>The same password again.</source>
        <translation>Le même mot de passe, une seconde fois.</translation>
    </message>
    <message>
        <source>A notification comes about a minute before each break.</source>
        <translation>Une notification arrive environ une minute avant chaque pause.</translation>
    </message>
    <message>
        <source>A sound plays as each break starts and as it ends.</source>
        <translation>Un son est joué au début et à la fin de chaque pause.</translation>
    </message>
    <message>
        <source>Breaks dim every screen, not only the main one.</source>
        <translation>Les pauses assombrissent tous les écrans, pas seulement l&apos;écran principal.</translation>
    </message>
    <message>
        <source>A break that falls due while the camera or the microphone is in use waits until the call ends.</source>
        <translation>Une pause qui tombe pendant que la caméra ou le micro est utilisé attend la fin de l&apos;appel.</translation>
    </message>
    <message>
        <source>A break that falls due while a program fills the screen waits until it leaves full screen.</source>
        <translation>Une pause qui tombe pendant qu&apos;un programme occupe tout l&apos;écran attend qu&apos;il quitte le plein écran.</translation>
    </message>
    <message>
        <source>A break that falls due while the desktop&apos;s do-not-disturb is on waits until it is off.</source>
        <translation>Une pause qui tombe pendant que le mode «&#xa0;Ne pas déranger&#xa0;» du bureau est actif attend qu&apos;il soit désactivé.</translation>
    </message>
    <message>
        <source>Tamsel starts by itself when you log in.</source>
        <translation>Tamsel démarre de lui-même à l&apos;ouverture de session.</translation>
    </message>
    <message>
        <source>Opens the Tamsel manual.</source>
        <translation>Ouvre le manuel de Tamsel.</translation>
    </message>
    <message>
        <source>Opens the Tamsel web site in your browser.</source>
        <translation>Ouvre le site web de Tamsel dans votre navigateur.</translation>
    </message>
    <message>
        <source>Closes the window without saving the changes.</source>
        <translation>Ferme la fenêtre sans enregistrer les modifications.</translation>
    </message>
    <message>
        <source>Saves the settings and closes the window.</source>
        <translation>Enregistre les réglages et ferme la fenêtre.</translation>
    </message>
    <message>
        <source>Closes this window; Tamsel goes on running.</source>
        <translation>Ferme cette fenêtre&#xa0;; Tamsel continue de fonctionner.</translation>
    </message>
</context>
<context>
    <name>Tamsel</name>
    <message>
        <source>For 30 minutes</source>
        <translation>Pendant 30 minutes</translation>
    </message>
    <message>
        <source>For an hour</source>
        <translation>Pendant une heure</translation>
    </message>
    <message>
        <source>For two hours</source>
        <translation>Pendant deux heures</translation>
    </message>
    <message>
        <source>Until tomorrow</source>
        <translation>Jusqu&apos;à demain</translation>
    </message>
    <message>
        <source>Preferences…</source>
        <translation>Préférences…</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Aide</translation>
    </message>
    <message>
        <source>Check my desktop…</source>
        <translation>Vérifier mon bureau…</translation>
    </message>
    <message>
        <source>Take a break now</source>
        <translation>Faire une pause maintenant</translation>
    </message>
    <message>
        <source>Resume</source>
        <translation>Reprendre</translation>
    </message>
    <message>
        <source>Pause</source>
        <translation>Suspendre</translation>
    </message>
    <message>
        <source>Skip</source>
        <translation>Sauter</translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>Quitter</translation>
    </message>
    <message>
        <source>On a break, %1 left</source>
        <translation>En pause, encore %1</translation>
    </message>
    <message>
        <source>Paused until %1</source>
        <translation>Suspendu jusqu&apos;à %1</translation>
    </message>
    <message>
        <source>Next break in about a minute</source>
        <translation>Prochaine pause dans environ une minute</translation>
    </message>
    <message>
        <source>Next break in about %1 minutes</source>
        <translation>Prochaine pause dans environ %1 minutes</translation>
    </message>
    <message>
        <source>Cannot let you skip this break since you skipped the last one, sorry!</source>
        <translation>Impossible de sauter cette pause, car vous avez déjà sauté la précédente. Désolé&#xa0;!</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <source>Child lock enabled</source>
        <translation>Contrôle parental activé</translation>
    </message>
    <message>
        <source>Incorrect password</source>
        <translation>Mot de passe incorrect</translation>
    </message>
    <message>
        <source>Please enter your password</source>
        <translation>Veuillez saisir votre mot de passe</translation>
    </message>
    <message>
        <source>No application could open the manual (a PDF file). It is here:
%1</source>
        <translation>Aucune application n&apos;a pu ouvrir le manuel (un fichier PDF). Il se trouve ici&#xa0;:
%1</translation>
    </message>
    <message>
        <source>No web browser could open the Tamsel web site. Its address is:
%1</source>
        <translation>Aucun navigateur n&apos;a pu ouvrir le site web de Tamsel. Son adresse est&#xa0;:
%1</translation>
    </message>
    <message>
        <source>Tamsel break</source>
        <translation>Pause Tamsel</translation>
    </message>
    <message>
        <source>Welcome to Tamsel</source>
        <translation>Bienvenue dans Tamsel</translation>
    </message>
    <message>
        <source>Tamsel Preferences</source>
        <translation>Préférences de Tamsel</translation>
    </message>
    <message>
        <source>Snooze for a minute</source>
        <translation>Repousser d&apos;une minute</translation>
    </message>
    <message>
        <source>tomorrow %1</source>
        <translation>demain %1</translation>
    </message>
    <message>
        <source>A break in about a minute</source>
        <translation>Une pause dans environ une minute</translation>
    </message>
    <message>
        <source>Unable to check for new versions</source>
        <translation>Impossible de rechercher de nouvelles versions</translation>
    </message>
    <message>
        <source>Tamsel update</source>
        <translation>Mise à jour de Tamsel</translation>
    </message>
    <message>
        <source>There is an update to tamsel. Do you want to visit %1 to download the latest version.</source>
        <translation>Une mise à jour de Tamsel est disponible. Voulez-vous aller sur %1 pour télécharger la dernière version&#xa0;?</translation>
    </message>
    <message>
        <source>Yes</source>
        <translation>Oui</translation>
    </message>
    <message>
        <source>No, skip this version</source>
        <translation>Non, ignorer cette version</translation>
    </message>
    <message>
        <source>Snooze disabled due to previous use</source>
        <translation>Report désactivé, déjà utilisé récemment</translation>
    </message>
    <message>
        <source>On GNOME, turn on Tamsel&apos;s own extension, which puts the menu in the top bar: run %1</source>
        <translation>Sous GNOME, activez l&apos;extension de Tamsel, qui place le menu dans la barre supérieure&#xa0;: lancez %1</translation>
    </message>
    <message>
        <source>To get them, add a tray to your panel: the Notification Area or System Tray applet, or run a tray such as trayer or stalonetray. The icon docks there by itself; if it does not, quit Tamsel and start it again.</source>
        <translation>Pour les obtenir, ajoutez une zone de notification à votre tableau de bord&#xa0;: l&apos;applet Zone de notification ou Boîte à miniatures, ou lancez trayer ou stalonetray. L&apos;icône s&apos;y place d&apos;elle-même&#xa0;; sinon, quittez Tamsel et relancez-le.</translation>
    </message>
    <message>
        <source>Tamsel is running and will remind you to take breaks as usual.

This desktop has no system tray (notification area), so Tamsel&apos;s icon and menu cannot be shown. %1

&quot;Check my desktop…&quot; tells what else this desktop lacks and how to add it. Until then, these buttons do what the menu would:</source>
        <translation>Tamsel fonctionne et vous rappellera vos pauses comme d&apos;habitude.

Ce bureau n&apos;a pas de zone de notification, l&apos;icône et le menu de Tamsel ne peuvent donc pas s&apos;afficher. %1

«&#xa0;Vérifier mon bureau…&#xa0;» indique ce qui manque encore à ce bureau et comment l&apos;ajouter. En attendant, ces boutons font ce que ferait le menu&#xa0;:</translation>
    </message>
    <message>
        <source>%1 Choose &quot;Check my desktop…&quot; in Tamsel&apos;s menu for what to do.</source>
        <translation>%1 Choisissez «&#xa0;Vérifier mon bureau…&#xa0;» dans le menu de Tamsel pour savoir que faire.</translation>
    </message>
    <message>
        <source>Tamsel: no tray found</source>
        <translation>Tamsel&#xa0;: aucune zone de notification</translation>
    </message>
    <message>
        <source>Use a compositor with layer-shell (zwlr_layer_shell_v1): KDE Plasma, sway or Hyprland</source>
        <translation>Utilisez un compositeur avec layer-shell (zwlr_layer_shell_v1)&#xa0;: KDE Plasma, sway ou Hyprland</translation>
    </message>
    <message>
        <source>X11 windows on XWayland</source>
        <translation>fenêtres X11 sous XWayland</translation>
    </message>
    <message>
        <source>X11 windows</source>
        <translation>fenêtres X11</translation>
    </message>
    <message>
        <source>layer-shell surfaces</source>
        <translation>surfaces layer-shell</translation>
    </message>
    <message>
        <source>the GNOME Shell extension</source>
        <translation>l&apos;extension GNOME Shell</translation>
    </message>
    <message>
        <source>Run: %1 (if Tamsel was installed during this session, log out and back in first)</source>
        <translation>Lancez&#xa0;: %1 (si Tamsel a été installé pendant cette session, déconnectez-vous et reconnectez-vous d&apos;abord)</translation>
    </message>
    <message>
        <source>Idle time: from %1</source>
        <translation>Temps d&apos;inactivité&#xa0;: par %1</translation>
    </message>
    <message>
        <source>Use an X server with the screen saver extension (MIT-SCREEN-SAVER), as Xorg has</source>
        <translation>Utilisez un serveur X avec l&apos;extension d&apos;économiseur d&apos;écran (MIT-SCREEN-SAVER), comme Xorg</translation>
    </message>
    <message>
        <source>Log out and back in: GNOME&apos;s idle monitor (org.gnome.Mutter.IdleMonitor) did not answer</source>
        <translation>Déconnectez-vous et reconnectez-vous&#xa0;: le moniteur d&apos;inactivité de GNOME (org.gnome.Mutter.IdleMonitor) n&apos;a pas répondu</translation>
    </message>
    <message>
        <source>Use a compositor with ext-idle-notify-v1 or org_kde_kwin_idle: KDE Plasma, sway or Hyprland</source>
        <translation>Utilisez un compositeur avec ext-idle-notify-v1 ou org_kde_kwin_idle&#xa0;: KDE Plasma, sway ou Hyprland</translation>
    </message>
    <message>
        <source>Idle time: no source answers, so a break comes after every work period, even when you were away</source>
        <translation>Temps d&apos;inactivité&#xa0;: aucune source ne répond, une pause vient donc après chaque période de travail, même si vous étiez absent</translation>
    </message>
    <message>
        <source>Menu: in the top bar, from Tamsel&apos;s GNOME Shell extension</source>
        <translation>Menu&#xa0;: dans la barre supérieure, par l&apos;extension GNOME Shell de Tamsel</translation>
    </message>
    <message>
        <source>Menu: in the menu bar</source>
        <translation>Menu&#xa0;: dans la barre des menus</translation>
    </message>
    <message>
        <source>Menu: in the tray (a StatusNotifierItem host)</source>
        <translation>Menu&#xa0;: dans la zone de notification (un hôte StatusNotifierItem)</translation>
    </message>
    <message>
        <source>Menu: in the tray (an XEmbed system tray)</source>
        <translation>Menu&#xa0;: dans la zone de notification (XEmbed)</translation>
    </message>
    <message>
        <source>Menu: no tray found; its commands are only on the no-tray notice</source>
        <translation>Menu&#xa0;: aucune zone de notification&#xa0;; ses commandes ne sont que dans l&apos;avis affiché à la place</translation>
    </message>
    <message>
        <source>Add the System Tray widget to a panel</source>
        <translation>Ajoutez le composant graphique Boîte à miniatures à un tableau de bord</translation>
    </message>
    <message>
        <source>Add a tray to your bar: swaybar&apos;s tray, or waybar&apos;s tray module</source>
        <translation>Ajoutez une zone de notification à votre barre&#xa0;: celle de swaybar, ou le module tray de waybar</translation>
    </message>
    <message>
        <source>Add a notification area (system tray) to your panel, or run trayer or stalonetray</source>
        <translation>Ajoutez une zone de notification à votre tableau de bord, ou lancez trayer ou stalonetray</translation>
    </message>
    <message>
        <source>Indicator: %1; clicks pass through it, above all windows</source>
        <translation>Indicateur&#xa0;: %1&#xa0;; les clics le traversent, au-dessus de toutes les fenêtres</translation>
    </message>
    <message>
        <source>Indicator: %1; it catches the clicks meant for the native windows beneath it</source>
        <translation>Indicateur&#xa0;: %1&#xa0;; il intercepte les clics destinés aux fenêtres natives en dessous</translation>
    </message>
    <message>
        <source>Break windows: %1; they cover every screen, above all windows, and hold the mouse and keyboard</source>
        <translation>Fenêtres de pause&#xa0;: %1&#xa0;; elles couvrent chaque écran, au-dessus de toutes les fenêtres, et retiennent la souris et le clavier</translation>
    </message>
    <message>
        <source>Break windows: %1; GNOME keeps them above all windows, with the mouse and keyboard</source>
        <translation>Fenêtres de pause&#xa0;: %1&#xa0;; GNOME les garde au-dessus de toutes les fenêtres, avec la souris et le clavier</translation>
    </message>
    <message>
        <source>Break windows: %1; a native window can take the keyboard during a break</source>
        <translation>Fenêtres de pause&#xa0;: %1&#xa0;; une fenêtre native peut prendre le clavier pendant une pause</translation>
    </message>
    <message>
        <source>Desktop notifications: a notification server answers, for the heads-up a minute before a break</source>
        <translation>Notifications du bureau&#xa0;: un serveur de notifications répond, pour l&apos;avertissement une minute avant une pause</translation>
    </message>
    <message>
        <source>Desktop notifications: no notification server, so no heads-up before a break</source>
        <translation>Notifications du bureau&#xa0;: aucun serveur de notifications, donc pas d&apos;avertissement avant une pause</translation>
    </message>
    <message>
        <source>Install a notification daemon such as dunst or mako (GNOME and KDE bring their own)</source>
        <translation>Installez un démon de notifications comme dunst ou mako (GNOME et KDE ont le leur)</translation>
    </message>
    <message>
        <source>Start at login: Tamsel starts when you log in</source>
        <translation>Démarrage à la connexion&#xa0;: Tamsel démarre quand vous ouvrez une session</translation>
    </message>
    <message>
        <source>Start at login: off, so no reminders until you start Tamsel</source>
        <translation>Démarrage à la connexion&#xa0;: désactivé, donc aucun rappel tant que vous ne lancez pas Tamsel</translation>
    </message>
    <message>
        <source>Tick &quot;Start Tamsel when I log in&quot; in Preferences</source>
        <translation>Cochez «&#xa0;Démarrer Tamsel à l&apos;ouverture de session&#xa0;» dans les Préférences</translation>
    </message>
    <message>
        <source>What Tamsel finds on this desktop:</source>
        <translation>Ce que Tamsel trouve sur ce bureau&#xa0;:</translation>
    </message>
    <message>
        <source>Check again</source>
        <translation>Vérifier à nouveau</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Fermer</translation>
    </message>
    <message>
        <source>Tamsel: setup check</source>
        <translation>Tamsel&#xa0;: vérification du bureau</translation>
    </message>
    <message>
        <source>Tamsel cannot tell when you are away from the keyboard: no idle service of this desktop answered (%1). Until one does, it counts you as active, so a break comes after every work period, even when you were away.</source>
        <translation>Tamsel ne peut pas savoir quand vous êtes loin du clavier&#xa0;: aucun service d&apos;inactivité de ce bureau n&apos;a répondu (%1). En attendant, il vous considère comme actif&#xa0;; une pause vient donc après chaque période de travail, même si vous étiez absent.</translation>
    </message>
    <message>
        <source>Tamsel cannot save its settings: %1 cannot be written (its folder is missing, read-only or not a folder). Tamsel runs with the settings it has, but changes made now are lost when it quits.</source>
        <translation>Tamsel ne peut pas enregistrer ses réglages&#xa0;: impossible d&apos;écrire %1 (son dossier manque, est en lecture seule ou n&apos;est pas un dossier). Tamsel continue avec les réglages qu&apos;il a, mais les modifications faites maintenant seront perdues à sa fermeture.</translation>
    </message>
    <message>
        <source>Tamsel does not use its settings file %1: %2. It keeps reminding you with its first settings, and changes made now are lost when it quits.</source>
        <translation>Tamsel n&apos;utilise pas son fichier de réglages %1&#xa0;: %2. Il continue de vous rappeler vos pauses avec ses réglages initiaux, et les modifications faites maintenant seront perdues à sa fermeture.</translation>
    </message>
    <message>
        <source>Tamsel&apos;s setting %1 in %2 holds bytes that are not UTF-8 text, so it cannot be typed to match. Correct or remove that line.</source>
        <translation>Le réglage %1 de Tamsel dans %2 contient des octets qui ne sont pas du texte UTF-8, il ne peut donc pas être saisi à l&apos;identique. Corrigez ou supprimez cette ligne.</translation>
    </message>
    <message>
        <source>Time for a break</source>
        <translation>C&apos;est l&apos;heure d&apos;une pause</translation>
    </message>
    <message>
        <source>Look into the distance, stretch, breathe.</source>
        <translation>Regardez au loin, étirez-vous, respirez.</translation>
    </message>
    <message>
        <source>minutes</source>
        <translation>minutes</translation>
    </message>
    <message>
        <source>&amp;Work period:</source>
        <translation>Période de tra&amp;vail&#xa0;:</translation>
    </message>
    <message>
        <source>&amp;Break length:</source>
        <translation>Durée de la &amp;pause&#xa0;:</translation>
    </message>
    <message>
        <source>Allow s&amp;noozing a break for a minute</source>
        <translation>Permettre de &amp;repousser une pause d&apos;une minute</translation>
    </message>
    <message>
        <source>Start breaks see-&amp;through (double-click to dim)</source>
        <translation>Commencer les pauses en &amp;transparence (double-clic pour assombrir)</translation>
    </message>
    <message>
        <source>&amp;Position:</source>
        <translation>P&amp;osition&#xa0;:</translation>
    </message>
    <message>
        <source>Show it &amp;always</source>
        <translation>Tou&amp;jours l&apos;afficher</translation>
    </message>
    <message>
        <source>Show it &amp;only when a break is near</source>
        <translation>L&apos;afficher &amp;seulement à l&apos;approche d&apos;une pause</translation>
    </message>
    <message>
        <source>Passwor&amp;d:</source>
        <translation>&amp;Mot de passe&#xa0;:</translation>
    </message>
    <message>
        <source>&amp;Confirm:</source>
        <translation>&amp;Confirmer&#xa0;:</translation>
    </message>
    <message>
        <source>Asked at start and before Preferences, Pause, Skip and Quit.
Leave both fields empty for no child lock.</source>
        <translation>Demandé au démarrage et avant Préférences,
Suspendre, Sauter et Quitter.
Deux champs vides&#xa0;: pas de contrôle parental.</translation>
    </message>
    <message>
        <source>Tell me a &amp;minute before a break</source>
        <translation>Me prévenir une m&amp;inute avant une pause</translation>
    </message>
    <message>
        <source>Play a so&amp;und when a break starts and ends</source>
        <translation>Jouer un so&amp;n au début et à la fin d&apos;une pause</translation>
    </message>
    <message>
        <source>Cover &amp;every screen during a break</source>
        <translation>Couvrir tous les écrans pendant une pa&amp;use</translation>
    </message>
    <message>
        <source>Start Tamsel when I &amp;log in</source>
        <translation>&amp;Démarrer Tamsel à l&apos;ouverture de session</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Aide</translation>
    </message>
    <message>
        <source>Tamsel web site</source>
        <translation>Site web de Tamsel</translation>
    </message>
    <message>
        <source>Opens the Tamsel web site in your browser</source>
        <translation>Ouvre le site web de Tamsel dans votre navigateur</translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation>&amp;Enregistrer</translation>
    </message>
    <message>
        <source>Work and breaks</source>
        <translation>Travail et pauses</translation>
    </message>
    <message>
        <source>Progress bar</source>
        <translation>Barre de progression</translation>
    </message>
    <message>
        <source>Around a break</source>
        <translation>Autour d&apos;une pause</translation>
    </message>
    <message>
        <source>Starting</source>
        <translation>Démarrage</translation>
    </message>
    <message>
        <source>Child lock</source>
        <translation>Contrôle parental</translation>
    </message>
    <message>
        <source>Tamsel reminds you to rest now and then. While you type and use the mouse it fills a small row of squares in a corner of the screen; when a work period is done it dims your screens for a short break. Time away from the keyboard counts as rest.</source>
        <translation>Tamsel vous rappelle de vous reposer de temps en temps. Pendant que vous tapez et utilisez la souris, il remplit une petite rangée de carrés dans un coin de l&apos;écran&#xa0;; à la fin d&apos;une période de travail, il assombrit vos écrans pour une courte pause. Le temps passé loin du clavier compte comme du repos.</translation>
    </message>
    <message>
        <source>Its icon, a white cup, lives in the system tray (the notification area of your panel). Click it for Preferences, a break now, a pause, and more. If your desktop shows no tray, Tamsel still reminds you; add a system tray or notification area to your panel to reach its menu.</source>
        <translation>Son icône, une tasse blanche, se trouve dans la zone de notification de votre tableau de bord. Cliquez dessus pour les Préférences, une pause immédiate, une suspension, et plus encore. Si votre bureau n&apos;affiche pas de zone de notification, Tamsel vous rappelle quand même vos pauses&#xa0;; ajoutez-en une à votre tableau de bord pour accéder à son menu.</translation>
    </message>
    <message>
        <source>On GNOME, turn on Tamsel&apos;s extension for its menu in the top bar and an indicator that lets your clicks through:
%1</source>
        <translation>Sous GNOME, activez l&apos;extension de Tamsel pour avoir son menu dans la barre supérieure et un indicateur que vos clics traversent&#xa0;:
%1</translation>
    </message>
    <message>
        <source>Start Tamsel when I log in</source>
        <translation>Démarrer Tamsel à l&apos;ouverture de session</translation>
    </message>
    <message>
        <source>Done</source>
        <translation>Terminé</translation>
    </message>
    <message>
        <source>Passwords don&apos;t match. Please correct them and try again.</source>
        <translation>Les mots de passe ne correspondent pas. Veuillez les corriger et réessayer.</translation>
    </message>
    <message>
        <source>Tamsel could not set itself to start when you log in.</source>
        <translation>Tamsel n&apos;a pas pu se configurer pour démarrer à l&apos;ouverture de session.</translation>
    </message>
    <message>
        <source>Tamsel could not stop starting when you log in.</source>
        <translation>Tamsel n&apos;a pas pu désactiver son démarrage à l&apos;ouverture de session.</translation>
    </message>
    <message>
        <source>Top Left</source>
        <translation>En haut à gauche</translation>
    </message>
    <message>
        <source>Top Center</source>
        <translation>En haut au centre</translation>
    </message>
    <message>
        <source>Top Right</source>
        <translation>En haut à droite</translation>
    </message>
    <message>
        <source>Bottom Left</source>
        <translation>En bas à gauche</translation>
    </message>
    <message>
        <source>Bottom Center</source>
        <translation>En bas au centre</translation>
    </message>
    <message>
        <source>Bottom Right</source>
        <translation>En bas à droite</translation>
    </message>
    <message>
        <source>is a symbolic link</source>
        <translation>est un lien symbolique</translation>
    </message>
    <message>
        <source>belongs to another user</source>
        <translation>appartient à un autre utilisateur</translation>
    </message>
    <message>
        <source>cannot be made or read</source>
        <translation>ne peut être ni créé ni lu</translation>
    </message>
    <message>
        <source>is not a folder</source>
        <translation>n&apos;est pas un dossier</translation>
    </message>
    <message>
        <source>cannot be made owner-only</source>
        <translation>ne peut pas être réservé à son propriétaire</translation>
    </message>
    <message>
        <source>cannot be read</source>
        <translation>ne peut pas être lu</translation>
    </message>
    <message>
        <source>is not a plain file</source>
        <translation>n&apos;est pas un fichier ordinaire</translation>
    </message>
    <message>
        <source>its folder %1 %2</source>
        <translation>son dossier %1 %2</translation>
    </message>
    <message>
        <source>it %1</source>
        <translation>il %1</translation>
    </message>
    <message>
        <source>the macOS event source</source>
        <translation>la source d&apos;événements de macOS</translation>
    </message>
    <message>
        <source>the Wayland idle protocols (ext-idle-notify-v1, org_kde_kwin_idle)</source>
        <translation>les protocoles d&apos;inactivité de Wayland (ext-idle-notify-v1, org_kde_kwin_idle)</translation>
    </message>
    <message>
        <source>the X screen saver extension</source>
        <translation>l&apos;extension d&apos;économiseur d&apos;écran du serveur X</translation>
    </message>
    <message>
        <source>the Wayland idle protocols</source>
        <translation>les protocoles d&apos;inactivité de Wayland</translation>
    </message>
    <message>
        <source>Statistics…</source>
        <translation>Statistiques…</translation>
    </message>
    <message>
        <source>Break waiting for full screen to end</source>
        <translation>Pause en attente de la fin du plein écran</translation>
    </message>
    <message>
        <source>Break waiting for do-not-disturb to end</source>
        <translation>Pause en attente de la fin du mode «&#xa0;Ne pas déranger&#xa0;»</translation>
    </message>
    <message>
        <source>Break waiting for your call to end</source>
        <translation>Pause en attente de la fin de votre appel</translation>
    </message>
    <message>
        <source>Sun</source>
        <translation>dim.</translation>
    </message>
    <message>
        <source>Mon</source>
        <translation>lun.</translation>
    </message>
    <message>
        <source>Tue</source>
        <translation>mar.</translation>
    </message>
    <message>
        <source>Wed</source>
        <translation>mer.</translation>
    </message>
    <message>
        <source>Thu</source>
        <translation>jeu.</translation>
    </message>
    <message>
        <source>Fri</source>
        <translation>ven.</translation>
    </message>
    <message>
        <source>Sat</source>
        <translation>sam.</translation>
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
        <translation>L&apos;historique n&apos;a pas pu être exporté&#xa0;: %1</translation>
    </message>
    <message>
        <source>Tamsel Statistics</source>
        <translation>Statistiques de Tamsel</translation>
    </message>
    <message>
        <source>A break in 30 seconds</source>
        <translation>Une pause dans 30 secondes</translation>
    </message>
    <message>
        <source>could not be read</source>
        <translation>n&apos;a pas pu être lu</translation>
    </message>
    <message>
        <source>%1 cannot be opened</source>
        <translation>%1 ne peut pas être ouvert</translation>
    </message>
    <message>
        <source>Tamsel&apos;s history %1 %2. It is kept as %3, and a fresh history starts now.</source>
        <translation>L&apos;historique de Tamsel %1 %2. Il est conservé sous %3, et un nouvel historique commence maintenant.</translation>
    </message>
    <message>
        <source>Tamsel does not keep its history on disk this time: %1. The statistics show what happens until Tamsel quits.</source>
        <translation>Cette fois, Tamsel ne garde pas son historique sur le disque&#xa0;: %1. Les statistiques montrent ce qui se passe jusqu&apos;à la fermeture de Tamsel.</translation>
    </message>
    <message>
        <source>The disk is full: Tamsel&apos;s history %1 cannot grow, so what happens now is not kept. The reminders go on as before.</source>
        <translation>Le disque est plein&#xa0;: l&apos;historique de Tamsel %1 ne peut plus grandir, ce qui se passe maintenant n&apos;est donc pas conservé. Les rappels continuent comme avant.</translation>
    </message>
    <message>
        <source>Tamsel could not write its history %1 (%2). The reminders go on as before; what could not be written is not kept.</source>
        <translation>Tamsel n&apos;a pas pu écrire son historique %1 (%2). Les rappels continuent comme avant&#xa0;; ce qui n&apos;a pas pu être écrit n&apos;est pas conservé.</translation>
    </message>
    <message>
        <source>Export the history</source>
        <translation>Exporter l&apos;historique</translation>
    </message>
    <message>
        <source>CSV files (*.csv)</source>
        <translation>Fichiers CSV (*.csv)</translation>
    </message>
    <message>
        <source>Wait wh&amp;ile I&apos;m on a call (camera or microphone in use)</source>
        <translation>Attendre pendant un appe&amp;l (caméra ou micro utilisés)</translation>
    </message>
    <message>
        <source>Wait while a program is &amp;full screen</source>
        <translation>Attendre &amp;quand un programme est en plein écran</translation>
    </message>
    <message>
        <source>Wait while do-not-distu&amp;rb is on</source>
        <translation>Attendre en mode «&#xa0;Ne pas déran&amp;ger&#xa0;»</translation>
    </message>
    <message>
        <source>A due break waits</source>
        <translation>Une pause due attend</translation>
    </message>
    <message>
        <source>Active time</source>
        <translation>Temps actif</translation>
    </message>
    <message>
        <source>Breaks taken</source>
        <translation>Pauses faites</translation>
    </message>
    <message>
        <source>Breaks snoozed</source>
        <translation>Pauses repoussées</translation>
    </message>
    <message>
        <source>Work periods skipped</source>
        <translation>Périodes de travail sautées</translation>
    </message>
    <message>
        <source>Paused</source>
        <translation>Suspendu</translation>
    </message>
    <message>
        <source>This week, breaks taken in full:</source>
        <translation>Cette semaine, pauses faites en entier&#xa0;:</translation>
    </message>
    <message>
        <source>Active time per day, the last 14 days</source>
        <translation>Temps actif par jour, les 14 derniers jours</translation>
    </message>
    <message>
        <source>active time</source>
        <translation>temps actif</translation>
    </message>
    <message>
        <source>breaks taken</source>
        <translation>pauses faites</translation>
    </message>
    <message>
        <source>breaks missed (snoozed or skipped)</source>
        <translation>pauses manquées (repoussées ou sautées)</translation>
    </message>
    <message>
        <source>&amp;Export…</source>
        <translation>&amp;Exporter…</translation>
    </message>
    <message>
        <source>Saves the whole history as a CSV file</source>
        <translation>Enregistre tout l&apos;historique dans un fichier CSV</translation>
    </message>
    <message>
        <source>Today</source>
        <translation>Aujourd&apos;hui</translation>
    </message>
    <message>
        <source>Active time, the last 14 days</source>
        <translation>Temps actif, les 14 derniers jours</translation>
    </message>
    <message>
        <source>call</source>
        <translation>appel</translation>
    </message>
    <message>
        <source>full screen</source>
        <translation>plein écran</translation>
    </message>
    <message>
        <source>do not disturb</source>
        <translation>Ne pas déranger</translation>
    </message>
</context>
</TS>
