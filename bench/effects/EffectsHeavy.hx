// A movie heavy on what the canvas renderer can't do and WebGL can: 60 bitmaps drawn anew from
// shapes every frame, each with a glow and a blur, turned in 3D over a filtered background. After a
// warm-up it reports the mean time between frames to its page (ExternalInterface), in milliseconds.
import flash.Lib;
import flash.display.Bitmap;
import flash.display.BitmapData;
import flash.display.Shape;
import flash.events.Event;
import flash.external.ExternalInterface;
import flash.filters.BlurFilter;
import flash.filters.GlowFilter;
import flash.geom.Matrix;

class EffectsHeavy {
	static inline var TILES = 60;
	static inline var WARMUP = 60;
	static inline var MEASURED = 300;

	static function main() {
		var stage = Lib.current.stage;
		stage.frameRate = 60;
		var background = new Shape();
		background.graphics.beginFill(0x203060);
		background.graphics.drawRect(0, 0, 640, 400);
		background.graphics.endFill();
		background.filters = [new BlurFilter(8, 8)];
		background.rotationX = 20;
		Lib.current.addChild(background);
		var shape = new Shape();
		var tiles = [];
		for (i in 0...TILES) {
			var tile = new Bitmap(new BitmapData(64, 64, true, 0));
			tile.x = (i % 10) * 64;
			tile.y = Std.int(i / 10) * 64;
			tile.filters = [new GlowFilter(0xFFCC00, 1, 6, 6), new BlurFilter(2, 2)];
			Lib.current.addChild(tile);
			tiles.push(tile);
		}
		var frame = 0;
		var started = 0;
		Lib.current.addEventListener(Event.ENTER_FRAME, function(_) {
			frame++;
			for (i in 0...TILES) {
				shape.graphics.clear();
				shape.graphics.beginFill(0xFF00FF - ((frame + i) % 64) * 0x040000);
				shape.graphics.drawCircle(32, 32, 8 + (frame + i) % 20);
				shape.graphics.endFill();
				var bitmap = tiles[i].bitmapData;
				bitmap.fillRect(bitmap.rect, 0);
				bitmap.draw(shape, new Matrix());
				tiles[i].rotationY = (frame * 3 + i * 6) % 360;
			}
			if (frame == WARMUP)
				started = Lib.getTimer();
			if (frame == WARMUP + MEASURED && ExternalInterface.available)
				ExternalInterface.call("vantorGameEvent", "frame-ms", Std.string((Lib.getTimer() - started) / MEASURED));
		});
	}
}
