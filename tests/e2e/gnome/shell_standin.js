// A stand-in GNOME Shell for the extension's shared code (put in below by
// the story, as the build does for the real variants): real Gio and GLib on
// the story's session bus, recording stand-ins for St, Main, PanelMenu and
// PopupMenu. It also listens on a Wayland socket path without speaking
// Wayland: Tamsel takes whoever listens there for its compositor.
//
//   stdout: "selftest ok" | "selftest FAIL …", "ready", then "model <json>"
//           after every change the extension shows, "gone" when Tamsel left
//   stdin:  "choose <title>" clicks a menu item, "disable"

import Gio from 'gi://Gio';
import GLib from 'gi://GLib';

class Actor {
    constructor(props = {}) {
        Object.assign(this, {visible: true, x: 0, y: 0, text: '', style: '', handlers: []}, props);
    }

    connect(signal, fn) { return this.handlers.push([signal, fn]); }
    emit(signal) { this.handlers.filter(([s]) => s === signal).forEach(([, fn]) => fn()); }
    destroy() { this.destroyed = true; }
    add_child() {}
}

class Menu {
    constructor() { this.items = []; }
    addMenuItem(item) { this.items.push(item); }
    removeAll() { this.items = []; }
}

class MenuItem extends Actor {
    constructor(title = '') { super({title, sensitive: true}); }
    setSensitive(sensitive) { this.sensitive = sensitive; }
}

const St = {
    Label: class extends Actor {
        set_text(text) { this.text = text; }
        set_style(style) { this.style = style; }
        get_preferred_width() { return [0, 14 * Array.from(this.text).length]; }
        get_preferred_height() { return [0, 26]; }
        set_position(x, y) { [this.x, this.y] = [x, y]; }
    },
    Icon: Actor,
};
const PopupMenu = {
    PopupMenuItem: MenuItem,
    PopupSeparatorMenuItem: MenuItem,
    PopupSubMenuMenuItem: class extends MenuItem { menu = new Menu(); },
};
const PanelMenu = {Button: class extends Actor { menu = new Menu(); }};

const WORK_AREA = {x: 0, y: 32, width: 1920, height: 1048};  // below a 32 px top bar
const chrome = [];
const statusArea = {};
const Main = {
    layoutManager: {
        primaryIndex: 0,
        addTopChrome(actor, params) { chrome.push({actor, params}); },
        getWorkAreaForMonitor() { return WORK_AREA; },
        connect() { return 1; },
        disconnect() {},
    },
    panel: {
        addToStatusArea(role, button) { statusArea[role] = button; },
    },
};
const global = {display: {connect() { return 1; }, disconnect() {}}};

// @TAMSEL_SHARED@

// ---- the pure parts, on hostile values ----------------------------------------

function selftest() {
    const failures = [];
    const expect = (what, got, want) => {
        if (JSON.stringify(got) !== JSON.stringify(want))
            failures.push(`${what}: ${JSON.stringify(got)}, not ${JSON.stringify(want)}`);
    };
    const V = (type, value) => new GLib.Variant(type, value);
    const hostile = readModel({
        IndicatorText: V('s', `<b>x</b>\n${'y'.repeat(500)}`),
        IndicatorColor: V('(dddd)', [2, -1, NaN, 0.5]),
        IndicatorCorner: V('i', 9),
        Menu: V('a(ssba(ssb))', Array.from({length: 100}, (_, i) => [`T${i}`, 'a:', true, []])),
    });
    expect('hostile values', [hostile.text, hostile.color, hostile.corner, hostile.menu.length],
        [`<b>x</b> ${'y'.repeat(55)}`, [1, 0, 0, 0.5], 5, 32]);
    expect('wrong types read as absent', readModel({
        IndicatorText: V('i', 3), IndicatorColor: V('ad', [1, 1, 1, 1]),
        IndicatorCorner: V('s', '0'), Menu: V('as', ['Quit']),
    }), {state: '', text: '', color: [0, 0, 0, 0], corner: 5, menu: []});
    expect('corner -1', readModel({IndicatorCorner: V('i', -1)}).corner, 5);
    expect('corners in the work area',
        [0, 1, 2, 3, 4, 5].map(c => cornerPosition(c, WORK_AREA, 100, 26)),
        [[0, 52], [910, 52], [1820, 52], [0, 1054], [910, 1054], [1820, 1054]]);
    expect('gjs is not Tamsel', isTamselProcess(new Gio.Credentials().get_unix_pid()), false);
    print(failures.length ? `selftest FAIL ${failures.join('; ')}` : 'selftest ok');
}

// ---- the live part -------------------------------------------------------------

function snapshot() {
    const {actor: label, params} = chrome.find(c => !c.actor.destroyed) ?? {};
    const button = statusArea.tamsel?.destroyed ? null : statusArea.tamsel;
    const items = menu => menu.items.map(i => ({title: i.title, sensitive: i.sensitive,
        ...(i.menu ? {submenu: items(i.menu)} : {})}));
    return {
        indicator: label ? {text: label.text, style: label.style, x: label.x, y: label.y,
            visible: label.visible, reactive: label.reactive,
            affectsInputRegion: params.affectsInputRegion} : null,
        menu: button ? items(button.menu) : null,
    };
}

const listener = Gio.Socket.new(Gio.SocketFamily.UNIX, Gio.SocketType.STREAM,
    Gio.SocketProtocol.DEFAULT);
listener.bind(Gio.UnixSocketAddress.new(GLib.getenv('TAMSEL_FAKE_WAYLAND')), true);
listener.listen();
selftest();

const extension = new Tamsel('/nonexistent');
const show = extension._show.bind(extension);
extension._show = model => {
    show(model);
    print(model ? `model ${JSON.stringify(snapshot())}` : 'gone');
};
extension.enable();

const loop = new GLib.MainLoop(null, false);
const input = new Gio.DataInputStream({base_stream: new Gio.UnixInputStream({fd: 0})});
const readCommand = () => input.read_line_async(GLib.PRIORITY_DEFAULT, null, (stream, result) => {
    const [line] = stream.read_line_finish_utf8(result);
    if (line?.startsWith('choose ')) {
        const item = statusArea.tamsel.menu.items.find(i => i.title === line.slice(7));
        item?.emit('activate');
        print(item ? 'chosen' : `no item ${line.slice(7)}`);
    } else if (line === 'disable') {
        extension.disable();
        print('disabled');
    }
    if (line === null)
        loop.quit();
    else
        readCommand();
});
readCommand();
print('ready');
loop.run();
