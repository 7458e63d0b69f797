// A movie drawn the way many games draw their scenes: shapes rendered into a bitmap, a glow and a
// blur filter on top, and a background turned in 3D. Nothing of it is a plain vector shape, so a
// renderer that can't draw into bitmaps or apply filters leaves the stage empty.
import flash.Lib;
import flash.display.Bitmap;
import flash.display.BitmapData;
import flash.display.Shape;
import flash.filters.BlurFilter;
import flash.filters.GlowFilter;
import flash.geom.Point;

class Effects {
	static function main() {
		var scene = new Shape();
		scene.graphics.beginFill(0xFF00FF);
		scene.graphics.drawRect(20, 20, 280, 160);
		scene.graphics.endFill();
		var canvas = new BitmapData(320, 200, true, 0);
		canvas.draw(scene);
		canvas.applyFilter(canvas, canvas.rect, new Point(0, 0), new BlurFilter(2, 2));
		var picture = new Bitmap(canvas);
		picture.filters = [new GlowFilter(0xFF00FF, 1, 8, 8)];
		picture.rotationY = 10;
		Lib.current.addChild(picture);
	}
}
