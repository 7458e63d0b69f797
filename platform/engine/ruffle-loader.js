// Loads the Flash emulator into the page, so that <object> and <embed> SWF movies play at once.
// Runs after ruffle-internals.js and ime-bridge.js, in one scope with them.
(function () {
    "use strict";
    if (window.__vantorRuffle) return;
    window.__vantorRuffle = true;
    var base = "ruffle://local/";
    // Ours, then the program's own (socket proxies for the game servers), then the page's own
    // configuration on top, key by key: a page that sets window.RufflePlayer.config, whole or in
    // parts, before or after this, still wins where it speaks.
    var ours = Object.assign({
        publicPath: base,
        autoplay: "on",
        unmuteOverlay: "hidden",
        splashScreen: false,
        polyfills: true,
        // The page sees a Flash plug-in (flash-plugin.js): the emulator is to play all the same.
        favorFlash: false,
        warnOnUnsupportedContent: false,
        showSwfDownload: false,
        logLevel: "error",
        // Device-font text (Chinese interfaces among it) is drawn with the system's fonts.
        deviceFontRenderer: "canvas",
        // http: game servers keep working from https: pages, as with the plug-in.
        upgradeToHttps: false,
        allowFullscreen: true
    }, /*PROGRAM_CONFIG*/{});
    function adopt(api) {
        if (!api || typeof api !== "object") return api;
        var pageConfig = api.config || {};
        Object.defineProperty(api, "config", {
            configurable: true,
            enumerable: true,
            get: function () { return Object.assign({}, ours, pageConfig); },
            set: function (value) { pageConfig = value || {}; }
        });
        return api;
    }
    var current = adopt({});
    Object.defineProperty(window, "RufflePlayer", {
        configurable: true,
        enumerable: true,
        get: function () { return current; },
        // A page's object, and the emulator's own API once it runs, are adopted alike.
        set: function (value) { current = adopt(value); }
    });

    // Device fonts. The emulator draws a movie's named fonts with the system's fonts (the canvas
    // renderer above), but "_sans", "_serif" and "_typewriter" with a small Latin font of its own,
    // so a Chinese interface in them would stay blank. Movies are therefore handed over with those
    // three names replaced by ordinary font names of the same length, which the system resolves
    // (CJK included). Only the strings of script, font and text-field tags are touched.
    var DEVICE_FONTS = [["_sans", "Arial"], ["_serif", "Serif_"], ["_typewriter", "Courier New"]];
    var FONT_TAGS = { 12: 1, 37: 1, 48: 1, 59: 1, 72: 1, 75: 1, 82: 1, 88: 1 };
    var DEFINE_SPRITE = 39;
    function ascii(text) {
        var bytes = new Uint8Array(text.length);
        for (var i = 0; i < text.length; i++) bytes[i] = text.charCodeAt(i);
        return bytes;
    }
    var fontPatterns = DEVICE_FONTS.map(function (pair) { return [ascii(pair[0]), ascii(pair[1])]; });
    function renameFonts(bytes, from, to) {
        // A string of the name alone: length-prefixed (script and font tags) or NUL-terminated.
        for (var at = from; at < to; at++) {
            for (var p = 0; p < fontPatterns.length; p++) {
                var name = fontPatterns[p][0];
                var n = name.length;
                if (at + n > to || bytes[at] !== name[0]) continue;
                var same = true;
                for (var k = 1; k < n && same; k++) same = bytes[at + k] === name[k];
                if (!same) continue;
                var before = at > from ? bytes[at - 1] : -1;
                var after = at + n < to ? bytes[at + n] : -1;
                if (before === n || before === n + 1 || after === 0) bytes.set(fontPatterns[p][1], at);
            }
        }
    }
    function walkTags(bytes, at, end) {
        while (at + 2 <= end) {
            var header = bytes[at] | (bytes[at + 1] << 8);
            var code = header >> 6;
            var length = header & 0x3f;
            at += 2;
            if (length === 0x3f) {
                if (at + 4 > end) return;
                length = (bytes[at] | (bytes[at + 1] << 8) | (bytes[at + 2] << 16)) + bytes[at + 3] * 16777216;
                at += 4;
            }
            var tagEnd = Math.min(at + length, end);
            if (code === DEFINE_SPRITE) walkTags(bytes, at + 4, tagEnd);
            else if (FONT_TAGS[code]) renameFonts(bytes, at, tagEnd);
            if (code === 0 && end === bytes.length) return;
            at = tagEnd;
        }
    }
    function withSystemFonts(buffer) {
        var head = new Uint8Array(buffer, 0, Math.min(8, buffer.byteLength));
        var sig = String.fromCharCode(head[0], head[1], head[2]);
        if (head.length < 8 || (sig !== "FWS" && sig !== "CWS")) return Promise.resolve(buffer);
        var body = sig === "FWS" ? Promise.resolve(buffer.slice(8))
            : new Response(new Blob([buffer.slice(8)]).stream().pipeThrough(new DecompressionStream("deflate")))
                .arrayBuffer();
        return body.then(function (rest) {
            var bytes = new Uint8Array(8 + rest.byteLength);
            bytes.set(head, 0);
            bytes.set(new Uint8Array(rest), 8);
            bytes[0] = 0x46; // "FWS": handed over uncompressed
            var frameSize = 8 + Math.ceil((5 + 4 * (bytes[8] >> 3)) / 8);
            walkTags(bytes, frameSize + 4, bytes.length);
            return bytes.buffer;
        }).catch(function () { return buffer; }); // a damaged movie goes as it came
    }
    function isMovie(url, response) {
        var type = response.headers.get("Content-Type") || "";
        return /x-shockwave-flash/i.test(type) || /\.swf($|[?#])/i.test(url);
    }

    // The engine's fetch() does not reach custom schemes; Ruffle fetches its WebAssembly from
    // ours, so those requests go through XMLHttpRequest, which does. Movies pass through the
    // font renaming on their way to the emulator.
    var realFetch = window.fetch;
    window.fetch = function (input, init) {
        var url = typeof input === "string" ? input : (input && input.url) || String(input);
        if (url.indexOf(base) !== 0) {
            return realFetch.apply(this, arguments).then(function (response) {
                if (!response.ok || !isMovie(url, response)) return response;
                return response.arrayBuffer().then(withSystemFonts).then(function (bytes) {
                    var moved = new Response(bytes, { status: response.status, statusText: response.statusText,
                                                      headers: response.headers });
                    Object.defineProperty(moved, "url", { value: response.url });
                    return moved;
                });
            });
        }
        return new Promise(function (resolve, reject) {
            var xhr = new XMLHttpRequest();
            xhr.open("GET", url);
            xhr.responseType = "arraybuffer";
            xhr.onload = function () {
                var type = /\.wasm$/.test(url) ? "application/wasm" : "application/octet-stream";
                resolve(new Response(xhr.response, { status: 200, headers: { "Content-Type": type } }));
            };
            xhr.onerror = function () { reject(new TypeError("Failed to load " + url)); };
            xhr.send();
        });
    };

    // The emulator is loaded only into pages that embed a movie, now or later: the others (the
    // login page among them) load as fast and stay as small as without it.
    var loaded = false;
    var observer = null;
    function hasMovie() {
        return document.querySelector("object, embed") !== null;
    }
    // A page may already hold the element it wrote for a movie (SWFObject hands it to its callback)
    // and call the movie through it: once the emulator has put its player in that element's place,
    // the element speaks for the player.
    function speakFor(old, player) {
        Object.setPrototypeOf(old, new Proxy(Object.getPrototypeOf(old), {
            get: function (target, key, receiver) {
                if (!(key in player)) return Reflect.get(target, key, receiver);
                var value = player[key];
                return typeof value === "function" ? value.bind(player) : value;
            },
            set: function (target, key, value) {
                player[key] = value;
                return true;
            }
        }));
    }
    // Each player the emulator makes: the page's element speaks for it, input methods type into
    // it, and on a software GL its "turn on hardware acceleration" dialogue, which would open at the
    // first hover with a link out of the game, stays hidden.
    function adoptPlayer(old, player) {
        speakFor(old, player);
        bridgeInputMethods(player);
        ruffleInternals.addPlayerStyle(player, ruffleInternals.hardwareAccelerationDialog +
                                               " { display: none !important; }");
    }
    function load() {
        if (loaded) return;
        loaded = true;
        ruffleInternals.watchPlayers(adoptPlayer);
        keepCompositionKeys();
        if (observer) observer.disconnect();
        var s = document.createElement("script");
        s.src = base + "ruffle.js";
        (document.head || document.documentElement).appendChild(s);
    }
    document.addEventListener("DOMContentLoaded", function () {
        if (hasMovie()) {
            load();
            return;
        }
        observer = new MutationObserver(function () {
            if (hasMovie()) load();
        });
        observer.observe(document.documentElement, { childList: true, subtree: true });
    });
})();
