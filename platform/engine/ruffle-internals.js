// What the client knows of the emulator's insides, all of it in this one file, written against the
// version that third_party/ruffle/package-lock.json pins (Ruffle 0.6.0). Its public API offers none
// of it; an update of the emulator checks this file (tst_flashpages and tst_inputmethods cover it).
// - Each movie's <object> or <embed> is replaced by a player element of its own (ruffle-object,
//   ruffle-embed), through Element.replaceWith, with an open shadow root.
// - In that shadow root, "#virtual-keyboard" is a hidden text input that the player focuses while
//   an editable text field of the movie has the focus; its "input" handler reads the input's value,
//   turns each character into a keydown and keyup on the player, and empties it. The player reads
//   real key presses on the window.
// - "#hardware-acceleration-modal" is a dialogue that the player opens at the first hover when its
//   GL adapter is a CPU one.
var ruffleInternals = {
    // Calls seen(old, player) for every player element that replaces a page's element.
    watchPlayers: function (seen) {
        var replaceWith = Element.prototype.replaceWith;
        Element.prototype.replaceWith = function (node) {
            var result = replaceWith.apply(this, arguments);
            if (arguments.length === 1 && node instanceof HTMLElement && /^RUFFLE-/.test(node.tagName) &&
                (this instanceof HTMLObjectElement || this instanceof HTMLEmbedElement))
                seen(this, node);
            return result;
        };
    },
    // Adds style rules to a player's own shadow root.
    addPlayerStyle: function (player, css) {
        if (!player.shadowRoot) return;
        var style = document.createElement("style");
        style.textContent = css;
        player.shadowRoot.appendChild(style);
    },
    hardwareAccelerationDialog: "#hardware-acceleration-modal",
    // The player's hidden text input, or null.
    textInput: function (player) {
        return player.shadowRoot ? player.shadowRoot.getElementById("virtual-keyboard") : null;
    },
    // Whether an element is a player's hidden text input.
    isTextInput: function (element) {
        return !!element && element.id === "virtual-keyboard" && element.getRootNode() instanceof ShadowRoot &&
            /^RUFFLE-/.test(element.getRootNode().host.tagName);
    }
};
