<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="es">
<context>
    <name>Accessibility</name>
    <message>
        <source>Does what %1 does in Tamsel&apos;s menu.</source>
        <translation>Hace lo mismo que %1 en el menú de Tamsel.</translation>
    </message>
    <message>
        <source>Closes this notice; Tamsel goes on running.</source>
        <translation>Cierra este aviso; Tamsel sigue en marcha.</translation>
    </message>
    <message>
        <source>works</source>
        <translation>funciona</translation>
    </message>
    <message>
        <source>missing</source>
        <translation>falta</translation>
    </message>
    <message>
        <source>What to do about it; the text can be copied.</source>
        <translation>Qué hacer al respecto; el texto se puede copiar.</translation>
    </message>
    <message>
        <source>Looks at the desktop again and updates the list.</source>
        <translation>Vuelve a comprobar el escritorio y actualiza la lista.</translation>
    </message>
    <message>
        <source>Closes this window.</source>
        <translation>Cierra esta ventana.</translation>
    </message>
    <message>
        <source>Closes this notice.</source>
        <translation>Cierra este aviso.</translation>
    </message>
    <message>
        <source>Password</source>
        <translation>Contraseña</translation>
    </message>
    <message>
        <source>Type the password, then press Return.</source>
        <translation>Escriba la contraseña y pulse Intro.</translation>
    </message>
    <message>
        <source>The default answer: Return chooses it.</source>
        <translation>La respuesta predeterminada: Intro la elige.</translation>
    </message>
    <message>
        <source>Escape chooses it too.</source>
        <translation>Escape también la elige.</translation>
    </message>
    <message>
        <source>Answers with this choice.</source>
        <translation>Responde con esta opción.</translation>
    </message>
    <message>
        <source>Less</source>
        <translation>Menos</translation>
    </message>
    <message>
        <source>Lowers the value by one.</source>
        <translation>Baja el valor en uno.</translation>
    </message>
    <message>
        <source>More</source>
        <translation>Más</translation>
    </message>
    <message>
        <source>Raises the value by one.</source>
        <translation>Sube el valor en uno.</translation>
    </message>
    <message>
        <source>Ends this break now; the next one comes in a minute.</source>
        <translation>Termina este descanso ahora; el siguiente llega dentro de un minuto.</translation>
    </message>
    <message>
        <source>Break progress</source>
        <translation>Progreso del descanso</translation>
    </message>
    <message>
        <source>How much of the break has passed.</source>
        <translation>Cuánto del descanso ha pasado.</translation>
    </message>
    <message>
        <source>Tamsel</source>
        <translation>Tamsel</translation>
    </message>
    <message>
        <source>%1 of %2</source>
        <translation>%1 de %2</translation>
    </message>
    <message>
        <source>1 minute</source>
        <translation>1 minuto</translation>
    </message>
    <message>
        <source>%1 minutes</source>
        <translation>%1 minutos</translation>
    </message>
    <message>
        <source>Work period</source>
        <translation>Periodo de trabajo</translation>
    </message>
    <message>
        <source>Minutes of work before each break. The arrow keys change it by one minute, Page Up and Page Down by ten.</source>
        <translation>Minutos de trabajo antes de cada descanso. Las flechas lo cambian en un minuto; Re Pág y Av Pág, en diez.</translation>
    </message>
    <message>
        <source>Break length</source>
        <translation>Duración del descanso</translation>
    </message>
    <message>
        <source>Minutes each break lasts. The arrow keys change it by one minute, Page Up and Page Down by ten.</source>
        <translation>Minutos que dura cada descanso. Las flechas lo cambian en un minuto; Re Pág y Av Pág, en diez.</translation>
    </message>
    <message>
        <source>The break window offers a Snooze button that puts the break off for a minute.</source>
        <translation>La ventana de descanso ofrece un botón que pospone el descanso un minuto.</translation>
    </message>
    <message>
        <source>Breaks begin with the screen still visible; a double click on it dims it.</source>
        <translation>Los descansos empiezan con la pantalla aún visible; un doble clic en ella la oscurece.</translation>
    </message>
    <message>
        <source>Progress bar position</source>
        <translation>Posición de la barra de progreso</translation>
    </message>
    <message>
        <source>Where on the screen the row of squares that shows your work progress sits.</source>
        <translation>Dónde está en la pantalla la fila de cuadrados que muestra el progreso de su trabajo.</translation>
    </message>
    <message>
        <source>The progress bar stays on the screen.</source>
        <translation>La barra de progreso se queda en la pantalla.</translation>
    </message>
    <message>
        <source>The progress bar shows only as the work period nears its end.</source>
        <translation>La barra de progreso solo aparece cuando el periodo de trabajo se acerca a su fin.</translation>
    </message>
    <message>
        <source>Child lock password</source>
        <translation>Contraseña del control parental</translation>
    </message>
    <message>
        <source>Asked at start and before Preferences, Pause, Skip and Quit. Leave both fields empty for no child lock.</source>
        <translation>Se pide al iniciar y antes de Preferencias, Pausar, Saltar y Salir. Deje ambos campos vacíos para no usar control parental.</translation>
    </message>
    <message>
        <source>Confirm child lock password</source>
        <translation>Confirmar la contraseña del control parental</translation>
    </message>
    <message>
        <source>The same password again.</source>
        <translation>La misma contraseña otra vez.</translation>
    </message>
    <message>
        <source>A notification comes about a minute before each break.</source>
        <translation>Llega una notificación un minuto antes de cada descanso, aproximadamente.</translation>
    </message>
    <message>
        <source>A sound plays as each break starts and as it ends.</source>
        <translation>Suena un sonido al empezar y al terminar cada descanso.</translation>
    </message>
    <message>
        <source>Breaks dim every screen, not only the main one.</source>
        <translation>Los descansos oscurecen todas las pantallas, no solo la principal.</translation>
    </message>
    <message>
        <source>A break that falls due while the camera or the microphone is in use waits until the call ends.</source>
        <translation>Un descanso que toca mientras la cámara o el micrófono están en uso espera a que termine la llamada.</translation>
    </message>
    <message>
        <source>A break that falls due while a program fills the screen waits until it leaves full screen.</source>
        <translation>Un descanso que toca mientras un programa ocupa toda la pantalla espera a que salga de la pantalla completa.</translation>
    </message>
    <message>
        <source>A break that falls due while the desktop&apos;s do-not-disturb is on waits until it is off.</source>
        <translation>Un descanso que toca mientras el modo No molestar del escritorio está activado espera a que se desactive.</translation>
    </message>
    <message>
        <source>Tamsel starts by itself when you log in.</source>
        <translation>Tamsel se inicia solo al iniciar sesión.</translation>
    </message>
    <message>
        <source>Opens the Tamsel manual.</source>
        <translation>Abre el manual de Tamsel.</translation>
    </message>
    <message>
        <source>Opens the Tamsel web site in your browser.</source>
        <translation>Abre el sitio web de Tamsel en su navegador.</translation>
    </message>
    <message>
        <source>Closes the window without saving the changes.</source>
        <translation>Cierra la ventana sin guardar los cambios.</translation>
    </message>
    <message>
        <source>Saves the settings and closes the window.</source>
        <translation>Guarda la configuración y cierra la ventana.</translation>
    </message>
    <message>
        <source>Closes this window; Tamsel goes on running.</source>
        <translation>Cierra esta ventana; Tamsel sigue en marcha.</translation>
    </message>
</context>
<context>
    <name>Tamsel</name>
    <message>
        <source>For 30 minutes</source>
        <translation>Durante 30 minutos</translation>
    </message>
    <message>
        <source>For an hour</source>
        <translation>Durante una hora</translation>
    </message>
    <message>
        <source>For two hours</source>
        <translation>Durante dos horas</translation>
    </message>
    <message>
        <source>Until tomorrow</source>
        <translation>Hasta mañana</translation>
    </message>
    <message>
        <source>Preferences…</source>
        <translation>Preferencias…</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Ayuda</translation>
    </message>
    <message>
        <source>Check my desktop…</source>
        <translation>Comprobar mi escritorio…</translation>
    </message>
    <message>
        <source>Take a break now</source>
        <translation>Tomar un descanso ahora</translation>
    </message>
    <message>
        <source>Resume</source>
        <translation>Reanudar</translation>
    </message>
    <message>
        <source>Pause</source>
        <translation>Pausar</translation>
    </message>
    <message>
        <source>Skip</source>
        <translation>Saltar</translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>Salir</translation>
    </message>
    <message>
        <source>On a break, %1 left</source>
        <translation>En descanso, quedan %1</translation>
    </message>
    <message>
        <source>Paused until %1</source>
        <translation>En pausa hasta %1</translation>
    </message>
    <message>
        <source>Next break in about a minute</source>
        <translation>Próximo descanso en un minuto aproximadamente</translation>
    </message>
    <message>
        <source>Next break in about %1 minutes</source>
        <translation>Próximo descanso en unos %1 minutos</translation>
    </message>
    <message>
        <source>Cannot let you skip this break since you skipped the last one, sorry!</source>
        <translation>No puede saltarse este descanso porque ya se saltó el anterior. ¡Lo siento!</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>Aceptar</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancelar</translation>
    </message>
    <message>
        <source>Child lock enabled</source>
        <translation>Control parental activado</translation>
    </message>
    <message>
        <source>Incorrect password</source>
        <translation>Contraseña incorrecta</translation>
    </message>
    <message>
        <source>Please enter your password</source>
        <translation>Introduzca su contraseña</translation>
    </message>
    <message>
        <source>No application could open the manual (a PDF file). It is here:
%1</source>
        <translation>Ninguna aplicación pudo abrir el manual (un archivo PDF). Está aquí:
%1</translation>
    </message>
    <message>
        <source>No web browser could open the Tamsel web site. Its address is:
%1</source>
        <translation>Ningún navegador pudo abrir el sitio web de Tamsel. Su dirección es:
%1</translation>
    </message>
    <message>
        <source>Tamsel break</source>
        <translation>Descanso de Tamsel</translation>
    </message>
    <message>
        <source>Welcome to Tamsel</source>
        <translation>Bienvenido a Tamsel</translation>
    </message>
    <message>
        <source>Tamsel Preferences</source>
        <translation>Preferencias de Tamsel</translation>
    </message>
    <message>
        <source>Snooze for a minute</source>
        <translation>Posponer un minuto</translation>
    </message>
    <message>
        <source>tomorrow %1</source>
        <translation>mañana %1</translation>
    </message>
    <message>
        <source>A break in about a minute</source>
        <translation>Un descanso dentro de un minuto aproximadamente</translation>
    </message>
    <message>
        <source>Unable to check for new versions</source>
        <translation>No se pudo buscar nuevas versiones</translation>
    </message>
    <message>
        <source>Tamsel update</source>
        <translation>Actualización de Tamsel</translation>
    </message>
    <message>
        <source>There is an update to tamsel. Do you want to visit %1 to download the latest version.</source>
        <translation>Hay una actualización de Tamsel. ¿Quiere visitar %1 para descargar la última versión?</translation>
    </message>
    <message>
        <source>Yes</source>
        <translation>Sí</translation>
    </message>
    <message>
        <source>No, skip this version</source>
        <translation>No, omitir esta versión</translation>
    </message>
    <message>
        <source>Snooze disabled due to previous use</source>
        <translation>Posponer desactivado por haberlo usado hace poco</translation>
    </message>
    <message>
        <source>On GNOME, turn on Tamsel&apos;s own extension, which puts the menu in the top bar: run %1</source>
        <translation>En GNOME, active la extensión propia de Tamsel, que pone el menú en la barra superior: ejecute %1</translation>
    </message>
    <message>
        <source>To get them, add a tray to your panel: the Notification Area or System Tray applet, or run a tray such as trayer or stalonetray. The icon docks there by itself; if it does not, quit Tamsel and start it again.</source>
        <translation>Para verlos, añada una bandeja a su panel: el applet Área de notificación o Bandeja del sistema, o ejecute una bandeja como trayer o stalonetray. El icono se coloca allí solo; si no lo hace, salga de Tamsel y vuelva a iniciarlo.</translation>
    </message>
    <message>
        <source>Tamsel is running and will remind you to take breaks as usual.

This desktop has no system tray (notification area), so Tamsel&apos;s icon and menu cannot be shown. %1

&quot;Check my desktop…&quot; tells what else this desktop lacks and how to add it. Until then, these buttons do what the menu would:</source>
        <translation>Tamsel está en marcha y le recordará tomar descansos como siempre.

Este escritorio no tiene bandeja del sistema (área de notificación), así que el icono y el menú de Tamsel no se pueden mostrar. %1

«Comprobar mi escritorio…» indica qué más le falta a este escritorio y cómo añadirlo. Mientras tanto, estos botones hacen lo mismo que el menú:</translation>
    </message>
    <message>
        <source>%1 Choose &quot;Check my desktop…&quot; in Tamsel&apos;s menu for what to do.</source>
        <translation>%1 Elija «Comprobar mi escritorio…» en el menú de Tamsel para saber qué hacer.</translation>
    </message>
    <message>
        <source>Tamsel: no tray found</source>
        <translation>Tamsel: no se encontró la bandeja del sistema</translation>
    </message>
    <message>
        <source>Use a compositor with layer-shell (zwlr_layer_shell_v1): KDE Plasma, sway or Hyprland</source>
        <translation>Use un compositor con layer-shell (zwlr_layer_shell_v1): KDE Plasma, sway o Hyprland</translation>
    </message>
    <message>
        <source>X11 windows on XWayland</source>
        <translation>ventanas X11 en XWayland</translation>
    </message>
    <message>
        <source>X11 windows</source>
        <translation>ventanas X11</translation>
    </message>
    <message>
        <source>layer-shell surfaces</source>
        <translation>superficies layer-shell</translation>
    </message>
    <message>
        <source>the GNOME Shell extension</source>
        <translation>la extensión de GNOME Shell</translation>
    </message>
    <message>
        <source>Run: %1 (if Tamsel was installed during this session, log out and back in first)</source>
        <translation>Ejecute: %1 (si Tamsel se instaló durante esta sesión, cierre la sesión y vuelva a entrar antes)</translation>
    </message>
    <message>
        <source>Idle time: from %1</source>
        <translation>Tiempo de inactividad: desde %1</translation>
    </message>
    <message>
        <source>Use an X server with the screen saver extension (MIT-SCREEN-SAVER), as Xorg has</source>
        <translation>Use un servidor X con la extensión de salvapantallas (MIT-SCREEN-SAVER), como la de Xorg</translation>
    </message>
    <message>
        <source>Log out and back in: GNOME&apos;s idle monitor (org.gnome.Mutter.IdleMonitor) did not answer</source>
        <translation>Cierre la sesión y vuelva a entrar: el monitor de inactividad de GNOME (org.gnome.Mutter.IdleMonitor) no respondió</translation>
    </message>
    <message>
        <source>Use a compositor with ext-idle-notify-v1 or org_kde_kwin_idle: KDE Plasma, sway or Hyprland</source>
        <translation>Use un compositor con ext-idle-notify-v1 u org_kde_kwin_idle: KDE Plasma, sway o Hyprland</translation>
    </message>
    <message>
        <source>Idle time: no source answers, so a break comes after every work period, even when you were away</source>
        <translation>Tiempo de inactividad: ninguna fuente responde, así que llega un descanso tras cada periodo de trabajo, aunque usted no estuviera</translation>
    </message>
    <message>
        <source>Menu: in the top bar, from Tamsel&apos;s GNOME Shell extension</source>
        <translation>Menú: en la barra superior, desde la extensión de GNOME Shell de Tamsel</translation>
    </message>
    <message>
        <source>Menu: in the menu bar</source>
        <translation>Menú: en la barra de menús</translation>
    </message>
    <message>
        <source>Menu: in the tray (a StatusNotifierItem host)</source>
        <translation>Menú: en la bandeja (un anfitrión StatusNotifierItem)</translation>
    </message>
    <message>
        <source>Menu: in the tray (an XEmbed system tray)</source>
        <translation>Menú: en la bandeja (una bandeja del sistema XEmbed)</translation>
    </message>
    <message>
        <source>Menu: no tray found; its commands are only on the no-tray notice</source>
        <translation>Menú: no se encontró la bandeja; sus órdenes solo están en el aviso que la sustituye</translation>
    </message>
    <message>
        <source>Add the System Tray widget to a panel</source>
        <translation>Añada el elemento gráfico Bandeja del sistema a un panel</translation>
    </message>
    <message>
        <source>Add a tray to your bar: swaybar&apos;s tray, or waybar&apos;s tray module</source>
        <translation>Añada una bandeja a su barra: la de swaybar o el módulo tray de waybar</translation>
    </message>
    <message>
        <source>Add a notification area (system tray) to your panel, or run trayer or stalonetray</source>
        <translation>Añada un área de notificación (bandeja del sistema) a su panel, o ejecute trayer o stalonetray</translation>
    </message>
    <message>
        <source>Indicator: %1; clicks pass through it, above all windows</source>
        <translation>Indicador: %1; los clics lo atraviesan, por encima de todas las ventanas</translation>
    </message>
    <message>
        <source>Indicator: %1; it catches the clicks meant for the native windows beneath it</source>
        <translation>Indicador: %1; captura los clics destinados a las ventanas nativas que hay debajo</translation>
    </message>
    <message>
        <source>Break windows: %1; they cover every screen, above all windows, and hold the mouse and keyboard</source>
        <translation>Ventanas de descanso: %1; cubren todas las pantallas, por encima de todas las ventanas, y retienen el ratón y el teclado</translation>
    </message>
    <message>
        <source>Break windows: %1; GNOME keeps them above all windows, with the mouse and keyboard</source>
        <translation>Ventanas de descanso: %1; GNOME las mantiene por encima de todas las ventanas, con el ratón y el teclado</translation>
    </message>
    <message>
        <source>Break windows: %1; a native window can take the keyboard during a break</source>
        <translation>Ventanas de descanso: %1; una ventana nativa puede quedarse con el teclado durante un descanso</translation>
    </message>
    <message>
        <source>Desktop notifications: a notification server answers, for the heads-up a minute before a break</source>
        <translation>Notificaciones del escritorio: un servidor de notificaciones responde, para el aviso un minuto antes de un descanso</translation>
    </message>
    <message>
        <source>Desktop notifications: no notification server, so no heads-up before a break</source>
        <translation>Notificaciones del escritorio: no hay servidor de notificaciones, así que no hay aviso antes de un descanso</translation>
    </message>
    <message>
        <source>Install a notification daemon such as dunst or mako (GNOME and KDE bring their own)</source>
        <translation>Instale un servicio de notificaciones como dunst o mako (GNOME y KDE traen el suyo)</translation>
    </message>
    <message>
        <source>Start at login: Tamsel starts when you log in</source>
        <translation>Inicio al entrar: Tamsel se inicia al iniciar sesión</translation>
    </message>
    <message>
        <source>Start at login: off, so no reminders until you start Tamsel</source>
        <translation>Inicio al entrar: desactivado, así que no hay recordatorios hasta que inicie Tamsel</translation>
    </message>
    <message>
        <source>Tick &quot;Start Tamsel when I log in&quot; in Preferences</source>
        <translation>Marque «Iniciar Tamsel al iniciar sesión» en las Preferencias</translation>
    </message>
    <message>
        <source>What Tamsel finds on this desktop:</source>
        <translation>Lo que Tamsel encuentra en este escritorio:</translation>
    </message>
    <message>
        <source>Check again</source>
        <translation>Volver a comprobar</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Cerrar</translation>
    </message>
    <message>
        <source>Tamsel: setup check</source>
        <translation>Tamsel: comprobación del escritorio</translation>
    </message>
    <message>
        <source>Tamsel cannot tell when you are away from the keyboard: no idle service of this desktop answered (%1). Until one does, it counts you as active, so a break comes after every work period, even when you were away.</source>
        <translation>Tamsel no puede saber cuándo está lejos del teclado: ningún servicio de inactividad de este escritorio respondió (%1). Mientras tanto, le considera activo, así que llega un descanso tras cada periodo de trabajo, aunque usted no estuviera.</translation>
    </message>
    <message>
        <source>Tamsel cannot save its settings: %1 cannot be written (its folder is missing, read-only or not a folder). Tamsel runs with the settings it has, but changes made now are lost when it quits.</source>
        <translation>Tamsel no puede guardar su configuración: no se puede escribir %1 (su carpeta falta, es de solo lectura o no es una carpeta). Tamsel sigue con la configuración que tiene, pero los cambios que haga ahora se perderán al salir.</translation>
    </message>
    <message>
        <source>Tamsel does not use its settings file %1: %2. It keeps reminding you with its first settings, and changes made now are lost when it quits.</source>
        <translation>Tamsel no usa su archivo de configuración %1: %2. Sigue recordándole los descansos con su configuración inicial, y los cambios que haga ahora se perderán al salir.</translation>
    </message>
    <message>
        <source>Tamsel&apos;s setting %1 in %2 holds bytes that are not UTF-8 text, so it cannot be typed to match. Correct or remove that line.</source>
        <translation>El ajuste %1 de Tamsel en %2 contiene bytes que no son texto UTF-8, así que no se puede teclear igual. Corrija o elimine esa línea.</translation>
    </message>
    <message>
        <source>Time for a break</source>
        <translation>Hora de un descanso</translation>
    </message>
    <message>
        <source>Look into the distance, stretch, breathe.</source>
        <translation>Mire a lo lejos, estírese, respire.</translation>
    </message>
    <message>
        <source>minutes</source>
        <translation>minutos</translation>
    </message>
    <message>
        <source>&amp;Work period:</source>
        <translation>Periodo de &amp;trabajo:</translation>
    </message>
    <message>
        <source>&amp;Break length:</source>
        <translation>Duración del &amp;descanso:</translation>
    </message>
    <message>
        <source>Allow s&amp;noozing a break for a minute</source>
        <translation>Permitir &amp;posponer un descanso un minuto</translation>
    </message>
    <message>
        <source>Start breaks see-&amp;through (double-click to dim)</source>
        <translation>Empezar los descansos transpar&amp;entes (doble clic para oscurecer)</translation>
    </message>
    <message>
        <source>&amp;Position:</source>
        <translation>Posi&amp;ción:</translation>
    </message>
    <message>
        <source>Show it &amp;always</source>
        <translation>Mostrarla &amp;siempre</translation>
    </message>
    <message>
        <source>Show it &amp;only when a break is near</source>
        <translation>Mostrarla s&amp;olo cuando se acerque un descanso</translation>
    </message>
    <message>
        <source>Passwor&amp;d:</source>
        <translation>Co&amp;ntraseña:</translation>
    </message>
    <message>
        <source>&amp;Confirm:</source>
        <translation>Con&amp;firmar:</translation>
    </message>
    <message>
        <source>Asked at start and before Preferences, Pause, Skip and Quit.
Leave both fields empty for no child lock.</source>
        <translation>Se pide al iniciar y antes de Preferencias,
Pausar, Saltar y Salir.
Ambos campos vacíos: sin control parental.</translation>
    </message>
    <message>
        <source>Tell me a &amp;minute before a break</source>
        <translation>Avisarme un &amp;minuto antes de un descanso</translation>
    </message>
    <message>
        <source>Play a so&amp;und when a break starts and ends</source>
        <translation>Reproducir un son&amp;ido al empezar y al terminar un descanso</translation>
    </message>
    <message>
        <source>Cover &amp;every screen during a break</source>
        <translation>C&amp;ubrir todas las pantallas durante un descanso</translation>
    </message>
    <message>
        <source>Start Tamsel when I &amp;log in</source>
        <translation>Iniciar Tamsel a&amp;l iniciar sesión</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Ayuda</translation>
    </message>
    <message>
        <source>Tamsel web site</source>
        <translation>Sitio web de Tamsel</translation>
    </message>
    <message>
        <source>Opens the Tamsel web site in your browser</source>
        <translation>Abre el sitio web de Tamsel en su navegador</translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation>&amp;Guardar</translation>
    </message>
    <message>
        <source>Work and breaks</source>
        <translation>Trabajo y descansos</translation>
    </message>
    <message>
        <source>Progress bar</source>
        <translation>Barra de progreso</translation>
    </message>
    <message>
        <source>Around a break</source>
        <translation>En torno al descanso</translation>
    </message>
    <message>
        <source>Starting</source>
        <translation>Inicio</translation>
    </message>
    <message>
        <source>Child lock</source>
        <translation>Control parental</translation>
    </message>
    <message>
        <source>Tamsel reminds you to rest now and then. While you type and use the mouse it fills a small row of squares in a corner of the screen; when a work period is done it dims your screens for a short break. Time away from the keyboard counts as rest.</source>
        <translation>Tamsel le recuerda descansar de vez en cuando. Mientras escribe y usa el ratón, llena una pequeña fila de cuadrados en una esquina de la pantalla; cuando termina un periodo de trabajo, oscurece sus pantallas para un breve descanso. El tiempo lejos del teclado cuenta como descanso.</translation>
    </message>
    <message>
        <source>Its icon, a white cup, lives in the system tray (the notification area of your panel). Click it for Preferences, a break now, a pause, and more. If your desktop shows no tray, Tamsel still reminds you; add a system tray or notification area to your panel to reach its menu.</source>
        <translation>Su icono, una taza blanca, está en la bandeja del sistema (el área de notificación de su panel). Púlselo para las Preferencias, un descanso inmediato, una pausa y más. Si su escritorio no muestra bandeja, Tamsel le avisa igualmente; añada una bandeja del sistema o un área de notificación a su panel para llegar a su menú.</translation>
    </message>
    <message>
        <source>On GNOME, turn on Tamsel&apos;s extension for its menu in the top bar and an indicator that lets your clicks through:
%1</source>
        <translation>En GNOME, active la extensión de Tamsel para tener su menú en la barra superior y un indicador que deja pasar sus clics:
%1</translation>
    </message>
    <message>
        <source>Start Tamsel when I log in</source>
        <translation>Iniciar Tamsel al iniciar sesión</translation>
    </message>
    <message>
        <source>Done</source>
        <translation>Hecho</translation>
    </message>
    <message>
        <source>Passwords don&apos;t match. Please correct them and try again.</source>
        <translation>Las contraseñas no coinciden. Corríjalas y vuelva a intentarlo.</translation>
    </message>
    <message>
        <source>Tamsel could not set itself to start when you log in.</source>
        <translation>Tamsel no pudo configurarse para iniciarse al iniciar sesión.</translation>
    </message>
    <message>
        <source>Tamsel could not stop starting when you log in.</source>
        <translation>Tamsel no pudo dejar de iniciarse al iniciar sesión.</translation>
    </message>
    <message>
        <source>Top Left</source>
        <translation>Arriba a la izquierda</translation>
    </message>
    <message>
        <source>Top Center</source>
        <translation>Arriba en el centro</translation>
    </message>
    <message>
        <source>Top Right</source>
        <translation>Arriba a la derecha</translation>
    </message>
    <message>
        <source>Bottom Left</source>
        <translation>Abajo a la izquierda</translation>
    </message>
    <message>
        <source>Bottom Center</source>
        <translation>Abajo en el centro</translation>
    </message>
    <message>
        <source>Bottom Right</source>
        <translation>Abajo a la derecha</translation>
    </message>
    <message>
        <source>is a symbolic link</source>
        <translation>es un enlace simbólico</translation>
    </message>
    <message>
        <source>belongs to another user</source>
        <translation>pertenece a otro usuario</translation>
    </message>
    <message>
        <source>cannot be made or read</source>
        <translation>no se puede crear ni leer</translation>
    </message>
    <message>
        <source>is not a folder</source>
        <translation>no es una carpeta</translation>
    </message>
    <message>
        <source>cannot be made owner-only</source>
        <translation>no se puede reservar solo a su propietario</translation>
    </message>
    <message>
        <source>cannot be read</source>
        <translation>no se puede leer</translation>
    </message>
    <message>
        <source>is not a plain file</source>
        <translation>no es un archivo normal</translation>
    </message>
    <message>
        <source>its folder %1 %2</source>
        <translation>su carpeta %1 %2</translation>
    </message>
    <message>
        <source>it %1</source>
        <translation>el archivo %1</translation>
    </message>
    <message>
        <source>the macOS event source</source>
        <translation>la fuente de eventos de macOS</translation>
    </message>
    <message>
        <source>the Wayland idle protocols (ext-idle-notify-v1, org_kde_kwin_idle)</source>
        <translation>los protocolos de inactividad de Wayland (ext-idle-notify-v1, org_kde_kwin_idle)</translation>
    </message>
    <message>
        <source>the X screen saver extension</source>
        <translation>la extensión de salvapantallas del servidor X</translation>
    </message>
    <message>
        <source>the Wayland idle protocols</source>
        <translation>los protocolos de inactividad de Wayland</translation>
    </message>
    <message>
        <source>Statistics…</source>
        <translation>Estadísticas…</translation>
    </message>
    <message>
        <source>Break waiting for full screen to end</source>
        <translation>Descanso a la espera de que termine la pantalla completa</translation>
    </message>
    <message>
        <source>Break waiting for do-not-disturb to end</source>
        <translation>Descanso a la espera de que termine el modo No molestar</translation>
    </message>
    <message>
        <source>Break waiting for your call to end</source>
        <translation>Descanso a la espera de que termine su llamada</translation>
    </message>
    <message>
        <source>Sun</source>
        <translation>dom</translation>
    </message>
    <message>
        <source>Mon</source>
        <translation>lun</translation>
    </message>
    <message>
        <source>Tue</source>
        <translation>mar</translation>
    </message>
    <message>
        <source>Wed</source>
        <translation>mié</translation>
    </message>
    <message>
        <source>Thu</source>
        <translation>jue</translation>
    </message>
    <message>
        <source>Fri</source>
        <translation>vie</translation>
    </message>
    <message>
        <source>Sat</source>
        <translation>sáb</translation>
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
        <translation>No se pudo exportar el historial: %1</translation>
    </message>
    <message>
        <source>Tamsel Statistics</source>
        <translation>Estadísticas de Tamsel</translation>
    </message>
    <message>
        <source>A break in 30 seconds</source>
        <translation>Un descanso dentro de 30 segundos</translation>
    </message>
    <message>
        <source>could not be read</source>
        <translation>no se pudo leer</translation>
    </message>
    <message>
        <source>%1 cannot be opened</source>
        <translation>no se puede abrir %1</translation>
    </message>
    <message>
        <source>Tamsel&apos;s history %1 %2. It is kept as %3, and a fresh history starts now.</source>
        <translation>El historial de Tamsel %1 %2. Se conserva como %3 y ahora empieza un historial nuevo.</translation>
    </message>
    <message>
        <source>Tamsel does not keep its history on disk this time: %1. The statistics show what happens until Tamsel quits.</source>
        <translation>Esta vez Tamsel no guarda su historial en el disco: %1. Las estadísticas muestran lo que ocurra hasta que Tamsel se cierre.</translation>
    </message>
    <message>
        <source>The disk is full: Tamsel&apos;s history %1 cannot grow, so what happens now is not kept. The reminders go on as before.</source>
        <translation>El disco está lleno: el historial de Tamsel %1 no puede crecer, así que lo que ocurra ahora no se guarda. Los recordatorios siguen como antes.</translation>
    </message>
    <message>
        <source>Tamsel could not write its history %1 (%2). The reminders go on as before; what could not be written is not kept.</source>
        <translation>Tamsel no pudo escribir su historial %1 (%2). Los recordatorios siguen como antes; lo que no se pudo escribir no se guarda.</translation>
    </message>
    <message>
        <source>Export the history</source>
        <translation>Exportar el historial</translation>
    </message>
    <message>
        <source>CSV files (*.csv)</source>
        <translation>Archivos CSV (*.csv)</translation>
    </message>
    <message>
        <source>Wait wh&amp;ile I&apos;m on a call (camera or microphone in use)</source>
        <translation>Esperar si esto&amp;y en una llamada (cámara o micrófono en uso)</translation>
    </message>
    <message>
        <source>Wait while a program is &amp;full screen</source>
        <translation>Espe&amp;rar mientras un programa esté a pantalla completa</translation>
    </message>
    <message>
        <source>Wait while do-not-distu&amp;rb is on</source>
        <translation>Esperar con el modo No molestar acti&amp;vado</translation>
    </message>
    <message>
        <source>A due break waits</source>
        <translation>Un descanso pendiente espera</translation>
    </message>
    <message>
        <source>Active time</source>
        <translation>Tiempo activo</translation>
    </message>
    <message>
        <source>Breaks taken</source>
        <translation>Descansos tomados</translation>
    </message>
    <message>
        <source>Breaks snoozed</source>
        <translation>Descansos pospuestos</translation>
    </message>
    <message>
        <source>Work periods skipped</source>
        <translation>Periodos de trabajo saltados</translation>
    </message>
    <message>
        <source>Paused</source>
        <translation>En pausa</translation>
    </message>
    <message>
        <source>This week, breaks taken in full:</source>
        <translation>Esta semana, descansos completos:</translation>
    </message>
    <message>
        <source>Active time per day, the last 14 days</source>
        <translation>Tiempo activo por día, los últimos 14 días</translation>
    </message>
    <message>
        <source>active time</source>
        <translation>tiempo activo</translation>
    </message>
    <message>
        <source>breaks taken</source>
        <translation>descansos tomados</translation>
    </message>
    <message>
        <source>breaks missed (snoozed or skipped)</source>
        <translation>descansos perdidos (pospuestos o saltados)</translation>
    </message>
    <message>
        <source>&amp;Export…</source>
        <translation>&amp;Exportar…</translation>
    </message>
    <message>
        <source>Saves the whole history as a CSV file</source>
        <translation>Guarda todo el historial como archivo CSV</translation>
    </message>
    <message>
        <source>Today</source>
        <translation>Hoy</translation>
    </message>
    <message>
        <source>Active time, the last 14 days</source>
        <translation>Tiempo activo, los últimos 14 días</translation>
    </message>
    <message>
        <source>call</source>
        <translation>llamada</translation>
    </message>
    <message>
        <source>full screen</source>
        <translation>pantalla completa</translation>
    </message>
    <message>
        <source>do not disturb</source>
        <translation>No molestar</translation>
    </message>
</context>
</TS>
