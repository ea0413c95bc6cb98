// Input for the stories on headless mutter, through its RemoteDesktop D-Bus
// API. The session belongs to the connection that made it, so this stays
// running: one command a line on stdin, "ok" or "error" on stdout.
//   move X Y | click X Y [BUTTON] | key KEYCODE   (buttons 1 left, 2 middle, 3 right; evdev keys)

const {Gio, GLib} = imports.gi;

const NAME = 'org.gnome.Mutter.RemoteDesktop';
const BUTTONS = [0x110, 0x112, 0x111];  // BTN_LEFT, BTN_MIDDLE, BTN_RIGHT
const call = (path, iface, method, signature, ...args) => Gio.DBus.session.call_sync(
    NAME, path, iface, method, signature ? new GLib.Variant(signature, args) : null, null, 0,
    -1, null).deep_unpack();
const [session] = call('/org/gnome/Mutter/RemoteDesktop', NAME, 'CreateSession');
const send = (method, signature, ...args) => call(session, `${NAME}.Session`, method, signature, ...args);
const press = (method, signature, code) => [true, false].forEach(down => send(method, signature, code, down));
send('Start');
// Mutter 43 loses the first key after its virtual keyboard appears: make it appear now (Shift).
press('NotifyKeyboardKeycode', '(ub)', 42);
print('ready');

const input = new Gio.DataInputStream({base_stream: new Gio.UnixInputStream({fd: 0})});
for (let [line] = input.read_line_utf8(null); line !== null; [line] = input.read_line_utf8(null)) {
    const [what, x, y, b = 1] = line.split(' ').map((w, i) => (i ? Number(w) : w));
    try {
        if (what === 'move' || what === 'click') {
            // Absolute motion needs a screen-cast stream: to the corner, then there.
            send('NotifyPointerMotionRelative', '(dd)', -5000, -5000);
            send('NotifyPointerMotionRelative', '(dd)', x, y);
            if (what === 'click')
                press('NotifyPointerButton', '(ib)', BUTTONS[b - 1]);
        } else if (what === 'key') {
            press('NotifyKeyboardKeycode', '(ub)', x);
        } else {
            throw new Error(what);
        }
        print('ok');
    } catch (e) {
        print('error');
    }
}
send('Stop');
