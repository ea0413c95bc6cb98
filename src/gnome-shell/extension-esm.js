// Tamsel's extension for GNOME Shell 45 and later (ES modules).

import Gio from 'gi://Gio';
import GLib from 'gi://GLib';
import St from 'gi://St';

import {Extension} from 'resource:///org/gnome/shell/extensions/extension.js';
import * as Main from 'resource:///org/gnome/shell/ui/main.js';
import * as PanelMenu from 'resource:///org/gnome/shell/ui/panelMenu.js';
import * as PopupMenu from 'resource:///org/gnome/shell/ui/popupMenu.js';

// @TAMSEL_SHARED@

export default class TamselExtension extends Extension {
    enable() {
        this._tamsel = new Tamsel(this.path);
        this._tamsel.enable();
    }

    disable() {
        this._tamsel?.disable();
        this._tamsel = null;
    }
}
