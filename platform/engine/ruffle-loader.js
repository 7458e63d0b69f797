// Loads the Flash emulator into the page, so that <object> and <embed> SWF movies play at once.
(function () {
    "use strict";
    if (window.__vantorRuffle) return;
    window.__vantorRuffle = true;
    var base = "ruffle://local/";
    window.RufflePlayer = window.RufflePlayer || {};
    window.RufflePlayer.config = Object.assign({
        publicPath: base,
        autoplay: "on",
        unmuteOverlay: "hidden",
        splashScreen: false,
        polyfills: true,
        warnOnUnsupportedContent: false,
        showSwfDownload: false,
        logLevel: "error"
    }, window.RufflePlayer.config || {});

    // The engine's fetch() does not reach custom schemes; Ruffle fetches its WebAssembly from
    // ours, so those requests go through XMLHttpRequest, which does.
    var realFetch = window.fetch;
    window.fetch = function (input, init) {
        var url = typeof input === "string" ? input : (input && input.url) || String(input);
        if (url.indexOf(base) !== 0) return realFetch.apply(this, arguments);
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
    function load() {
        if (loaded) return;
        loaded = true;
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
