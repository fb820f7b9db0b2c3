#include "views/znMapRuler.h"

#include <QPainter>
#include <QPolygon>
#include <QTransform>

namespace {

constexpr int kGlyphWidth = 5, kGlyphHeight = 7;
// A cell holds one glyph with a blank pixel on each side.
constexpr int kCellWidth = kGlyphWidth + 2, kCellHeight = kGlyphHeight + 2;
constexpr int kCells = 12;

// 5 x 7 pixel glyphs in cell order: 0 to 9, point, "m".
const char* const kGlyphs[kCells][kGlyphHeight] = {
    {".XXX.", "X...X", "X..XX", "X.X.X", "XX..X", "X...X", ".XXX."},
    {"..X..", ".XX..", "..X..", "..X..", "..X..", "..X..", ".XXX."},
    {".XXX.", "X...X", "....X", "...X.", "..X..", ".X...", "XXXXX"},
    {"XXXXX", "...X.", "..X..", "...X.", "....X", "X...X", ".XXX."},
    {"...X.", "..XX.", ".X.X.", "X..X.", "XXXXX", "...X.", "...X."},
    {"XXXXX", "X....", "XXXX.", "....X", "....X", "X...X", ".XXX."},
    {"..XX.", ".X...", "X....", "XXXX.", "X...X", "X...X", ".XXX."},
    {"XXXXX", "....X", "...X.", "..X..", ".X...", ".X...", ".X..."},
    {".XXX.", "X...X", "X...X", ".XXX.", "X...X", "X...X", ".XXX."},
    {".XXX.", "X...X", "X...X", ".XXXX", "....X", "...X.", ".XX.."},
    {".....", ".....", ".....", ".....", ".....", ".XX..", ".XX.."},
    {".....", ".....", "XX.X.", "X.X.X", "X.X.X", "X.X.X", "X.X.X"},
};

// One upright cell: black glyph on white.
QImage UprightCell(int index) {
  QImage cell(kCellWidth, kCellHeight, QImage::Format_RGB32);
  cell.fill(Qt::white);
  for (int y = 0; y < kGlyphHeight; ++y)
    for (int x = 0; x < kGlyphWidth; ++x)
      if (kGlyphs[index][y][x] == 'X') cell.setPixel(x + 1, y + 1, qRgb(0, 0, 0));
  return cell;
}

QSize CellSize(const QImage& strip, bool vertical) {
  return vertical ? QSize(strip.width(), strip.height() / kCells) : QSize(strip.width() / kCells, strip.height());
}

}  // namespace

int GlyphIndex(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  return c == 'm' ? 11 : 10;
}

QImage MakeGlyphStrip(bool vertical) {
  QImage strip = vertical ? QImage(kCellHeight, kCellWidth * kCells, QImage::Format_RGB32)
                          : QImage(kCellWidth * kCells, kCellHeight, QImage::Format_RGB32);
  QPainter painter(&strip);
  for (int i = 0; i < kCells; ++i) {
    QImage cell = UprightCell(i);
    if (vertical) {
      // Turned a quarter anticlockwise, so that the text reads bottom-up.
      cell = cell.transformed(QTransform().rotate(-90));
      painter.drawImage(0, i * kCellWidth, cell);
    } else {
      painter.drawImage(i * kCellWidth, 0, cell);
    }
  }
  return strip;
}

QImage DrawRuler(const std::string& text, const QImage& strip, bool vertical) {
  const QSize cell = CellSize(strip, vertical);
  const int count = static_cast<int>(text.size());
  QImage ruler = vertical ? QImage(cell.width(), cell.height() * count, QImage::Format_RGB32)
                          : QImage(cell.width() * count, cell.height(), QImage::Format_RGB32);
  ruler.fill(Qt::white);
  for (int n = 0; n < count; ++n) {
    const int glyph = GlyphIndex(text[n]);
    const QPoint source = vertical ? QPoint(0, glyph * cell.height()) : QPoint(glyph * cell.width(), 0);
    // Bottom-up along a vertical ruler: the first character is the lowest.
    const QPoint target = vertical ? QPoint(0, (count - 1 - n) * cell.height()) : QPoint(n * cell.width(), 0);
    for (int y = 0; y < cell.height(); ++y)
      for (int x = 0; x < cell.width(); ++x) {
        const QRgb src = strip.pixel(source.x() + x, source.y() + y);
        const QRgb dst = ruler.pixel(target.x() + x, target.y() + y);
        ruler.setPixel(target.x() + x, target.y() + y, src & dst);
      }
  }
  return ruler;
}

QImage MakeArrow(bool vertical) {
  QImage arrow(9, 15, QImage::Format_RGB32);
  arrow.fill(Qt::white);
  {
    QPainter painter(&arrow);
    painter.setPen(QPen(Qt::black, 0));
    painter.setBrush(Qt::black);
    painter.drawLine(4, 4, 4, 14);
    painter.drawPolygon(QPolygon({QPoint(4, 0), QPoint(0, 4), QPoint(8, 4)}));
  }
  return vertical ? arrow : arrow.transformed(QTransform().rotate(90));
}
