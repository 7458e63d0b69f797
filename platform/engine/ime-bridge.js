// Input methods (pinyin in IBus or Fcitx) type into the movies' text fields. The emulator takes key
// presses only, and reads its hidden text input at every change, so a composition reached the field
// as stray letters or a stray character. Here, while a composition runs, its keys and the input's
// changing value are kept from the emulator; the text the player commits then goes through the
// emulator's own path for typed text, once, so the field's maxChars, restrict, TEXT_INPUT and
// CHANGE hold as for typed text. A cancelled composition commits nothing. Keys without a
// composition pass untouched.

// Key presses that the input method is composing with (key code 229) never reach the emulator,
// which listens on the window: this listener comes before its own.
function keepCompositionKeys() {
    ["keydown", "keyup", "keypress"].forEach(function (type) {
        window.addEventListener(type, function (e) {
            if ((e.isComposing || e.keyCode === 229) && ruffleInternals.isTextInput(e.composedPath()[0]))
                e.stopImmediatePropagation();
        }, true);
    });
}

// While a composition runs, the hidden input shows it, as a text box shows its pre-edit: the player
// sees the pinyin typed so far where the candidates are.
var COMPOSING_STYLE = "#virtual-keyboard.composing { opacity: 1; height: 1.4em; z-index: 1;" +
    " font: 16px sans-serif; color: #000; background: #fff; border: 1px solid #888;" +
    " outline: none; text-decoration: underline; padding: 0 2px; }";

function bridgeInputMethods(player) {
    var input = ruffleInternals.textInput(player);
    if (!input) return;
    ruffleInternals.addPlayerStyle(player, COMPOSING_STYLE);
    var composing = false;
    function compose(on) {
        composing = on;
        input.classList.toggle("composing", on);
        if (!on) input.style.width = "";
    }
    // Capturing listeners on the input come before the emulator's own "input" handler.
    input.addEventListener("compositionstart", function () { compose(true); }, true);
    input.addEventListener("compositionupdate", function (e) {
        input.style.width = Math.max(2, (e.data || "").length + 1) + "em";
    }, true);
    input.addEventListener("input", function (e) {
        if (composing || e.isComposing) e.stopImmediatePropagation();
    }, true);
    input.addEventListener("compositionend", function (e) {
        compose(false);
        input.value = e.data || "";
        input.dispatchEvent(new Event("input"));
    }, true);

    // The input method shows its candidate window at the caret of the focused input: the hidden
    // input goes where the player last pointed in the movie (the field it clicked), or to the
    // movie's corner when the movie gave a field the focus itself, so that the candidates show
    // beside the field rather than off screen. Clicks pass through it to the movie.
    input.style.pointerEvents = "none";
    function place(x, y) {
        var box = player.getBoundingClientRect();
        input.style.left = Math.max(0, Math.min(x, box.width - 1)) + "px";
        input.style.top = Math.max(0, Math.min(y, box.height - 1)) + "px";
    }
    player.addEventListener("pointerdown", function (e) {
        var box = player.getBoundingClientRect();
        place(e.clientX - box.left, e.clientY - box.top);
    }, true);
    input.addEventListener("focus", function () {
        if (!input.style.top) place(0, 0);
    });
}
