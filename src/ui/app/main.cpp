// ludomark: the desktop workbench.
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QIcon>
#include <QLocale>
#include <QTimer>
#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <string>

#include "ui/app/app_icon.h"
#include "ui/main_window/qt_main_window.h"

namespace {

constexpr const char* kUsage =
    "Usage: ludomark [--no-splash] [Qt options such as -platform offscreen] [FILE.lmx]\n"
    "  Opens the desktop workbench, and the game file when one is named.\n"
    "  --no-splash  start without the about box shown for three seconds\n";

// A start nobody watches (tests, scripts, no screen) does not wait for a splash.
bool Interactive() {
  const QString platform = QGuiApplication::platformName();
  return platform != QLatin1String("offscreen") && platform != QLatin1String("minimal");
}

// The toolkit's own options, which it takes out of the arguments itself.
constexpr std::array<const char*, 10> kToolkitOptionsWithValue = {
    "-platform",   "-platformpluginpath", "-platformtheme", "-plugin",      "-style",
    "-stylesheet", "-qwindowgeometry",    "-qwindowtitle",  "-qwindowicon", "-display"};
constexpr std::array<const char*, 4> kToolkitFlags = {"-reverse", "-nograb", "-dograb", "-sync"};

bool ToolkitOptionTakesValue(const char* arg) {
  return std::any_of(kToolkitOptionsWithValue.begin(), kToolkitOptionsWithValue.end(),
                     [arg](const char* option) { return std::strcmp(arg, option) == 0; });
}

bool IsToolkitOption(const char* arg) {
  return ToolkitOptionTakesValue(arg) ||
         std::any_of(kToolkitFlags.begin(), kToolkitFlags.end(),
                     [arg](const char* option) { return std::strcmp(arg, option) == 0; });
}

}  // namespace

int main(int argc, char** argv) {
  // Help and unknown options need no display: answered before the toolkit starts.
  for (int i = 1; i < argc; ++i) {
    const char* arg = argv[i];
    if (std::strcmp(arg, "--help") == 0 || std::strcmp(arg, "-h") == 0) {
      std::fputs(kUsage, stdout);
      return 0;
    }
    if (IsToolkitOption(arg)) {
      if (ToolkitOptionTakesValue(arg)) ++i;
    } else if (arg[0] == '-' && arg[1] != '\0' && std::strcmp(arg, "--no-splash") != 0) {
      std::fprintf(stderr, "ludomark: unknown option '%s'\n%s", arg, kUsage);
      return 2;
    }
  }
  // The toolkit takes its own options (-platform offscreen, -style ...) out of the arguments
  // first; what is left is the program's.
  QApplication app(argc, argv);
  bool splash = true;
  std::string file;
  for (int i = 1; i < argc; ++i) {
    const char* arg = argv[i];
    if (std::strcmp(arg, "--no-splash") == 0) {
      splash = false;
    } else if (arg[0] == '-' && arg[1] != '\0') {
      std::fprintf(stderr, "ludomark: unknown option '%s'\n%s", arg, kUsage);
      return 2;
    } else if (file.empty()) {
      file = arg;
    } else {
      std::fprintf(stderr, "ludomark: one game file at most\n%s", kUsage);
      return 2;
    }
  }
  QApplication::setApplicationName(QStringLiteral("Ludomark for Game Theory"));
  QApplication::setWindowIcon(ludomark::AppIcon());
  // Numbers are read and written with the period, whatever the desktop's language.
  QLocale::setDefault(QLocale::c());
  // The guide beside the program (a build folder), or where an installation puts it.
  const QDir bin(QApplication::applicationDirPath());
  QString help = bin.filePath(QStringLiteral("help/index.html"));
  if (!QFileInfo::exists(help)) {
    help = bin.filePath(QStringLiteral("../share/ludomark/help/index.html"));
  }
  ludomark::QtMainWindow window(file, QDir::cleanPath(help).toStdString());
  if (splash && Interactive()) ludomark::ShowAboutBox(&window, /*asSplash=*/true);
  window.showMaximized();
  // Where the platform reports no activation (no window manager), the file opens all the same.
  QTimer::singleShot(0, &window, [&window, file] { window.Form().FirstActivation(file); });
  return QApplication::exec();
}
