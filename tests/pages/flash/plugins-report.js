// What a page's own script sees of the Flash plug-in, in this frame and in frames of every kind.
function report(win) {
  var nav = win.navigator, plugins = nav.plugins, types = nav.mimeTypes;
  var flash = plugins["Shockwave Flash"] || null;
  var listed = Array.from(plugins), byIndex = [];
  for (var i = 0; i < plugins.length; i++) byIndex.push(plugins[i]);
  var swf = types["application/x-shockwave-flash"], spl = types["application/futuresplash"];
  return {
    description: flash && flash.description,
    isPlugin: flash instanceof win.Plugin,
    named: plugins.namedItem("Shockwave Flash") === flash && !!flash,
    listed: listed.length === plugins.length && listed.indexOf(flash) >= 0 &&
            byIndex.every(function (p, k) { return listed[k] === p && plugins.item(k) === p; }),
    swf: !!swf && swf.enabledPlugin === flash && swf.suffixes === "swf",
    spl: !!spl && spl.enabledPlugin === flash,
    types: !!flash && Array.from(types).indexOf(swf) >= 0 && flash.length === 2 && flash[0].type === "application/x-shockwave-flash"
  };
}
