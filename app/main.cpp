// lumora: the desktop program. Wires the shell to the engine; all work lives in the libraries.
#include <QApplication>

#include "session/AfterDraw.h"
#include "ui/MainWindow.h"
#include "ui/QtPorts.h"
#include "ui/Shell.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName("Lumora");
  lumora::Session session;
  session.cx.data = lumora::DataFolder::Locate(QApplication::applicationFilePath().toStdString());
  lumora::Shell shell(session);
  lumora::QtClipboard clipboard;
  lumora::QtPrompter prompter;
  lumora::QtSound sound;
  lumora::QtHttp http([&shell](std::function<void()> f) { shell.run([f](lumora::Session&) { f(); }); });
  lumora::SystemClock clock;
  session.cx.ports = {&clipboard, &sound, &prompter, &http, &clock};
  session.cx.rng.seed(static_cast<unsigned long>(clock.now().time_since_epoch().count()));

  lumora::MainWindow window(shell);
  prompter.setParent(&window);
  if (!lumora::StartupDefaults(session)) return 1;
  shell.binder().push();
  window.show();
  return QApplication::exec();
}
