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

function bridgeInputMethods(player) {
    var input = ruffleInternals.textInput(player);
    if (!input) return;
    var composing = false;
    // Capturing listeners on the input come before the emulator's own "input" handler.
    input.addEventListener("compositionstart", function () { composing = true; }, true);
    input.addEventListener("input", function (e) {
        if (composing || e.isComposing) e.stopImmediatePropagation();
    }, true);
    input.addEventListener("compositionend", function (e) {
        composing = false;
        input.value = e.data || "";
        input.dispatchEvent(new Event("input"));
    }, true);

    // The input method shows its candidate window at the caret of the focused input: the hidden
    // input goes where the player last pointed in the movie (the field it clicked), so that the
    // candidates show beside the field rather than off screen. Clicks pass through it to the movie.
    input.style.pointerEvents = "none";
    player.addEventListener("pointerdown", function (e) {
        var box = player.getBoundingClientRect();
        input.style.left = Math.max(0, Math.min(e.clientX - box.left, box.width - 1)) + "px";
        input.style.top = Math.max(0, Math.min(e.clientY - box.top, box.height - 1)) + "px";
    }, true);
}
