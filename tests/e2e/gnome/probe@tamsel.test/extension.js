// Tells a test story, over org.tamsel.Test.Probe on the session bus, what
// the shell shows of Tamsel's extension, and clicks its menu items.
// GNOME Shell 43 and 44; tests only.

const {Clutter, Gio} = imports.gi;
const Main = imports.ui.main;

// Each answer is JSON, so that the story reads it with the standard library.
const PROBE_XML = `<node><interface name="org.tamsel.Test.Probe">
  <method name="Indicator"><arg type="s" direction="out"/></method>
  <method name="Menu"><arg type="s" direction="out"/></method>
  <method name="Choose"><arg type="s" direction="in"/><arg type="b" direction="out"/></method>
</interface></node>`;

function findActor(actor, name) {
    if (actor.get_name() === name)
        return actor;
    for (const child of actor.get_children()) {
        const found = findActor(child, name);
        if (found)
            return found;
    }
    return null;
}

function menuItems() {
    const button = Main.panel.statusArea['tamsel'];
    return button ? button.menu._getMenuItems() : [];
}

function title(item) {
    return item.label ? item.label.get_text() : '';
}

class Probe {
    // The label as drawn, the work area, and whether a click there would
    // hit it and whether it is what is drawn there.
    Indicator() {
        const label = findActor(global.stage, 'tamsel-indicator');
        const area = Main.layoutManager.getWorkAreaForMonitor(Main.layoutManager.primaryIndex);
        if (!label)
            return JSON.stringify(null);
        const [x, y] = label.get_transformed_position();
        const [w, h] = label.get_transformed_size();
        const cx = Math.round(x + w / 2), cy = Math.round(y + h / 2);
        return JSON.stringify({
            text: label.get_text(), box: [x, y, w, h].map(Math.round),
            workArea: [area.x, area.y, area.width, area.height], visible: label.is_mapped(),
            onTop: global.stage.get_actor_at_pos(Clutter.PickMode.ALL, cx, cy) === label,
            clickThrough: global.stage.get_actor_at_pos(Clutter.PickMode.REACTIVE, cx, cy) !== label,
        });
    }

    Menu() {
        return JSON.stringify(menuItems().map(title));
    }

    Choose(wanted) {
        const item = menuItems().find(i => title(i) === wanted);
        if (item)
            item.activate(Clutter.get_current_event());
        return Boolean(item);
    }
}

class Extension {
    enable() {
        this._object = Gio.DBusExportedObject.wrapJSObject(PROBE_XML, new Probe());
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
