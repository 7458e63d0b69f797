// What each embedding page tells the test: whether the movie ran (it calls onFlashReady), whether
// the page fell back on its alternative content, and what SWFObject's callback got. A page in a
// frame tells its parent too.
window.__flash = { ready: false, alt: false, callback: null };
function tellParent() {
  if (parent !== window) parent.postMessage({ flash: { ready: __flash.ready, alt: __flash.alt } }, "*");
}
window.onFlashReady = function () {
  __flash.ready = true;
  tellParent();
};
window.showAlternative = function () {
  __flash.alt = true;
  tellParent();
};
window.swfobjectDone = function (e) {
  __flash.callback = { success: e.success, id: e.id, tag: e.ref ? e.ref.nodeName : null };
  if (!e.success) showAlternative();
};
// The alternative content counts as shown once it is on screen after the document has loaded.
window.addEventListener("load", function () {
  setInterval(function () {
    var alt = document.getElementById("alt");
    if (alt && alt.isConnected && alt.getClientRects().length && getComputedStyle(alt).visibility === "visible")
      showAlternative();
  }, 50);
});
window.addEventListener("message", function (e) {
  if (!e.data || !e.data.flash) return;
  __flash.ready = __flash.ready || e.data.flash.ready;
  __flash.alt = __flash.alt || e.data.flash.alt;
  tellParent();
});
