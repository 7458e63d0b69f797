// Flash is installed, as far as a page can tell: navigator.plugins and navigator.mimeTypes carry
// the last Flash Player's entries, before the page's first script, in this frame and in every
// frame that it makes itself. Flash-era pages (SWFObject, their own checks) look for them before
// they write their movie. These are names only: the emulator does the playing, and only in pages
// that embed a movie.
(function () {
    "use strict";
    var NAME = "Shockwave Flash";
    var DESCRIPTION = "Shockwave Flash 32.0 r0"; // the last release: every version check passes
    var FILENAME = "libpepflashplayer.so";
    var TYPES = [
        ["application/x-shockwave-flash", "swf", "Shockwave Flash"],
        ["application/futuresplash", "spl", "FutureSplash Player"]
    ];
    var done = new WeakSet();

    function values(target, fields) {
        for (var key in fields)
            Object.defineProperty(target, key, { value: fields[key], enumerable: true });
    }
    // An array-like list of the engine's own kind (PluginArray, MimeTypeArray, Plugin): indexed,
    // named, with item() and namedItem(); iteration comes from the prototype.
    function list(target, entries, nameOf) {
        entries.forEach(function (entry, i) {
            Object.defineProperty(target, i, { value: entry, enumerable: true });
        });
        entries.forEach(function (entry) {
            if (!(nameOf(entry) in target))
                Object.defineProperty(target, nameOf(entry), { value: entry });
        });
        values(target, { length: entries.length });
        Object.defineProperties(target, {
            item: { value: function (i) { return entries[i >>> 0] || null; } },
            namedItem: { value: function (name) {
                for (var i = 0; i < entries.length; i++) if (nameOf(entries[i]) === String(name)) return entries[i];
                return null;
            } }
        });
        return target;
    }

    function install(win) {
        var nav;
        try {
            nav = win.navigator;
            if (done.has(nav)) return;
            done.add(nav);
            if (nav.plugins.namedItem(NAME)) return;
        } catch (e) {
            return; // a frame of another origin installs its own
        }
        var plugin = Object.create(win.Plugin.prototype);
        var types = TYPES.map(function (t) {
            var type = Object.create(win.MimeType.prototype);
            values(type, { type: t[0], suffixes: t[1], description: t[2], enabledPlugin: plugin });
            return type;
        });
        values(plugin, { name: NAME, description: DESCRIPTION, filename: FILENAME });
        list(plugin, types, function (t) { return t.type; });
        var plugins = list(Object.create(win.PluginArray.prototype),
                           Array.prototype.slice.call(nav.plugins).concat([plugin]),
                           function (p) { return p.name; });
        Object.defineProperty(plugins, "refresh", { value: function () {} });
        var mimeTypes = list(Object.create(win.MimeTypeArray.prototype),
                             Array.prototype.slice.call(nav.mimeTypes).concat(types),
                             function (t) { return t.type; });
        Object.defineProperties(nav, {
            plugins: { get: function () { return plugins; }, enumerable: true, configurable: true },
            mimeTypes: { get: function () { return mimeTypes; }, enumerable: true, configurable: true }
        });
    }

    // A frame's own document gets this script from the engine, but a page can reach a new frame's
    // first document (about:blank, written with document.write) before that: the frame's window
    // is given the entries when the page first touches it.
    function guard(proto, property) {
        var desc = Object.getOwnPropertyDescriptor(proto, property);
        if (!desc || !desc.get) return;
        var get = desc.get;
        Object.defineProperty(proto, property, {
            configurable: true,
            enumerable: desc.enumerable,
            get: function () {
                var value = get.call(this);
                if (value) install(property === "contentWindow" ? value : value.defaultView);
                return value;
            }
        });
    }

    install(window);
    [window.HTMLIFrameElement, window.HTMLFrameElement, window.HTMLObjectElement].forEach(function (type) {
        if (!type) return;
        guard(type.prototype, "contentWindow");
        guard(type.prototype, "contentDocument");
    });
})();
