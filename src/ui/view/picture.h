#pragma once

#include <memory>
#include <string>

#include "document/game_form.h"
#include "model/solution.h"

class QPainter;
class QRect;

namespace ludomark {

struct TPictureOptions {
  double Zoom = 1.0;
  bool Grid = false;
  // Cut to what is drawn, with a small white margin, instead of the whole drawing extent.
  bool Trim = false;
};

// Writes the picture of the game (its drawing extent, scaled by the zoom), with the solution's
// values over it when one is given, as PNG, BMP or SVG by the file's extension. The file is
// replaced whole or not at all. Works without a display (Qt's offscreen platform). Throws
// TFileError naming the file when it cannot be written; an unknown extension throws too.
void WritePicture(TGameForm32& game, TSolution32* solution, const std::string& path,
                  const TPictureOptions& options);

// The picture WritePicture writes, as bytes of the format ("png", "bmp" or "svg"); empty when it
// cannot be encoded.
std::string PictureBytes(TGameForm32& game, TSolution32* solution, const std::string& format,
                         const TPictureOptions& options);

// Whether the extension names a picture format WritePicture writes.
bool IsPictureFile(const std::string& path);

// Paints the game, with the solution's values over it when one is given, so that what is drawn
// (not the whole drawing extent) fills the page, centred and in its own proportions: printing.
void PaintToPage(QPainter& painter, const QRect& page, TGameForm32& game, TSolution32* solution);

// An offscreen image the game is painted on, as a window paints it (white page, optional
// grid, the game, a solution over it), at the current zoom.
class TOffscreenPicture {
 public:
  TOffscreenPicture(int width, int height);
  ~TOffscreenPicture();
  TOffscreenPicture(const TOffscreenPicture&) = delete;
  TOffscreenPicture& operator=(const TOffscreenPicture&) = delete;

  // With a view (model units), only what may show in it is drawn, as a window does.
  void Paint(TGameForm32& game, TSolution32* solution, bool grid, const TRect* view = nullptr);
  // The box of the non-white pixels with a margin around them, inside the image (the whole
  // image when nothing is drawn); Trim cuts the image to it.
  TRect ContentBox(int margin) const;
  void Trim(int margin);
  int Width() const;
  int Height() const;
  // The image in a format by name ("PNG", "BMP"); empty when it cannot be encoded.
  std::string Encode(const char* format) const;

 private:
  struct Image;
  std::unique_ptr<Image> image_;
};

}  // namespace ludomark
