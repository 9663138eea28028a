// vorlund: the desktop program.
#include <QApplication>
#include <QMainWindow>
#include <clocale>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  // Qt switched the process to the user's locale; files must not follow it.
  std::setlocale(LC_NUMERIC, "C");
  QMainWindow window;
  window.setWindowTitle("Vorlund");
  window.show();
  return app.exec();
}
