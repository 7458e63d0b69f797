// The demo platform's game: an AS3 movie that a player drives with the arrow keys. It shows its
// interface in Chinese in a device font, keeps the best score in a SharedObject, talks to the demo
// game server over a raw TCP socket, talks with its page through ExternalInterface, and goes full
// screen when its full-screen button is clicked.
//
// What it does is reported to the page (window.vantorGameEvent), which tells the platform, so that
// tests can follow the game without reading its pixels.
import flash.Lib;
import flash.display.Sprite;
import flash.display.StageAlign;
import flash.display.StageDisplayState;
import flash.display.StageScaleMode;
import flash.events.Event;
import flash.events.IOErrorEvent;
import flash.events.KeyboardEvent;
import flash.events.MouseEvent;
import flash.events.ProgressEvent;
import flash.events.SecurityErrorEvent;
import flash.external.ExternalInterface;
import flash.media.Sound;
import flash.net.SharedObject;
import flash.net.Socket;
import flash.text.TextField;
import flash.text.TextFieldAutoSize;
import flash.text.TextFormat;

// The start chime, which the build writes (make_chime.py) and the movie embeds.
@:sound("chime.wav")
class Chime extends Sound {}

class Game {
	static inline var STAGE_W = 640;
	static inline var STAGE_H = 400;
	static inline var STEP = 20;

	var root:Sprite;
	var player:Sprite;
	var link:Sprite;
	var title:TextField;
	var status:TextField;
	var save:SharedObject;
	var socket:Socket;
	var score = 0;
	var best = 0;
	var server = "";

	static function main() {
		new Game();
	}

	function new() {
		root = Lib.current;
		var stage = root.stage;
		stage.scaleMode = StageScaleMode.SHOW_ALL;
		stage.align = StageAlign.TOP;

		title = text(20, 16, 28, 0xFFFFFF);
		title.text = "星际方块 · 方向键移动";
		status = text(20, 60, 18, 0xFFFFFF);

		// The player's square and the server link's light (grey until the server answers).
		player = square(0xF0A030, 40);
		player.x = 300;
		player.y = 180;
		link = square(0x808080, 24);
		link.x = STAGE_W - 44;
		link.y = STAGE_H - 44;

		// The full-screen button: a click on it asks for full screen, as games do.
		var full = square(0x3060F0, 48);
		full.x = STAGE_W - 68;
		full.y = 16;
		full.buttonMode = true;
		full.addEventListener(MouseEvent.CLICK, function(_) {
			stage.displayState = stage.displayState == StageDisplayState.NORMAL ? StageDisplayState.FULL_SCREEN : StageDisplayState.NORMAL;
		});

		try {
			save = SharedObject.getLocal("vantor-demo");
			if (save.data.best != null)
				best = save.data.best;
		} catch (e:Dynamic) {
			report("save-error", Std.string(e));
		}

		stage.addEventListener(KeyboardEvent.KEY_DOWN, onKey);
		stage.focus = stage;
		// The usual handshake: the movie offers the page its "login" callback, tells the page it is
		// ready, and the page answers with the player's ticket.
		if (ExternalInterface.available) {
			ExternalInterface.addCallback("login", function(ticket:String) {
				report("login", ticket);
				return "welcome:" + ticket;
			});
			try {
				ExternalInterface.call("onFlashReady");
			} catch (e:Dynamic) {}
		}
		draw();
		report("best", Std.string(best));
		chime();
		connect();
		if (Reflect.hasField(root.loaderInfo.parameters, "measure"))
			measureFrames();
	}

	// For the benchmarks ("measure" in the flashvars): the scene is drawn anew every frame, as in
	// play, and after a warm-up the mean time between frames goes to the page, in milliseconds.
	function measureFrames() {
		var frame = 0;
		var started = 0;
		root.addEventListener(Event.ENTER_FRAME, function(_) {
			frame++;
			draw();
			if (frame == 60)
				started = Lib.getTimer();
			if (frame == 360)
				report("frame-ms", Std.string((Lib.getTimer() - started) / 300));
		});
	}

	// A short two-note chime at the start: games greet with sound, and the plug-in played it
	// without waiting for a click.
	function chime() {
		try {
			report("sound", new Chime().play() != null ? "playing" : "none");
		} catch (e:Dynamic) {
			report("sound", "error " + Std.string(e));
		}
	}

	function text(x:Float, y:Float, size:Int, color:Int):TextField {
		var field = new TextField();
		field.defaultTextFormat = new TextFormat("_sans", size, color);
		field.autoSize = TextFieldAutoSize.LEFT;
		field.selectable = false;
		field.x = x;
		field.y = y;
		root.addChild(field);
		return field;
	}

	function square(color:Int, size:Int):Sprite {
		var s = new Sprite();
		s.graphics.beginFill(color);
		s.graphics.drawRect(0, 0, size, size);
		s.graphics.endFill();
		root.addChild(s);
		return s;
	}

	function draw() {
		status.text = "得分 " + score + "   最高 " + best + "   服务器 " + (server == "" ? "连接中" : server);
	}

	function onKey(e:KeyboardEvent) {
		switch (e.keyCode) {
			case 37: player.x = Math.max(0, player.x - STEP);
			case 39: player.x = Math.min(STAGE_W - 40, player.x + STEP);
			case 38: player.y = Math.max(100, player.y - STEP);
			case 40: player.y = Math.min(STAGE_H - 40, player.y + STEP);
			default: return;
		}
		score++;
		if (score > best) {
			best = score;
			if (save != null) {
				save.data.best = best;
				save.flush();
			}
		}
		draw();
		report("score", Std.string(score));
		if (socket != null && socket.connected) {
			socket.writeUTFBytes("SCORE " + score + "\n");
			socket.flush();
		}
	}

	function connect() {
		var host = "127.0.0.1";
		var port = 8513;
		var params = root.loaderInfo.parameters;
		if (Reflect.hasField(params, "server")) {
			var parts = Std.string(Reflect.field(params, "server")).split(":");
			host = parts[0];
			port = Std.parseInt(parts[1]);
		}
		socket = new Socket();
		var line = "";
		socket.addEventListener(Event.CONNECT, function(_) {
			socket.writeUTFBytes("HELLO 星际方块\n");
			socket.flush();
		});
		socket.addEventListener(ProgressEvent.SOCKET_DATA, function(_) {
			line += socket.readUTFBytes(socket.bytesAvailable);
			var end = line.indexOf("\n");
			while (end >= 0) {
				var message = line.substr(0, end);
				line = line.substr(end + 1);
				if (message.indexOf("WELCOME ") == 0) {
					server = message.substr(8);
					link.graphics.clear();
					link.graphics.beginFill(0x40F0F0);
					link.graphics.drawRect(0, 0, 24, 24);
					link.graphics.endFill();
					draw();
					report("socket", server);
				}
				end = line.indexOf("\n");
			}
		});
		socket.addEventListener(IOErrorEvent.IO_ERROR, function(e) {
			server = "未连接";
			draw();
			report("socket-error", "io");
		});
		socket.addEventListener(SecurityErrorEvent.SECURITY_ERROR, function(e) {
			server = "未连接";
			draw();
			report("socket-error", "security");
		});
		socket.addEventListener(Event.CLOSE, function(_) {
			report("socket-closed", "");
		});
		try {
			socket.connect(host, port);
		} catch (e:Dynamic) {
			report("socket-error", Std.string(e));
		}
	}

	function report(what:String, value:String) {
		if (ExternalInterface.available) {
			try {
				ExternalInterface.call("vantorGameEvent", what, value);
			} catch (e:Dynamic) {}
		}
	}
}
