// Tells a test story, over org.tamsel.Test.Probe on the session bus, what
// the shell shows of Tamsel's extension, and clicks its menu items.
// GNOME Shell 43 and 44; tests only. Answers are JSON, for the standard library.

const {Clutter, Gio} = imports.gi;
const Main = imports.ui.main;

const PROBE_XML = `<node><interface name="org.tamsel.Test.Probe">
  <method name="Indicator"><arg type="s" direction="out"/></method>
  <method name="Menu"><arg type="s" direction="out"/></method>
  <method name="Choose"><arg type="s" direction="in"/><arg type="b" direction="out"/></method>
</interface></node>`;

const findActor = (actor, name) => actor.get_name() === name ? actor
    : actor.get_children().map(child => findActor(child, name)).find(Boolean) ?? null;
const menuItems = () => Main.panel.statusArea['tamsel']?.menu._getMenuItems() ?? [];
const title = item => item.label ? item.label.get_text() : '';

const probe = {
    // The label as drawn, the work area, and whether a click there would
    // hit it and whether it is what is drawn there.
    Indicator() {
        const label = findActor(global.stage, 'tamsel-indicator');
        if (!label)
            return 'null';
        const area = Main.layoutManager.getWorkAreaForMonitor(Main.layoutManager.primaryIndex);
        const [x, y] = label.get_transformed_position();
        const [w, h] = label.get_transformed_size();
        const cx = Math.round(x + w / 2), cy = Math.round(y + h / 2);
        return JSON.stringify({
            text: label.get_text(), box: [x, y, w, h].map(Math.round),
            workArea: [area.x, area.y, area.width, area.height], visible: label.is_mapped(),
            onTop: global.stage.get_actor_at_pos(Clutter.PickMode.ALL, cx, cy) === label,
            clickThrough: global.stage.get_actor_at_pos(Clutter.PickMode.REACTIVE, cx, cy) !== label,
        });
    },
    Menu: () => JSON.stringify(menuItems().map(title)),
    Choose(wanted) {
        const item = menuItems().find(i => title(i) === wanted);
        item?.activate(Clutter.get_current_event());
        return Boolean(item);
    },
};

class Extension {
    enable() {
        this._object = Gio.DBusExportedObject.wrapJSObject(PROBE_XML, probe);
        this._object.export(Gio.DBus.session, '/org/tamsel/Test/Probe');
        this._name = Gio.bus_own_name(Gio.BusType.SESSION, 'org.tamsel.Test.Probe',
            Gio.BusNameOwnerFlags.NONE, null, null, null);
    }

    disable() {
        Gio.bus_unown_name(this._name);
        this._object.unexport();
    }
}

function init() {
    return new Extension();
}
