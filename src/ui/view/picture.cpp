#include "ui/view/picture.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgGenerator>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>

#include "document/solution_picture.h"
#include "gamefile/atomic_file.h"
#include "gamefile/file_error.h"
#include "model/drawing.h"
#include "model/settings.h"
#include "ui/view/qt_canvas.h"

namespace ludomark {

namespace {

std::string Extension(const std::string& path) {
  std::string ext = std::filesystem::path(path).extension().string();
  for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return ext;
}

// Qt's notes about its environment (a runtime folder it had to choose, say) are no business of
// someone writing a picture; its critical messages still show.
void QuietMessages(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (type == QtCriticalMsg || type == QtFatalMsg) {
    std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
  }
}

// The application made here for pictures, when the program has none of its own.
QGuiApplication*& OwnApplication() {
  static QGuiApplication* app = nullptr;
  return app;
}

// Ends that application at exit before Qt's own caches go: registered after the first picture
// has made them, the handler runs before they are destroyed.
void EndApplicationAtExit() {
  static const bool registered = [] {
    std::atexit([] {
      delete OwnApplication();
      OwnApplication() = nullptr;
    });
    return true;
  }();
  (void)registered;
}

// Qt draws text only with an application; without a display it runs offscreen.
void EnsureApplication() {
  if (QGuiApplication::instance() != nullptr) return;
  qInstallMessageHandler(QuietMessages);
  // The platform goes in as an argument, as a user would give it: the process's environment
  // stays as it was (a platform the user chose in QT_QPA_PLATFORM still wins).
  static char name[] = "ludomark";
  static char platform[] = "-platform";
  static char offscreen[] = "offscreen";
  static char* argv[] = {name, platform, offscreen, nullptr};
  const bool display = std::getenv("DISPLAY") != nullptr ||
                       std::getenv("WAYLAND_DISPLAY") != nullptr ||
                       std::getenv("QT_QPA_PLATFORM") != nullptr;
  static int argc = display ? 1 : 3;
  OwnApplication() = new QGuiApplication(argc, argv);
}

// The program-wide zoom set for one picture and given back however the picture ends.
class TZoomFor {
 public:
  explicit TZoomFor(double zoom) : saved_(Zoom) { Zoom = zoom; }
  ~TZoomFor() { Zoom = saved_; }
  TZoomFor(const TZoomFor&) = delete;
  TZoomFor& operator=(const TZoomFor&) = delete;

 private:
  double saved_;
};

// The smallest rectangle holding every non-white pixel, grown by the margin and kept inside
// the image; the whole image when nothing is drawn.
QRect NonWhiteBox(const QImage& image, int margin) {
  int left = image.width();
  int top = image.height();
  int right = -1;
  int bottom = -1;
  const QRgb white = qRgb(255, 255, 255);
  for (int y = 0; y < image.height(); ++y) {
    const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    for (int x = 0; x < image.width(); ++x) {
      if ((line[x] | 0xFF000000) == white) continue;
      left = std::min(left, x);
      right = std::max(right, x);
      top = std::min(top, y);
      bottom = y;
    }
  }
  if (right < 0) return image.rect();
  return QRect(QPoint(left - margin, top - margin), QPoint(right + margin, bottom + margin))
      .intersected(image.rect());
}

constexpr int kTrimMargin = 16;

void PaintOn(QPainter& painter, TGameForm32& game, TSolution32* solution, bool grid,
             const TRect* view = nullptr) {
  painter.setRenderHint(QPainter::Antialiasing, false);
  TQtCanvas canvas(painter);
  if (grid) DrawGrid(canvas);
  DrawGameWithSolution(canvas, game, solution, view);
}

}  // namespace

struct TOffscreenPicture::Image {
  QImage image;
};

TOffscreenPicture::TOffscreenPicture(int width, int height) {
  EnsureApplication();
  image_ = std::make_unique<Image>();
  image_->image = QImage(QSize(width, height), QImage::Format_RGB32);
}

TOffscreenPicture::~TOffscreenPicture() = default;

void TOffscreenPicture::Paint(TGameForm32& game, TSolution32* solution, bool grid,
                              const TRect* view) {
  image_->image.fill(Qt::white);
  QPainter painter(&image_->image);
  PaintOn(painter, game, solution, grid, view);
}

TRect TOffscreenPicture::ContentBox(int margin) const {
  const QRect box = NonWhiteBox(image_->image, margin);
  return TRect{box.left(), box.top(), box.right() + 1, box.bottom() + 1};
}

void TOffscreenPicture::Trim(int margin) {
  image_->image = image_->image.copy(NonWhiteBox(image_->image, margin));
}

int TOffscreenPicture::Width() const {
  return image_->image.width();
}

int TOffscreenPicture::Height() const {
  return image_->image.height();
}

std::string TOffscreenPicture::Encode(const char* format) const {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  if (!image_->image.save(&buffer, format)) return "";
  return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

void PaintToPage(QPainter& painter, const QRect& page, TGameForm32& game, TSolution32* solution) {
  // What is drawn, found on an image at the window's zoom, with a thin white border.
  TOffscreenPicture probe(ToScreen(game.ExtentX), ToScreen(game.ExtentY));
  probe.Paint(game, solution, /*grid=*/false);
  const TRect box = probe.ContentBox(kTrimMargin);
  const double width = box.Right - box.Left;
  const double height = box.Bottom - box.Top;
  if (width <= 0 || height <= 0 || page.width() <= 0 || page.height() <= 0) return;
  const double scale = std::min(page.width() / width, page.height() / height);
  painter.save();
  painter.translate(page.x() + (page.width() - width * scale) / 2,
                    page.y() + (page.height() - height * scale) / 2);
  painter.scale(scale, scale);
  painter.translate(-box.Left, -box.Top);
  painter.setClipRect(QRectF(box.Left, box.Top, width, height));
  PaintOn(painter, game, solution, /*grid=*/false);
  painter.restore();
}

bool IsPictureFile(const std::string& path) {
  const std::string ext = Extension(path);
  return ext == ".png" || ext == ".bmp" || ext == ".svg";
}

std::string PictureBytes(TGameForm32& game, TSolution32* solution, const std::string& format,
                         const TPictureOptions& options) {
  EnsureApplication();
  std::optional<TZoomFor> zoom(options.Zoom);
  const QSize size(ToScreen(game.ExtentX), ToScreen(game.ExtentY));
  // Painted as an image first: the picture itself, or the box an SVG is cut to.
  TOffscreenPicture picture(size.width(), size.height());
  picture.Paint(game, solution, options.Grid);
  if (OwnApplication() != nullptr) EndApplicationAtExit();
  QRect box(QPoint(0, 0), size);
  if (options.Trim) {
    const TRect r = picture.ContentBox(kTrimMargin);
    box = QRect(QPoint(r.Left, r.Top), QPoint(r.Right - 1, r.Bottom - 1));
  }
  if (format == "svg") {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
    svg.setSize(box.size());
    svg.setViewBox(box);
    svg.setTitle(QString::fromStdString(game.Header().Name));
    {
      // The generator writes its last bytes when the painter ends.
      QPainter painter(&svg);
      painter.fillRect(QRect(QPoint(0, 0), size), Qt::white);
      PaintOn(painter, game, solution, options.Grid);
    }
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
  }
  zoom.reset();
  if (options.Trim) picture.Trim(kTrimMargin);
  return picture.Encode(format == "png" ? "PNG" : "BMP");
}

void WritePicture(TGameForm32& game, TSolution32* solution, const std::string& path,
                  const TPictureOptions& options) {
  if (!IsPictureFile(path)) throw TFileError(path, "Pictures are written as .png, .bmp or .svg");
  const std::string bytes = PictureBytes(game, solution, Extension(path).substr(1), options);
  if (bytes.empty()) throw TFileError(path, "Cannot encode the picture");
  WriteFileAtomically(path, bytes);
}

}  // namespace ludomark
