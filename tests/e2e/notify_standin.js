// A stand-in notification server for the end-to-end stories: owns
// org.freedesktop.Notifications on the session bus it is given and prints
// "ready", then one line per Notify call ("Notify<TAB>app<TAB>summary<TAB>body").

const {Gio, GLib} = imports.gi;

const XML = `<node><interface name="org.freedesktop.Notifications">
  <method name="Notify">
    <arg type="s"/><arg type="u"/><arg type="s"/><arg type="s"/><arg type="s"/>
    <arg type="as"/><arg type="a{sv}"/><arg type="i"/><arg type="u" direction="out"/>
  </method>
  <method name="GetCapabilities"><arg type="as" direction="out"/></method>
</interface></node>`;

let last = 0;
// Held for the whole run: a collected wrapper takes the object off the bus.
const server = Gio.DBusExportedObject.wrapJSObject(XML, {
    Notify(app, replaces, icon, summary, body) {
        print(['Notify', app, summary, body].join('\t'));
        return ++last;
    },
    GetCapabilities: () => ['body'],
});
server.export(Gio.DBus.session, '/org/freedesktop/Notifications');
Gio.bus_own_name(Gio.BusType.SESSION, 'org.freedesktop.Notifications', 0, null,
    () => print('ready'), () => imports.system.exit(1));
new GLib.MainLoop(null, false).run();
