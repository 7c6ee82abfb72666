// lumora: the desktop program. Wires the shell to the engine; all work lives in the libraries.
//
//   lumora [--feed URL] [--data DIR]
//
// Every applied draw is written to standard output as one line: its period and digits.
#include <QApplication>
#include <cstdio>
#include <string>

#include "core/Files.h"
#include "core/ServiceConfig.h"
#include "session/AfterDraw.h"
#include "ui/MainWindow.h"
#include "ui/QtPorts.h"
#include "ui/SystemSound.h"
#include "ui/Shell.h"

namespace {

struct Options {
  std::string feed;
  std::string data;
  std::string error;
};

Options ParseOptions(const QStringList& args) {
  Options o;
  for (int i = 1; i < args.size(); ++i) {
    const QString& a = args[i];
    auto value = [&](std::string& into) {
      if (i + 1 >= args.size()) {
        o.error = a.toStdString() + " needs a value";
        return;
      }
      into = args[++i].toStdString();
    };
    if (a == "--feed") value(o.feed);
    else if (a == "--data") value(o.data);
    else if (a.startsWith("--feed=")) o.feed = a.mid(7).toStdString();
    else if (a.startsWith("--data=")) o.data = a.mid(7).toStdString();
    else if (a == "--help" || a == "-h") o.error = "usage";
    else o.error = "unknown option " + a.toStdString();
    if (!o.error.empty()) break;
  }
  return o;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName("Lumora");
  Options options = ParseOptions(QApplication::arguments());
  if (!options.error.empty()) {
    if (options.error != "usage") std::fprintf(stderr, "lumora: %s\n", options.error.c_str());
    std::fprintf(stderr, "usage: lumora [--feed URL] [--data DIR]\n");
    return options.error == "usage" ? 0 : 2;
  }

  lumora::Session session;
  session.cx.data = lumora::DataFolder::Locate(lumora::PathFromUtf8(QApplication::applicationFilePath().toStdString()),
                                                options.data);
  session.cx.service = lumora::ReadServiceConfig(session.cx.data.ini());
  if (!options.feed.empty()) session.cx.service.feedEndpoint = options.feed;
  session.drawApplied = [](const lumora::DrawRecord& newest) {
    std::printf("%s %s\n", newest.period.c_str(), newest.digits.c_str());
    std::fflush(stdout);
  };

  lumora::Shell shell(session);
  lumora::QtClipboard clipboard;
  lumora::QtPrompter prompter;
  lumora::SystemSound sound;
  lumora::QtHttp http([&shell](std::function<void()> f) { shell.run([f](lumora::Session&) { f(); }); });
  lumora::SystemClock clock;
  session.cx.ports = {&clipboard, &sound, &prompter, &http, &clock};
  session.cx.rng.seed(static_cast<unsigned long>(clock.now().time_since_epoch().count()));

  lumora::MainWindow window(shell);
  prompter.setParent(&window);
  bool started = true;
  shell.run([&started](lumora::Session& s) { started = lumora::StartupDefaults(s); });
  if (!started) return 1;
  window.show();
  return QApplication::exec();
}
