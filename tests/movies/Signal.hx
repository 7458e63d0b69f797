// The tests' small movie: it draws a green panel, offers the page a "login" callback and tells its
// page that it runs (ExternalInterface.call("onFlashReady")), as Flash-era games did.
import flash.Lib;
import flash.external.ExternalInterface;

class Signal {
	static function main() {
		var g = Lib.current.graphics;
		g.beginFill(0x30C060);
		g.drawRect(0, 0, 320, 200);
		g.endFill();
		if (!ExternalInterface.available)
			return;
		ExternalInterface.addCallback("login", function(token:String) {
			ExternalInterface.call("onLogin", token);
			return "welcome " + token;
		});
		ExternalInterface.call("onFlashReady");
	}
}
