// The canvas on Qt's painter, read back pixel by pixel from an offscreen image.
#include "ui/view/qt_canvas.h"

#include <QImage>
#include <QPainter>
#include <QtTest>
#include <algorithm>
#include <cstdlib>

#include "gamefile/game_file.h"
#include "model/drawing.h"
#include "ui/view/picture.h"

using namespace ludomark;

namespace {

constexpr int32_t kRed = 0x0000FF;  // 0x00BBGGRR
constexpr int32_t kBlue = 0xFF0000;

QImage WhiteImage() {
  QImage image(120, 80, QImage::Format_RGB32);
  image.fill(Qt::white);
  return image;
}

// The columns of a row (or rows of a column) holding the colour, first to last.
QPair<int, int> Span(const QImage& image, QRgb colour, int line, bool row) {
  int first = -1;
  int last = -1;
  const int n = row ? image.width() : image.height();
  for (int i = 0; i < n; ++i) {
    if ((row ? image.pixel(i, line) : image.pixel(line, i)) != colour) continue;
    if (first < 0) first = i;
    last = i;
  }
  return {first, last};
}

int Count(const QImage& image, QRgb colour) {
  int n = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) n += image.pixel(x, y) == colour;
  return n;
}

}  // namespace

class QtCanvasTest : public QObject {
  Q_OBJECT

 private slots:
  // A box from (left, top) to (right, bottom) covers right - left pixels: a 32-pixel disc is
  // 32 pixels wide, its outline in the pen and its inside in the brush.
  void EllipsesAndRectanglesKeepTheirBox() {
    QImage image = WhiteImage();
    {
      QPainter painter(&image);
      TQtCanvas canvas(painter);
      canvas.SetPenColor(kRed);
      canvas.SetBrushColor(kBlue);
      canvas.Ellipse(10, 10, 42, 42);
      canvas.Rectangle(60, 40, 76, 56);
    }
    QCOMPARE(Span(image, qRgb(255, 0, 0), 26, true), qMakePair(10, 41));
    QCOMPARE(Span(image, qRgb(255, 0, 0), 26, false), qMakePair(10, 41));
    QCOMPARE(image.pixel(26, 26), qRgb(0, 0, 255));
    QCOMPARE(Span(image, qRgb(255, 0, 0), 48, true), qMakePair(60, 75));
    QCOMPARE(Span(image, qRgb(255, 0, 0), 68, false), qMakePair(40, 55));
    QCOMPARE(image.pixel(68, 48), qRgb(0, 0, 255));
  }

  // Dotted lines leave gaps, solid ones none; the width is in pixels.
  void PenStylesAndWidths() {
    QImage image = WhiteImage();
    {
      QPainter painter(&image);
      TQtCanvas canvas(painter);
      canvas.SetPenColor(kRed);
      canvas.MoveTo(0, 10);
      canvas.LineTo(100, 10);
      canvas.SetPenStyle(TPenStyle::Dotted);
      canvas.MoveTo(0, 30);
      canvas.LineTo(100, 30);
      canvas.SetPenStyle(TPenStyle::Solid);
      canvas.SetPenWidth(3);
      canvas.MoveTo(0, 50);
      canvas.LineTo(100, 50);
    }
    int solid = 0;
    int dotted = 0;
    for (int x = 0; x < 100; ++x) {
      solid += image.pixel(x, 10) == qRgb(255, 0, 0);
      dotted += image.pixel(x, 30) == qRgb(255, 0, 0);
    }
    QVERIFY(solid >= 99);
    QVERIFY(dotted > 20 && dotted < 80);
    QCOMPARE(image.pixel(50, 48), qRgb(255, 255, 255));
    QCOMPARE(image.pixel(50, 49), qRgb(255, 0, 0));
    QCOMPARE(image.pixel(50, 51), qRgb(255, 0, 0));
    QCOMPARE(image.pixel(50, 52), qRgb(255, 255, 255));
  }

  // Text sits on an opaque box in the brush colour, so a line beneath it is hidden; its glyphs
  // are in the font colour, not the pen's.
  void TextHidesWhatLiesBeneath() {
    QImage image = WhiteImage();
    {
      QPainter painter(&image);
      TQtCanvas canvas(painter);
      canvas.SetPenColor(kRed);
      canvas.MoveTo(0, 20);
      canvas.LineTo(119, 20);
      canvas.SetBrushColor(kWhite);
      canvas.SetFontColor(kBlue);
      canvas.SetFontSize(12);
      canvas.TextOut(10, 12, "Bet 0.5");
    }
    QCOMPARE(Span(image, qRgb(255, 0, 0), 20, true), qMakePair(0, 119));
    for (int x = 10; x < 40; ++x) QVERIFY(image.pixel(x, 20) != qRgb(255, 0, 0));
    QCOMPARE(image.pixel(5, 20), qRgb(255, 0, 0));
    QVERIFY(Count(image, qRgb(0, 0, 255)) > 20);
  }

  // A shifted origin moves everything after it; a triangle is filled in the brush.
  void ShiftedOriginAndTriangles() {
    QImage image = WhiteImage();
    {
      QPainter painter(&image);
      TQtCanvas canvas(painter);
      canvas.ShiftOrigin(50, 20);
      canvas.SetPenColor(kBlue);
      canvas.SetBrushColor(kBlue);
      canvas.FillPolygon({TPoint{0, 0}, TPoint{20, 0}, TPoint{0, 20}});
    }
    QCOMPARE(image.pixel(52, 22), qRgb(0, 0, 255));
    QCOMPARE(image.pixel(48, 22), qRgb(255, 255, 255));
    QCOMPARE(image.pixel(68, 38), qRgb(255, 255, 255));
  }

  // A printed game fills the page in one direction, centred in the other, whatever the size of
  // the canvas it sits on.
  void PrintedGameFillsThePage() {
    for (const char* name : {"bluff.lmx", "battle_of_the_sexes.lmx"}) {
      TGameType32 game;
      QVERIFY(ReadGameFile(std::string(LUDOMARK_EXAMPLES_DIR) + "/" + name, game));
      QImage page(1100, 850, QImage::Format_RGB32);
      page.fill(Qt::white);
      {
        QPainter painter(&page);
        PaintToPage(painter, QRect(50, 50, 1000, 750), game, nullptr);
      }
      int left = page.width(), right = -1, top = page.height(), bottom = -1;
      for (int y = 0; y < page.height(); ++y) {
        for (int x = 0; x < page.width(); ++x) {
          if (page.pixel(x, y) == qRgb(255, 255, 255)) continue;
          left = std::min(left, x);
          right = std::max(right, x);
          top = std::min(top, y);
          bottom = std::max(bottom, y);
        }
      }
      QVERIFY2(left >= 50 && right < 1050 && top >= 50 && bottom < 800, name);
      const bool fillsWidth = right - left > 900;
      const bool fillsHeight = bottom - top > 650;
      QVERIFY2(fillsWidth || fillsHeight, name);
      // Centred: equal white on both sides of the direction it does not fill, within a margin.
      if (fillsWidth) QVERIFY2(std::abs((top - 50) - (800 - bottom)) < 60, name);
      if (fillsHeight) QVERIFY2(std::abs((left - 50) - (1050 - right)) < 60, name);
    }
  }
};

QTEST_MAIN(QtCanvasTest)
#include "qt_canvas_test.moc"
