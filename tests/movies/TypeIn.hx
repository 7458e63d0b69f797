// The tests' movie with input text fields, as a game's chat box and a number box: it reports each
// field's text (Event.CHANGE), what was typed into it (TextEvent.TEXT_INPUT), which field has the
// focus and the keys its stage hears to its page, and lets the page empty the fields.
import flash.Lib;
import flash.events.Event;
import flash.events.FocusEvent;
import flash.events.KeyboardEvent;
import flash.events.TextEvent;
import flash.external.ExternalInterface;
import flash.text.TextField;
import flash.text.TextFieldType;
import flash.text.TextFormat;

class TypeIn {
	static function main() {
		var chat = field(20, 20, 280, 0);
		chat.maxChars = 40;
		var number = field(20, 80, 120, 1);
		number.maxChars = 4;
		number.restrict = "0-9";
		var fields = [chat, number];
		Lib.current.stage.addEventListener(KeyboardEvent.KEY_DOWN, function(e:KeyboardEvent) {
			ExternalInterface.call("onKey", e.keyCode);
		});
		ExternalInterface.addCallback("clear", function() {
			for (f in fields)
				f.text = "";
			return true;
		});
		ExternalInterface.call("onFlashReady");
	}

	static function field(x:Float, y:Float, width:Float, index:Int):TextField {
		var f = new TextField();
		f.type = TextFieldType.INPUT;
		f.defaultTextFormat = new TextFormat("_sans", 18, 0xFFFFFF);
		f.border = true;
		f.borderColor = 0xFFFFFF;
		f.x = x;
		f.y = y;
		f.width = width;
		f.height = 30;
		f.addEventListener(Event.CHANGE, function(_) ExternalInterface.call("onText", index, f.text));
		f.addEventListener(FocusEvent.FOCUS_IN, function(_) ExternalInterface.call("onFocus", index));
		f.addEventListener(TextEvent.TEXT_INPUT, function(e:TextEvent) ExternalInterface.call("onTextInput", index, e.text));
		Lib.current.addChild(f);
		return f;
	}
}
