// Tamsel's extension for GNOME Shell 43 and 44 (imports.*).

const {Gio, GLib, St} = imports.gi;
const ExtensionUtils = imports.misc.extensionUtils;
const Main = imports.ui.main;
const PanelMenu = imports.ui.panelMenu;
const PopupMenu = imports.ui.popupMenu;

// @TAMSEL_SHARED@

class TamselExtension {
    enable() {
        this._tamsel = new Tamsel(ExtensionUtils.getCurrentExtension().path);
        this._tamsel.enable();
    }

    disable() {
        this._tamsel?.disable();
        this._tamsel = null;
    }
}

function init() {
    return new TamselExtension();
}
