// lumora: the desktop program. Wires the shell to the engine; all work lives in the libraries.
//
//   lumora [--feed URL] [--data DIR]
//   lumora --version
//
// Every applied draw is written to standard output as one line: its period and digits.
#include <QApplication>
#include <cstdio>
#include <cstring>
#include <string>

#include "core/Files.h"
#include "core/Version.h"
#include "ui/Program.h"
#include "ui/Shutdown.h"
#include "ui/SingleCopy.h"
#include "ui/Translations.h"

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
  // Answered before Qt starts: no display is needed to ask for the version.
  if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
    std::printf("%s\n", lumora::VersionLine("lumora").c_str());
    return 0;
  }
  QApplication app(argc, argv);
  QApplication::setApplicationName("Lumora");
  lumora::InstallQtTranslations(app);
  Options options = ParseOptions(QApplication::arguments());
  if (!options.error.empty()) {
    if (options.error != "usage") std::fprintf(stderr, "lumora: %s\n", options.error.c_str());
    std::fprintf(stderr, "usage: lumora [--feed URL] [--data DIR] | lumora --version\n");
    return options.error == "usage" ? 0 : 2;
  }

  // One copy per data folder, and nothing read from it before it is ours and checked.
  lumora::SingleCopy copy;
  if (auto status = copy.begin(lumora::PathFromUtf8(QApplication::applicationFilePath().toStdString()), options.data))
    return *status;
  lumora::Program program(
      {options.feed, lumora::PathToUtf8(copy.folder().root()), QApplication::applicationFilePath().toStdString()});
  copy.setWindow(&program.window());
  program.session().drawApplied = [](const lumora::DrawRecord& newest) {
    std::printf("%s %s\n", newest.period.c_str(), newest.digits.c_str());
    std::fflush(stdout);
  };
  lumora::EndLikeClosing([&program](const std::string& how) { program.end(how); });
  if (!program.start())
    return lumora::ReportStartFailure(lumora::CurveStoreProblem(copy.folder()).value_or("曲线文件 data.mdb 无法读取"));
  return QApplication::exec();
}
