#include "ui/view/picture.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgGenerator>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>

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

// Qt draws text only with an application; without a display it runs offscreen.
void EnsureApplication() {
  if (QGuiApplication::instance() != nullptr) return;
  qInstallMessageHandler(QuietMessages);
  if (std::getenv("DISPLAY") == nullptr && std::getenv("WAYLAND_DISPLAY") == nullptr) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
  }
  static int argc = 1;
  static char name[] = "ludomark";
  static char* argv[] = {name, nullptr};
  static std::unique_ptr<QGuiApplication> app = std::make_unique<QGuiApplication>(argc, argv);
}

void PaintOn(QPainter& painter, TGameForm32& game, TSolution32* solution, bool grid) {
  painter.setRenderHint(QPainter::Antialiasing, false);
  TQtCanvas canvas(painter);
  if (grid) DrawGrid(canvas);
  game.Draw(canvas);
  if (solution != nullptr) solution->Draw(canvas);
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

void TOffscreenPicture::Paint(TGameForm32& game, TSolution32* solution, bool grid) {
  image_->image.fill(Qt::white);
  QPainter painter(&image_->image);
  PaintOn(painter, game, solution, grid);
}

std::string TOffscreenPicture::Encode(const char* format) const {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  if (!image_->image.save(&buffer, format)) return "";
  return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

bool IsPictureFile(const std::string& path) {
  const std::string ext = Extension(path);
  return ext == ".png" || ext == ".bmp" || ext == ".svg";
}

void WritePicture(TGameForm32& game, TSolution32* solution, const std::string& path, double zoom,
                  bool grid) {
  if (!IsPictureFile(path)) throw TFileError(path, "Pictures are written as .png, .bmp or .svg");
  EnsureApplication();
  const double saved = Zoom;
  Zoom = zoom;
  const QSize size(ToScreen(game.ExtentX), ToScreen(game.ExtentY));
  if (Extension(path) == ".svg") {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
    svg.setSize(size);
    svg.setViewBox(QRect(QPoint(0, 0), size));
    svg.setTitle(QString::fromStdString(game.Header().Name));
    {
      // The generator writes its last bytes when the painter ends.
      QPainter painter(&svg);
      painter.fillRect(QRect(QPoint(0, 0), size), Qt::white);
      PaintOn(painter, game, solution, grid);
    }
    Zoom = saved;
    WriteFileAtomically(path,
                        std::string(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    return;
  }
  TOffscreenPicture picture(size.width(), size.height());
  picture.Paint(game, solution, grid);
  Zoom = saved;
  const std::string encoded = picture.Encode(Extension(path) == ".png" ? "PNG" : "BMP");
  if (encoded.empty()) throw TFileError(path, "Cannot encode the picture");
  WriteFileAtomically(path, encoded);
}

}  // namespace ludomark
