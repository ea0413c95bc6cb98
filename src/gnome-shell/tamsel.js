// Tamsel in GNOME Shell: the indicator as a non-reactive actor in the chosen
// corner and Tamsel's menu in the top bar, both driven by Tamsel's own
// interface org.tamsel.Tamsel on the session bus.
//
// Shared by both variants of the extension: the build puts this file between
// the imports of GNOME Shell 45+ (ES modules) or of 43 and 44 (imports.*),
// which provide Gio, GLib, St, Main, PanelMenu and PopupMenu.
//
// Whatever comes over the bus is only data: texts are set as plain text,
// never as markup; every number is clamped before it is drawn; every call is
// asynchronous with a time-out, so a stalled Tamsel never holds up the shell.

const TAMSEL_NAME = 'org.tamsel.Tamsel';
const TAMSEL_PATH = '/org/tamsel/Tamsel';
const TAMSEL_INTERFACE = 'org.tamsel.Tamsel';
// Owned while the extension runs: Tamsel then hides its own indicator window.
const SHELL_NAME = 'org.tamsel.Tamsel.Shell';

const CALL_TIMEOUT_MS = 2000;
// A menu command may wait for Tamsel's password box.
const CHOOSE_TIMEOUT_MS = 120000;
const MAX_TEXT = 64;
const MAX_ITEMS = 32;
// As Tamsel's own indicator: 20 pixels below the top edge of the work area.
const TOP_MARGIN = 20;

function plainText(value, max) {
    if (typeof value !== 'string')
        return '';
    // eslint-disable-next-line no-control-regex
    return Array.from(value.replace(/[\u0000-\u001f\u007f]/g, ' ')).slice(0, max).join('');
}

function clamp(value, low, high) {
    return typeof value === 'number' && Number.isFinite(value)
        ? Math.min(high, Math.max(low, value)) : low;
}

function readItems(items, depth) {
    return items.slice(0, MAX_ITEMS).map(([title, action, enabled, submenu]) => ({
        title: plainText(title, MAX_TEXT),
        action: plainText(action, MAX_TEXT),
        enabled: enabled === true,
        submenu: depth === 0 && Array.isArray(submenu) ? readItems(submenu, 1) : [],
    }));
}

// Tamsel's properties (name -> GLib.Variant) as what the shell draws. A
// property of another type than Tamsel's reads as absent.
function readModel(props) {
    const get = (name, type) => {
        const v = props[name];
        return v instanceof GLib.Variant && v.get_type_string() === type
            ? v.recursiveUnpack() : undefined;
    };
    const color = get('IndicatorColor', '(dddd)') ?? [0, 0, 0, 0];
    const corner = get('IndicatorCorner', 'i');
    return {
        state: plainText(get('State', 's'), MAX_TEXT),
        text: plainText(get('IndicatorText', 's'), MAX_TEXT),
        color: color.map(c => clamp(c, 0, 1)),
        // Any other value means the bottom right, as in Tamsel.
        corner: Number.isInteger(corner) && corner >= 0 && corner <= 4 ? corner : 5,
        menu: readItems(get('Menu', 'a(ssba(ssb))') ?? [], 0),
    };
}

// Top left, top centre, top right, bottom left, bottom centre, bottom right.
function cornerPosition(corner, area, width, height) {
    const x = [area.x, area.x + Math.floor((area.width - width) / 2),
        area.x + area.width - width][corner % 3];
    const y = corner < 3 ? area.y + TOP_MARGIN : area.y + area.height - height;
    return [x, y];
}

function indicatorStyle(model) {
    const [r, g, b, a] = model.color;
    const rgb = [r, g, b].map(c => Math.round(c * 255)).join(', ');
    // A light rim for dark ink and a dark one for light ink, as Tamsel draws it.
    const rim = (Math.max(r, g, b) + Math.min(r, g, b)) / 2 < 0.6 ? '255, 255, 255' : '0, 0, 0';
    const bar = model.text.startsWith('\u25FC');
    return 'font-family: "DejaVu Sans", sans-serif; font-size: 17px; padding: 3px; ' +
        `font-weight: ${bar ? 'normal' : 'bold'}; letter-spacing: ${bar ? 3 : 0}px; ` +
        `color: rgba(${rgb}, ${a.toFixed(3)}); ` +
        `text-shadow: 0 0 2px rgba(${rim}, ${(a * 0.75).toFixed(3)});`;
}

// Only the real Tamsel's words are shown; any program could take its name.
function isTamselProcess(pid) {
    if (!Number.isInteger(pid) || pid <= 0)
        return false;
    try {
        const exe = GLib.file_read_link(`/proc/${pid}/exe`).replace(/ \(deleted\)$/, '');
        return GLib.path_get_basename(exe) === 'tamsel';
    } catch (e) {
        return false;
    }
}

// The bus side: follows Tamsel's properties and hands `changed` a fresh
// model, or null while no Tamsel runs.
class TamselClient {
    constructor(bus, changed) {
        this._bus = bus;
        this._changed = changed;
        this._generation = 0;
        this._owner = null;
        this._props = null;
        this._signalId = 0;
        this._cancellable = null;
        this._refused = new Set();
    }

    start() {
        this._ownId = Gio.bus_own_name_on_connection(this._bus, SHELL_NAME,
            Gio.BusNameOwnerFlags.NONE, null, null);
        this._watchId = Gio.bus_watch_name_on_connection(this._bus, TAMSEL_NAME,
            Gio.BusNameWatcherFlags.NONE,
            (bus, name, owner) => this._appeared(owner), () => this._vanished());
    }

    stop() {
        Gio.bus_unwatch_name(this._watchId);
        Gio.bus_unown_name(this._ownId);
        this._vanished();
        this._changed = () => {};
    }

    choose(action) {
        if (!this._owner)
            return;
        this._bus.call(this._owner, TAMSEL_PATH, TAMSEL_INTERFACE, 'ChooseMenuItem',
            new GLib.Variant('(s)', [action]), null, Gio.DBusCallFlags.NO_AUTO_START,
            CHOOSE_TIMEOUT_MS, null, (bus, result) => {
                try {
                    bus.call_finish(result);
                } catch (e) {
                    // Refused (a cancelled password box) or still waiting for
                    // one: Tamsel has told the user on screen.
                }
            });
    }

    _call(dest, path, iface, method, args, replyType, then) {
        this._bus.call(dest, path, iface, method, args, new GLib.VariantType(replyType),
            Gio.DBusCallFlags.NO_AUTO_START, CALL_TIMEOUT_MS, this._cancellable,
            (bus, result) => {
                let reply;
                try {
                    reply = bus.call_finish(result);
                } catch (e) {
                    if (!e.matches(Gio.IOErrorEnum, Gio.IOErrorEnum.CANCELLED))
                        console.warn(`Tamsel: ${method} failed: ${e.message}`);
                    return;
                }
                then(reply);
            });
    }

    _appeared(owner) {
        this._forget();
        const generation = this._generation;
        this._cancellable = new Gio.Cancellable();
        this._call('org.freedesktop.DBus', '/org/freedesktop/DBus', 'org.freedesktop.DBus',
            'GetConnectionUnixProcessID', new GLib.Variant('(s)', [owner]), '(u)', reply => {
                const [pid] = reply.deepUnpack();
                if (generation !== this._generation)
                    return;
                if (!isTamselProcess(pid)) {
                    if (!this._refused.has(pid))
                        console.warn(`Tamsel: ${TAMSEL_NAME} is process ${pid}'s, not Tamsel's`);
                    this._refused.add(pid);
                    return;
                }
                this._owner = owner;
                this._signalId = this._bus.signal_subscribe(owner,
                    'org.freedesktop.DBus.Properties', 'PropertiesChanged', TAMSEL_PATH,
                    TAMSEL_INTERFACE, Gio.DBusSignalFlags.NONE,
                    (bus, sender, path, iface, signal, params) => this._propertiesChanged(params));
                this._call(owner, TAMSEL_PATH, 'org.freedesktop.DBus.Properties', 'GetAll',
                    new GLib.Variant('(s)', [TAMSEL_INTERFACE]), '(a{sv})', all => {
                        if (generation !== this._generation)
                            return;
                        this._props = all.deepUnpack()[0];
                        this._changed(readModel(this._props));
                    });
            });
    }

    _propertiesChanged(params) {
        if (params.get_type_string() !== '(sa{sv}as)' || !this._props)
            return;
        const [iface, changed] = params.deepUnpack();
        if (iface !== TAMSEL_INTERFACE)
            return;
        Object.assign(this._props, changed);
        this._changed(readModel(this._props));
    }

    _forget() {
        this._generation++;
        this._cancellable?.cancel();
        this._cancellable = null;
        if (this._signalId)
            this._bus.signal_unsubscribe(this._signalId);
        this._signalId = 0;
        this._owner = null;
        this._props = null;
    }

    _vanished() {
        const shown = this._props !== null;
        this._forget();
        if (shown)
            this._changed(null);
    }
}

function fillMenu(menu, items, choose) {
    for (const item of items) {
        if (!item.title && !item.action) {
            menu.addMenuItem(new PopupMenu.PopupSeparatorMenuItem());
        } else if (item.submenu.length > 0) {
            const sub = new PopupMenu.PopupSubMenuMenuItem(item.title);
            sub.setSensitive(item.enabled);
            fillMenu(sub.menu, item.submenu, choose);
            menu.addMenuItem(sub);
        } else {
            const entry = new PopupMenu.PopupMenuItem(item.title);
            entry.setSensitive(item.enabled);
            entry.connect('activate', () => choose(item.action));
            menu.addMenuItem(entry);
        }
    }
}

// The shell side: the indicator actor and the top bar's menu.
class Tamsel {
    constructor(path) {
        this._path = path;
        this._label = null;
        this._button = null;
        this._model = null;
        this._menuKey = '';
    }

    enable() {
        this._client = new TamselClient(Gio.DBus.session, model => this._show(model));
        this._workAreas = global.display.connect('workareas-changed', () => this._place());
        this._monitors = Main.layoutManager.connect('monitors-changed', () => this._place());
        this._client.start();
    }

    disable() {
        global.display.disconnect(this._workAreas);
        Main.layoutManager.disconnect(this._monitors);
        this._client.stop();
        this._client = null;
        this._show(null);
    }

    _show(model) {
        this._model = model;
        if (!model) {
            this._label?.destroy();
            this._button?.destroy();
            this._label = this._button = null;
            this._menuKey = '';
            return;
        }
        if (!this._label) {
            this._label = new St.Label({name: 'tamsel-indicator', reactive: false,
                can_focus: false, track_hover: false});
            // Above the windows, and no part of the shell's input region:
            // clicks go to whatever lies beneath it.
            Main.layoutManager.addTopChrome(this._label, {affectsInputRegion: false});
            this._label.connect('notify::width', () => this._place());
            this._label.connect('notify::height', () => this._place());
        }
        this._label.set_text(model.text);
        this._label.set_style(indicatorStyle(model));
        // Tamsel's break windows cover the screen; its indicator is under them.
        this._label.visible = model.text !== '' && model.state !== 'break';
        this._place();

        if (!this._button) {
            this._button = new PanelMenu.Button(0.0, 'Tamsel', false);
            this._button.add_child(new St.Icon({
                gicon: Gio.icon_new_for_string(`${this._path}/icons/tamsel-symbolic.svg`),
                style_class: 'system-status-icon',
            }));
            Main.panel.addToStatusArea('tamsel', this._button);
        }
        const menuKey = JSON.stringify(model.menu);
        if (menuKey !== this._menuKey) {
            this._menuKey = menuKey;
            this._button.menu.removeAll();
            fillMenu(this._button.menu, model.menu, action => this._client?.choose(action));
        }
    }

    _place() {
        if (!this._label || !this._model)
            return;
        const area = Main.layoutManager.getWorkAreaForMonitor(Main.layoutManager.primaryIndex);
        const [, width] = this._label.get_preferred_width(-1);
        const [, height] = this._label.get_preferred_height(width);
        const [x, y] = cornerPosition(this._model.corner, area, width, height);
        this._label.set_position(Math.round(x), Math.round(y));
    }
}
