// A text-heavy movie for the device-font benchmark: 200 text fields of Chinese and Latin text in
// device fonts, all changed every frame. After a warm-up it measures the mean time between frames
// and reports it to its page (ExternalInterface), in milliseconds.
import flash.Lib;
import flash.events.Event;
import flash.external.ExternalInterface;
import flash.text.TextField;
import flash.text.TextFormat;

class TextHeavy {
	static inline var FIELDS = 200;
	static inline var WARMUP = 60;
	static inline var MEASURED = 300;

	static function main() {
		var stage = Lib.current.stage;
		stage.frameRate = 60;
		var fonts = ["_sans", "_serif", "_typewriter", "宋体"];
		var fields = [];
		for (i in 0...FIELDS) {
			var field = new TextField();
			field.defaultTextFormat = new TextFormat(fonts[i % fonts.length], 12, 0xFFFFFF);
			field.width = 160;
			field.height = 18;
			field.x = (i % 4) * 160;
			field.y = Std.int(i / 4) * 8;
			Lib.current.addChild(field);
			fields.push(field);
		}
		var frame = 0;
		var started = 0;
		Lib.current.addEventListener(Event.ENTER_FRAME, function(_) {
			frame++;
			for (i in 0...FIELDS)
				fields[i].text = "第" + (frame + i) + "帧 得分 " + (frame * 7 + i) + " score";
			if (frame == WARMUP)
				started = Lib.getTimer();
			if (frame == WARMUP + MEASURED && ExternalInterface.available)
				ExternalInterface.call("vantorGameEvent", "frame-ms", Std.string((Lib.getTimer() - started) / MEASURED));
		});
	}
}
