// The rulers beside the map: the terrain's extent written with a strip of
// twelve glyph cells (0 to 9, point, "m"), and the two arrows that point
// north and east.
#pragma once

#include <QImage>

#include <string>

// Cell of a character in a glyph strip: digits 0 to 9, "m" 11, anything
// else (the point) 10.
int GlyphIndex(char c);

// The glyph strips: twelve cells side by side (horizontal, upright glyphs)
// or stacked from top to bottom (vertical, glyphs turned to read bottom-up).
QImage MakeGlyphStrip(bool vertical);

// The text drawn with the strip's cells: left to right along a horizontal
// strip, bottom-up along a vertical one. Each cell is filled white, then the
// glyph is merged in (source AND white).
QImage DrawRuler(const std::string& text, const QImage& strip, bool vertical);

// Arrows pointing north (vertical) and east.
QImage MakeArrow(bool vertical);
