// Saves the whole X screen as a PNG: the screenshot of the running program for the docs.
// Usage: grab_screen OUTPUT.png [x y width height]
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <cstdio>
#include <cstdlib>

int main(int argc, char* argv[]) {
  QGuiApplication application(argc, argv);
  if (argc != 2 && argc != 6) {
    std::fprintf(stderr, "usage: %s OUTPUT.png [x y width height]\n", argv[0]);
    return 2;
  }
  QScreen* screen = QGuiApplication::primaryScreen();
  if (screen == nullptr) {
    std::fprintf(stderr, "no screen\n");
    return 1;
  }
  QPixmap shot = argc == 6 ? screen->grabWindow(0, std::atoi(argv[2]), std::atoi(argv[3]),
                                                std::atoi(argv[4]), std::atoi(argv[5]))
                           : screen->grabWindow(0);
  if (shot.isNull() || !shot.save(QString::fromLocal8Bit(argv[1]), "PNG")) {
    std::fprintf(stderr, "could not grab or save the screen\n");
    return 1;
  }
  return 0;
}
